#include "game/game_screen.h"

#include "app/display.h"
#include "app/input.h"
#include "audio/sound_mixer.h"
#include "game/page_catalogue.h"
#include "game/palette.h"
#include "scene/draw_pass.h"
#include "scene/scene_node.h"
#include "ui/dialog_flags.h"
#include "ui/dialogs.h"

#include <SDL.h>

bool rebuildPage = true;
PageChoice pageBuilder;
bool keepPaintOnRebuild = false;
bool keepPaletteOnRebuild = false;
SceneNode* pageNode = nullptr;
bool undoAvailable = false;
std::vector<UndoEntry> undoStack;
bool clearButtonShown = false;
bool undoButtonShown = false;
bool resetButtonShown = false;
bool colourButtonShown = false;

namespace {

constexpr double kButtonZ = 61;
constexpr float kButtonDepth = -39;

double halfWidth() {
    return -display->screenEdgeX(kButtonDepth);
}
double buttonRowY() {
    return -display->screenEdgeY(kButtonDepth) - 0.92;
}

PageChoice builderAt(int32_t position) {
    return progressBook->hardSet ? hardBuilder(position) : standardBuilder(position);
}

void playClick() {
    soundMixer->play("button.wav", false);
}

SceneNode* newContainer(ActionCallback builder, int32_t i1, int32_t i2) {
    auto* container = new SceneNode;
    container->states.addState();
    Action build = makeAction(-1);
    build.setCallback(builder, i1, i2, 0.0, 0.0, 0.0);
    container->states.addAction(build);
    container->states.enterState(0);
    return container;
}

void showPageAt(int32_t offset) {
    int32_t pageId = progressBook->currentPageId();
    if (pageId == 0)
        return;
    rebuildPage = true;
    undoAvailable = false;
    if (!progressBook->numberMode) {
        keepPaintOnRebuild = true;
        keepPaletteOnRebuild = true;
    }
    int32_t position = (pageId - 1 + offset + kPageCount) % kPageCount;
    pageBuilder = builderAt(position);
}

// A fixed button fires on a click outside dialogs, or on its key while no
// dialog is open.
bool buttonFired(int key) {
    if (isHoveredOutsideDialogs() && leftPressed)
        return true;
    return key != 0 && !dialogOpen && !nestedDialogOpen && isKeyPressed(key) && consumeKey();
}

void closeButtonRule(void*) {
    if (!buttonFired(SDLK_ESCAPE))
        return;
    playClick();
    runDeferred(buildExitDialog, 0);
}

void helpButtonRule(void*) {
    if (!buttonFired(SDLK_F1))
        return;
    playClick();
    runDeferred(buildHelpScreen, 0);
}

void menuButtonRule(void*) {
    if (!buttonFired(0))
        return;
    playClick();
    openSettingsMenu();
}

void previousButtonRule(void*) {
    if (!buttonFired(SDLK_LEFT))
        return;
    playClick();
    showPreviousPage();
}

void nextButtonRule(void*) {
    if (!buttonFired(SDLK_RIGHT))
        return;
    playClick();
    showNextPage();
}

void addFixedButton(const char* model, double x, double y, ActionCallback rule) {
    auto* button = new SceneNode;
    button->addDrawCallback(pickableCallback, 0);
    button->addModel("interface.pak", model);
    button->transform.setPosition(x, y, kButtonZ);
    button->transform.setRotation(-90, 0, 0);
    button->states.addState();
    for (ActionCallback callback : {rule, hudButtonHover}) {
        Action action = makeAction(0);
        action.setCallback(callback, nullptr);
        button->states.addAction(action);
    }
    button->states.enterState(0);
    currentNode->addChild(button);
}

// The offered buttons answer four numbered questions: 1 should the button
// go now, 2 it starts to go, 3 does it take clicks, 4 it was clicked.
enum Question { shouldGo = 1, startsToGo, takesClicks, clicked };
using ToggleHandler = bool (*)(int question);

bool colourButtonHandler(int question) {
    switch (question) {
        case shouldGo:
            return noPaintSelected;
        case startsToGo:
            colourButtonShown = false;
            return true;
        case takesClicks:
            return colourButtonShown;
        default:
            runDeferred(buildColoursDialog, currentPaintNumber);
            return true;
    }
}

bool resetButtonHandler(int question) {
    switch (question) {
        case shouldGo:
            return !progressBook->hasCustomPaints();
        case startsToGo:
            resetButtonShown = false;
            return true;
        case takesClicks:
            return resetButtonShown;
        default:
            progressBook->clearCustomPaints();
            return true;
    }
}

bool undoButtonHandler(int question) {
    switch (question) {
        case shouldGo:
            return !undoAvailable;
        case startsToGo:
            undoStack.clear();
            undoButtonShown = false;
            return true;
        case takesClicks:
            return undoButtonShown;
        default:
            undoLastFill();
            return true;
    }
}

bool clearButtonHandler(int question) {
    switch (question) {
        case shouldGo:
            return progressBook->isPageBlank();
        case startsToGo:
            clearButtonShown = false;
            return true;
        case takesClicks:
            return clearButtonShown;
        default:
            runDeferred(buildClearPageDialog, 0);
            return true;
    }
}

enum OfferedButton { colourButton, resetButton, undoButton, clearButton };
constexpr ToggleHandler kToggleHandlers[] = {colourButtonHandler, resetButtonHandler,
                                             undoButtonHandler, clearButtonHandler};

void makeToggleButton(const char* model, double x, OfferedButton which) {
    auto* button = new SceneNode;
    button->addDrawCallback(pickableCallback, 0);
    button->transform.setScale(0.3, 0.3, 0.3);
    button->addModel("interface.pak", model);
    button->transform.setRotation(-90, 0, 0);
    button->transform.setPosition(x, buttonRowY(), kButtonZ);
    button->states.addState();
    Action toggle = makeAction(0);
    toggle.setCallback(hudToggleButton, 0, 1, which, 0.0, 0.0, 0.0);
    button->states.addAction(toggle);
    button->states.enterState(0);
    currentNode->addChild(button);
}

void offer(bool wanted, bool& shown, const char* model, double x, OfferedButton which) {
    if (!wanted || shown)
        return;
    makeToggleButton(model, x, which);
    shown = true;
}

void scaleBy(SceneNode& node, double delta) {
    node.transform.scaleBy(delta, delta, delta);
}
void scaleTo(SceneNode& node, double scale) {
    node.transform.setScale(scale, scale, scale);
}

void closeAfter(SceneNode& node, double milliseconds) {
    node.states.addState();
    Action close = makeAction(0);
    close.setCallback(closeAfterAction, milliseconds, 0.0, 0.0);
    node.states.addAction(close);
    node.states.enterState(node.states.editState);
}

}  // namespace

