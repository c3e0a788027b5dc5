#include "app/game_loop.h"

#include "app/display.h"
#include "app/input.h"
#include "app/ticks.h"
#include "audio/sound_mixer.h"
#include "game/brush.h"
#include "game/game_screen.h"
#include "game/progress_book.h"
#include "platform/settings_folder.h"
#include "scene/draw_pass.h"
#include "scene/scene_node.h"
#include "settings/settings_file.h"
#include "ui/dialogs.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>
#include <ctime>

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

void createRoots() {
    pictureRoot = new SceneNode;
    interfaceRoot = new SceneNode;
}

void lightRoots() {
    setupLighting();
    pictureRoot->addDrawCallback(lightingCallback, 0);
    interfaceRoot->addDrawCallback(lightingCallback, 0);
}

void addDialogHost() {
    dialogHost = new SceneNode;
    dialogHost->transform.setRotation(-90, 0, 0);
    pictureRoot->addChild(dialogHost);
}

SceneNode* standingNode(ActionCallback callback, void* userData, double duration = 0) {
    auto* node = new SceneNode;
    node->states.addState();
    Action action = makeAction(duration);
    action.setCallback(callback, userData);
    node->states.addAction(action);
    return node;
}

SceneNode* gameScreenControls() {
    auto* controls = new SceneNode;
    controls->states.addState();
    for (ActionCallback offer :
         {offerUndoButton, offerClearButton, offerResetButton, offerColourButton}) {
        Action action = makeAction(0);
        action.setCallback(offer, nullptr);
        controls->states.addAction(action);
    }
    Action buildButtons = makeAction(-1);
    buildButtons.setCallback(buildGameButtons, nullptr);
    controls->states.addAction(buildButtons);
    controls->states.enterState(0);
    return controls;
}

// The nodes that carry the game's standing behaviour, in drawing order:
// background, game-screen controls, page loader, palette area, dialog host;
// and the brush above everything.
void buildStandingNodes() {
    auto* background = new SceneNode;
    background->transform.setRotation(-90, 0, 0);
    background->addModel("interface.pak", "fon");
    pictureRoot->addChild(background);

    pictureRoot->addChild(gameScreenControls());

    auto* paletteArea = new SceneNode;
    paletteArea->addDrawCallback(lightingCallback, 0);
    SceneNode* loader = standingNode(pageLoader, paletteArea);
    loader->states.enterState(0);
    pictureRoot->addChild(loader);
    pictureRoot->addChild(paletteArea);

    addDialogHost();
    if (progressBook->showHelpAtStart)
        runDeferred(buildHelpScreen, 0);

    SceneNode* brushHost = standingNode(buildBrush, nullptr, -1);
    brushHost->states.enterState(0);
    interfaceRoot->addChild(brushHost);
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
    std::srand(unsigned(std::time(nullptr)));
    settingsPath = settingsFilePath();
    progressBook = new ProgressBook;
    loadProgressBook(*progressBook, settingsPath);
    display = new Display;
    soundMixer = new SoundMixer;
    soundMixer->open();
    SDL_WM_SetCaption("nimbletint", "nimbletint");
    createRoots();
    if (progressBook->musicOn) soundMixer->play("music.wav", true);
    resetGameScreen();
    showCurrentPageFromSet();
    lightRoots();
    buildStandingNodes();
}

void startEngine() {
    quitStarted = false;
    progressBook = new ProgressBook;
    display = new Display;
    SDL_WM_SetCaption("nimbletint", "nimbletint");
    createRoots();
    lightRoots();
    addDialogHost();
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
    if (soundMixer != nullptr) soundMixer->close();
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
