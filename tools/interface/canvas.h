#pragma once

// Cairo drawing for the interface pictures, and the shared look: one light
// from the top left, one outline colour and weight, one set of colours.

#include "writers/pak_writer.h"

#include <cairo.h>

#include <cstdint>

struct Colour {
    double red = 0, green = 0, blue = 0, alpha = 1;
};

// 0..255 components, as the paint tables write them.
constexpr Colour rgb255(int red, int green, int blue, double alpha = 1) {
    return {red / 255.0, green / 255.0, blue / 255.0, alpha};
}

namespace look {
constexpr Colour kInk = rgb255(46, 50, 82);          // outlines and dark marks
constexpr Colour kPaper = rgb255(255, 255, 255);     // the sheet, icons
constexpr Colour kCoral = rgb255(238, 96, 85);       // close, clear
constexpr Colour kSun = rgb255(250, 186, 55);        // help
constexpr Colour kMint = rgb255(52, 190, 150);       // settings
constexpr Colour kSky = rgb255(58, 150, 240);        // page arrows
constexpr Colour kGrape = rgb255(142, 98, 222);      // paint colour
constexpr Colour kTangerine = rgb255(255, 140, 56);  // reset paints
constexpr Colour kTeal = rgb255(34, 172, 196);       // undo
// Outline weight and corner radius as fractions of the screen height, so that
// every picture shows them alike whatever its depth.
constexpr double kOutlineScreen = 2.6 / 1080;
constexpr double kCornerScreen = 16.0 / 1080;
}  // namespace look

Colour mix(Colour a, Colour b, double t);
Colour lighter(Colour c, double amount);  // towards white
Colour darker(Colour c, double amount);   // towards black

// An ARGB cairo surface that ends as straight-alpha RGBA PNG bytes.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Straight (not premultiplied) RGBA, rows top to bottom.
    std::vector<uint8_t> rgba() const;
    Bytes png() const;

private:
    int width_, height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

void setColour(cairo_t* cr, Colour c);
void roundedRectangle(cairo_t* cr, double x, double y, double width, double height, double radius);
// A soft shadow under the current path, by stacking widening strokes of low
// alpha; the path is kept.
void softShadow(cairo_t* cr, double dx, double dy, double spread, double alpha);

// Adds the path of a glyph drawn as strokes in a box 1 wide and 1.4 tall
// (y down): the digits 1 to 9 and "?". Stroke it with round caps.
void glyphPath(cairo_t* cr, char glyph);
