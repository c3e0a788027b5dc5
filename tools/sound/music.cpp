#include "sound/music.h"

#include <algorithm>
#include <string>

namespace {

// ---- The band ----

// The tune: a vibraphone-like bar (the attack and shimmer) doubled by a soft
// ocarina-like tone that sustains long notes and sings with a late vibrato.
Signal melodyVoice(double frequency, double heldSeconds) {
    PartialVoice bar;
    bar.partials = {{1, 1.0, 0.9}, {2, 0.1, 0.4}, {4, 0.15, 0.03}};
    bar.attackSeconds = 0.004;
    bar.releaseSeconds = 0.15;
    PartialVoice ocarina;
    ocarina.partials = {{1, 1.0, 0}, {2, 0.12, 0}, {3, 0.05, 0}};
    ocarina.attackSeconds = 0.05;
    ocarina.releaseSeconds = 0.12;
    ocarina.vibratoHz = 5;
    ocarina.vibratoDepth = 0.003;
    ocarina.vibratoDelaySeconds = 0.3;
    Signal out = renderPartials(bar, frequency, heldSeconds + 0.3);
    // The sung tone releases inside its note, so that one note never smears
    // into the next.
    Signal sung = renderPartials(ocarina, frequency, heldSeconds);
    for (size_t i = 0; i < sung.size(); ++i)
        out[i] += 0.45f * sung[i];
    return out;
}

// The second voice in the last section: a rounder mallet, no sustain.
Signal harmonyVoice(double frequency, double heldSeconds) {
    PartialVoice mallet;
    mallet.partials = {{1, 1.0, 0.6}, {3, 0.06, 0.05}, {4, 0.08, 0.02}};
    mallet.attackSeconds = 0.006;
    mallet.releaseSeconds = 0.15;
    return renderPartials(mallet, frequency, heldSeconds + 0.2);
}

// The broken chords: a soft pluck whose upper harmonics die first, like a
// nylon string or a kalimba tine.
Signal pluckVoice(double frequency, double heldSeconds) {
    PartialVoice pluck;
    for (int n = 1; n <= 8; ++n) {
        pluck.partials.push_back({double(n), 1.0 / (n * std::max(1.0, 0.7 * n)), 0.45 / n});
    }
    pluck.attackSeconds = 0.004;
    pluck.releaseSeconds = 0.1;
    return renderPartials(pluck, frequency, heldSeconds + 0.35);
}

Signal bassVoice(double frequency, double heldSeconds) {
    PartialVoice bass;
    bass.partials = {{1, 1.0, 1.4}, {2, 0.35, 0.5}, {3, 0.12, 0.25}};
    bass.attackSeconds = 0.012;
    bass.releaseSeconds = 0.09;
    return renderPartials(bass, frequency, heldSeconds);
}

// A quiet sustained bed of the chords: two slightly detuned copies beat
// slowly against each other, and a low-pass keeps it in the background.
Signal padVoice(double frequency, double heldSeconds) {
    PartialVoice pad;
    pad.partials = {{1, 1.0, 0}, {2, 0.3, 0}, {3, 0.1, 0}, {4, 0.04, 0}};
    pad.attackSeconds = 0.45;
    pad.releaseSeconds = 0.6;
    double length = heldSeconds + 0.5;
    Signal out = renderPartials(pad, frequency * 1.0015, length);
    Signal other = renderPartials(pad, frequency / 1.0015, length);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] += other[i];
    lowpass(out, 1400);
    return out;
}

// ---- The piece ----

// Section A (bars 1-8), B (bars 9-16) and A again, varied, with a second
// voice and an ending that breathes out to silence (bars 17-24).
const char* const kMelodyA =
    "C5:1 A4:.5 C5:.5 F5:1.5 E5:.5 "
    "D5:1.5 C5:.5 A4:2 "
    "Bb4:1 D5:.5 F5:.5 G5:1 F5:1 "
    "E5:1.5 D5:.5 C5:2 "
    "C5:1 A4:.5 C5:.5 F5:1 A5:1 "
    "A5:.5 G5:.5 E5:1 C5:1 E5:1 "
    "D5:1 Bb4:1 C5:.5 D5:.5 E5:1 ";
