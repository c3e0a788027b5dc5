#pragma once

#include <cstdint>

// The game's single source of time. Everything that needs the clock (the frame
// loop, animations, timers) reads it through here, so that tests can replace
// the clock and drive the game deterministically and fast.

using TickSource = uint32_t (*)();
using Sleeper = void (*)(uint32_t milliseconds);

// Globals of the clock.
extern TickSource tickSource;  // milliseconds since start; SDL_GetTicks in the game
extern Sleeper sleeper;        // pauses the main thread; SDL_Delay in the game

inline uint32_t getTicks() {
    return tickSource();
}
inline void sleepFor(uint32_t milliseconds) {
    sleeper(milliseconds);
}

// A hand-driven clock for tests and tools: install it, then advance it.
struct ManualClock {
    static uint32_t now;
    static uint32_t slept;  // total milliseconds requested through sleepFor
    static void install(uint32_t start = 0);
    static void uninstall();  // back to SDL's clock
    static void advance(uint32_t milliseconds) { now += milliseconds; }
};

// Globals of the frame clock.
extern uint32_t frameTime;  // ticks at the start of this frame's drawing; animators use it
