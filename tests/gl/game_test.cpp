// The colouring game played through the real start-up, frame loop and SDL's
// event queue, on stand-in archives whose regions are a grid of squares.

#include "app/display.h"
#include "app/game_loop.h"
#include "app/input.h"
#include "app/ticks.h"
#include "audio/sound_mixer.h"
#include "game/colouring.h"
#include "game/game_screen.h"
#include "game/page_catalogue.h"
#include "game/palette.h"
#include "game/progress_book.h"
#include "resources/sub_mesh.h"
#include "scene/draw_pass.h"
#include "scene/scene_node.h"
#include "support/fixtures.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

namespace {

class Game : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        runFrames(50);  // the page and palette are built and the tubes have grown in
    }

    // Where a node shows on screen: the projected middle of its triangles, as
    // recorded by the last draw.
    static std::pair<int, int> screenPointOf(const SceneNode& node) {
        GLdouble projection[16];
        GLint viewport[4];
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        double sumX = 0, sumY = 0;
        int count = 0;
        for (const SubMesh* mesh : node.subMeshes) {
            for (int v = 0; v < 3 * mesh->triangleCount; ++v) {
                float p[3];
                std::memcpy(p, reinterpret_cast<const char*>(mesh->positions) + 12 * v, 12);
                GLdouble x, y, z;
                gluProject(p[0], p[1], p[2], mesh->modelView, projection, viewport, &x, &y, &z);
                sumX += x;
                sumY += y;
                ++count;
            }
        }
        EXPECT_GT(count, 0);
        return {int(sumX / count), display->height - int(sumY / count)};
    }

    void moveMouseTo(int x, int y) {
        SDL_Event motion = {};
        motion.type = SDL_MOUSEMOTION;
        motion.motion.x = Uint16(x);
        motion.motion.y = Uint16(y);
        SDL_PushEvent(&motion);
        runFrames(1);  // the pick at the end of this frame finds what is under the mouse
    }

    static void pushButtonPress() {
        for (Uint8 type : {Uint8(SDL_MOUSEBUTTONDOWN), Uint8(SDL_MOUSEBUTTONUP)}) {
            SDL_Event button = {};
            button.type = type;
            button.button.button = SDL_BUTTON_LEFT;
            SDL_PushEvent(&button);
        }
    }

    void click(const SceneNode& node) {
        auto [x, y] = screenPointOf(node);
        moveMouseTo(x, y);
        pushButtonPress();
        runFrames(1);
    }

    void pressKey(SDLKey key) {
        SDL_Event event = {};
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = key;
        SDL_PushEvent(&event);
        runFrames(3);  // the key, the page build, the palette build
    }

    static std::vector<SceneNode*> regions() { return pageNode->children.front()->children; }
    static int32_t paintOf(const SceneNode* region) { return region->animator.running.front().i2; }
    static SceneNode* tube(int32_t paint) {
        return paletteNode->children[size_t(paint)]->children.back();
    }
    static SceneNode* controls() { return pictureRoot->children[1]; }
    static SceneNode* offeredButtonAt(double x) {
        for (SceneNode* button : controls()->children) {
            if (button->transform.position[0] == x && !button->releaseRequested)
                return button;
        }
        return nullptr;
    }

    // A sound was asked for and sits in a playback slot.
    static bool soundStarted(const char* name) {
        const auto& names = soundMixer->decodedNames;
        for (size_t i = 0; i < names.size(); ++i) {
            if (names[i] != name)
                continue;
            for (const MixChannel& slot : mixChannels) {
                if (slot.samples == soundMixer->decodedSounds[i].buf)
                    return true;
            }
        }
        return false;
    }

    // Quick clicks fill every slot; let the effects play out, as a player
    // pausing before the last region would.
    void waitForFreeEffectSlots() {
        auto busy = [] {
            for (const MixChannel& slot : mixChannels) {
                if (!slot.looping && slot.position != slot.length)
                    return true;
            }
            return false;
        };
        for (int frame = 0; frame < 500 && busy(); ++frame) {
            SDL_Delay(10);
            runFrames(1);
        }
    }

    // Picks each paint in turn and fills its regions, all but the very last
    // counted region, whose paint is left selected. Returns that region.
    SceneNode* fillEveryCountedRegionButTheLast() {
        std::vector<SceneNode*> counted;
        for (int32_t paint = 0; paint < paintCount; ++paint) {
            for (SceneNode* region : regions()) {
                if (paintOf(region) == paint)
                    counted.push_back(region);
            }
        }
        int32_t selected = -1;
        for (SceneNode* region : counted) {
            if (paintOf(region) != selected) {
                selected = paintOf(region);
                click(*tube(selected));
            }
            if (region != counted.back())
                click(*region);
        }
        return counted.back();
    }
};