const char* const kMelodyAEndOfPhrase = "F5:3 r:1";
const char* const kMelodyAEnding = "F5:2 r:2";

const char* const kMelodyB =
    "F5:.5 D5:.5 Bb4:1 D5:.5 F5:.5 Bb5:1 "
    "A5:1 G5:.5 E5:.5 G5:2 "
    "E5:.5 C5:.5 A4:1 C5:.5 E5:.5 A5:1 "
    "G5:1 F5:.5 D5:.5 F5:2 "
    "D5:1 Bb4:.5 D5:.5 G5:1 F5:1 "
    "E5:.5 F5:.5 G5:1 E5:1 C5:1 "
    "A4:.5 C5:.5 F5:1 A5:1 G5:1 "
    "E5:1.5 D5:.5 C5:1 Bb4:1";

// Mostly a third or a sixth under the tune of the last section.
const char* const kHarmonyA =
    "A4:1 F4:.5 A4:.5 C5:1.5 C5:.5 "
    "A4:1.5 A4:.5 F4:2 "
    "F4:1 Bb4:.5 D5:.5 D5:1 D5:1 "
    "C5:1.5 G4:.5 E4:2 "
    "A4:1 F4:.5 A4:.5 C5:1 C5:1 "
    "E5:.5 E5:.5 C5:1 A4:1 C5:1 "
    "Bb4:1 F4:1 G4:.5 Bb4:.5 C5:1 "
    "A4:2 r:2";

// The chords, one a bar or two in a bar, voiced close together around the
// middle of the keyboard: F Dm Bb C | F Am Bb-C F.
const char* const kChordsA =
    "F3+A3+C4:4 D3+F3+A3:4 F3+Bb3+D4:4 E3+G3+C4:4 "
    "F3+A3+C4:4 E3+A3+C4:4 F3+Bb3+D4:2 E3+G3+C4:2 F3+A3+C4:4 ";
// Bb C Am Dm | Gm C F C7.
const char* const kChordsB =
    "F3+Bb3+D4:4 E3+G3+C4:4 E3+A3+C4:4 D3+F3+A3:4 "
    "D3+G3+Bb3:4 E3+G3+C4:4 F3+A3+C4:4 E3+G3+Bb3:4 ";

const char* const kBassA =
    "F2:2 C3:1 F2:1 D2:2 A2:1 D2:1 Bb1:2 F2:1 Bb1:1 C2:2 G2:1 C2:1 "
    "F2:2 C3:1 F2:1 A1:2 E2:1 A1:1 Bb1:2 C2:2 ";
const char* const kBassAEndOfPhrase = "F2:3 C2:1";
const char* const kBassAEnding = "F2:2 r:2";
const char* const kBassB =
    "Bb1:2 F2:1 Bb1:1 C2:2 G2:1 C2:1 A1:2 E2:1 A1:1 D2:2 A2:1 D2:1 "
    "G1:2 D2:1 G1:1 C2:2 G2:1 C2:1 F2:2 C3:1 A2:1 C2:2 G2:1 E2:1";

// The notes of a chord list gathered into chords, in time order.
std::vector<std::vector<NoteEvent>> groupChords(const std::vector<NoteEvent>& notes) {
    std::vector<std::vector<NoteEvent>> chords;
    for (const NoteEvent& note : notes) {
        if (chords.empty() || chords.back().front().startBeat != note.startBeat)
            chords.emplace_back();
        chords.back().push_back(note);
    }
    return chords;
}

// Broken chords in eighths, climbing and turning within each chord; a
// little random variation in loudness keeps them from sounding mechanical.
void playBrokenChords(StereoBuffer& out, const std::vector<NoteEvent>& chordNotes,
                      double secondsPerBeat, NoiseSource& random) {
    for (const std::vector<NoteEvent>& chord : groupChords(chordNotes)) {
        std::vector<int> pitches;
        for (const NoteEvent& note : chord)
            pitches.push_back(note.midiNote);
        if (pitches.size() < 3)
            throw NoteListError("music: a broken chord needs three notes");
        std::sort(pitches.begin(), pitches.end());
        const int low = pitches[0], middle = pitches[1], high = pitches[2];
        const int pattern[] = {low, middle, high, low + 12, middle + 12, low + 12, high, middle};
        auto eighths = size_t(chord.front().lengthBeats * 2);
        for (size_t i = 0; i < eighths; ++i) {
            double beat = chord.front().startBeat + 0.5 * double(i);
            double accent = (i % 2 == 0 ? 1.0 : 0.8) * random.uniform(0.85, 1.0);
            playNotes(out, {{beat, 0.5, pattern[i % 8]}}, secondsPerBeat, pluckVoice, 0.16 * accent,
                      i % 2 == 0 ? 0.35 : 0.5);
        }
    }
}

