// Checks the built sound archives the way the game uses them: every sound the
// game names is found through the resource manager, decodes with SDL's WAV
// loader into the mixer's own format, and has a sensible length and level.

#include "resources/resource_manager.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct ExpectedSound {
    const char* archive;
    const char* entry;
    double minSeconds;
    double maxSeconds;
    double minPeak;  // as a fraction of full scale
    double maxPeak;
};

void PrintTo(const ExpectedSound& sound, std::ostream* out) {
    *out << sound.archive << ":" << sound.entry;
}

// Effects peak near full scale; the music, which the mixer plays at 38/128
// under them, peaks far lower. Nothing may touch full scale.
const ExpectedSound kSounds[] = {
    {"sound.pak", "button.wav", 0.04, 0.25, 0.85, 0.95},
    {"sound.pak", "scena.wav", 0.15, 0.8, 0.85, 0.95},
    {"sound.pak", "scena_false.wav", 0.2, 0.9, 0.85, 0.95},
    {"sound.pak", "finish.wav", 1.5, 3.5, 0.85, 0.95},
    {"sound.pak", "banka.wav", 0.1, 0.6, 0.85, 0.95},
    {"music.pak", "music.wav", 60, 120, 0.3, 0.5},
};

constexpr int kMixerRate = 22050;
constexpr double kFullScale = 32768;
// A step from silence smaller than this is inaudible; a larger one clicks.
constexpr double kQuietEdge = 0.01;

struct DecodedSound {
    SDL_AudioSpec spec{};
    std::vector<int16_t> samples;  // interleaved

    size_t frames() const { return spec.channels ? samples.size() / spec.channels : 0; }
    double seconds() const { return spec.freq ? double(frames()) / spec.freq : 0; }
    double peak() const {
        int largest = 0;
        for (int16_t s : samples)
            largest = std::max(largest, std::abs(int(s)));
        return largest / kFullScale;
    }
    // The largest sample of the first or last `count` frames.
    double edgeLevel(size_t count, bool atEnd) const {
        size_t values = std::min(samples.size(), count * spec.channels);
        size_t from = atEnd ? samples.size() - values : 0;
        int largest = 0;
        for (size_t i = from; i < from + values; ++i)
            largest = std::max(largest, std::abs(int(samples[i])));
        return largest / kFullScale;
    }
};

// Decodes like the game's mixer: SDL's loader over a read-only memory stream
// of the entry's bytes, the loader closing the stream.
bool decodeWav(EntryData entry, DecodedSound& sound) {
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    SDL_RWops* stream = SDL_RWFromConstMem(entry.data, entry.size);
    if (SDL_LoadWAV_RW(stream, 1, &sound.spec, &buffer, &length) == nullptr)
        return false;
    const auto* first = reinterpret_cast<const int16_t*>(buffer);
    if (sound.spec.format == AUDIO_S16LSB)
        sound.samples.assign(first, first + length / 2);
    SDL_FreeWAV(buffer);
    return true;
}

// The archives are read from the build's data folder, by the bare names the
// game uses, as the game reads them from its working directory.
class SoundArchives : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        for (const char* archive : {"sound.pak", "music.pak"}) {
            ASSERT_TRUE(fs::exists(fs::path(NIMBLETINT_DATA_DIR) / archive))
                << archive << " was not built into " << NIMBLETINT_DATA_DIR;
        }
        fs::current_path(NIMBLETINT_DATA_DIR);
    }
    void TearDown() override {
        for (const char* archive : {"sound.pak", "music.pak"}) {
            while (resourceManager.useCount(archive) > 0)
                resourceManager.releaseArchive(archive);
        }
        fs::current_path(previous_);
    }

    fs::path previous_;
};

class SoundContent : public SoundArchives, public ::testing::WithParamInterface<ExpectedSound> {};

TEST_P(SoundContent, DecodesInTheMixersFormatWithItsLengthAndLevel) {
    const ExpectedSound& expected = GetParam();
    EntryData entry = resourceManager.acquireEntry(expected.archive, expected.entry);
    ASSERT_NE(entry.data, nullptr) << "no entry " << expected.entry << " in " << expected.archive;

    DecodedSound sound;
    ASSERT_TRUE(decodeWav(entry, sound)) << SDL_GetError();
    // Already the mixer's format, so its conversion changes nothing.
    EXPECT_EQ(sound.spec.freq, kMixerRate);
    ASSERT_EQ(sound.spec.format, AUDIO_S16LSB);
    ASSERT_EQ(sound.spec.channels, 2);

    EXPECT_GE(sound.seconds(), expected.minSeconds);
    EXPECT_LE(sound.seconds(), expected.maxSeconds);
    EXPECT_GE(sound.peak(), expected.minPeak);
    EXPECT_LE(sound.peak(), expected.maxPeak);
}

// Every sound starts and ends on silence, so it never clicks as it starts,
// stops or, for the music, restarts after the mixer's gap.
TEST_P(SoundContent, StartsAndEndsOnSilence) {
    const ExpectedSound& expected = GetParam();
    DecodedSound sound;
    ASSERT_TRUE(decodeWav(resourceManager.acquireEntry(expected.archive, expected.entry), sound));
    ASSERT_GT(sound.frames(), 16u);
    EXPECT_LE(sound.edgeLevel(8, false), kQuietEdge);
    EXPECT_LE(sound.edgeLevel(8, true), kQuietEdge);
    for (size_t channel = 0; channel < sound.spec.channels; ++channel) {
        int first = sound.samples[channel];
        int last = sound.samples[sound.samples.size() - sound.spec.channels + channel];
        EXPECT_LE(std::abs(last - first) / kFullScale, kQuietEdge) << "channel " << channel;
    }
}

// The mixer adds the music at 38/128 to an effect at full volume and clips
// the sum: even where both peak together, one effect over the music fits.
TEST_F(SoundArchives, OneEffectOverTheMusicNeverClipsInTheMixer) {
    DecodedSound music;
    ASSERT_TRUE(decodeWav(resourceManager.acquireEntry("music.pak", "music.wav"), music));
    for (const ExpectedSound& expected : kSounds) {
        if (std::string(expected.archive) != "sound.pak")
            continue;
        DecodedSound effect;
        ASSERT_TRUE(
            decodeWav(resourceManager.acquireEntry(expected.archive, expected.entry), effect));
        EXPECT_LT(effect.peak() + music.peak() * 38 / 128, 1.0) << expected.entry;
    }
}

INSTANTIATE_TEST_SUITE_P(EverySound, SoundContent, ::testing::ValuesIn(kSounds),
                         [](const ::testing::TestParamInfo<ExpectedSound>& sound) {
                             std::string name = sound.param.entry;
                             name = name.substr(0, name.find('.'));
                             name.erase(std::remove(name.begin(), name.end(), '_'), name.end());
                             return name;
                         });

}  // namespace
