#include "app/game_loop.h"

#include "app/display.h"
#include "app/input.h"
#include "app/ticks.h"
#include "audio/sound_mixer.h"
#include "game/progress_book.h"
#include "platform/settings_folder.h"
#include "scene/draw_pass.h"
#include "scene/scene_node.h"
#include "settings/settings_file.h"

#include <GL/gl.h>
#include <SDL.h>

std::string settingsPath;
SceneNode* pictureRoot = nullptr;
SceneNode* interfaceRoot = nullptr;
SceneNode* dialogHost = nullptr;
uint32_t frameStartTicks = 0;
uint32_t frameEndTicks = 0;
int32_t frameDelay = 0;
bool quitStarted = false;

namespace {

constexpr int32_t kFrameBudget = 16;
constexpr float kSceneDistance = 100;

void buildStandingNodes() {
    dialogHost = new SceneNode;
    dialogHost->transform.setRotation(-90, 0, 0);
    pictureRoot->addChild(dialogHost);
}

void loadSceneMatrix() {
    glLoadIdentity();
    glTranslatef(0, 0, -kSceneDistance);
}

}  // namespace

int32_t frameDelayFor(uint32_t startTicks, uint32_t endTicks) {
    auto delay = static_cast<int32_t>(startTicks - endTicks + uint32_t(kFrameBudget));
    return delay > kFrameBudget ? kFrameBudget : delay;
}

void startGame() {
    quitStarted = false;
    settingsPath = settingsFilePath();
    progressBook = new ProgressBook;
    loadProgressBook(*progressBook, settingsPath);
    display = new Display;
    soundMixer = new SoundMixer;
    soundMixer->open();
    SDL_WM_SetCaption("nimbletint", "nimbletint");
    pictureRoot = new SceneNode;
    interfaceRoot = new SceneNode;
    if (progressBook->musicOn)
        soundMixer->play("music.wav", true);
    setupLighting();
    pictureRoot->addDrawCallback(lightingCallback, 0);
    interfaceRoot->addDrawCallback(lightingCallback, 0);
    buildStandingNodes();
}

bool gameRunning() {
    return !pictureRoot->released && !interfaceRoot->released;
}

void runLoopIteration() {
    frameStartTicks = getTicks();
    clearFrameInput();
    pumpEvents();
    if (windowCloseRequested && !quitStarted)
        quitGame();
    renderFrame();
    frameEndTicks = getTicks();
    frameDelay = frameDelayFor(frameStartTicks, frameEndTicks);
    if (frameDelay > 0)
        sleepFor(uint32_t(frameDelay));
}

void renderFrame() {
    frameTime = getTicks();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    loadSceneMatrix();
    pictureRoot->draw();
    drawDeferredSubMeshes();
    readColourUnderMouse();
    loadSceneMatrix();
    interfaceRoot->draw();
    display->swapBuffers();
    picker.pick();
}

void quitGame() {
    quitStarted = true;
    // A failed save leaves the previous file as it was; the game quits anyway.
    saveProgressBook(*progressBook, settingsPath);
    pictureRoot->requestRelease();
    interfaceRoot->requestRelease();
}

void shutdownGame() {
    // The audio thread reads the music switch from the book: it must never
    // see the book after it is freed.
    SDL_LockAudio();
    ProgressBook* book = progressBook;
    progressBook = nullptr;
    SDL_UnlockAudio();
    delete book;
    // Destroying a root leaves its remaining children to the end of the process.
    delete pictureRoot;
    delete interfaceRoot;
    pictureRoot = interfaceRoot = dialogHost = nullptr;
    picker.hoveredNode = nullptr;
    soundMixer->close();
    delete soundMixer;
    soundMixer = nullptr;
    delete display;
    display = nullptr;
}

void runGame() {
    startGame();
    while (gameRunning())
        runLoopIteration();
    shutdownGame();
}
