// Builds interface.pak: the game screen's background, buttons, paint tubes,
// bubbles, brush and the colours dialog's pictures, all made here in code.
//   interface_tool OUTPUT.pak

#include "interface_art.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.pak\n", argv[0]);
        return 2;
    }
    try {
        Entries entries;
        addGameScreen(entries);
        addPaletteAndBrush(entries);
        addColoursDialog(entries);
        if (!writePakFile(argv[1], entries)) {
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "interface_tool: %s\n", error.what());
        return 1;
    }
    return 0;
}
