#include "app/ticks.h"

#include <SDL.h>

namespace {
uint32_t sdlTicks() {
    return SDL_GetTicks();
}
void sdlDelay(uint32_t milliseconds) {
    SDL_Delay(milliseconds);
}
uint32_t manualTicks() {
    return ManualClock::now;
}
// A manual clock also advances by the time slept, as a real one would.
void manualSleep(uint32_t milliseconds) {
    ManualClock::slept += milliseconds;
    ManualClock::now += milliseconds;
}
}  // namespace

TickSource tickSource = sdlTicks;
Sleeper sleeper = sdlDelay;

uint32_t frameTime = 0;

uint32_t ManualClock::now = 0;
uint32_t ManualClock::slept = 0;

void ManualClock::install(uint32_t start) {
    now = start;
    slept = 0;
    tickSource = manualTicks;
    sleeper = manualSleep;
}

void ManualClock::uninstall() {
    tickSource = sdlTicks;
    sleeper = sdlDelay;
}
