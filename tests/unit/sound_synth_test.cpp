#include "sound/effects.h"
#include "sound/note_list.h"
#include "sound/synth.h"
#include "sound/wav_file.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

uint32_t uint32At(const Bytes& bytes, size_t offset) {
    return uint32_t(bytes[offset]) | uint32_t(bytes[offset + 1]) << 8 |
           uint32_t(bytes[offset + 2]) << 16 | uint32_t(bytes[offset + 3]) << 24;
}

uint16_t uint16At(const Bytes& bytes, size_t offset) {
    return uint16_t(bytes[offset] | bytes[offset + 1] << 8);
}

std::string tagAt(const Bytes& bytes, size_t offset) {
    return std::string(bytes.begin() + long(offset), bytes.begin() + long(offset) + 4);
}

TEST(WavFile, HeaderDescribesSixteenBitStereoAtTheMixersRate) {
    StereoBuffer buffer(3);
    Bytes wav = encodeWav(buffer);
    ASSERT_EQ(wav.size(), 44u + 3 * 4);
    EXPECT_EQ(tagAt(wav, 0), "RIFF");
    EXPECT_EQ(uint32At(wav, 4), wav.size() - 8);
    EXPECT_EQ(tagAt(wav, 8), "WAVE");
    EXPECT_EQ(tagAt(wav, 12), "fmt ");
    EXPECT_EQ(uint32At(wav, 16), 16u);
    EXPECT_EQ(uint16At(wav, 20), 1);  // PCM
    EXPECT_EQ(uint16At(wav, 22), 2);  // channels
    EXPECT_EQ(uint32At(wav, 24), 22050u);
    EXPECT_EQ(uint32At(wav, 28), 22050u * 4);  // bytes a second
    EXPECT_EQ(uint16At(wav, 32), 4);           // bytes a frame
    EXPECT_EQ(uint16At(wav, 34), 16);          // bits a sample
    EXPECT_EQ(tagAt(wav, 36), "data");
    EXPECT_EQ(uint32At(wav, 40), 3u * 4);
}

TEST(WavFile, SdlDecodesTheSamplesInterleavedLeftFirst) {
    StereoBuffer buffer(2);
    buffer.left = {0.5f, -1.0f};
    buffer.right = {-0.25f, 1.0f};
    Bytes wav = encodeWav(buffer);

    SDL_AudioSpec spec{};
    Uint8* data = nullptr;
    Uint32 length = 0;
    ASSERT_NE(
        SDL_LoadWAV_RW(SDL_RWFromConstMem(wav.data(), int(wav.size())), 1, &spec, &data, &length),
        nullptr)
        << SDL_GetError();
    EXPECT_EQ(spec.freq, 22050);
    EXPECT_EQ(spec.format, AUDIO_S16LSB);
    EXPECT_EQ(spec.channels, 2);
    ASSERT_EQ(length, 8u);
    int16_t samples[4];
    std::memcpy(samples, data, sizeof samples);
    SDL_FreeWAV(data);
    EXPECT_EQ(samples[0], 16384);
    EXPECT_EQ(samples[1], -8192);
    EXPECT_EQ(samples[2], -32767);
    EXPECT_EQ(samples[3], 32767);
}

TEST(WavFile, OvershootSaturatesInsteadOfWrapping) {
    struct Case {
        float in;
        int16_t out;
    };
    const Case cases[] = {{0.0f, 0},       {1.0f, 32767},   {-1.0f, -32767},
                          {1.5f, 32767},   {-1.5f, -32768}, {1e9f, 32767},
                          {-1e9f, -32768}, {0.00001f, 0},   {-0.5f, -16384}};
    for (const Case& c : cases)
        EXPECT_EQ(toPcm16(c.in), c.out) << c.in;
}

TEST(NoteList, PitchNames) {
    struct Case {
        const char* text;
        int midiNote;
    };
    const Case cases[] = {{"C4", 60},  {"A4", 69},   {"Bb3", 58}, {"F#5", 78}, {"C0", 12},
                          {"G8", 115}, {"Cb4", 59},  {"H4", -1},  {"c4", -1},  {"C", -1},
                          {"C9", -1},  {"C#b4", -1}, {"", -1},    {"C44", -1}, {"Cx4", -1}};
    for (const Case& c : cases)
        EXPECT_EQ(parsePitch(c.text), c.midiNote) << c.text;
}

