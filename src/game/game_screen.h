#pragma once

#include "game/colouring.h"
#include "game/page_builder.h"
#include "game/progress_book.h"

#include <vector>

struct SceneNode;

// Globals of the game screen.
extern bool rebuildPage;                  // rebuild the page (and palette unless kept) next frame
extern PageChoice pageBuilder;            // the page the next rebuild makes
extern bool keepPaintOnRebuild;           // the next page build keeps the selected paint
extern bool keepPaletteOnRebuild;         // the next rebuild keeps the palette
extern SceneNode* pageNode;               // the page container on screen
extern bool undoAvailable;                // free colouring: a fill can be undone
extern std::vector<UndoEntry> undoStack;  // free-colouring fills, newest last
extern bool clearButtonShown;             // each: the offered button exists and is not going
extern bool undoButtonShown;
extern bool resetButtonShown;
extern bool colourButtonShown;

// Shows the current page id from the set `hardSet` names.
void showCurrentPageFromSet();
// Next and previous page of the same set, wrapping between 15 and 1.
void showNextPage();
void showPreviousPage();
// Gives the last free-colouring fill back.
void undoLastFill();
// Switches the play mode as the help screen's mode buttons do.
void changeColouringMode(ColouringMode mode);

// Per-frame actions of the game screen.
void pageLoader(void*);        // loader node: builds a requested page; userData the palette area
void buildGameButtons(void*);  // controls node, once: the five fixed buttons
void offerUndoButton(void*);   // controls node: make the offered buttons when wanted
void offerClearButton(void*);
void offerResetButton(void*);
void offerColourButton(void*);
void hudButtonHover(void*);   // fixed buttons grow a little under the mouse
void hudToggleButton(void*);  // offered buttons: appear, hover, click, disappear

// Back to the state of a fresh start.
void resetGameScreen();
