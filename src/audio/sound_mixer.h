#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

// One playback slot. A slot is free when it has played to its end and is not
// looping; looping slots (the music) are never free while music is on.
struct MixChannel {
    const Uint8* samples = nullptr;  // converted samples, owned by the mixer's cache
    uint32_t position = 0;           // bytes mixed so far
    uint32_t length = 0;             // bytes in all
    bool looping = false;            // restarts at its end; mixed at the music volume
};

// A five-slot software mixer over the SDL audio device, with a cache of
// sounds converted once to the device format at their first play.
struct SoundMixer {
    static constexpr int kSlots = 5;
    static constexpr int kMusicVolume = 38;
    static constexpr int kEffectVolume = SDL_MIX_MAXVOLUME;

    bool unavailable = true;                  // no audio: every play returns at once
    std::vector<SDL_AudioCVT> decodedSounds;  // converted sounds, in order of first play
    std::vector<std::string> decodedNames;    // entry name of each, parallel

    // Opens the device (22050 Hz, signed 16-bit, stereo, 512 frames); a
    // failure leaves the game silent.
    void open();
    // Starts an effect from "sound.pak", or the looping music from "music.pak",
    // in the first free slot. A sound that is missing or is not PCM WAV data
    // plays nothing and is not cached.
    void play(const char* entryName, bool looping);
    // Closes the device and frees the converted sounds.
    void close();

private:
    const SDL_AudioCVT* decoded(const char* entryName, bool looping);
};

// Globals of the audio.
extern SoundMixer* soundMixer;                      // from start-up to shutdown
extern MixChannel mixChannels[SoundMixer::kSlots];  // read by the audio thread

// The audio callback: adds every busy slot into the stream.
void mixCallback(void* userData, Uint8* stream, int byteCount);

// True for a RIFF WAVE whose format chunk says plain PCM.
bool isPcmWav(const uint8_t* bytes, int32_t size);
