#include "app/input.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

SDL_Event button(Uint8 type, Uint8 which, Uint16 x = 0, Uint16 y = 0) {
    SDL_Event event = {};
    event.type = type;
    event.button.button = which;
    event.button.x = x;
    event.button.y = y;
    return event;
}

SDL_Event motion(Uint16 x, Uint16 y) {
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = x;
    event.motion.y = y;
    return event;
}

SDL_Event keyDown(SDLKey sym) {
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = sym;
    return event;
}

// One frame of the main loop: clear the per-frame flags, then apply events.
void frame(std::initializer_list<SDL_Event> events) {
    clearFrameInput();
    for (const SDL_Event& event : events)
        applyInputEvent(event);
}

class InputState : public ::testing::Test {
protected:
    void SetUp() override { resetInput(); }
};

TEST_F(InputState, PressAndReleaseInOneFrameStillCountsAsAPress) {
    frame(
        {button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT), button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT)});
    EXPECT_TRUE(leftPressed);
    EXPECT_FALSE(leftHeld);
    EXPECT_FALSE(leftLatch);
}

TEST_F(InputState, HeldButtonPressesInTheFirstFrameOnly) {
    frame({button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT)});
    EXPECT_TRUE(leftPressed);
    frame({});
    EXPECT_FALSE(leftPressed);
    EXPECT_TRUE(leftHeld);
    frame({button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT)});  // no release in between
    EXPECT_FALSE(leftPressed);
    frame(
        {button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT), button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT)});
    EXPECT_TRUE(leftPressed);
}

TEST_F(InputState, OnlyMotionMovesTheMouseAndOtherButtonsAreIgnored) {
    frame({motion(640, 360)});
    EXPECT_EQ(mouseX, 640);
    EXPECT_EQ(mouseY, 360);
    frame({button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20)});
    EXPECT_EQ(mouseX, 640);
    EXPECT_EQ(mouseY, 360);
    frame({button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT),
           button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT),
           button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELUP)});
    EXPECT_FALSE(leftPressed);
    EXPECT_FALSE(leftHeld);
}

TEST_F(InputState, TwoKeysInOneFrameLeaveOnlyTheLater) {
    frame({keyDown(SDLK_LEFT), keyDown(SDLK_ESCAPE)});
    EXPECT_FALSE(isKeyPressed(SDLK_LEFT));
    EXPECT_TRUE(isKeyPressed(SDLK_ESCAPE));
    frame({});
    EXPECT_FALSE(isKeyPressed(SDLK_ESCAPE)) << "a key lives for one frame";
}

TEST_F(InputState, ConsumedKeyIsHiddenUntilTheNextKeyDown) {
    frame({keyDown(SDLK_ESCAPE)});
    EXPECT_TRUE(isKeyPressed(SDLK_ESCAPE) && consumeKey());
    EXPECT_FALSE(isKeyPressed(SDLK_ESCAPE));
    frame({keyDown(SDLK_ESCAPE), keyDown(SDLK_RETURN)});
    EXPECT_TRUE(isKeyPressed(SDLK_RETURN));
}

TEST_F(InputState, WindowCloseIsRecorded) {
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    frame({keyDown(SDLK_F1)});
    EXPECT_FALSE(windowCloseRequested);
    frame({quit});
    EXPECT_TRUE(windowCloseRequested);
}

}  // namespace
