#include "audio/sound_mixer.h"
#include "game/progress_book.h"
#include "resources/resource_manager.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

constexpr int kCallbackBytes = 2048;  // 512 stereo 16-bit frames

int16_t sampleAt(const std::vector<Uint8>& stream, size_t index) {
    return int16_t(stream[2 * index] | stream[2 * index + 1] << 8);
}

// The mixer without a device: play() fills the slots and the tests run the
// audio callback by hand on silent buffers, as the audio thread would.
class Mixer : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile("sound.pak", writePak({{"click.wav", pcmWav(22050, 2, 16, tone(1000, 4000))},
                                         {"low.wav", pcmWav(11025, 1, 8, lowTone(100))},
                                         {"adpcm.wav", adpcmHeader()},
                                         {"junk.wav", Bytes(200, 7)}}));
        writeFile("music.pak", writePak({{"music.wav", pcmWav(22050, 2, 16, tone(600, 8000))}}));
        progressBook = &book_;
        mixer_.unavailable = false;
    }
    void TearDown() override {
        mixer_.close();
        progressBook = nullptr;
        while (!resourceManager.archiveNames.empty()) {
            resourceManager.releaseArchive(resourceManager.archiveNames.front());
        }
    }

    static std::vector<int16_t> tone(size_t samples, int16_t value) {
        return std::vector<int16_t>(samples, value);
    }
    static std::vector<int16_t> lowTone(size_t samples) {
        return std::vector<int16_t>(samples, 200);  // unsigned 8-bit: +72 around 128
    }
    static Bytes adpcmHeader() {
        Bytes wav = pcmWav(22050, 1, 16, tone(100, 5));
        wav[20] = 2;  // format tag: Microsoft ADPCM
        return wav;
    }

    std::vector<Uint8> mix() {
        std::vector<Uint8> stream(kCallbackBytes, 0);
        mixCallback(nullptr, stream.data(), kCallbackBytes);
        return stream;
    }
    int busySlots() const {
        return int(
            std::count_if(std::begin(mixChannels), std::end(mixChannels),
                          [](const MixChannel& s) { return s.position != s.length || s.looping; }));
    }

    InTempFolder folder_;
    ProgressBook book_;
    SoundMixer mixer_;
};

TEST_F(Mixer, FiveSlotsAndTheSixthIsDropped) {
    book_.musicOn = false;
    for (int i = 0; i < 6; ++i)
        mixer_.play("click.wav", false);
    EXPECT_EQ(busySlots(), 5);
    EXPECT_EQ(mixer_.decodedNames.size(), 1u) << "one cached buffer for every play";
    EXPECT_EQ(mixChannels[0].samples, mixChannels[4].samples);
    std::vector<Uint8> stream = mix();
    EXPECT_EQ(sampleAt(stream, 0), 5 * 4000);
}

TEST_F(Mixer, MusicTakesASlotAndPlaysAtItsOwnVolume) {
    mixer_.play("music.wav", true);
    for (int i = 0; i < 5; ++i)
        mixer_.play("click.wav", false);
    EXPECT_EQ(busySlots(), 5) << "with music on only four effects fit";
    EXPECT_TRUE(mixChannels[0].looping);

    for (MixChannel& slot : mixChannels) {
        if (!slot.looping)
            slot.position = slot.length;  // effects done
    }
    EXPECT_EQ(sampleAt(mix(), 0), 8000 * 38 / 128);
}

TEST_F(Mixer, MusicLoopsAndStopsWhenSwitchedOff) {
    mixer_.play("music.wav", true);
    const MixChannel& music = mixChannels[0];
    uint32_t length = music.length;  // 600 interleaved 16-bit samples, already in device format
    ASSERT_EQ(length, 600u * 2);
    mix();
    EXPECT_EQ(music.position, length) << "a loop ends inside one buffer";
    std::vector<Uint8> restarted = mix();
    EXPECT_NE(sampleAt(restarted, 0), 0) << "and restarts at the next callback";

    book_.musicOn = false;
    std::vector<Uint8> stopped = mix();
    EXPECT_EQ(sampleAt(stopped, 0), 0);
    EXPECT_EQ(busySlots(), 0);
}

TEST_F(Mixer, SwitchesGateEffectsAndMusicApart) {
    book_.soundOn = false;
    mixer_.play("click.wav", false);
    EXPECT_EQ(busySlots(), 0) << "effects are silent while sound is off";
    mixer_.play("music.wav", true);
    EXPECT_EQ(busySlots(), 1) << "music plays with only music on";

    book_.soundOn = true;
    book_.musicOn = false;
    mixer_.close();
    mixer_.unavailable = false;
    mixer_.play("music.wav", true);
    EXPECT_EQ(busySlots(), 1) << "a looping play takes a slot while sound is on";
    EXPECT_EQ(sampleAt(mix(), 0), 0) << "the next callback frees it without mixing";
    EXPECT_EQ(busySlots(), 0);
}

TEST_F(Mixer, OtherFormatsAreConvertedToTheDeviceFormat) {
    mixer_.play("low.wav", false);
    // 11025 Hz mono 8-bit to 22050 Hz stereo 16-bit: eight bytes for each one.
    EXPECT_EQ(mixChannels[0].length, 100u * 8);
    EXPECT_GT(sampleAt(mix(), 0), 0);
}

TEST_F(Mixer, SoundsThatDoNotDecodePlayNothingAndCacheNothing) {
    for (const char* name : {"missing.wav", "adpcm.wav", "junk.wav"})
        mixer_.play(name, false);
    EXPECT_EQ(busySlots(), 0);
    EXPECT_TRUE(mixer_.decodedNames.empty());
    EXPECT_FALSE(isPcmWav(nullptr, 0));
}

TEST_F(Mixer, UnavailableDeviceKeepsTheGameSilent) {
    mixer_.unavailable = true;
    mixer_.play("click.wav", false);
    mixer_.play("music.wav", true);
    EXPECT_EQ(busySlots(), 0);
}

// End to end through SDL's disk audio driver, which writes what the device
// would play into a file.
TEST(MixerDevice, MixedSamplesReachTheDevice) {
    InTempFolder folder;
    std::string output = folder.path() + "/device.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1);
    writeFile("sound.pak",
              writePak({{"click.wav", pcmWav(22050, 2, 16, std::vector<int16_t>(44100, 3000))}}));
    ProgressBook book;
    progressBook = &book;
    SoundMixer mixer;
    mixer.open();
    ASSERT_FALSE(mixer.unavailable);
    mixer.play("click.wav", false);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::filesystem::file_size(output) < 16384 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    mixer.close();
    progressBook = nullptr;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);

    std::ifstream file(output, std::ios::binary);
    std::vector<Uint8> written((std::istreambuf_iterator<char>(file)), {});
    ASSERT_GE(written.size(), 16384u);
    int loud = 0;
    for (size_t i = 0; i + 1 < written.size() / 2; ++i)
        loud += sampleAt(written, i) == 3000;
    EXPECT_GT(loud, 4096) << "the effect's samples were played";
}

}  // namespace
