#include "game/palette.h"

#include "app/input.h"
#include "audio/sound_mixer.h"
#include "game/colouring.h"
#include "game/game_screen.h"
#include "game/page_builder.h"
#include "game/progress_book.h"
#include "scene/draw_pass.h"
#include "scene/scene_node.h"
#include "ui/dialog_flags.h"

#include <cmath>
#include <cstdlib>
#include <string>

Rgb currentPaint{0, 0, 0};
int32_t currentPaintNumber = 0;
bool noPaintSelected = true;
SceneNode* paletteNode = nullptr;

namespace {

struct SlotPlace {
    double x, y, z;
};

constexpr double kNumberedX = -9.857;
constexpr double kNumberedZ = 77;
constexpr double kNumberedY7[] = {3.929, 2.576, 1.224, -0.129, -1.482, -2.835, -4.188};
constexpr double kNumberedY8[] = {4.956, 3.569, 2.182, 0.795, -0.592, -1.979, -3.366, -4.753};
constexpr double kNumberedY9[] = {5.282,  3.929,  2.576,  1.224, -0.129,
                                  -1.482, -2.835, -4.188, -5.541};

constexpr int32_t kFreePaints = 18;
struct FreePaint {
    SlotPlace place;
    uint8_t red, green, blue;
};
constexpr FreePaint kFreePalette[kFreePaints] = {
    {{-11.54, 5.426, 75}, 255, 255, 255}, {{-9.983, 5.575, 75}, 255, 255, 0},
    {{-11.54, 4.0, 75}, 255, 204, 51},    {{-9.983, 4.149, 75}, 255, 153, 0},
    {{-11.54, 2.575, 75}, 255, 0, 0},     {{-9.983, 2.724, 75}, 255, 102, 102},
    {{-11.54, 1.149, 75}, 255, 204, 204}, {{-9.983, 1.298, 75}, 204, 0, 204},
    {{-11.54, -0.277, 75}, 153, 51, 204}, {{-9.983, -0.128, 75}, 0, 0, 255},
    {{-11.54, -1.703, 75}, 102, 0, 153},  {{-9.983, -1.554, 75}, 0, 204, 255},
    {{-11.54, -3.128, 75}, 0, 204, 153},  {{-9.983, -2.979, 75}, 102, 153, 102},
    {{-11.54, -4.554, 75}, 204, 204, 0},  {{-9.983, -4.405, 75}, 153, 204, 0},
    {{-11.54, -5.98, 75}, 102, 102, 0},   {{-9.983, -5.831, 75}, 51, 51, 51},
};

constexpr double kTubeRotationNumbers[3] = {-26.553, 70.428, 52.833};
constexpr double kTubeRotationFree[3] = {39.716, 35.708, 89.14};
constexpr double kHoverScale = 1.2;
constexpr int kClickBubbles = 20;
constexpr int kBurstBubbles = 50;

SlotPlace numberedPlace(int32_t paint) {
    const double* column = paintCount == 7   ? kNumberedY7
                           : paintCount == 8 ? kNumberedY8
                                             : kNumberedY9;
    return {kNumberedX, column[paint], kNumberedZ};
}

// The free paints' channels are divided by 256, so paint 0 is an off-white,
// an ordinary colour and not the exact white that means "unpainted".
Rgb freePaintColour(const FreePaint& paint) {
    return {paint.red / 256.0, paint.green / 256.0, paint.blue / 256.0};
}

void addSlot(SceneNode* container, int32_t paint, const SlotPlace& place) {
    auto* slot = new SceneNode;
    slot->transform.setPosition(place.x, place.y, place.z);
    slot->transform.setRotation(-90, 0, 0);
    slot->states.addState();
    Action builder = makeAction(0);
    builder.setCallback(tubeBuilder, paint, 1, 0.0, 0.0, 0.0);
    slot->states.addAction(builder);
    slot->states.enterState(0);
    container->addChild(slot);
}

Rgb actionColour(const Action& action) {
    return {action.d1, action.d2, action.d3};
}

void setScaleOf(SceneNode& tube, SceneNode& ribbon, double x, double y, double z) {
    tube.transform.setScale(x, y, z);
    ribbon.transform.setScale(x, y, z);
}

void addScaleOf(SceneNode& tube, SceneNode& ribbon, double delta) {
    tube.transform.scaleBy(delta, delta, delta);
    ribbon.transform.scaleBy(delta, delta, delta);
}

std::string randomBubbleModel() {
    return "buble" + std::to_string(randomBelow(5) + 1);
}

Action endless(ActionCallback callback) {
    Action action = makeAction(0);
    action.setCallback(callback, nullptr);
    return action;
}

Action stockAction(ActionCallback callback, int32_t axis, double a, double b, double c) {
    Action action = makeAction(0);
    action.setCallback(callback, axis, a, b, c);
    return action;
}

void releaseClickBubbles(SceneNode& tube, const Rgb& colour) {
    for (int i = 0; i < kClickBubbles; ++i) {
        auto* bubble = new SceneNode;
        bubble->addModel("interface.pak", randomBubbleModel().c_str());
        bubble->setColour(colour.red, colour.green, colour.blue);
        bubble->addDrawCallback(billboardCallback, 0);
        bubble->transform.setPosition(0, 0, 3.1);
        NodeStateMachine& states = bubble->states;
        states.addState();
        states.addAction(endless(clickBubbleShrink));
        for (int32_t axis = 0; axis < 3; ++axis) {
            states.addAction(stockAction(oscillateAction, axis, randomBelow(20) / 10,
                                         randomBelow(50) / 10, 0.0));
        }
        Action close = makeAction(0);
        close.setCallback(closeAfterAction, 700.0, 0.0, 0.0);
        states.addAction(close);
        for (int32_t axis = 0; axis < 2; ++axis) {
            states.addAction(stockAction(driftAction, axis, -(2 - randomBelow(40) / 10), 0.0, 0.0));
        }
        states.addAction(stockAction(driftAction, 2, (randomBelow(60) / 10 + 2) * 1.4, 0.0, 0.0));
        states.enterState(0);
        tube.addChild(bubble);
    }
}

void releaseCelebrationBurst(const Rgb& colour) {
    celebrationPending = false;
    --celebrationBurstsLeft;
    if (!celebrationQueue.empty()) {
        auto index = size_t(randomBelow(int32_t(celebrationQueue.size())));
        celebrationNumber = celebrationQueue[index];
        celebrationQueue.erase(celebrationQueue.begin() + std::ptrdiff_t(index));
    }
    if (pageNode == nullptr)
        return;
    auto* timer = new SceneNode;
    timer->states.addState();
    timer->states.addAction(endless(burstTimer));
    timer->states.enterState(0);
    pageNode->addChild(timer);
    for (int i = 0; i < kBurstBubbles; ++i) {
        auto* bubble = new SceneNode;
        bubble->addModel("interface.pak", randomBubbleModel().c_str());
        bubble->setColour(colour.red, colour.green, colour.blue);
        bubble->addDrawCallback(billboardCallback, 0);
        bubble->transform.setPosition(randomBelow(78) / 5.0 - 5.0, -77.0,
                                      randomBelow(68) / 5.0 - 6.35);
        bubble->states.addState();
        Action rise = makeAction(0);
        rise.setCallback(celebrationBubble, randomBelow(600) + 700.0, 0.0, 0.0);
        bubble->states.addAction(rise);
        bubble->states.enterState(0);
        pageNode->addChild(bubble);
    }
}

SceneNode* buildTube(int32_t paint, const Rgb& colour) {
    bool numbers = progressBook->numberMode;
    auto* tube = new SceneNode;
    auto* ribbon = new SceneNode;
    ribbon->scaleChildren = true;
    ribbon->addModel("interface.pak", "lenta");
    ribbon->setColour(colour.red, colour.green, colour.blue);
    tube->addChild(ribbon);
    if (numbers) {
        auto* label = new SceneNode;
        label->addModel("interface.pak", ("tubik" + std::to_string(paint + 1)).c_str());
        ribbon->addChild(label);
    }
    const double* rotation = numbers ? kTubeRotationNumbers : kTubeRotationFree;
    tube->transform.setRotation(rotation[0], rotation[1], rotation[2]);
    tube->addDrawCallback(pickableCallback, 0);
    tube->addModel("interface.pak", "tubik_no_num");

    NodeStateMachine& states = tube->states;
    states.addState();
    Action behaviour = makeAction(0);
    behaviour.setCallback(tubeBehaviour, paint + 1, colour.red, colour.green, colour.blue);
    behaviour.userData = ribbon;
    states.addAction(behaviour);
    Action appear = makeAction(0);
    appear.setCallback(tubeAppear, ribbon);
    states.addAction(appear);
    for (ActionCallback pulse : {tubeSelectPulse, tubeWrongPulse}) {
        states.addState();
        Action action = makeAction(0);
        action.setCallback(pulse, ribbon);
        states.addAction(action);
    }
    states.enterState(0);
    return tube;
}

}  // namespace

