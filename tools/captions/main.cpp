// Renders every caption of the interface-text table in every language, for
// review, as build/captions/LANGUAGE/KEY.png:
//   nimbletint_captions TABLE.tsv OUTPUT_FOLDER
// Fails, naming the key and the language, when a text is missing or does not
// fit its box even at the smallest font size.

#include "caption_render.h"
#include "caption_table.h"
#include "writers/pak_writer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

bool writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s TABLE.tsv OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    CaptionTable table;
    std::string error;
    if (!readCaptionTable(argv[1], table, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    int failures = 0;
    // Every box needs its text and every text its box, so a renamed key in
    // either place is caught here rather than as a blank caption in the game.
    for (const CaptionBox& box : captionBoxes())
        if (table.find(box.key) == nullptr) {
            std::fprintf(stderr, "captions table: no row for the caption '%s'\n", box.key);
            ++failures;
        }
    const std::filesystem::path folder = argv[2];
    for (const CaptionRow& row : table.rows) {
        const CaptionBox* box = captionBoxFor(row.key);
        if (box == nullptr) {
            std::fprintf(stderr, "captions table, line %d: key '%s' has no caption box\n", row.line,
                         row.key.c_str());
            ++failures;
            continue;
        }
        for (int language = 0; language < kLanguageCount; ++language) {
            const char* code = kLanguageCodes[size_t(language)];
            RenderedCaption caption = renderCaption(row.texts[size_t(language)], *box);
            if (!caption.fits) {
                std::fprintf(stderr, "captions table, line %d: key '%s' in %s (%s) %s\n", row.line,
                             row.key.c_str(), kLanguageNames[size_t(language)], code,
                             caption.problem.c_str());
                ++failures;
                continue;
            }
            std::error_code ignored;
            std::filesystem::create_directories(folder / code, ignored);
            const std::filesystem::path path = folder / code / (row.key + ".png");
            if (!writeFile(path, encodePng(caption.width, caption.height, caption.rgba.data()))) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                return 1;
            }
        }
    }
    return failures == 0 ? 0 : 1;
}
