#include "caption_table.h"

#include <glib.h>

#include <fstream>
#include <set>
#include <sstream>

const std::array<const char*, kLanguageCount> kLanguageCodes = {"en", "de", "es", "ru", "fr"};
const std::array<const char*, kLanguageCount> kLanguageNames = {"English", "German", "Spanish",
                                                                "Russian", "French"};

namespace {

constexpr size_t kColumnCount = 2 + kLanguageCount;  // key, the languages, comment

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> cells;
    size_t start = 0;
    while (true) {
        size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            return cells;
        start = tab + 1;
    }
}

bool isBlank(const std::string& text) {
    return text.find_first_not_of(" \t\r") == std::string::npos;
}

std::string at(int line) {
    return "captions table, line " + std::to_string(line) + ": ";
}

}  // namespace

const CaptionRow* CaptionTable::find(const std::string& key) const {
    for (const CaptionRow& row : rows)
        if (row.key == key)
            return &row;
    return nullptr;
}

std::string pictureOfKey(const std::string& key) {
    return key.substr(0, key.find('.'));
}

bool parseCaptionTable(const std::string& text, CaptionTable& table, std::string& error) {
    table.rows.clear();
    // Pango would quietly replace broken bytes; a translator should hear of them.
    if (!g_utf8_validate(text.data(), gssize(text.size()), nullptr)) {
        error = "captions table: the file is not valid UTF-8 (save it as UTF-8)";
        return false;
    }
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    bool headerSeen = false;
    std::set<std::string> keys;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')  // saved on Windows
            line.pop_back();
        if (isBlank(line) || line[0] == '#')
            continue;
        std::vector<std::string> cells = splitTabs(line);
        if (!headerSeen) {
            std::string expected = "key";
            for (const char* code : kLanguageCodes)
                expected += std::string("\t") + code;
            expected += "\tcomment";
            if (line != expected) {
                error = at(lineNumber) +
                        "the header must be the columns key, en, de, es, ru, fr, comment "
                        "separated by TABs";
                return false;
            }
            headerSeen = true;
            continue;
        }
        CaptionRow row;
        row.key = cells[0];
        row.line = lineNumber;
        if (isBlank(row.key)) {
            error = at(lineNumber) + "the row has no key";
            return false;
        }
        if (cells.size() > kColumnCount) {
            error = at(lineNumber) + "key '" + row.key + "' has more than " +
                    std::to_string(kColumnCount) + " columns (a TAB inside a text?)";
            return false;
        }
        for (int language = 0; language < kLanguageCount; ++language) {
            size_t column = size_t(language) + 1;
            if (column >= cells.size() || isBlank(cells[column])) {
                error = at(lineNumber) + "key '" + row.key + "' has no " +
                        kLanguageNames[size_t(language)] + " (" + kLanguageCodes[size_t(language)] +
                        ") text";
                return false;
            }
            row.texts[size_t(language)] = cells[column];
        }
        if (cells.size() == kColumnCount)
            row.comment = cells.back();
        if (!keys.insert(row.key).second) {
            error = at(lineNumber) + "key '" + row.key + "' appears twice";
            return false;
        }
        table.rows.push_back(std::move(row));
    }
    if (!headerSeen) {
        error = "captions table: no header line (key, en, de, es, ru, fr, comment)";
        return false;
    }
    return true;
}

bool readCaptionTable(const std::string& path, CaptionTable& table, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open the captions table " + path;
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parseCaptionTable(text.str(), table, error);
}