int32_t randomBelow(int32_t n) {
    return n > 0 ? std::rand() % n : 0;
}

void buildPalette(void*) {
    SceneNode* container = currentNode;
    if (progressBook->numberMode) {
        for (int32_t paint = 0; paint < paintCount && paint < 9; ++paint) {
            addSlot(container, paint, numberedPlace(paint));
        }
        return;
    }
    for (int32_t paint = 0; paint < kFreePaints; ++paint) {
        progressBook->setDefaultPaint(paint, freePaintColour(kFreePalette[paint]));
        addSlot(container, paint, kFreePalette[paint].place);
    }
}

void tubeBuilder(void*) {
    Action& action = *currentAction;
    int32_t paint = action.i1;
    Rgb colour = progressBook->paintColour(paint).value_or(kWhite);
    if (action.i2 == 0) {
        if (colour == actionColour(action))
            return;
        static_cast<SceneNode*>(action.userData)->requestRelease();
    } else {
        action.i2 = 0;
    }
    SceneNode* slot = currentNode;
    SceneNode* tube = buildTube(paint, colour);
    action.userData = tube;
    action.d1 = colour.red;
    action.d2 = colour.green;
    action.d3 = colour.blue;
    slot->addChild(tube);
}

void tubeBehaviour(void*) {
    Action& action = *currentAction;
    SceneNode& tube = *currentNode;
    SceneNode& ribbon = *static_cast<SceneNode*>(action.userData);
    int32_t number = action.i1;
    if (celebrationPending && number == celebrationNumber && celebrationBurstsLeft != 0) {
        releaseCelebrationBurst(actionColour(action));
    }
    if (!isHoveredOutsideDialogs()) {
        if (tube.transform.scaleX() > 1) {
            addScaleOf(tube, ribbon, -action.time / 300);
            if (tube.transform.scaleX() <= 1)
                setScaleOf(tube, ribbon, 1, 1, 1);
        }
        action.time = 0;
        if (number == wrongHintNumber) {
            wrongHintNumber = 0;
            tube.states.enterState(2);
        }
        return;
    }
    if (tube.transform.scaleX() < kHoverScale) {
        addScaleOf(tube, ribbon, action.time / 300);
        if (tube.transform.scaleX() >= kHoverScale) {
            setScaleOf(tube, ribbon, kHoverScale, kHoverScale, kHoverScale);
        }
    }
    action.time = 0;
    if (!leftPressed)
        return;
    soundMixer->play("banka.wav", false);
    releaseClickBubbles(tube, actionColour(action));
    noPaintSelected = false;
    currentPaintNumber = number - 1;
    currentPaint = actionColour(action);
    tube.states.enterState(1);
}

