#pragma once

#include <SDL.h>

#include <cstdint>

// Polled input. The main loop drains SDL's event queue into these globals once
// per frame; handlers read them while their node is drawn.

// Globals of the input state.
extern int32_t mouseX;             // mouse x in window pixels, from the left edge
extern int32_t mouseY;             // mouse y in window pixels, from the top edge
extern bool leftHeld;              // the left button is down
extern bool leftPressed;           // the left button went down during this frame's events
extern bool leftLatch;             // a press was reported and the button is not yet released
extern bool keyPressed;            // a key went down during this frame's events
extern bool keyConsumed;           // a handler took this frame's key
extern SDL_KeyboardEvent lastKey;  // the frame's last key-down event
extern bool windowCloseRequested;  // the desktop asked the window to close

// Clears the flags that live for one frame; run at the top of each iteration.
void clearFrameInput();

// Applies one event to the input state; other events are ignored.
void applyInputEvent(const SDL_Event& event);

// Drains SDL's event queue into the input state.
void pumpEvents();

// True when this frame's key is `sym` and no handler has taken it yet.
bool isKeyPressed(int sym);

// Takes this frame's key; returns true so that a handler can write
// `isKeyPressed(k) && consumeKey()`.
bool consumeKey();

// Back to the state before the first event (for tests and restarts).
void resetInput();
