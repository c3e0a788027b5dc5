#include "ui/dialogs.h"

// The dialogs themselves come with the widget kit; until then opening one
// leaves an empty host under the dialog host, which draws nothing.
void buildExitDialog(void*) {}
void buildClearPageDialog(void*) {}
void buildColoursDialog(void*) {}
void buildHelpScreen(void*) {}
void openSettingsMenu() {}
