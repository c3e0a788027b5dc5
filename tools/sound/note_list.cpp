#include "sound/note_list.h"

#include <cstdlib>

namespace {

// Semitones above C of each letter A..G.
constexpr int kLetterSemitones[] = {9, 11, 0, 2, 4, 5, 7};

std::vector<std::string_view> splitOn(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

std::vector<std::string_view> tokensOf(std::string_view text) {
    std::vector<std::string_view> tokens;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\n' || text[i] == '\t'))
            ++i;
        size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\n' && text[i] != '\t')
            ++i;
        if (i > start)
            tokens.push_back(text.substr(start, i - start));
    }
    return tokens;
}

// A positive length in beats such as "1", ".5" or "1.5"; 0 when malformed.
double parseBeats(std::string_view text) {
    if (text.empty() || text.size() > 16)
        return 0;
    for (char c : text) {
        if ((c < '0' || c > '9') && c != '.')
            return 0;
    }
    std::string copy(text);
    char* end = nullptr;
    double beats = std::strtod(copy.c_str(), &end);
    return *end == '\0' && beats > 0 ? beats : 0;
}

[[noreturn]] void fail(std::string_view token, const char* why) {
    throw NoteListError("note list: \"" + std::string(token) + "\": " + why);
}

}  // namespace

int parsePitch(std::string_view text) {
    if (text.size() < 2 || text.size() > 3)
        return -1;
    char letter = text[0];
    if (letter < 'A' || letter > 'G')
        return -1;
    int semitone = kLetterSemitones[letter - 'A'];
    size_t next = 1;
    if (text[next] == '#' || text[next] == 'b') {
        semitone += text[next] == '#' ? 1 : -1;
        ++next;
    }
    if (next + 1 != text.size() || text[next] < '0' || text[next] > '8')
        return -1;
    int octave = text[next] - '0';
    return 12 * (octave + 1) + semitone;
}

std::vector<NoteEvent> parseNoteList(std::string_view text, double startBeat) {
    std::vector<NoteEvent> notes;
    double beat = startBeat;
    for (std::string_view token : tokensOf(text)) {
        std::vector<std::string_view> halves = splitOn(token, ':');
        if (halves.size() != 2)
            fail(token, "expected pitch:beats");
        double length = parseBeats(halves[1]);
        if (length <= 0)
            fail(token, "the length is not a positive number of beats");
        if (halves[0] != "r") {
            for (std::string_view pitch : splitOn(halves[0], '+')) {
                int midiNote = parsePitch(pitch);
                if (midiNote < 0)
                    fail(token, "not a pitch (A..G, optional # or b, octave 0..8)");
                notes.push_back({beat, length, midiNote});
            }
        }
        beat += length;
    }
    return notes;
}

double noteListBeats(std::string_view text) {
    double beats = 0;
    for (std::string_view token : tokensOf(text)) {
        std::vector<std::string_view> halves = splitOn(token, ':');
        if (halves.size() == 2)
            beats += parseBeats(halves[1]);
    }
    return beats;
}
