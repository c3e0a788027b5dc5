#pragma once

#include "sound/synth.h"
#include "writers/pak_writer.h"

#include <cstdint>

// One sample as signed 16-bit PCM: rounded, and held inside the 16-bit range
// so that a stray overshoot saturates instead of wrapping round to a crack.
int16_t toPcm16(float sample);

// A canonical WAV file: RIFF header, a PCM "fmt " chunk (16-bit, stereo, at
// kSampleRate) and one "data" chunk, little-endian throughout.
Bytes encodeWav(const StereoBuffer& buffer);
