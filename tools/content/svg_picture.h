#pragma once

// Reads a picture drawn in SVG into flat outlines. Only the subset that the
// pictures are allowed to use is understood (see content/pictures/README.md);
// anything else is refused with a message naming the file and the element.

#include <cstdint>
#include <string>
#include <vector>

struct Point {
    double x = 0;
    double y = 0;
};

// A closed outline; the last point connects back to the first.
using Ring = std::vector<Point>;

// One filled shape, flattened into rings in picture units (x right, y down).
struct SvgShape {
    bool hardLayer = false;  // false: the "standard" layer
    uint32_t fill = 0;       // 0xRRGGBB
    bool evenOdd = false;    // fill-rule evenodd; otherwise nonzero
    std::vector<Ring> rings;
    std::string label;  // "path id=sky, line 12" for messages
};

struct SvgPicture {
    double width = 0;
    double height = 0;
    std::vector<SvgShape> shapes;  // in document order
};

// Curves are flattened so that no point of a flattened curve lies further
// than this from the true curve, in picture units (1 unit is 1.33 pixels at
// 1920x1080).
constexpr double kFlatness = 0.2;

// Parses SVG text; `name` is used in messages. Returns false and sets `error`
// when the text is not a well-formed picture of the supported subset.
bool readSvgPicture(const std::string& text, const std::string& name, SvgPicture& picture,
                    std::string& error);
bool readSvgPictureFile(const std::string& path, SvgPicture& picture, std::string& error);

// A 2D affine transform: x' = a x + c y + e, y' = b x + d y + f.
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    Point apply(Point p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
};
Affine compose(const Affine& outer, const Affine& inner);  // inner first, then outer

// Parses a transform attribute ("translate(10) rotate(45 5 5) ..."); false on
// anything it does not understand.
bool parseTransform(const std::string& text, Affine& out);

// Flattens path data into rings, applying `transform`; false with `error` on
// an unsupported command or malformed data.
bool flattenPathData(const std::string& data, const Affine& transform, std::vector<Ring>& rings,
                     std::string& error);
