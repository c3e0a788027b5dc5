#pragma once

#include <string>

// Where the settings file lives on Linux: the user's data folder,
// $XDG_DATA_HOME, or $HOME/.local/share when that is unset, empty or not an
// absolute path. Missing folders are created (mode 0700). Empty when no
// folder can be had; the game then runs and cannot save.
std::string settingsFolder();

// The settings file in settingsFolder(), or empty when there is no folder.
std::string settingsFilePath();
