#include "support/fixtures.h"

#include "app/game_loop.h"
#include "app/input.h"
#include "app/ticks.h"
#include "game/page_catalogue.h"
#include "game/progress_book.h"
#include "scene/scene_node.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

InTempFolder::InTempFolder() {
    previous_ = fs::current_path().string();
    char pattern[] = "/tmp/nimbletint-test-XXXXXX";
    folder_ = mkdtemp(pattern);
    fs::current_path(folder_);
}

InTempFolder::~InTempFolder() {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

void PrintTo(const Rgb& rgb, std::ostream* out) {
    *out << "(" << rgb.red << ", " << rgb.green << ", " << rgb.blue << ")";
}

void expectParallelPageLists(const ProgressBook& book) {
    size_t pages = book.pageIds.size();
    EXPECT_EQ(book.freeFills.size(), pages);
    EXPECT_EQ(book.freeFillsHard.size(), pages);
    EXPECT_EQ(book.numberFills.size(), pages);
    EXPECT_EQ(book.numberFillsHard.size(), pages);
    EXPECT_EQ(book.pagePaints.size(), pages);
    EXPECT_EQ(book.pageCustomPaints.size(), pages);
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

MeshSpec rectangleMesh(float x0, float y0, float x1, float y1, float z,
                       const std::string& texture) {
    MeshSpec mesh;
    mesh.textureName = texture;
    const float a[3] = {x0, y0, z}, b[3] = {x1, y0, z}, c[3] = {x1, y1, z}, d[3] = {x0, y1, z};
    const float uvA[2] = {0, 1}, uvB[2] = {1, 1}, uvC[2] = {1, 0}, uvD[2] = {0, 0};
    const float normal[3] = {0, 0, 1};
    mesh.addTriangle(a, b, c, uvA, uvB, uvC, normal);
    mesh.addTriangle(a, c, d, uvA, uvC, uvD, normal);
    return mesh;
}

Bytes solidPng(int width, int height, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < width * height; ++i)
        pixels.insert(pixels.end(), {red, green, blue, alpha});
    return encodePng(width, height, pixels.data());
}

Bytes pcmWav(int rate, int channels, int bitsPerSample, const std::vector<int16_t>& samples) {
    int bytesPerSample = bitsPerSample / 8;
    auto dataBytes = int32_t(samples.size()) * bytesPerSample;
    Bytes out{'R', 'I', 'F', 'F'};
    appendInt32(out, 36 + dataBytes);
    for (char c : std::string("WAVEfmt "))
        out.push_back(uint8_t(c));
    appendInt32(out, 16);
    out.insert(out.end(), {1, 0, uint8_t(channels), 0});
    appendInt32(out, rate);
    appendInt32(out, rate * channels * bytesPerSample);
    out.insert(out.end(), {uint8_t(channels * bytesPerSample), 0, uint8_t(bitsPerSample), 0});
    for (char c : std::string("data"))
        out.push_back(uint8_t(c));
    appendInt32(out, dataBytes);
    for (int16_t sample : samples) {
        out.push_back(uint8_t(sample));
        if (bytesPerSample == 2)
            out.push_back(uint8_t(uint16_t(sample) >> 8));
    }
    return out;
}

void writeSoundArchives() {
    // Half a second long, so that a test can still find a sound in its slot.
    Bytes quiet = pcmWav(22050, 2, 16, std::vector<int16_t>(22050, 100));
    std::vector<PakWriterEntry> effects;
    for (const char* name :
         {"button.wav", "scena.wav", "scena_false.wav", "finish.wav", "banka.wav"}) {
        effects.push_back({name, quiet});
    }
    writePakFile("sound.pak", effects);
    writePakFile("music.pak", {{"music.wav", quiet}});
}

MeshSpec cubeMesh(float half, const std::string& texture) {
    MeshSpec cube;
    cube.textureName = texture;
    const float uv[2] = {0, 0};
    for (int axis = 0; axis < 3; ++axis) {
        for (float side : {-half, half}) {
            float corner[4][3];
            for (int k = 0; k < 4; ++k) {
                float u = (k == 1 || k == 2) ? half : -half, v = k >= 2 ? half : -half;
                corner[k][axis] = side;
                corner[k][(axis + 1) % 3] = u;
                corner[k][(axis + 2) % 3] = v;
            }
            float normal[3] = {0, 0, 0};
            normal[axis] = side > 0 ? 1.0f : -1.0f;
            cube.addTriangle(corner[0], corner[1], corner[2], uv, uv, uv, normal);
            cube.addTriangle(corner[0], corner[2], corner[3], uv, uv, uv, normal);
        }
    }
    return cube;
}

namespace {

void addModel(std::vector<PakWriterEntry>& entries, const std::string& name, MeshSpec mesh) {
    entries.push_back({name, writeModel({mesh})});
}

}  // namespace

void writeInterfaceArchive() {
    std::vector<PakWriterEntry> entries{{"white", solidPng(4, 4, 255, 255, 255)}};
    // The background far behind everything, turned to face the viewer.
    MeshSpec background = rectangleMesh(-300, -200, 300, 200, 0, "white");
    for (size_t i = 0; i < background.positions.size(); i += 3) {
        float y = background.positions[i + 1];
        background.positions[i + 1] = 150;  // model +y goes away from the viewer
        background.positions[i + 2] = y;
    }
    addModel(entries, "fon", background);
    auto facingQuad = [](float half) {
        MeshSpec quad = rectangleMesh(-half, -half, half, half, 0, "white");
        for (size_t i = 0; i < quad.positions.size(); i += 3) {
            float y = quad.positions[i + 1];
            quad.positions[i + 1] = 0;
            quad.positions[i + 2] = y;
        }
        return quad;
    };
    for (const char* button : {"knopka_close", "knopka_help", "knopka_menu", "knopka_color",
                               "knopka_reset", "knopka_back", "knopka_clear"}) {
        addModel(entries, button, facingQuad(0.8f));
    }
    MeshSpec left = facingQuad(0.6f), right = facingQuad(0.6f);
    for (size_t i = 0; i < left.positions.size(); i += 3) {
        left.positions[i] -= 1.5f;
        right.positions[i] += 1.5f;
    }
    addModel(entries, "knopka_left", left);
    addModel(entries, "knopka_right", right);
    addModel(entries, "tubik_no_num", cubeMesh(0.3f, "white"));
    addModel(entries, "lenta", rectangleMesh(-0.3f, -0.3f, 0.3f, 0.3f, 0.1f, "white"));
    for (int i = 1; i <= 9; ++i) {
        addModel(entries, "tubik" + std::to_string(i),
                 rectangleMesh(-0.1f, -0.1f, 0.1f, 0.1f, 0.2f, "white"));
    }
    MeshSpec bubble = rectangleMesh(-0.5f, -0.5f, 0.5f, 0.5f, 0, "white");
    bubble.material.transparent = true;
    for (int i = 1; i <= 5; ++i)
        addModel(entries, "buble" + std::to_string(i), bubble);
    addModel(entries, "kist_ruchka", rectangleMesh(0, 0, 0.2f, 2, 0, "white"));
    addModel(entries, "kist_vors_color", rectangleMesh(0, 0, 0.2f, 0.5f, 0, "white"));
    entries.push_back({"list_nums_nodigits", writeModel({})});
    writePakFile("interface.pak", entries);
}

void writePageArchives() {
    for (int32_t pageId = 1; pageId <= kPageCount; ++pageId) {
        for (bool hard : {false, true}) {
            std::vector<PageRegion> regions = pageRegions(*pictureRecord(pageId), hard);
            auto columns = int(std::ceil(std::sqrt(double(regions.size()))));
            float cell = 28.0f / float(columns);
            std::vector<PakWriterEntry> entries{{"white", solidPng(4, 4, 255, 255, 255)}};
            for (size_t i = 0; i < regions.size(); ++i) {
                float x = float(int(i) % columns) * cell, y = float(int(i) / columns) * cell;
                addModel(entries, regions[i].key,
                         rectangleMesh(x + 0.05f, y + 0.05f, x + cell - 0.05f, y + cell - 0.05f, 0,
                                       "white"));
            }
            entries.push_back({"list_nums", writeModel({})});
            entries.push_back({"list_kontur", writeModel({})});
            writePakFile(pageArchiveName(pageId, hard), entries);
        }
    }
}

void GameTest::startUp() {
    startGame();
}

void EngineTest::startUp() {
    startEngine();
}

void GameTest::SetUp() {
    writeSoundArchives();
    writeInterfaceArchive();
    writePageArchives();
    // The game saves its settings when it quits: keep them in the test's folder.
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    hadDataHome_ = dataHome != nullptr;
    if (hadDataHome_)
        previousDataHome_ = dataHome;
    setenv("XDG_DATA_HOME", folder_.path().c_str(), 1);
    ManualClock::install(1000);
    resetInput();
    startUp();
}

void GameTest::TearDown() {
    // Quit as the game does, so that the scene is torn down frame by frame.
    if (!quitStarted)
        quitGame();
    for (int frame = 0; frame < 100 && gameRunning(); ++frame)
        runLoopIteration();
    EXPECT_FALSE(gameRunning());
    // The game stops at the first root torn down and leaves the rest to the
    // end of the process. A test goes on until both trees are gone, so that no
    // node keeps an archive or a texture of this window into the next test.
    for (int frame = 0; frame < 100 && !(pictureRoot->released && interfaceRoot->released); ++frame)
        renderFrame();
    shutdownGame();
    ManualClock::uninstall();
    if (hadDataHome_) {
        setenv("XDG_DATA_HOME", previousDataHome_.c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
    }
}

void GameTest::runFrames(int count) {
    for (int i = 0; i < count; ++i)
        runLoopIteration();
}

std::string GameTest::settingsFile() const {
    return folder_.path() + "/quillmark-nimbletint-cfg";
}
