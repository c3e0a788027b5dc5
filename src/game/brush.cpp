#include "game/brush.h"

#include "app/display.h"
#include "app/input.h"
#include "game/palette.h"
#include "scene/draw_pass.h"
#include "scene/scene_node.h"

namespace {

constexpr float kBrushDepth = -17;

void giveEndlessAction(SceneNode* node, ActionCallback callback) {
    node->states.addState();
    Action action = makeAction(0);
    action.setCallback(callback, nullptr);
    node->states.addAction(action);
    node->states.enterState(0);
}

}  // namespace

void buildBrush(void*) {
    auto* handle = new SceneNode;
    handle->addModel("interface.pak", "kist_ruchka");
    handle->transform.setRotation(-125, 0, 180);
    giveEndlessAction(handle, brushFollow);
    currentNode->addChild(handle);

    auto* bristles = new SceneNode;
    bristles->addModel("interface.pak", "kist_vors_color");
    giveEndlessAction(bristles, brushTint);
    handle->addChild(bristles);
}

void brushFollow(void*) {
    double x = -display->screenEdgeX(kBrushDepth) * (2.0 * mouseX / display->width - 1);
    double y = display->screenEdgeY(kBrushDepth) * (2.0 * mouseY / display->height - 1);
    currentNode->transform.setPosition(x, y, 100 + kBrushDepth);
}

void brushTint(void*) {
    currentNode->setColour(currentPaint.red, currentPaint.green, currentPaint.blue);
    if (noPaintSelected) {
        currentNode->transform.setScale(0.92, 0.92, 1);
    } else {
        currentNode->transform.setScale(1, 1, 1);
    }
}
