// Screenshots of the game for review and for the README: the real start-up
// and frame loop on the built archives, with the page filled through the
// progress book rather than by clicks (the game tests click).
//   game_screenshots DATA_FOLDER OUTPUT_FOLDER   (on a display)

#include "app/display.h"
#include "app/game_loop.h"
#include "app/input.h"
#include "app/ticks.h"
#include "game/colouring.h"
#include "game/game_screen.h"
#include "game/page_catalogue.h"
#include "game/palette.h"
#include "game/progress_book.h"
#include "scene/scene_node.h"
#include "writers/pak_writer.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string outputFolder;

void runFrames(int count) {
    for (int i = 0; i < count; ++i)
        runLoopIteration();
}

bool captureWanted = false;
std::vector<uint8_t> pixels;

// After the interface layer's last child, before the buffers are swapped, the
// back buffer holds the whole frame.
void captureFrame(int phase, int) {
    if (phase != 4 || !captureWanted)
        return;
    captureWanted = false;
    pixels.assign(size_t(display->width) * size_t(display->height) * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, display->width, display->height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
}

void saveShot(const std::string& name) {
    int width = display->width, height = display->height;
    captureWanted = true;
    runFrames(1);
    std::vector<uint8_t> flipped(pixels.size());
    size_t row = size_t(width) * 4;
    for (int y = 0; y < height; ++y) {
        std::copy_n(&pixels[size_t(height - 1 - y) * row], row, &flipped[size_t(y) * row]);
    }
    for (size_t i = 3; i < flipped.size(); i += 4)
        flipped[i] = 255;
    std::string path = outputFolder + "/" + name + "-" + std::to_string(width) + "x" +
                       std::to_string(height) + ".png";
    Bytes png = encodePng(width, height, flipped.data());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(png.data(), 1, png.size(), file);
    std::fclose(file);
    std::printf("%s\n", path.c_str());
}

void fillRegions(bool all, bool leaveLast) {
    const PictureRecord& record = *pictureRecord(progressBook->currentPageId());
    std::vector<PageRegion> regions = pageRegions(record, progressBook->hardSet);
    for (size_t i = 0; i < regions.size(); ++i) {
        const PageRegion& region = regions[i];
        if (region.paintNumber >= record.paintCount)
            continue;
        if (!all && i % 2 == 1)
            continue;
        if (leaveLast && i + 1 == regions.size())
            continue;
        progressBook->fillElement(region.elementId, paintColour(record, region.paintNumber),
                                  region.paintNumber);
    }
}

void selectPaint(int32_t paint) {
    noPaintSelected = false;
    currentPaintNumber = paint;
    currentPaint = progressBook->paintColour(paint).value_or(kWhite);
}

void pointAt(double x, double y) {
    mouseX = int32_t(x * display->width);
    mouseY = int32_t(y * display->height);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DATA_FOLDER OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    outputFolder = std::filesystem::absolute(argv[2]).string();
    std::filesystem::create_directories(outputFolder);
    auto home = std::filesystem::temp_directory_path() / "nimbletint-screenshots";
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    std::filesystem::current_path(argv[1]);

    ManualClock::install(1000);
    startGame();
    interfaceRoot->addDrawCallback(captureFrame, 0);
    progressBook->showHelpAtStart = false;
    pointAt(0.62, 0.55);
    runFrames(60);
    saveShot("fresh-page");

    fillRegions(false, false);
    selectPaint(2);
    keepPaintOnRebuild = keepPaletteOnRebuild = rebuildPage = true;
    runFrames(60);
    saveShot("half-coloured");

    fillRegions(true, false);
    keepPaintOnRebuild = keepPaletteOnRebuild = rebuildPage = true;
    runFrames(40);
    startCelebration(2);
    runFrames(40);
    saveShot("celebration");

    progressBook->numberMode = false;
    rebuildPage = true;
    runFrames(60);
    fillRegions(false, false);
    selectPaint(4);
    keepPaintOnRebuild = keepPaletteOnRebuild = rebuildPage = true;
    runFrames(60);
    saveShot("free-colouring");

    quitGame();
    while (gameRunning())
        runLoopIteration();
    shutdownGame();
    std::filesystem::remove_all(home);
    return 0;
}
