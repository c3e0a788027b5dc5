#pragma once

#include <cstdint>
#include <string>

// The five interface languages. Every caption is a picture, so a language is
// the archive its captions come from. The order is stored in the settings
// file as `languageIndex` and never changes.

struct Language {
    const char* code;     // used in web links
    const char* iniKey;   // the word in "lang.ini" that chooses it
    const char* archive;  // where its caption pictures are
};

constexpr int32_t kLanguageCount = 5;
constexpr const char* kLanguageIniName = "lang.ini";

bool isLanguageIndex(int32_t index);

// The row of the table; an index outside 0..4 gives English.
const Language& languageAt(int32_t index);

// The language chosen by a "lang.ini"-style file: its second word, or its
// only word, compared exactly with the keys. 0 (English) for no file, no
// match, or anything else.
int32_t languageFromIni(const std::string& path);
