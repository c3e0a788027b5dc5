#include "scene/animator.h"

#include "app/game_loop.h"
#include "app/ticks.h"
#include "scene/draw_pass.h"
#include "scene/scene_node.h"

#include <cmath>

Action* currentAction = nullptr;

Animator::Animator() : lastTime(frameTime) {}

void Animator::start(const Action& action) {
    running.push_back(action);
    running.back().target = &offset;
}

void Animator::update() {
    previousTime = lastTime;
    lastTime = frameTime;
    offset.position[0] = offset.position[1] = offset.position[2] = 0;
    offset.rotation[0] = offset.rotation[1] = offset.rotation[2] = 0;
    offset.scale[0] = offset.scale[1] = offset.scale[2] = 1;
    auto step = static_cast<uint32_t>(timeScale * double(lastTime - previousTime));

    for (size_t i = 0; i < running.size();) {
        Action& action = running[i];
        if (action.finished) {
            running.erase(running.begin() + std::ptrdiff_t(i));
            continue;
        }
        action.elapsed += step;
        if (!action.endless && action.duration <= action.elapsed)
            action.finished = true;
        action.time += step;
        currentAction = &action;
        action.callback(action.userData);
        ++i;
    }
    offset.applyTransform();
}

void finishAction() {
    currentAction->finished = true;
}

void runDeferred(DeferredFunction function, int32_t argument) {
    auto* host = new SceneNode;
    host->states.addState();
    Action action = makeAction(-1);
    action.setCallback(function, argument, 0, 0, 0);
    host->states.addAction(action);
    host->states.enterState(0);
    dialogHost->addChild(host);
}

namespace {

void moveAlongAxis(int32_t axis, double distance) {
    Transform& target = *currentAction->target;
    if (axis == 0)
        target.translateBy(distance, 0, 0);
    if (axis == 1)
        target.translateBy(0, distance, 0);
    if (axis == 2)
        target.translateBy(0, 0, distance);
}

}  // namespace

void oscillateAction(void*) {
    const Action& a = *currentAction;
    moveAlongAxis(a.i1, std::sin(a.time * a.d2 / 1000 + a.d3) * a.d1);
}

void driftAction(void*) {
    const Action& a = *currentAction;
    moveAlongAxis(a.i1, a.time * a.d1 / 1000);
}

void closeAfterAction(void*) {
    if (currentAction->time > currentAction->d1)
        currentNode->requestRelease();
}
