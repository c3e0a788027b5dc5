#pragma once

#include "scene/transform.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using ActionCallback = void (*)(void* userData);

// A per-frame callback with its parameters and timing. Copied by value into a
// state, and again onto the animator when the state is entered.
struct Action {
    Transform* target = nullptr;  // the animator's offset, set when started
    double time = 0;              // ms run so far; callbacks may rewind it
    int32_t i1 = 0, i2 = 0, i3 = 0;
    double d1 = 0, d2 = 0, d3 = 0;
    void* userData = nullptr;
    ActionCallback callback = nullptr;
    bool endless = false;
    bool finished = false;  // removed at the animator's next update
    double duration = 0;    // ms, when not endless
    double elapsed = 0;     // ms run, for the duration test only

    void setCallback(ActionCallback function, void* data);
    void setCallback(ActionCallback function, double p1, double p2, double p3);
    void setCallback(ActionCallback function, int32_t n1, double p1, double p2, double p3);
    void setCallback(ActionCallback function, int32_t n1, int32_t n2, double p1, double p2,
                     double p3);
    void setCallback(ActionCallback function, int32_t n1, int32_t n2, int32_t n3, double p1,
                     double p2, double p3);
};

// 0 makes an endless action, -1 one that runs exactly once.
Action makeAction(double duration);

struct NodeStateMachine;
struct Animator;

// Entering a state also enters `state` of another node's machine.
struct StateLink {
    NodeStateMachine* machine = nullptr;
    int32_t state = 0;
};

// A node's numbered states: bundles of actions to start and links to follow.
struct NodeStateMachine {
    int32_t editState = -1;  // the state addAction and addLink append to
    std::vector<std::vector<Action>> actions;
    std::vector<std::vector<StateLink>> links;
    Animator* animator = nullptr;  // the owning node's animator

    int32_t addState();
    void addAction(const Action& action);
    void addLink(NodeStateMachine* machine, int32_t state);
    void addLink(StateLink link) { addLink(link.machine, link.state); }
    // Starts fresh copies of the state's actions, then enters its links in order.
    void enterState(int32_t index);
};
