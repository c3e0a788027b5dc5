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
    // Parts of one picture that stand side by side or in a list share one font
    // size in each language, the largest at which all of them fit; empty: alone.
    const char* group = "";
    bool alignLeft = false;  // labels beside check boxes start at the box's left edge
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

// Lines of a wrapped text are balanced: the text takes the narrowest width
// that keeps its number of lines, so that no line ends with a lonely word.
RenderedCaption renderCaption(const std::string& text, const CaptionBox& box);

// Where a part sits in its caption picture. A caption picture with several
// parts covers its panel (panel units, centred on the panel; x right, z up),
// so that each text lands beside the widget it labels; a picture with one
// part, such as a button's, is that part alone.
struct CaptionPlacement {
    const char* key;
    double centreX, centreZ;  // of the part's box
};
struct CaptionFrame {
    const char* picture;
    double width, height;  // panel units
};
const std::vector<CaptionPlacement>& captionPlacements();
const std::vector<CaptionFrame>& captionFrames();

// The family Pango finds for "DejaVu Sans": another name means the font is not
// installed (Debian: fonts-dejavu-core) and a fallback, which may lack
// Cyrillic or have other widths, would be used.
std::string captionFontFamily();

struct CaptionTable;

struct CaptionPicture {
    std::string key;
    RenderedCaption caption;
};

struct ComposedPicture {
    std::string picture;  // "setup"
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;  // straight alpha, rows top to bottom
};

// Lays the rendered parts of one language out on their pictures' frames.
// Pictures without a frame are their one part. Returns false with a problem
// when a part of a framed picture has no placement or leaves its frame.
bool composePictures(const std::vector<CaptionPicture>& parts,
                     std::vector<ComposedPicture>& pictures, std::vector<std::string>& problems);

// Every box needs its text and every text its box (renderLanguage reports a
// row without a box), so that a key renamed in one place is caught at build
// time rather than seen as a blank caption in the game.
bool everyBoxHasARow(const CaptionTable& table, std::vector<std::string>& problems);

// Every row of the table in one language (an index into kLanguageCodes), with
// the parts of a group at their shared size. Returns false, with one message
// a problem naming the key and the language, when a row has no box or a
// text does not fit; the pictures that fit are still returned.
bool renderLanguage(const CaptionTable& table, int language, std::vector<CaptionPicture>& pictures,
                    std::vector<std::string>& problems);

// The font sizes tried, largest first: a step of about 4 percent, so that a
// text loses no more than that from what would just fit.
std::vector<double> fontSizesToTry(const CaptionBox& box);
