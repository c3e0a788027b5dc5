#pragma once

// The background music: a calm, cheerful piece in F major at 90 beats a
// minute, 24 bars (64 seconds), that the game loops for as long as music is
// on. It starts and ends on silence, so the restart never clicks.

#include "sound/note_list.h"
#include "sound/synth.h"

constexpr double kMusicPeak = 0.4;
constexpr double kMusicBeatsPerMinute = 90;
constexpr double kMusicBeats = 96;

// A voice of the band: the sound of one note of `frequency` held for
// `heldSeconds` (the signal may ring on a little after that).
using Instrument = Signal (*)(double frequency, double heldSeconds);

// Plays every note of `notes` on `instrument` into `out`.
void playNotes(StereoBuffer& out, const std::vector<NoteEvent>& notes, double secondsPerBeat,
               Instrument instrument, double gain, double pan);

StereoBuffer makeMusic();