// A light shaker on the off-beats, from `firstBeat` up to `lastBeat`.
void playShaker(StereoBuffer& out, double firstBeat, double lastBeat, double secondsPerBeat,
                NoiseSource& random) {
    for (double beat = firstBeat + 0.5; beat < lastBeat; beat += 1) {
        Signal shake = renderNoiseBurst(random, 0.09, 0.006, 0.022);
        bandpass(shake, 5200, 1.4);
        mixInto(out, shake, framesFor(beat * secondsPerBeat), 0.35 * random.uniform(0.8, 1.0),
                -0.45);
    }
}

// Every part must fill the loop exactly, or the voices drift apart.
void checkLength(const std::string& part, const char* name, double beats = kMusicBeats) {
    if (noteListBeats(part) != beats) {
        throw NoteListError(std::string("music: the ") + name + " part is " +
                            std::to_string(noteListBeats(part)) + " beats long, not " +
                            std::to_string(beats));
    }
}

}  // namespace

void playNotes(StereoBuffer& out, const std::vector<NoteEvent>& notes, double secondsPerBeat,
               Instrument instrument, double gain, double pan) {
    for (const NoteEvent& note : notes) {
        Signal sound = instrument(midiToHz(note.midiNote), note.lengthBeats * secondsPerBeat);
        mixInto(out, sound, framesFor(note.startBeat * secondsPerBeat), gain, pan);
    }
}

StereoBuffer makeMusic() {
    const double secondsPerBeat = 60.0 / kMusicBeatsPerMinute;
    const size_t loopFrames = framesFor(kMusicBeats * secondsPerBeat);
    const double sectionB = 32, sectionA2 = 64;
    StereoBuffer out(loopFrames);

    const std::string melody = std::string(kMelodyA) + kMelodyAEndOfPhrase + " " + kMelodyB + " " +
                               kMelodyA + kMelodyAEnding;
    checkLength(melody, "melody");
    playNotes(out, parseNoteList(melody), secondsPerBeat, melodyVoice, 0.5, 0.05);
    checkLength(kHarmonyA, "harmony", kMusicBeats - sectionA2);
    playNotes(out, parseNoteList(kHarmonyA, sectionA2), secondsPerBeat, harmonyVoice, 0.22, -0.3);

    const std::string bass =
        std::string(kBassA) + kBassAEndOfPhrase + " " + kBassB + " " + kBassA + kBassAEnding;
    checkLength(bass, "bass");
    playNotes(out, parseNoteList(bass), secondsPerBeat, bassVoice, 0.42, 0);

    const std::string chords = std::string(kChordsA) + kChordsB + kChordsA;
    checkLength(chords, "chord");
    std::vector<NoteEvent> chordNotes = parseNoteList(chords);
    playNotes(out, chordNotes, secondsPerBeat, padVoice, 0.05, -0.1);
    NoiseSource random(90);
    playBrokenChords(out, chordNotes, secondsPerBeat, random);
    playShaker(out, sectionB, kMusicBeats - 2, secondsPerBeat, random);

    // Tails that ring past the end are cut here; the fade below has taken
    // them to silence by then.
    out.left.resize(loopFrames);
    out.right.resize(loopFrames);
    addRoom(out, {0.6, 0.45, 0.2});
    highpass(out.left, 30);
    highpass(out.right, 30);
    // Silence at both ends: the game restarts the loop after a short gap, and
    // a sample far from zero on either side of that gap would click.
    fadeEdges(out, 0.004, 1.2);
    normalizePeak(out, kMusicPeak);
    return out;
}
