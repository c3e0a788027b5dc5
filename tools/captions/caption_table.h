#pragma once

// The table of interface texts (content/text/captions.tsv): one row per
// caption part, a text in each of the five interface languages.

#include <array>
#include <string>
#include <vector>

// In the order of the game's language index: English, German, Spanish,
// Russian, French.
constexpr int kLanguageCount = 5;
extern const std::array<const char*, kLanguageCount> kLanguageCodes;  // "en" ...
extern const std::array<const char*, kLanguageCount> kLanguageNames;  // "English" ...

struct CaptionRow {
    std::string key;  // "setup.music": the caption picture, a dot, the part
    std::array<std::string, kLanguageCount> texts;
    std::string comment;  // for translators; not shown
    int line = 0;         // in the table, for messages
};

struct CaptionTable {
    std::vector<CaptionRow> rows;
    const CaptionRow* find(const std::string& key) const;
};

// Parses the table's text. The first line that is not a note (a line starting
// with '#') or blank must be the header "key en de es ru fr comment",
// separated by TABs. Returns false with a message naming the line, the key
// and the language when a row is short, a text is missing, a key repeats or
// the text is not UTF-8.
bool parseCaptionTable(const std::string& text, CaptionTable& table, std::string& error);
bool readCaptionTable(const std::string& path, CaptionTable& table, std::string& error);

// The caption picture a key belongs to: the part before the first dot.
std::string pictureOfKey(const std::string& key);
