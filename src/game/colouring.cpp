#include "game/colouring.h"

#include "app/input.h"
#include "audio/sound_mixer.h"
#include "game/game_screen.h"
#include "game/page_builder.h"
#include "game/palette.h"
#include "game/progress_book.h"
#include "scene/draw_pass.h"
#include "scene/scene_node.h"
#include "ui/dialog_flags.h"

#include <algorithm>

int32_t wrongHintNumber = 0;
std::vector<int32_t> celebrationQueue;
int32_t celebrationBurstsLeft = 0;
int32_t celebrationNumber = 0;
bool celebrationPending = false;

namespace {

constexpr double kEaseMilliseconds = 500;
constexpr int32_t kCelebrationBursts = 12;

void playEffect(const char* name) {
    soundMixer->play(name, false);
}

// An exponential ease with a time constant of about half a second. The step
// is capped at the whole gap: after a long stall (a slow page build, a
// suspended machine) a region lands on its colour instead of overshooting.
void easeTowards(SceneNode& region, const Rgb& target, double milliseconds) {
    double step = std::min(milliseconds / kEaseMilliseconds, 1.0);
    const Rgb& now = region.colour;
    region.setColour(now.red + (target.red - now.red) * step,
                     now.green + (target.green - now.green) * step,
                     now.blue + (target.blue - now.blue) * step);
}

void colourByNumbers(SceneNode& region, Action& action, const Rgb& shown) {
    int32_t elementId = action.i1;
    int32_t paint = action.i2;
    std::optional<Rgb> paintShows = progressBook->paintColour(paint);
    bool alreadyThisPaint = shown == currentPaint && progressBook->isElementFilled(elementId);
    bool fills = !noPaintSelected && !alreadyThisPaint && paintShows &&
                 currentPaint == *paintShows && paint == currentPaintNumber;
    if (fills) {
        region.drawMeshes = true;
        action.time = 0;
        progressBook->fillElement(elementId, currentPaint, paint);
        if (progressBook->isPageComplete()) {
            startCelebration(paint);
        } else {
            playEffect("scena.wav");
        }
    } else if (!progressBook->isElementFilled(elementId)) {
        playEffect("scena_false.wav");
        wrongHintNumber = paint + 1;
    }
}

void freeColouring(SceneNode& region, const Action& action, const Rgb& shown) {
    int32_t elementId = action.i1;
    if (noPaintSelected)
        return;
    if (shown == currentPaint && progressBook->isElementFilled(elementId))
        return;
    playEffect("scena.wav");
    undoAvailable = true;
    undoStack.push_back({elementId, shown});
    region.drawMeshes = true;
    progressBook->fillElement(elementId, currentPaint, action.i2);
}

}  // namespace

void elementBehaviour(void*) {
    Action& action = *currentAction;
    SceneNode& region = *currentNode;
    Rgb shown = progressBook->elementColour(action.i1);
    easeTowards(region, shown, action.time);
    action.time = 0;
    if (!isHoveredOutsideDialogs() || !leftPressed)
        return;
    if (progressBook->numberMode) {
        colourByNumbers(region, action, shown);
    } else {
        freeColouring(region, action, shown);
    }
}

void startCelebration(int32_t paint) {
    playEffect("finish.wav");
    celebrationNumber = paint + 1;
    celebrationQueue.clear();
    celebrationBurstsLeft = kCelebrationBursts;
    for (int32_t i = 0; i < kCelebrationBursts; ++i) {
        celebrationQueue.push_back(i % std::max(paintCount, 1) + 1);
    }
    celebrationPending = true;
}

void resetColouring() {
    wrongHintNumber = 0;
    celebrationQueue.clear();
    celebrationBurstsLeft = 0;
    celebrationNumber = 0;
    celebrationPending = false;
}