TEST_F(Game, ColouringAWholePageEndsInTwelveBurstsFromTheRightTubes) {
    ASSERT_EQ(progressBook->currentPageId(), 1);
    ASSERT_EQ(regions().size(), 31u);
    SceneNode* last = fillEveryCountedRegionButTheLast();
    EXPECT_FALSE(progressBook->isPageComplete());
    int32_t lastTube = paintOf(last) + 1;

    waitForFreeEffectSlots();
    click(*last);
    EXPECT_TRUE(progressBook->isPageComplete());
    EXPECT_TRUE(soundStarted("finish.wav"));
    // The first burst leaves in the completing frame, from the tube just used:
    // fifty bubbles in its colour.
    EXPECT_EQ(celebrationBurstsLeft, 11);
    Rgb lastPaint = paintColour(*pictureRecord(1), lastTube - 1);
    int bubbles = 0;
    for (const SceneNode* child : pageNode->children)
        bubbles += child->colour == lastPaint;
    EXPECT_EQ(bubbles, 50);
    std::vector<std::pair<uint32_t, int32_t>> bursts{{frameTime, lastTube}};  // (time, tube)
    for (int frame = 0; frame < 250 && bursts.size() < 13; ++frame) {
        int32_t tubeDue = celebrationNumber;
        int32_t left = celebrationBurstsLeft;
        runFrames(1);
        if (celebrationBurstsLeft < left)
            bursts.push_back({frameTime, tubeDue});
    }
    ASSERT_EQ(bursts.size(), 12u);
    for (size_t i = 1; i < bursts.size(); ++i) {
        uint32_t gap = bursts[i].first - bursts[i - 1].first;
        EXPECT_GE(gap, 200u);
        EXPECT_LE(gap, 224u);
        EXPECT_GE(bursts[i].second, 1);
        EXPECT_LE(bursts[i].second, 8);
    }
    EXPECT_EQ(celebrationBurstsLeft, 0);
}

TEST_F(Game, WrongClickWarnsAndTheRightTubePulsesOnce) {
    click(*tube(0));
    SceneNode* region = nullptr;
    for (SceneNode* candidate : regions()) {
        if (paintOf(candidate) == 2)
            region = candidate;
    }
    click(*region);
    EXPECT_TRUE(soundStarted("scena_false.wav"));
    EXPECT_FALSE(progressBook->isElementFilled(region->animator.running.front().i1));
    EXPECT_EQ(wrongHintNumber, 0) << "tube 3 took the hint";
    int pulses = 0;
    for (const Action& action : tube(2)->animator.running)
        pulses += action.callback == tubeWrongPulse;
    EXPECT_EQ(pulses, 1);

    double smallest = 1;
    for (int frame = 0; frame < 30; ++frame) {
        runFrames(1);
        smallest = std::min(smallest, tube(2)->transform.scaleX());
    }
    EXPECT_NEAR(smallest, 0.93, 0.01);
    EXPECT_EQ(tube(2)->transform.scaleX(), 1);
}

TEST_F(Game, FreeColouringUndoesBackToUnfilled) {
    progressBook->numberMode = false;
    rebuildPage = true;
    runFrames(50);
    ASSERT_EQ(paletteNode->children.size(), 18u);
    SceneNode* region = regions().front();
    int32_t elementId = region->animator.running.front().i1;
    click(*tube(4));
    click(*region);
    Rgb red = currentPaint;
    click(*tube(9));
    click(*region);
    EXPECT_EQ(progressBook->elementColour(elementId), currentPaint);
    EXPECT_EQ(undoStack.size(), 2u);

    runFrames(50);  // the undo button grows in
    SceneNode* undo = offeredButtonAt(4.3);
    ASSERT_NE(undo, nullptr);
    click(*undo);
    EXPECT_EQ(progressBook->elementColour(elementId), red);
    click(*undo);
    EXPECT_FALSE(progressBook->isElementFilled(elementId));
    EXPECT_FALSE(undoAvailable);
    runFrames(2);
    EXPECT_FALSE(undoButtonShown) << "the button goes";
    EXPECT_TRUE(region->drawMeshes) << "the region stays drawn and eases to white";
}