void showCurrentPageFromSet() {
    int32_t pageId = progressBook->currentPageId();
    if (pageId < 1 || pageId > kPageCount)
        return;
    pageBuilder = builderAt(pageId - 1);
    rebuildPage = true;
}

void showNextPage() {
    showPageAt(+1);
}

void showPreviousPage() {
    showPageAt(-1);
}

void undoLastFill() {
    if (undoStack.empty())
        return;
    const UndoEntry& last = undoStack.back();
    progressBook->fillElement(last.elementId, last.previous, 0);
    undoStack.pop_back();
    if (undoStack.empty())
        undoAvailable = false;
}

void changeColouringMode(ColouringMode mode) {
    ProgressBook& book = *progressBook;
    if (mode == ColouringMode::free) {
        if (!book.hardSet && !book.numberMode)
            return;
        book.hardSet = false;
        if (book.numberMode) {
            book.numberMode = false;
        } else {
            keepPaletteOnRebuild = true;
        }
    } else {
        bool hard = mode == ColouringMode::numbersHard;
        if (book.hardSet == hard && book.numberMode)
            return;
        book.hardSet = hard;
        if (book.numberMode) {
            keepPaletteOnRebuild = true;
        } else {
            book.numberMode = true;
        }
    }
    showCurrentPageFromSet();
    undoAvailable = false;
}

