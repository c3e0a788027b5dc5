#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

Colour mix(Colour a, Colour b, double t) {
    return {a.red + (b.red - a.red) * t, a.green + (b.green - a.green) * t,
            a.blue + (b.blue - a.blue) * t, a.alpha + (b.alpha - a.alpha) * t};
}

Colour lighter(Colour c, double amount) {
    Colour white{1, 1, 1, c.alpha};
    return mix(c, white, amount);
}

Colour darker(Colour c, double amount) {
    Colour black{0, 0, 0, c.alpha};
    return mix(c, black, amount);
}

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cr_ = cairo_create(surface_);
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cairo could not make a surface");
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

std::vector<uint8_t> Canvas::rgba() const {
    cairo_surface_flush(surface_);
    const uint8_t* data = cairo_image_surface_get_data(surface_);
    int stride = cairo_image_surface_get_stride(surface_);
    std::vector<uint8_t> out(size_t(width_) * size_t(height_) * 4);
    for (int y = 0; y < height_; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride));
        for (int x = 0; x < width_; ++x) {
            uint32_t pixel = row[x];
            uint32_t alpha = pixel >> 24;
            auto channel = [&](int shift) -> uint8_t {
                uint32_t premultiplied = (pixel >> shift) & 0xff;
                if (alpha == 0)
                    return 0;
                return uint8_t(std::min<uint32_t>(255, (premultiplied * 255 + alpha / 2) / alpha));
            };
            uint8_t* out_pixel = &out[(size_t(y) * size_t(width_) + size_t(x)) * 4];
            out_pixel[0] = channel(16);
            out_pixel[1] = channel(8);
            out_pixel[2] = channel(0);
            out_pixel[3] = uint8_t(alpha);
        }
    }
    return out;
}

Bytes Canvas::png() const {
    std::vector<uint8_t> pixels = rgba();
    return encodePng(width_, height_, pixels.data());
}

void setColour(cairo_t* cr, Colour c) {
    cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
}

void roundedRectangle(cairo_t* cr, double x, double y, double width, double height, double radius) {
    radius = std::min({radius, width / 2, height / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + width - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + width - radius, y + height - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x + radius, y + height - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void softShadow(cairo_t* cr, double dx, double dy, double spread, double alpha) {
    cairo_path_t* path = cairo_copy_path(cr);
    cairo_save(cr);
    cairo_translate(cr, dx, dy);
    const int steps = 8;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (int i = steps; i >= 1; --i) {
        cairo_new_path(cr);
        cairo_append_path(cr, path);
        cairo_set_source_rgba(cr, 0.1, 0.1, 0.2, alpha / steps);
        cairo_set_line_width(cr, 2 * spread * i / steps);
        cairo_stroke_preserve(cr);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_append_path(cr, path);
    cairo_path_destroy(path);
}

void glyphPath(cairo_t* cr, char glyph) {
    cairo_new_path(cr);
    switch (glyph) {
        case '1':
            cairo_move_to(cr, 0.22, 0.3);
            cairo_line_to(cr, 0.56, 0.02);
            cairo_line_to(cr, 0.56, 1.38);
            break;
        case '2':
            cairo_arc(cr, 0.5, 0.4, 0.36, M_PI * 1.05, M_PI * 2.2);
            cairo_line_to(cr, 0.12, 1.38);
            cairo_line_to(cr, 0.9, 1.38);
            break;
        case '3':
            cairo_arc(cr, 0.48, 0.35, 0.32, M_PI * 1.1, M_PI * 2.5);
            cairo_arc(cr, 0.48, 1.01, 0.36, -M_PI * 0.5, M_PI * 0.9);
            break;
        case '4':
            cairo_move_to(cr, 0.68, 1.38);
            cairo_line_to(cr, 0.68, 0.02);
            cairo_line_to(cr, 0.08, 0.96);
            cairo_line_to(cr, 0.94, 0.96);
            break;
        case '5':
            cairo_move_to(cr, 0.86, 0.02);
            cairo_line_to(cr, 0.26, 0.02);
            cairo_line_to(cr, 0.2, 0.62);
            cairo_arc(cr, 0.5, 0.97, 0.4, -M_PI * 0.78, M_PI * 0.85);
            break;
        case '6':
            cairo_move_to(cr, 0.8, 0.06);
            cairo_curve_to(cr, 0.42, -0.04, 0.1, 0.36, 0.12, 0.98);
            cairo_new_sub_path(cr);
            cairo_arc(cr, 0.5, 0.99, 0.38, 0, 2 * M_PI);
            break;
        case '7':
            cairo_move_to(cr, 0.1, 0.02);
            cairo_line_to(cr, 0.9, 0.02);
            cairo_line_to(cr, 0.38, 1.38);
            break;
        case '8':
            cairo_arc(cr, 0.5, 0.35, 0.31, 0, 2 * M_PI);
            cairo_new_sub_path(cr);
            cairo_arc(cr, 0.5, 1.02, 0.37, 0, 2 * M_PI);
            break;
        case '9':
            cairo_arc(cr, 0.5, 0.41, 0.38, 0, 2 * M_PI);
            cairo_move_to(cr, 0.88, 0.42);
            cairo_curve_to(cr, 0.9, 1.02, 0.6, 1.42, 0.2, 1.34);
            break;
        case '?':
            cairo_arc(cr, 0.5, 0.38, 0.34, M_PI * 1.1, M_PI * 2.3);
            cairo_curve_to(cr, 0.62, 0.74, 0.5, 0.76, 0.5, 0.98);
            cairo_new_sub_path(cr);
            cairo_arc(cr, 0.5, 1.33, 0.01, 0, 2 * M_PI);
            break;
        default:
            break;
    }
}
