#include "scene/action.h"

#include "scene/animator.h"

#include <cassert>
#include <cstddef>

Action makeAction(double duration) {
    Action action;
    action.endless = duration == 0;
    if (!action.endless)
        action.duration = duration;
    return action;
}

void Action::setCallback(ActionCallback function, void* data) {
    callback = function;
    userData = data;
}

void Action::setCallback(ActionCallback function, double p1, double p2, double p3) {
    callback = function;
    userData = nullptr;
    d1 = p1;
    d2 = p2;
    d3 = p3;
}

void Action::setCallback(ActionCallback function, int32_t n1, double p1, double p2, double p3) {
    setCallback(function, p1, p2, p3);
    i1 = n1;
}

void Action::setCallback(ActionCallback function, int32_t n1, int32_t n2, double p1, double p2,
                         double p3) {
    setCallback(function, n1, p1, p2, p3);
    i2 = n2;
}

void Action::setCallback(ActionCallback function, int32_t n1, int32_t n2, int32_t n3, double p1,
                         double p2, double p3) {
    setCallback(function, n1, n2, p1, p2, p3);
    i3 = n3;
}

int32_t NodeStateMachine::addState() {
    actions.emplace_back();
    links.emplace_back();
    editState = static_cast<int32_t>(actions.size()) - 1;
    return editState;
}

// Calls that break these preconditions are programming errors: they stop a
// debug build and are ignored in a release build.
void NodeStateMachine::addAction(const Action& action) {
    assert(editState >= 0 && "addAction before addState");
    if (editState < 0)
        return;
    actions[size_t(editState)].push_back(action);
}

void NodeStateMachine::addLink(NodeStateMachine* machine, int32_t state) {
    assert(editState >= 0 && "addLink before addState");
    if (editState < 0)
        return;
    links[size_t(editState)].push_back({machine, state});
}

void NodeStateMachine::enterState(int32_t index) {
    bool exists = index >= 0 && size_t(index) < actions.size();
    assert(exists && "enterState of a state that does not exist");
    if (!exists)
        return;
    for (const Action& action : actions[size_t(index)])
        animator->start(action);
    for (const StateLink& link : links[size_t(index)])
        link.machine->enterState(link.state);
}
