#pragma once

// Which dialogs are open, and the hover tests that keep clicks on a dialog
// from reaching what lies behind it.

// Globals of the dialogs.
extern bool dialogOpen;         // a top-level dialog is open; the game screen is inert
extern bool nestedDialogOpen;   // a dialog opened from the settings menu is open
extern bool dialogBusy;         // a dialog panel is animating; no click rule fires
extern bool palettePressLatch;  // the colours dialog saw the press that started on its palette

// The node whose actions run is under the mouse and no dialog is open.
bool isHoveredOutsideDialogs();
// The node is under the mouse, a top-level dialog is open and no nested one.
bool isHoveredInTopDialog();
