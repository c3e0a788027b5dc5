// The game's frame time on its largest pages. Starts the real game on the
// built archives and reports, for each page: the frame that builds it, the
// steady frame time (median and 95th percentile), and the engine's own CPU
// work in those frames (the same frames with GL calls not executed); beside
// them the floor of an empty frame (clear, read-back, pick, swap), the time
// from launch to the first frame drawn, and the resident memory. Run it on a
// display of the size to measure, from the folder holding the archives:
//   cd build/data && ../../scripts/virtual-display.sh -s 1280x720 ../bench/game_bench

#include "app/display.h"
#include "app/game_loop.h"
#include "app/input.h"
#include "game/game_screen.h"
#include "game/page_catalogue.h"
#include "game/progress_book.h"
#include "gl_context.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kMeasuredFrames = 200;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double timedFrame() {
    auto start = Clock::now();
    renderFrame();
    return millisecondsSince(start);
}

struct Spread {
    double median, p95;
};

Spread measureFrames(int count) {
    std::vector<double> times;
    times.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        times.push_back(timedFrame());
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[size_t(0.95 * double(times.size() - 1))]};
}

Spread measureEngineAlone(int count) {
    releaseGlContext();
    Spread spread = measureFrames(count);
    restoreGlContext();
    return spread;
}

std::string residentMemory() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0)
            return line.substr(6);
    }
    return "unknown";
}

void measurePage(int32_t pageId, bool hard) {
    std::string archive = pageArchiveName(pageId, hard);
    if (!std::filesystem::exists(archive)) {
        std::printf("%-12s not built yet\n", archive.c_str());
        return;
    }
    pageBuilder = hard ? hardBuilder(pageId - 1) : standardBuilder(pageId - 1);
    rebuildPage = true;
    double build = timedFrame();
    for (int i = 0; i < 60; ++i)
        renderFrame();  // the tubes grow in
    Spread frames = measureFrames(kMeasuredFrames);
    Spread engine = measureEngineAlone(kMeasuredFrames);
    std::printf(
        "%-12s build frame %7.2f ms | frames: median %6.2f ms, 95%% %6.2f ms | "
        "engine alone: median %5.3f ms\n",
        archive.c_str(), build, frames.median, frames.p95, engine.median);
}

}  // namespace

int main() {
    auto launched = Clock::now();
    auto home = std::filesystem::temp_directory_path() / "nimbletint-game-bench";
    std::filesystem::create_directories(home);
    setenv("XDG_DATA_HOME", home.c_str(), 1);

    startGame();
    progressBook->showHelpAtStart = false;
    renderFrame();
    double firstFrame = millisecondsSince(launched);
    mouseX = display->width / 2;
    mouseY = display->height / 2;
    std::printf("display %dx%d; launch to first frame drawn: %.1f ms\n", display->width,
                display->height, firstFrame);

    measurePage(12, true);
    measurePage(15, true);
    measurePage(4, false);
    std::printf("resident memory:%s\n", residentMemory().c_str());
    quitGame();
    while (gameRunning())
        renderFrame();
    shutdownGame();

    startEngine();
    Spread floor = measureFrames(kMeasuredFrames);
    std::printf("floor (empty frame: clear, read-back, pick, swap): median %.2f ms, 95%% %.2f ms\n",
                floor.median, floor.p95);
    quitGame();
    while (gameRunning())
        renderFrame();
    shutdownGame();
    std::filesystem::remove_all(home);
    return 0;
}
