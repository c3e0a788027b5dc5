#include "digit_atlas.h"

#include <cairo.h>
#include <pango/pangocairo.h>

namespace {

constexpr int kAtlasWidth = 512;  // powers of two for any GL implementation
constexpr int kAtlasHeight = 64;
constexpr int kCellWidth = 50;
constexpr int kFontPixels = 52;  // digits about 38 pixels tall
constexpr uint8_t kInk[3] = {34, 30, 28};

}  // namespace

bool renderDigitAtlas(DigitAtlas& atlas, std::string& error) {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kAtlasWidth, kAtlasHeight);
    cairo_t* cr = cairo_create(surface);
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans Bold");
    pango_font_description_set_absolute_size(font, kFontPixels * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout), options);
    pango_layout_context_changed(layout);
    cairo_set_source_rgba(cr, 1, 1, 1, 1);

    // Font lookup falls back silently: make sure the digits' font is there.
    bool ok = true;
    PangoFont* loaded = pango_context_load_font(pango_layout_get_context(layout), font);
    if (loaded != nullptr) {
        PangoFontDescription* found = pango_font_describe(loaded);
        const char* family = pango_font_description_get_family(found);
        ok = family != nullptr && std::string(family) == "DejaVu Sans" &&
             pango_font_description_get_weight(found) >= PANGO_WEIGHT_BOLD;
        pango_font_description_free(found);
        g_object_unref(loaded);
    }
    if (!ok || loaded == nullptr) {
        ok = false;
        error = "the font DejaVu Sans Bold is missing (Debian package fonts-dejavu-core)";
    }

    for (int digit = 0; ok && digit < 10; ++digit) {
        char text[2] = {char('0' + digit), 0};
        pango_layout_set_text(layout, text, 1);
        PangoRectangle ink, logical;
        pango_layout_get_pixel_extents(layout, &ink, &logical);
        if (ink.width <= 0 || ink.height <= 0 || ink.width + 2 * kGlyphPadding > kCellWidth ||
            ink.height + 2 * kGlyphPadding > kAtlasHeight) {
            error = "the digit font renders " + std::string(text) + " with an unexpected size";
            ok = false;
            break;
        }
        // Ink box centred in its cell.
        int left = digit * kCellWidth + (kCellWidth - ink.width) / 2;
        int top = (kAtlasHeight - ink.height) / 2;
        cairo_move_to(cr, left - ink.x, top - ink.y);
        pango_cairo_show_layout(cr, layout);
        DigitGlyph& glyph = atlas.glyphs[digit];
        glyph.inkWidth = ink.width;
        glyph.inkHeight = ink.height;
        glyph.x0 = left - kGlyphPadding;
        glyph.y0 = top - kGlyphPadding;
        glyph.x1 = left + ink.width + kGlyphPadding;
        glyph.y1 = top + ink.height + kGlyphPadding;
    }
    cairo_surface_flush(surface);

    // White ink on transparent: the alpha channel is the coverage.
    atlas.image.width = kAtlasWidth;
    atlas.image.height = kAtlasHeight;
    atlas.image.pixels.assign(size_t(kAtlasWidth) * kAtlasHeight * 4, 0);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < kAtlasHeight; ++y) {
        for (int x = 0; x < kAtlasWidth; ++x) {
            uint32_t argb = *reinterpret_cast<const uint32_t*>(data + y * stride + 4 * x);
            uint8_t* out = &atlas.image.pixels[(size_t(y) * kAtlasWidth + x) * 4];
            out[0] = kInk[0];
            out[1] = kInk[1];
            out[2] = kInk[2];
            out[3] = uint8_t(argb >> 24);
        }
    }
    cairo_font_options_destroy(options);
    pango_font_description_free(font);
    g_object_unref(layout);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return ok;
}