TEST_F(Game, ArrowsWrapAroundInBothSets) {
    pressKey(SDLK_LEFT);
    EXPECT_EQ(progressBook->currentPageId(), 15);
    pressKey(SDLK_RIGHT);
    EXPECT_EQ(progressBook->currentPageId(), 1);

    progressBook->hardSet = true;
    showCurrentPageFromSet();
    runFrames(2);
    EXPECT_EQ(regions().size(), pageRegions(*pictureRecord(1), true).size());
    pressKey(SDLK_LEFT);
    EXPECT_EQ(progressBook->currentPageId(), 15);
    EXPECT_EQ(regions().size(), pageRegions(*pictureRecord(15), true).size());
    pressKey(SDLK_RIGHT);
    EXPECT_EQ(progressBook->currentPageId(), 1);
}

TEST_F(Game, ColourByNumbersResetsThePaintAndFreeColouringKeepsIt) {
    click(*tube(1));
    SceneNode* palette = paletteNode;
    pressKey(SDLK_RIGHT);
    EXPECT_TRUE(noPaintSelected);
    EXPECT_EQ(currentPaint, kWhite);
    EXPECT_NE(paletteNode, palette) << "the new page's own tubes";

    progressBook->numberMode = false;
    rebuildPage = true;
    runFrames(50);
    click(*tube(5));
    Rgb chosen = currentPaint;
    palette = paletteNode;
    pressKey(SDLK_RIGHT);
    EXPECT_FALSE(noPaintSelected);
    EXPECT_EQ(currentPaint, chosen);
    EXPECT_EQ(paletteNode, palette);
}

TEST_F(Game, ResetButtonComesWithAChangedPaintAndGoesWhenCleared) {
    EXPECT_EQ(offeredButtonAt(-3.7), nullptr);
    SceneNode* oldTube = tube(0);
    progressBook->setCustomPaint(0, {0.1, 0.2, 0.3});
    runFrames(50);
    SceneNode* reset = offeredButtonAt(-3.7);
    ASSERT_NE(reset, nullptr);
    EXPECT_TRUE(resetButtonShown);
    EXPECT_NE(tube(0), oldTube) << "the tube rebuilt itself in the new colour";
    EXPECT_EQ(tube(0)->children.front()->colour, (Rgb{0.1, 0.2, 0.3}));

    click(*reset);
    EXPECT_FALSE(progressBook->hasCustomPaints());
    runFrames(2);
    EXPECT_FALSE(resetButtonShown);
    runFrames(40);  // released 450 ms after it started to go
    EXPECT_EQ(offeredButtonAt(-3.7), nullptr);
    EXPECT_EQ(tube(0)->children.front()->colour, paintColour(*pictureRecord(1), 0));
}

TEST_F(Game, PageSevenCompletesWithoutItsUnnumberedRegions) {
    pageBuilder = standardBuilder(6);
    rebuildPage = true;
    runFrames(50);
    ASSERT_EQ(regions().size(), 46u);
    click(*fillEveryCountedRegionButTheLast());
    EXPECT_TRUE(progressBook->isPageComplete());
    EXPECT_GT(celebrationBurstsLeft + int(celebrationQueue.size()), 0) << "the celebration runs";
    for (SceneNode* region : regions()) {
        if (paintOf(region) == 9) {
            EXPECT_FALSE(region->drawMeshes);
        }
    }
}

TEST_F(Game, ClosingTheWindowSavesAndQuits) {
    click(*tube(0));
    click(*regions().front());
    SDL_Event close = {};
    close.type = SDL_QUIT;
    SDL_PushEvent(&close);
    runFrames(1);
    EXPECT_TRUE(quitStarted);
    EXPECT_TRUE(std::filesystem::exists(settingsFile()));
    for (int frame = 0; frame < 20 && gameRunning(); ++frame)
        runFrames(1);
    EXPECT_FALSE(gameRunning());
}

}  // namespace
