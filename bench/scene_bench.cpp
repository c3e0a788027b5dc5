// Draws and picks a scene the size of the largest page (about 110 pickable
// nodes, 25 000 triangles) and reports the time per frame and the heap
// allocations per steady-state frame. Run it on a display, for example:
//   scripts/virtual-display.sh build/bench/scene_bench

#include "app/display.h"
#include "app/game_loop.h"
#include "app/input.h"
#include "count_allocations.h"
#include "gl_context.h"
#include "scene/draw_pass.h"
#include "scene/scene_node.h"
#include "writers/pak_writer.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

constexpr int kColumns = 11;
constexpr int kRows = 10;
constexpr int kCellsPerSide = 10;  // each region a 10 x 10 grid of quads: 200 triangles
constexpr int kWarmUpFrames = 30;
constexpr int kMeasuredFrames = 300;

MeshSpec gridRegion(float x0, float y0, float size) {
    MeshSpec mesh;
    mesh.textureName = "paper";
    const float normal[3] = {0, 0, 1};
    float step = size / kCellsPerSide;
    for (int i = 0; i < kCellsPerSide; ++i) {
        for (int j = 0; j < kCellsPerSide; ++j) {
            float x = x0 + i * step, y = y0 + j * step;
            const float a[3] = {x, y, 0}, b[3] = {x + step, y, 0}, c[3] = {x + step, y + step, 0},
                        d[3] = {x, y + step, 0};
            const float uv[2] = {0, 0};
            mesh.addTriangle(a, b, c, uv, uv, uv, normal);
            mesh.addTriangle(a, c, d, uv, uv, uv, normal);
        }
    }
    return mesh;
}

void writeBenchArchive() {
    std::vector<PakWriterEntry> entries;
    std::vector<uint8_t> paper(64 * 64 * 4, 255);
    entries.push_back({"paper", encodePng(64, 64, paper.data())});
    float cell = 2.6f;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            MeshSpec region = gridRegion(column * cell - 14, row * cell - 13, cell);
            entries.push_back(
                {"r" + std::to_string(row * kColumns + column), writeModel({region})});
        }
    }
    // Outlines over the regions: thin transparent strips around every region,
    // 40 segments each, like a page's outline layer.
    MeshSpec overlay;
    overlay.textureName = "paper";
    overlay.material.transparent = true;
    const float normal[3] = {0, 0, 1}, uv[2] = {0, 0};
    const float half = 0.06f;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            float x0 = column * cell - 14, y0 = row * cell - 13;
            for (int k = 0; k < 40; ++k) {
                float t0 = cell * float(k % 10) / 10, t1 = cell * float(k % 10 + 1) / 10;
                bool horizontal = k < 20;
                float fixed = (k / 10) % 2 == 0 ? 0 : cell;
                auto at = [&](float t, float off) {
                    return horizontal ? std::array<float, 3>{x0 + t, y0 + fixed + off, 0.01f}
                                      : std::array<float, 3>{x0 + fixed + off, y0 + t, 0.01f};
                };
                auto a = at(t0, -half), b = at(t1, -half), c = at(t1, half), d = at(t0, half);
                overlay.addTriangle(a.data(), b.data(), c.data(), uv, uv, uv, normal);
                overlay.addTriangle(a.data(), c.data(), d.data(), uv, uv, uv, normal);
            }
        }
    }
    entries.push_back({"overlay", writeModel({overlay})});
    writePakFile("bench.pak", entries);
}

void buildScene() {
    auto* page = new SceneNode;
    page->transform.setPosition(0, 0, 50);
    for (int i = 0; i < kRows * kColumns; ++i) {
        auto* region = new SceneNode;
        region->addDrawCallback(pickableCallback, 0);
        region->addModel("bench.pak", ("r" + std::to_string(i)).c_str());
        region->setColour(0.8, 0.6, 0.2 + 0.005 * i);
        region->states.addState();
        Action watcher = makeAction(0);
        watcher.setCallback([](void*) { (void)isHovered(); }, nullptr);
        region->states.addAction(watcher);
        region->states.enterState(0);
        page->addChild(region);
    }
    auto* overlay = new SceneNode;
    overlay->addModel("bench.pak", "overlay");
    overlay->setColour(0.2, 0.2, 0.2);
    overlay->setAlpha(0.3);
    page->addChild(overlay);
    pictureRoot->addChild(page);
}

