#pragma once

// Turns a cut page into the entries of its archive: one model per region, the
// outlines ("list_kontur"), the printed numbers ("list_nums") and the pictures
// they are textured with. Region models are in the picture group's frame;
// the two overlay models in the page container's (see page_catalogue.h).

#include "digit_atlas.h"
#include "page_cutter.h"
#include "writers/pak_writer.h"

#include <string>
#include <vector>

// Half the outline's width in picture units: each region draws the half of
// the line that lies inside it, so a shared border is drawn once, by two
// halves that meet exactly on it. Full width about 3 pixels at 1920x1080.
constexpr double kOutlineHalfWidth = 1.15;

// Heights over the regions towards the viewer (game units), numbers over
// outlines. The overlay is drawn in perspective, so its points are pulled
// towards the line of sight in proportion (see kEyeInPicture) and project
// exactly onto the regions' borders.
constexpr float kOutlineDepth = 0.05f;
constexpr float kNumberDepth = 0.1f;

// The eye in the picture group's frame: the scene lies 100 units in front of
// the eye, and the group sits at kPictureGroupPosition in the page container
// (turned -90 about x), so its origin is at (-11.716, -14.607, -48.879) from
// the eye.
constexpr double kEyeInPicture[3] = {-kPictureGroupPosition[0], -kPictureGroupPosition[2],
                                     100 + kPictureGroupPosition[1]};

// The printed number's ink height, in pixels at 1280x720.
constexpr double kMinNumberPixels = 14.0;
constexpr double kMaxNumberPixels = 22.0;

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
