#include "audio/sound_mixer.h"

#include "game/progress_book.h"
#include "resources/byte_reader.h"
#include "resources/resource_manager.h"

#include <cstring>

SoundMixer* soundMixer = nullptr;
MixChannel mixChannels[SoundMixer::kSlots];

namespace {

constexpr int kFrequency = 22050;
constexpr int kChannels = 2;
constexpr Uint16 kSamplesPerCallback = 512;
constexpr uint16_t kPcmFormatTag = 1;

bool isFree(const MixChannel& slot) {
    return slot.position == slot.length && !slot.looping;
}

bool mayPlay(bool looping) {
    bool soundOn = progressBook != nullptr && progressBook->soundOn;
    bool musicOn = progressBook != nullptr && progressBook->musicOn;
    return soundOn || (looping && musicOn);
}

// Decodes PCM WAV bytes and converts them to the device format; false (and
// nothing allocated) when the bytes do not decode or cannot be converted.
bool convertWav(EntryData entry, SDL_AudioCVT& out) {
    if (!isPcmWav(entry.data, entry.size))
        return false;
    SDL_AudioSpec spec;
    Uint8* wavBytes = nullptr;
    Uint32 wavLength = 0;
    if (SDL_LoadWAV_RW(SDL_RWFromConstMem(entry.data, entry.size), 1, &spec, &wavBytes,
                       &wavLength) == nullptr) {
        return false;
    }
    bool ok = SDL_BuildAudioCVT(&out, spec.format, spec.channels, spec.freq, AUDIO_S16LSB,
                                kChannels, kFrequency) >= 0;
    if (ok) {
        out.buf = static_cast<Uint8*>(SDL_malloc(size_t(wavLength) * size_t(out.len_mult)));
        ok = out.buf != nullptr;
    }
    if (ok) {
        std::memcpy(out.buf, wavBytes, wavLength);
        out.len = int(wavLength);
        ok = SDL_ConvertAudio(&out) == 0;
        if (!ok)
            SDL_free(out.buf);
    }
    SDL_FreeWAV(wavBytes);
    return ok;
}

}  // namespace

bool isPcmWav(const uint8_t* bytes, int32_t size) {
    if (bytes == nullptr || size < 12)
        return false;
    if (std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return false;
    int64_t position = 12;
    while (position + 8 <= size) {
        const uint8_t* chunk = bytes + position;
        int64_t chunkSize = uint32_t(readInt32(chunk + 4));
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            return chunkSize >= 2 && position + 10 <= size &&
                   uint16_t(chunk[8] | chunk[9] << 8) == kPcmFormatTag;
        }
        position += 8 + chunkSize + (chunkSize & 1);
    }
    return false;
}

void SoundMixer::open() {
    unavailable = false;
    SDL_AudioSpec wanted = {};
    wanted.freq = kFrequency;
    wanted.format = AUDIO_S16LSB;
    wanted.channels = kChannels;
    wanted.samples = kSamplesPerCallback;
    wanted.callback = mixCallback;
    wanted.userdata = nullptr;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0 || SDL_OpenAudio(&wanted, nullptr) < 0) {
        unavailable = true;
        return;
    }
    SDL_PauseAudio(0);
}

const SDL_AudioCVT* SoundMixer::decoded(const char* entryName, bool looping) {
    for (size_t i = 0; i < decodedNames.size(); ++i) {
        if (decodedNames[i] == entryName)
            return &decodedSounds[i];
    }
    // The archive reference is kept: the converted sounds live until exit.
    EntryData entry = resourceManager.acquireEntry(looping ? "music.pak" : "sound.pak", entryName);
    SDL_AudioCVT converted = {};
    if (!convertWav(entry, converted))
        return nullptr;
    decodedNames.emplace_back(entryName);
    decodedSounds.push_back(converted);
    return &decodedSounds.back();
}

void SoundMixer::play(const char* entryName, bool looping) {
    if (unavailable || !mayPlay(looping))
        return;
    MixChannel* slot = nullptr;
    for (MixChannel& candidate : mixChannels) {
        if (isFree(candidate)) {
            slot = &candidate;
            break;
        }
    }
    if (slot == nullptr)
        return;
    const SDL_AudioCVT* sound = decoded(entryName, looping);
    if (sound == nullptr)
        return;
    SDL_LockAudio();
    slot->samples = sound->buf;
    slot->length = uint32_t(sound->len_cvt);
    slot->position = 0;
    slot->looping = looping;
    SDL_UnlockAudio();
}

void SoundMixer::close() {
    if (!unavailable)
        SDL_CloseAudio();
    for (MixChannel& slot : mixChannels)
        slot = MixChannel();
    for (SDL_AudioCVT& sound : decodedSounds)
        SDL_free(sound.buf);
    decodedSounds.clear();
    decodedNames.clear();
    unavailable = true;
}

void mixCallback(void*, Uint8* stream, int byteCount) {
    bool musicOn = progressBook != nullptr && progressBook->musicOn;
    for (MixChannel& slot : mixChannels) {
        if (slot.looping) {
            if (slot.position == slot.length)
                slot.position = 0;
            if (!musicOn) {
                slot.looping = false;
                slot.position = slot.length;
            }
        }
        uint32_t amount = slot.length - slot.position;
        if (amount > uint32_t(byteCount))
            amount = uint32_t(byteCount);
        if (amount == 0)
            continue;
        SDL_MixAudio(stream, slot.samples + slot.position, amount,
                     slot.looping ? SoundMixer::kMusicVolume : SoundMixer::kEffectVolume);
        slot.position += amount;
    }
}
