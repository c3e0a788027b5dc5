#pragma once

// Builders of the dialogs the game screen opens, run through runDeferred on
// a fresh host node under the dialog host (the host is `currentNode`).
void buildExitDialog(void*);
void buildClearPageDialog(void*);
void buildColoursDialog(void*);  // i1 of the action: the paint number to change
void buildHelpScreen(void*);
// The menu button's own click opens the settings menu.
void openSettingsMenu();
