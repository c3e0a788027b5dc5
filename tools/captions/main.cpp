// Renders every caption of the interface-text table in every language, for
// review, as build/captions/LANGUAGE/parts/KEY.png, and the caption pictures
// the game shows, as build/captions/LANGUAGE/PICTURE.png:
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
    const std::string family = captionFontFamily();
    if (family != "DejaVu Sans") {
        std::fprintf(stderr,
                     "the captions need the font DejaVu Sans (fonts-dejavu-core); found '%s'\n",
                     family.c_str());
        return 1;
    }
    CaptionTable table;
    std::string error;
    if (!readCaptionTable(argv[1], table, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const std::filesystem::path folder = argv[2];
    std::vector<std::string> missing;
    bool allFit = everyBoxHasARow(table, missing);
    for (const std::string& problem : missing)
        std::fprintf(stderr, "%s\n", problem.c_str());
    for (int language = 0; language < kLanguageCount; ++language) {
        std::vector<CaptionPicture> pictures;
        std::vector<std::string> problems;
        allFit &= renderLanguage(table, language, pictures, problems);
        for (const std::string& problem : problems)
            std::fprintf(stderr, "%s\n", problem.c_str());
        const char* code = kLanguageCodes[size_t(language)];
        std::error_code ignored;
        std::filesystem::create_directories(folder / code, ignored);
        // The parts, for a translator's review, and the pictures the game shows.
        std::filesystem::create_directories(folder / code / "parts", ignored);
        for (const CaptionPicture& part : pictures) {
            const RenderedCaption& caption = part.caption;
            if (caption.fits &&
                !writeFile(folder / code / "parts" / (part.key + ".png"),
                           encodePng(caption.width, caption.height, caption.rgba.data()))) {
                std::fprintf(stderr, "cannot write into %s\n", folder.c_str());
                return 1;
            }
        }
        std::vector<ComposedPicture> composed;
        problems.clear();
        allFit &= composePictures(pictures, composed, problems);
        for (const std::string& problem : problems)
            std::fprintf(stderr, "%s\n", problem.c_str());
        for (const ComposedPicture& picture : composed)
            if (!writeFile(folder / code / (picture.picture + ".png"),
                           encodePng(picture.width, picture.height, picture.rgba.data()))) {
                std::fprintf(stderr, "cannot write into %s\n", folder.c_str());
                return 1;
            }
    }
    return allFit ? 0 : 1;
}
