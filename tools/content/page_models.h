#pragma once

// Turns a cut page into the entries of its archive: one model per region, the
// outlines ("list_kontur"), the printed numbers ("list_nums") and the pictures
// they are textured with.

#include "digit_atlas.h"
#include "page_cutter.h"
#include "writers/pak_writer.h"

#include <string>
#include <vector>

// Half the outline's width in picture units: each region draws the half of
// the line that lies inside it, so a shared border is drawn once, by two
// halves that meet exactly on it. Full width about 3 pixels at 1920x1080.
constexpr double kOutlineHalfWidth = 1.15;

// Depths in front of the regions (game units), numbers over outlines.
constexpr float kOutlineDepth = 0.02f;
constexpr float kNumberDepth = 0.04f;

// The printed number's ink height, in pixels at 1280x720.
constexpr double kMinNumberPixels = 14.0;
constexpr double kMaxNumberPixels = 30.0;

// Texture entry names inside each page archive.
extern const char* const kPaperTexture;
extern const char* const kOutlineTexture;
extern const char* const kDigitTexture;

struct PageStatistics {
    int regionTriangles = 0;
    int outlineTriangles = 0;
    int numberTriangles = 0;
    int total() const { return regionTriangles + outlineTriangles + numberTriangles; }
};

struct PageArchive {
    std::vector<PakWriterEntry> entries;
    std::vector<std::pair<std::string, RgbaImage>> pictures;  // the textures, decoded
    PageStatistics statistics;
};

// Builds every entry; false with a message naming the page, paint and region
// when a number does not fit its region.
bool buildPageArchive(const CutPage& page, const DigitAtlas& atlas, PageArchive& archive,
                      std::string& error);

// Picture units (x right, y down, origin top left) to the picture group's
// frame (x right, y up, origin bottom left, game units).
inline void toGame(const CutPage& page, Point p, float out[2]) {
    out[0] = float(p.x / 20.0);
    out[1] = float((page.height - p.y) / 20.0);
}