// renderFrame's steps one by one, each finished before the next, to see
// where a frame's time goes.
struct PhaseTimes {
    double picture = 0, deferred = 0, readBack = 0, interface = 0, swap = 0, pick = 0;
};

PhaseTimes timePhases(int frames) {
    PhaseTimes total;
    auto lap = [](auto& clock) {
        glFinish();
        auto now = std::chrono::steady_clock::now();
        double ms = std::chrono::duration<double, std::milli>(now - clock).count();
        clock = now;
        return ms;
    };
    for (int i = 0; i < frames; ++i) {
        auto clock = std::chrono::steady_clock::now();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(0, 0, -100);
        pictureRoot->draw();
        total.picture += lap(clock);
        drawDeferredSubMeshes();
        total.deferred += lap(clock);
        readColourUnderMouse();
        total.readBack += lap(clock);
        glLoadIdentity();
        glTranslatef(0, 0, -100);
        interfaceRoot->draw();
        total.interface += lap(clock);
        display->swapBuffers();
        total.swap += lap(clock);
        picker.pick();
        total.pick += lap(clock);
    }
    for (double* phase : {&total.picture, &total.deferred, &total.readBack, &total.interface,
                          &total.swap, &total.pick}) {
        *phase /= frames;
    }
    return total;
}

// The engine's own CPU work: the same frames with the GL context released,
// so that every GL call returns at once. Returns (median ms, allocations).
std::pair<double, long> timeEngineAlone(int frames) {
    releaseGlContext();
    std::vector<double> milliseconds;
    milliseconds.reserve(size_t(frames));
    long before = heapAllocations();
    for (int i = 0; i < frames; ++i) {
        auto start = std::chrono::steady_clock::now();
        renderFrame();
        auto end = std::chrono::steady_clock::now();
        milliseconds.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    long allocated = heapAllocations() - before;
    restoreGlContext();
    std::sort(milliseconds.begin(), milliseconds.end());
    return {milliseconds[milliseconds.size() / 2], allocated};
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[size_t(p * double(values.size() - 1))];
}

}  // namespace

int main() {
    auto folder = std::filesystem::temp_directory_path() / "nimbletint-scene-bench";
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    writeBenchArchive();

    startEngine();
    buildScene();
    mouseX = display->width / 2;
    mouseY = display->height / 2;
    for (int i = 0; i < kWarmUpFrames; ++i)
        renderFrame();

    std::vector<double> milliseconds;
    milliseconds.reserve(kMeasuredFrames);
    long allocationsBefore = heapAllocations();
    for (int i = 0; i < kMeasuredFrames; ++i) {
        auto start = std::chrono::steady_clock::now();
        renderFrame();
        auto end = std::chrono::steady_clock::now();
        milliseconds.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    long steadyAllocations = heapAllocations() - allocationsBefore;

    std::printf("scene: %d pickable nodes, %d triangles, %dx%d\n", kRows * kColumns,
                kRows * kColumns * (200 + 80), display->width, display->height);
    std::printf("frame time: median %.2f ms, 95th percentile %.2f ms over %d frames\n",
                percentile(milliseconds, 0.5), percentile(milliseconds, 0.95), kMeasuredFrames);
    PhaseTimes phases = timePhases(50);
    std::printf(
        "per phase (each finished): picture layer %.2f, deferred %.2f, read-back %.2f, "
        "interface %.2f, swap %.2f, pick %.2f ms\n",
        phases.picture, phases.deferred, phases.readBack, phases.interface, phases.swap,
        phases.pick);
    auto [engineMs, engineAllocations] = timeEngineAlone(kMeasuredFrames);
    std::printf("engine alone (GL calls not executed): median %.3f ms, %.2f allocations a frame\n",
                engineMs, double(engineAllocations) / kMeasuredFrames);
    std::printf("hovered node found: %s\n", picker.hoveredNode != nullptr ? "yes" : "no");
    std::printf("heap allocations per steady-state frame: %.2f\n",
                double(steadyAllocations) / kMeasuredFrames);
    quitGame();
    while (gameRunning())
        renderFrame();
    shutdownGame();
    std::filesystem::remove_all(folder);
    return 0;
}
