#pragma once

// Lays out one caption text with Pango in DejaVu Sans (which covers Latin and
// Cyrillic) and draws it with cairo into a transparent, anti-aliased RGBA
// picture of its box's size. Long texts get a smaller font, step by step,
// until they fit the box whole: no line wider or taller than the box, no
// glyph's ink outside it, no word broken and no glyph missing from the font.

#include <cstdint>
#include <string>
#include <vector>

struct CaptionBox {
    const char* key;    // the table's key
    int width, height;  // texels
    int maxLines;       // more than 1: the text wraps between words
    double largestFontPixels, smallestFontPixels;
    bool bold;
};

// Caption boxes are measured in panel units, and every picture has this many
// texels a unit: a dialog panel is about 70 screen pixels a unit at 1080 rows,
// so the captions stay sharp up to 1440 rows.
constexpr double kTexelsPerUnit = 96;

// The box of every caption part, in the order of the table.
const std::vector<CaptionBox>& captionBoxes();
const CaptionBox* captionBoxFor(const std::string& key);

struct RenderedCaption {
    bool fits = false;
    double fontPixels = 0;  // the size used; the smallest tried when nothing fits
    int lines = 0;
    std::string problem;  // why the smallest size did not fit
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;  // straight alpha, rows top to bottom; empty unless fits
};

RenderedCaption renderCaption(const std::string& text, const CaptionBox& box);

// The font sizes tried, largest first: a step of about 4 percent, so that a
// text loses no more than that from what would just fit.
std::vector<double> fontSizesToTry(const CaptionBox& box);
