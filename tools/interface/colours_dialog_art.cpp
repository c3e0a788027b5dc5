// The colours dialog's swatches and palette. The dialog picks the colour it
// reads back from the screen, so these pictures must reach the screen
// unchanged: flat, no shine, normals at the exact-light tilt, and made of
// cells of one colour each, so that texture filtering inside a cell has
// nothing to blend.

#include "canvas.h"
#include "interface_art.h"
#include "mesh_builder.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using namespace colours_dialog;

struct Texel {
    uint8_t red, green, blue;
};

uint8_t channelByte(double value) {
    return uint8_t(std::lround(std::fmin(1.0, std::fmax(0.0, value)) * 255));
}

// Hue in turns, saturation and lightness in 0..1.
Texel fromHsl(double hue, double saturation, double lightness) {
    double chroma = (1 - std::fabs(2 * lightness - 1)) * saturation;
    double sector = std::fmod(hue * 6, 6.0);
    double second = chroma * (1 - std::fabs(std::fmod(sector, 2.0) - 1));
    double r = 0, g = 0, b = 0;
    switch (int(sector)) {
        case 0:
            r = chroma, g = second;
            break;
        case 1:
            r = second, g = chroma;
            break;
        case 2:
            g = chroma, b = second;
            break;
        case 3:
            g = second, b = chroma;
            break;
        case 4:
            r = second, b = chroma;
            break;
        default:
            r = chroma, b = second;
            break;
    }
    double lift = lightness - chroma / 2;
    return {channelByte(r + lift), channelByte(g + lift), channelByte(b + lift)};
}

Bytes cellPicture(int columns, int rows, int cellTexels, Texel (*colourOf)(int, int)) {
    const int width = columns * cellTexels, height = rows * cellTexels;
    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Texel texel = colourOf(x / cellTexels, y / cellTexels);
            uint8_t* pixel = &pixels[(size_t(y) * size_t(width) + size_t(x)) * 4];
            pixel[0] = texel.red;
            pixel[1] = texel.green;
            pixel[2] = texel.blue;
            pixel[3] = 255;
        }
    }
    return encodePng(width, height, pixels.data());
}

// Hue across, from light at the top through the full colour to dark.
Texel gradientCell(int column, int row) {
    double hue = double(column) / kGradientColumns;
    double lightness = 0.93 - 0.82 * double(row) / (kGradientRows - 1);
    return fromHsl(hue, 1.0, lightness);
}

// What the hues lack: greys, browns, skin tones, pastels and deep shades.
Texel gridCell(int column, int row) {
    static const Texel cells[kGridRows][kGridColumns] = {
        {{255, 255, 255}, {192, 192, 192}, {128, 128, 128}},
        {{64, 64, 64}, {0, 0, 0}, {72, 60, 50}},
        {{101, 67, 33}, {150, 75, 0}, {205, 127, 50}},
        {{255, 224, 189}, {241, 194, 125}, {194, 178, 128}},
        {{255, 193, 204}, {174, 198, 255}, {193, 240, 193}},
        {{85, 107, 47}, {128, 128, 0}, {0, 0, 128}},
    };
    return cells[row][column];
}

// A swatch is white: its node's colour tints it, and the exact-light normal
// shows that colour unchanged. Its rim is a darker shade of the same colour.
Bytes swatchPicture() {
    const int width = 176, height = 128;
    Canvas canvas(width, height);
    cairo_t* cr = canvas.cr();
    // The swatch is about 156 pixels wide at 1920x1080.
    const double toScreen = 1080.0 * width / (156.0 * 1080);
    const double outline = look::kOutlineScreen * 1080 * toScreen;
    const double corner = look::kCornerScreen * 1080 * toScreen;
    roundedRectangle(cr, outline / 2 + 1, outline / 2 + 1, width - outline - 2,
                     height - outline - 2, corner);
    setColour(cr, look::kPaper);
    cairo_fill_preserve(cr);
    setColour(cr, Colour{0.55, 0.55, 0.58, 1});
    cairo_set_line_width(cr, outline);
    cairo_stroke(cr);
    return canvas.png();
}

}  // namespace

void addColoursDialog(Entries& out) {
    // Transparent, like every widget on a dialog panel: they fade with it.
    out.push_back(
        {"color_const", writeModel({pictureQuad("color_swatch_picture", kCurrentLeft, kSwatchBottom,
                                                kCurrentRight, kSwatchTop, kDepth, true)})});
    out.push_back(
        {"color_hover", writeModel({pictureQuad("color_swatch_picture", kPreviewLeft, kSwatchBottom,
                                                kPreviewRight, kSwatchTop, kDepth, true)})});
    out.push_back({"color_swatch_picture", swatchPicture()});
    out.push_back(
        {"palitra_gradient",
         writeModel({pictureQuad("palitra_gradient_picture", kGradientLeft, kPaletteBottom,
                                 kGradientRight, kPaletteTop, kDepth, true)})});
    out.push_back({"palitra_gradient_picture", cellPicture(kGradientColumns, kGradientRows,
                                                           kGradientCellTexels, gradientCell)});
    out.push_back({"palitra_colors",
                   writeModel({pictureQuad("palitra_colors_picture", kGridLeft, kPaletteBottom,
                                           kGridRight, kPaletteTop, kDepth, true)})});
    out.push_back({"palitra_colors_picture",
                   cellPicture(kGridColumns, kGridRows, kGridCellTexels, gridCell)});
}
