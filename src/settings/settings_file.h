#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

struct ProgressBook;

// The settings file: the whole progress book in a little-endian binary
// layout, read once at start-up and written once at quit.
//
// Version 2: version (int32), showHelpAtStart, soundOn, musicOn (one byte
// each), languageIndex (int32), numberMode, hardSet (one byte each),
// advertFollowed (int32), a counted list of free-colouring custom paints,
// currentPage (int32), then a count of pages and one block per page: its id
// and five counted lists (custom paints, numberFills, numberFillsHard,
// freeFills, freeFillsHard). Paints and free fills are 32-byte records (an
// int32, four zero bytes, three doubles), number fills 8 bytes (two int32).

constexpr int32_t kSettingsVersion = 2;
constexpr const char* kSettingsFileName = "quillmark-nimbletint-cfg";

// Fills a freshly made book from the stream. Returns false when the stream
// ends early, holds a count that is negative or larger than the rest of the
// stream can hold, or names a page twice: the settings then go back to first-run values ("lang.ini"
// included), the pages read whole before the fault stay and the incomplete one
// is dropped. A file of another version keeps its flags and language and
// starts with no progress. A language outside the table becomes English and a
// current page outside the pages read becomes none.
bool readFrom(ProgressBook& book, std::istream& in);

// Writes the whole book in the version 2 layout.
void writeTo(const ProgressBook& book, std::ostream& out);

// Start-up: fills a freshly made book from the file at `path`, or with
// first-run defaults when there is no such file (or `path` is empty).
void loadProgressBook(ProgressBook& book, const std::string& path);

// Saving never overwrites the file in place: the book goes to a file beside
// it, which is flushed to disk and then renamed over the settings file, so
// that a crash or power cut leaves either the old file or the new one.

// The file a save writes before the rename.
std::string savingPathFor(const std::string& path);

// First step of a save: writes the book to `savingPath` and flushes it to
// disk. On failure nothing is left at `savingPath`.
bool writeSavingFile(const ProgressBook& book, const std::string& savingPath);

// The whole save. False when it failed, in which case the file at `path` is
// as it was and no partial file is left beside it.
bool saveProgressBook(const ProgressBook& book, const std::string& path);
