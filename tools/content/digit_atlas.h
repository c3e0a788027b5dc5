#pragma once

// The digits the numbers are printed with: rendered once from a real font by
// Pango and Cairo into one anti-aliased, transparent RGBA picture.

#include <cstdint>
#include <string>
#include <vector>

struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // RGBA, rows top to bottom, not premultiplied
};

struct DigitGlyph {
    // The glyph's ink box in the atlas, in pixels, padded by kGlyphPadding
    // of transparent texels on every side so that filtering stays clean.
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    int inkWidth = 0, inkHeight = 0;  // the unpadded ink box
};

struct DigitAtlas {
    RgbaImage image;
    DigitGlyph glyphs[10];  // '0' .. '9'
};

constexpr int kGlyphPadding = 2;

// Renders '0'..'9' in DejaVu Sans Bold, dark grey on transparent. Returns
// false with a message when the font machinery fails.
bool renderDigitAtlas(DigitAtlas& atlas, std::string& error);