TEST(NoteList, NotesFollowOneAnotherAndChordsShareTheirStart) {
    std::vector<NoteEvent> notes = parseNoteList("C4:1 r:.5\n  F3+A3:2 E5:0.25", 8);
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[0].midiNote, 60);
    EXPECT_DOUBLE_EQ(notes[0].startBeat, 8);
    EXPECT_DOUBLE_EQ(notes[0].lengthBeats, 1);
    EXPECT_EQ(notes[1].midiNote, 53);
    EXPECT_EQ(notes[2].midiNote, 57);
    for (size_t i : {1, 2}) {
        EXPECT_DOUBLE_EQ(notes[i].startBeat, 9.5);
        EXPECT_DOUBLE_EQ(notes[i].lengthBeats, 2);
    }
    EXPECT_DOUBLE_EQ(notes[3].startBeat, 11.5);
    EXPECT_DOUBLE_EQ(noteListBeats("C4:1 r:.5\n  F3+A3:2 E5:0.25"), 3.75);
    EXPECT_TRUE(parseNoteList("   ").empty());
}

TEST(NoteList, MalformedTokensStopWithTheirName) {
    for (const char* text :
         {"C4", "C4:0", "C4:-1", "X4:1", "C4:1:2", "C4:abc", "C4+:1", "C4:1e400", ":1", "C4:"}) {
        try {
            parseNoteList(std::string("A4:1 ") + text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const NoteListError& error) {
            EXPECT_NE(std::string(error.what()).find(text), std::string::npos) << error.what();
        }
    }
}

TEST(Synth, PartialsThatWouldAliasAreLeftOut) {
    PartialVoice voice;
    voice.partials = {{1, 1.0, 0}, {30, 1.0, 0}};  // 30 x 440 Hz is far above 11025 Hz
    Signal both = renderPartials(voice, 440, 0.1);
    voice.partials = {{1, 1.0, 0}};
    Signal fundamental = renderPartials(voice, 440, 0.1);
    ASSERT_EQ(both.size(), fundamental.size());
    for (size_t i = 0; i < both.size(); ++i)
        ASSERT_FLOAT_EQ(both[i], fundamental[i]) << i;
}

int zeroCrossings(const Signal& signal, size_t from, size_t to) {
    int crossings = 0;
    for (size_t i = from + 1; i < to; ++i)
        crossings += (signal[i - 1] < 0) != (signal[i] < 0);
    return crossings;
}

TEST(Synth, AnOctaveBendHalvesThePitchByTheEnd) {
    PartialVoice voice;
    voice.partials = {{1, 1.0, 0}};
    voice.bendSemitones = -12;
    Signal bent = renderPartials(voice, 1000, 1.0);
    size_t tenth = bent.size() / 10;
    // The first tenth sounds at about 966 Hz on average, the last at 518 Hz.
    double ratio = double(zeroCrossings(bent, 0, tenth)) /
                   zeroCrossings(bent, bent.size() - tenth, bent.size());
    EXPECT_NEAR(ratio, 1.866, 0.05);
}

TEST(Synth, FadedEdgesLandOnZeroAndNormalisingHitsThePeak) {
    StereoBuffer buffer(1000);
    for (size_t i = 0; i < buffer.frames(); ++i) {
        buffer.left[i] = 3.0f;
        buffer.right[i] = -1.5f;
    }
    fadeEdges(buffer, 0.005, 0.01);
    normalizePeak(buffer, 0.9);
    EXPECT_FLOAT_EQ(float(peakOf(buffer)), 0.9f);
    EXPECT_EQ(buffer.left.front(), 0.0f);
    EXPECT_EQ(buffer.right.back(), 0.0f);
    EXPECT_FLOAT_EQ(buffer.left[500], 0.9f);
    EXPECT_FLOAT_EQ(buffer.right[500], -0.45f);
}

TEST(Synth, SoundsAreTheSameOnEveryBuild) {
    EXPECT_EQ(encodeWav(makePaintPick()), encodeWav(makePaintPick()));
    EXPECT_EQ(encodeWav(makeButtonClick()), encodeWav(makeButtonClick()));
}

}  // namespace