void pageLoader(void*) {
    if (!rebuildPage)
        return;
    rebuildPage = false;
    SceneNode* page = newContainer(buildPage, pageBuilder.pageId, pageBuilder.hard ? 1 : 0);
    page->transform.setRotation(-90, 0, 0);
    currentNode->addChild(page);
    if (pageNode != nullptr)
        pageNode->requestRelease();
    pageNode = page;

    if (keepPaletteOnRebuild) {
        keepPaletteOnRebuild = false;
        return;
    }
    SceneNode* palette = newContainer(buildPalette, 0, 0);
    static_cast<SceneNode*>(currentAction->userData)->addChild(palette);
    if (paletteNode != nullptr)
        paletteNode->requestRelease();
    paletteNode = palette;
}

void buildGameButtons(void*) {
    double edge = halfWidth();
    double row = buttonRowY();
    addFixedButton("knopka_close", edge - 1.02, row, closeButtonRule);
    addFixedButton("knopka_help", -edge + 3.0, row, helpButtonRule);
    addFixedButton("knopka_menu", -edge + 1.02, row, menuButtonRule);
    addFixedButton("knopka_left", 14.973, -13.155, previousButtonRule);
    addFixedButton("knopka_right", 14.973, -13.155, nextButtonRule);
}

void offerUndoButton(void*) {
    offer(undoAvailable, undoButtonShown, "knopka_back", 4.3, undoButton);
}

void offerClearButton(void*) {
    offer(!progressBook->isPageBlank(), clearButtonShown, "knopka_clear", 7.3, clearButton);
}

void offerResetButton(void*) {
    offer(progressBook->hasCustomPaints(), resetButtonShown, "knopka_reset", -3.7, resetButton);
}

void offerColourButton(void*) {
    offer(!noPaintSelected, colourButtonShown, "knopka_color", -7.5, colourButton);
}

void hudButtonHover(void*) {
    SceneNode& button = *currentNode;
    double t = currentAction->time;
    double scale = button.transform.scaleX();
    if (isHoveredOutsideDialogs()) {
        if (scale < 1.1) {
            scaleBy(button, t / 1100);
            if (button.transform.scaleX() > 1.1)
                scaleTo(button, 1.1);
        }
    } else if (scale > 1) {
        scaleBy(button, -t / 1100);
        if (button.transform.scaleX() < 1)
            scaleTo(button, 1);
    }
    currentAction->time = 0;
}

void hudToggleButton(void*) {
    Action& action = *currentAction;
    SceneNode& button = *currentNode;
    ToggleHandler handler = kToggleHandlers[action.i3];
    double t = action.time;

    bool startedToGo = false;
    if (action.i1 == 0 && handler(shouldGo)) {
        action.i1 = 1;
        handler(startsToGo);
        startedToGo = true;
    }
    bool going = action.i1 == 1;
    if (isHoveredOutsideDialogs()) {
        if (leftPressed && handler(takesClicks)) {
            playClick();
            handler(clicked);
        }
        if (!going) {
            if (button.transform.scaleX() < 1.1) {
                scaleBy(button, t / 1100);
                if (button.transform.scaleX() >= 1.1) {
                    scaleTo(button, 1.1);
                    action.i2 = 0;
                }
            }
            action.time = 0;
            return;
        }
    }
    if (action.i2 == 0 || going) {
        if (button.transform.scaleX() > 1 || going) {
            scaleBy(button, going ? t / -600 : t / -1100);
            if (!going && button.transform.scaleX() < 1)
                scaleTo(button, 1);
            if (going && button.transform.scaleX() < 0.01)
                scaleTo(button, 0.01);
        }
        action.time = 0;
        if (startedToGo)
            closeAfter(button, 450);
        return;
    }
    if (button.transform.scaleX() < 1) {
        scaleBy(button, t / 600);
        if (button.transform.scaleX() >= 1) {
            scaleTo(button, 1);
            action.i2 = 0;
        }
    }
    action.time = 0;
}

void resetGameScreen() {
    rebuildPage = true;
    pageBuilder = standardBuilder(0);
    keepPaintOnRebuild = keepPaletteOnRebuild = false;
    pageNode = nullptr;
    undoAvailable = false;
    undoStack.clear();
    clearButtonShown = undoButtonShown = resetButtonShown = colourButtonShown = false;
    resetPalette();
    resetColouring();
    dialogOpen = nestedDialogOpen = dialogBusy = palettePressLatch = false;
}