void tubeAppear(void*) {
    Action& action = *currentAction;
    SceneNode& ribbon = *static_cast<SceneNode*>(action.userData);
    double t = action.time;
    if (t <= 700) {
        double scale = std::sin(t * (M_PI / 2) / 700);
        setScaleOf(*currentNode, ribbon, scale, scale, scale);
    } else {
        setScaleOf(*currentNode, ribbon, 1, 1, 1);
        finishAction();
    }
}

void tubeSelectPulse(void*) {
    Action& action = *currentAction;
    SceneNode& ribbon = *static_cast<SceneNode*>(action.userData);
    double t = action.time;
    if (t <= 300) {
        double s = std::sin(2 * M_PI * t / 300);
        setScaleOf(*currentNode, ribbon, 1.2 - 0.03 * s, 1.2 - 0.03 * s, 1.2 + 0.04 * s);
    } else {
        setScaleOf(*currentNode, ribbon, kHoverScale, kHoverScale, kHoverScale);
        finishAction();
    }
}

void tubeWrongPulse(void*) {
    Action& action = *currentAction;
    SceneNode& ribbon = *static_cast<SceneNode*>(action.userData);
    double t = action.time;
    if (t <= 400) {
        double scale = 1 - 0.07 * std::sin(2 * M_PI * t / 400);
        setScaleOf(*currentNode, ribbon, scale, scale, scale);
    } else {
        setScaleOf(*currentNode, ribbon, 1, 1, 1);
        finishAction();
    }
}

void clickBubbleShrink(void*) {
    double scale = (1.3 - currentAction->time / 700) * 0.3;
    currentNode->transform.setScale(scale, scale, scale);
}

void burstTimer(void*) {
    if (currentAction->time <= 200)
        return;
    celebrationPending = true;
    currentNode->requestRelease();
}

void celebrationBubble(void*) {
    double t = currentAction->time;
    double life = currentAction->d1;
    if (t > 0.6 * life)
        currentNode->setAlpha(1 - (t - 0.6 * life) / (0.4 * life));
    if (t < life) {
        double scale = 0.3 * t / life;
        currentNode->transform.setScale(scale, scale, scale);
    } else {
        currentNode->requestRelease();
    }
}

void resetPalette() {
    currentPaint = {0, 0, 0};
    currentPaintNumber = 0;
    noPaintSelected = true;
    paletteNode = nullptr;
}
