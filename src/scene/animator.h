#pragma once

#include "scene/action.h"
#include "scene/transform.h"

#include <cstdint>
#include <deque>

// Plays a node's running actions once per frame, during the node's draw.
struct Animator {
    uint32_t lastTime;          // frame time of the last update
    uint32_t previousTime = 0;  // frame time of the update before
    double timeScale = 1.0;
    Transform offset;  // rebuilt from identity each frame by the actions
    // Started actions in start order. A deque, because a callback may start
    // actions while the one it runs for must stay where it is.
    std::deque<Action> running;

    Animator();
    void start(const Action& action);
    // Advances and calls every running action, then applies the offset.
    void update();
};

// Globals of the animator.
extern Action* currentAction;  // the action whose callback is running

// Ends the running action; its callback is not called again.
void finishAction();

// Runs `function` once, with `argument` in the action's i1, when a new host
// node under the dialog host is first drawn.
using DeferredFunction = void (*)(void* unused);
void runDeferred(DeferredFunction function, int32_t argument);

// Stock actions. Axis i1: 0 x, 1 y, 2 z.
void oscillateAction(void*);   // offset along i1 by sin(time * d2 / 1000 + d3) * d1
void driftAction(void*);       // offset along i1 by time * d1 / 1000
void closeAfterAction(void*);  // releases the node once time exceeds d1 ms
