#include "ui/dialog_flags.h"

#include "scene/draw_pass.h"

bool dialogOpen = false;
bool nestedDialogOpen = false;
bool dialogBusy = false;
bool palettePressLatch = false;

bool isHoveredOutsideDialogs() {
    return isHovered() && !dialogOpen;
}

bool isHoveredInTopDialog() {
    return isHovered() && dialogOpen && !nestedDialogOpen;
}
