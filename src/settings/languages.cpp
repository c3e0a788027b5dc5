#include "settings/languages.h"

#include <cctype>
#include <cstdio>

namespace {

const Language kLanguages[kLanguageCount] = {
    {"en", "default=en", "langen.pak"}, {"de", "default=de", "langde.pak"},
    {"es", "default=es", "langes.pak"}, {"ru", "default=ru", "langru.pak"},
    {"fr", "default=fr", "langfr.pak"},
};

// Longer than any key, so a word cut to this length can only match if it is a key.
constexpr size_t kLongestWordKept = 16;

// Reads the next white-space separated word, keeping at most kLongestWordKept
// characters of it, so that a huge file costs no memory. False at the end.
bool readWord(std::FILE* file, std::string& word) {
    word.clear();
    int c = std::fgetc(file);
    while (c != EOF && std::isspace(c))
        c = std::fgetc(file);
    if (c == EOF)
        return false;
    while (c != EOF && !std::isspace(c)) {
        if (word.size() < kLongestWordKept)
            word.push_back(char(c));
        c = std::fgetc(file);
    }
    return true;
}

}  // namespace

bool isLanguageIndex(int32_t index) {
    return index >= 0 && index < kLanguageCount;
}

const Language& languageAt(int32_t index) {
    return kLanguages[isLanguageIndex(index) ? index : 0];
}

int32_t languageFromIni(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return 0;
    std::string first, second;
    bool hasFirst = readWord(file, first);
    bool hasSecond = hasFirst && readWord(file, second);
    std::fclose(file);
    if (!hasFirst)
        return 0;
    const std::string& key = hasSecond ? second : first;
    for (int32_t index = 0; index < kLanguageCount; ++index) {
        if (key == kLanguages[index].iniKey)
            return index;
    }
    return 0;
}
