#pragma once

#include "scene/rgb.h"
#include "writers/pak_writer.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

// Readable colours in test failures.
void PrintTo(const Rgb& rgb, std::ostream* out);

// Runs a test inside a fresh empty folder, which the archives are read from.
class InTempFolder {
public:
    InTempFolder();
    ~InTempFolder();
    const std::string& path() const { return folder_; }

private:
    std::string previous_;
    std::string folder_;
};

void writeFile(const std::string& path, const Bytes& bytes);

// A flat rectangle from (x0, y0) to (x1, y1) at depth z, facing +z.
MeshSpec rectangleMesh(float x0, float y0, float x1, float y1, float z,
                       const std::string& texture = "");

// A cube of half-size `half` about the origin.
MeshSpec cubeMesh(float half, const std::string& texture = "");

// A w x h picture of one colour, as PNG bytes.
Bytes solidPng(int width, int height, uint8_t red, uint8_t green, uint8_t blue,
               uint8_t alpha = 255);

// A PCM WAV file; samples are interleaved, 8-bit ones given as 0..255.
Bytes pcmWav(int rate, int channels, int bitsPerSample, const std::vector<int16_t>& samples);

// "sound.pak" and "music.pak" in the current folder, with short quiet sounds
// under every name the game plays.
void writeSoundArchives();

// Simple stand-ins for the game's archives in the current folder: every model
// of "interface.pak" as a small quad, and all thirty page archives with their
// regions laid out as a grid of squares, so that game tests do not depend on
// the art.
void writeInterfaceArchive();
void writePageArchives();

struct ProgressBook;

// The progress book's per-page lists are parallel to its page ids.
void expectParallelPageLists(const ProgressBook& book);

// The game's start-up on the manual clock, with the window under test and
// stand-in archives; and the shutdown after the test. The settings file lives
// in the test's folder (XDG_DATA_HOME points there while the test runs).
class GameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // How the game starts: the whole game; the engine alone in EngineTest.
    virtual void startUp();
    void runFrames(int count);
    // The settings file the game reads at start-up and writes at quit.
    std::string settingsFile() const;

    InTempFolder folder_;

private:
    bool hadDataHome_ = false;
    std::string previousDataHome_;
};

// The engine alone (window, lit roots, dialog host), without the game's
// standing nodes: for tests of the engine itself.
class EngineTest : public GameTest {
protected:
    void startUp() override;
};
