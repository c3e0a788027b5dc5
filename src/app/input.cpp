#include "app/input.h"

int32_t mouseX = 0;
int32_t mouseY = 0;
bool leftHeld = false;
bool leftPressed = false;
bool leftLatch = false;
bool keyPressed = false;
bool keyConsumed = false;
SDL_KeyboardEvent lastKey = {};
bool windowCloseRequested = false;

void clearFrameInput() {
    keyPressed = false;
    leftPressed = false;
}

void applyInputEvent(const SDL_Event& event) {
    if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT) {
        leftHeld = true;
        if (!leftLatch) {
            leftPressed = true;
            leftLatch = true;
        }
    } else if (event.type == SDL_MOUSEBUTTONUP && event.button.button == SDL_BUTTON_LEFT) {
        leftHeld = false;
        leftLatch = false;
    } else if (event.type == SDL_MOUSEMOTION) {
        mouseX = event.motion.x;
        mouseY = event.motion.y;
    } else if (event.type == SDL_KEYDOWN) {
        keyPressed = true;
        keyConsumed = false;
        lastKey = event.key;
    } else if (event.type == SDL_QUIT) {
        // A window-manager close or the session ending: the loop saves and
        // quits, so that a player never loses progress by closing the window.
        windowCloseRequested = true;
    }
}

void pumpEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event))
        applyInputEvent(event);
}

bool isKeyPressed(int sym) {
    return keyPressed && !keyConsumed && static_cast<int>(lastKey.keysym.sym) == sym;
}

bool consumeKey() {
    keyConsumed = true;
    return true;
}

void resetInput() {
    mouseX = mouseY = 0;
    leftHeld = leftPressed = leftLatch = false;
    keyPressed = keyConsumed = false;
    lastKey = {};
    windowCloseRequested = false;
}
