#pragma once

// Notes written as text in the music's source: one token a note or rest,
// "pitch:beats", separated by spaces. A pitch is a letter A..G, an optional
// '#' or 'b' and an octave 0..8 ("C4" is middle C, "Bb3" the B flat below);
// "r" is a rest; "F3+A3+C4:4" is a chord of three notes held four beats. Each
// token starts where the one before it ended.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct NoteEvent {
    double startBeat = 0;
    double lengthBeats = 0;
    int midiNote = 0;  // 60 is middle C
};

struct NoteListError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The MIDI number of a pitch such as "C4", "F#5" or "Bb3"; -1 when the text
// is not a pitch.
int parsePitch(std::string_view text);

// Every note of the list, starting at `startBeat`. Throws NoteListError
// naming the token for a malformed one, so a typo in the music stops the
// build instead of playing a wrong note.
std::vector<NoteEvent> parseNoteList(std::string_view text, double startBeat = 0);

// The total length in beats of a list (rests included).
double noteListBeats(std::string_view text);
