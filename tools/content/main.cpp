// The content tool: cuts every picture in the pictures folder into its
// standard and hard page archives, and draws previews of every page.
//
//   nimbletint_content PICTURES_DIR DATA_DIR PREVIEWS_DIR
//   nimbletint_content --check pictureNN.svg...
//
// Any inconsistency stops it with messages naming the page, paint and
// region, and a non-zero status, so that the build stops too. The second
// form only lists every problem of the given pictures, for their artists.

#include "page_cutter.h"
#include "page_models.h"
#include "preview.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

int fail(const std::string& message) {
    size_t start = 0;
    while (start <= message.size()) {
        size_t end = message.find('\n', start);
        if (end == std::string::npos)
            end = message.size();
        std::fprintf(stderr, "content: %s\n", message.substr(start, end - start).c_str());
        start = end + 1;
    }
    return 1;
}

// The page id of "pictureNN.svg", or 0.
int32_t pageIdOf(const fs::path& path) {
    std::string name = path.filename().string();
    int id = 0;
    char tail[8] = {};
    if (std::sscanf(name.c_str(), "picture%2d.%4s", &id, tail) != 2 || std::string(tail) != "svg")
        return 0;
    return pictureRecord(id) != nullptr ? id : 0;
}

// Cuts and builds both pages of a picture, keeping nothing.
bool checkPicture(const fs::path& path, const DigitAtlas& atlas, std::string& problems) {
    int32_t pageId = pageIdOf(path);
    if (pageId == 0) {
        problems = path.string() + ": not named pictureNN.svg for a page 01 to 15";
        return false;
    }
    SvgPicture picture;
    if (!readSvgPictureFile(path.string(), picture, problems))
        return false;
    problems.clear();
    for (bool hard : {false, true}) {
        CutPage page;
        PageArchive archive;
        std::string error;
        if (!cutPage(picture, *pictureRecord(pageId), hard, page, error) ||
            !buildPageArchive(page, atlas, archive, error))
            problems += (problems.empty() ? "" : "\n") + error;
    }
    return problems.empty();
}

int checkOnly(int count, char** paths) {
    std::string error;
    DigitAtlas atlas;
    if (!renderDigitAtlas(atlas, error))
        return fail(error);
    int failed = 0;
    for (int i = 0; i < count; ++i) {
        std::string problems;
        if (checkPicture(paths[i], atlas, problems)) {
            std::printf("content: %s: both pages are fine\n", paths[i]);
        } else {
            fail(std::string(paths[i]) + ":\n" + problems);
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "--check")
        return checkOnly(argc - 2, argv + 2);
    if (argc != 4)
        return fail("usage: nimbletint_content PICTURES_DIR DATA_DIR PREVIEWS_DIR");
    auto started = std::chrono::steady_clock::now();
    fs::path pictures = argv[1], data = argv[2], previews = argv[3];
    std::error_code ignored;
    fs::create_directories(data, ignored);
    fs::create_directories(previews, ignored);

    std::string error;
    DigitAtlas atlas;
    if (!renderDigitAtlas(atlas, error))
        return fail(error);

    std::vector<PagePreview> sheet;
    std::ofstream report(previews / "report.txt");
    report << "page      regions  region-tris  outline-tris  number-tris  total\n";
    for (int32_t pageId = 1; pageId <= kPageCount; ++pageId) {
        char name[32];
        std::snprintf(name, sizeof name, "picture%02d.svg", int(pageId));
        fs::path source = pictures / name;
        if (!fs::exists(source)) {
            // No picture, no pages: drop archives left by an earlier build.
            fs::remove(data / pageArchiveName(pageId, false), ignored);
            fs::remove(data / pageArchiveName(pageId, true), ignored);
            continue;
        }
        SvgPicture picture;
        if (!readSvgPictureFile(source.string(), picture, error))
            return fail(error);
        if (picture.width != 560 || picture.height != 600)
            return fail(std::string(name) + ": the canvas must be 560 x 600");
        for (bool hard : {false, true}) {
            CutPage page;
            PageArchive archive;
            PagePreview preview;
            if (!cutPage(picture, *pictureRecord(pageId), hard, page, error) ||
                !buildPageArchive(page, atlas, archive, error) ||
                !renderPagePreview(page, archive, preview, error))
                return fail(std::string(name) + ": " + error);
            fs::path target = data / pageArchiveName(pageId, hard);
            if (!writePakFile(target.string(), archive.entries))
                return fail("cannot write " + target.string());
            if (!writePngFile((previews / (page.name + "-blank.png")).string(), preview.blank) ||
                !writePngFile((previews / (page.name + "-coloured.png")).string(),
                              preview.coloured))
                return fail("cannot write the previews of " + page.name);
            const PageStatistics& s = archive.statistics;
            char line[160];
            std::snprintf(line, sizeof line, "%-9s %7zu  %11d  %12d  %11d  %5d\n",
                          page.name.c_str(), page.regions.size(), s.regionTriangles,
                          s.outlineTriangles, s.numberTriangles, s.total());
            report << line;
            std::printf("content: %s", line);
            sheet.push_back(std::move(preview));
        }
    }
    if (!writeContactSheet((previews / "contact-sheet.png").string(), sheet))
        return fail("cannot write the contact sheet");
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("content: %zu pages in %.1f s; previews in %s\n", sheet.size(), seconds,
                previews.string().c_str());
    return 0;
}
