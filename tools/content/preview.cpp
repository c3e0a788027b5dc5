#include "preview.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

namespace {

// Full HD scale: the picture group spans 2 * 20.25 game units of 1080 rows.
constexpr double kPixelsPerGameUnit = 1080.0 / (2 * 20.25);
constexpr double kMarginUnits = 0.5;

struct Canvas {
    int width = 0, height = 0;
    std::vector<float> rgb;           // 0..1
    double originX = 0, originY = 0;  // game units at pixel (0, 0)

    float* at(int x, int y) { return &rgb[(size_t(y) * width + x) * 3]; }
};

struct Vertex {
    double x, y;  // pixels
    double u, v;
};

struct ModelTriangles {
    std::string texture;
    std::vector<Vertex> vertices;  // three a triangle
};

float readFloatAt(const uint8_t* p) {
    float value;
    std::memcpy(&value, p, 4);
    return value;
}

int32_t readIntAt(const uint8_t* p) {
    int32_t value;
    std::memcpy(&value, p, 4);
    return value;
}

// Reads back a model entry the way the game lays it out.
bool readModel(const Bytes& bytes, const Canvas& canvas, bool inContainer,
               std::vector<ModelTriangles>& out) {
    const uint8_t* p = bytes.data();
    const uint8_t* end = p + bytes.size();
    if (end - p < 4)
        return false;
    int32_t count = readIntAt(p);
    p += 4;
    for (int32_t m = 0; m < count; ++m) {
        if (end - p < 4)
            return false;
        int32_t nameBlock = readIntAt(p);
        p += 4;
        if (nameBlock < 1 || end - p < nameBlock + 64)
            return false;
        ModelTriangles model;
        model.texture = reinterpret_cast<const char*>(p);
        p += nameBlock + 60;
        int32_t triangles = readIntAt(p);
        p += 4;
        if (triangles < 0 || end - p < int64_t(triangles) * 96)
            return false;
        const uint8_t* positions = p;
        const uint8_t* uvs = p + size_t(triangles) * 72;
        for (int32_t i = 0; i < 3 * triangles; ++i) {
            double stored[3], picture[3];
            for (int k = 0; k < 3; ++k)
                stored[k] = readFloatAt(positions + 12 * i + 4 * k);
            if (inContainer) {
                containerToPicture(stored, picture);
                double pull = (kEyeInPicture[2] - picture[2]) / kEyeInPicture[2];
                for (int k = 0; k < 2; ++k)
                    picture[k] = kEyeInPicture[k] + (picture[k] - kEyeInPicture[k]) / pull;
            } else {
                std::copy_n(stored, 3, picture);
            }
            double gx = picture[0], gy = picture[1];
            model.vertices.push_back({(gx - canvas.originX) * kPixelsPerGameUnit,
                                      (canvas.originY - gy) * kPixelsPerGameUnit,
                                      readFloatAt(uvs + 8 * i), readFloatAt(uvs + 8 * i + 4)});
        }
        p += size_t(triangles) * 96;
        out.push_back(std::move(model));
    }
    return true;
}

// GL_LINEAR with GL_REPEAT, as the game samples its textures.
void sample(const RgbaImage& image, double u, double v, float out[4]) {
    double x = u * image.width - 0.5, y = v * image.height - 0.5;
    int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    double fx = x - x0, fy = y - y0;
    for (int c = 0; c < 4; ++c)
        out[c] = 0;
    for (int j = 0; j < 2; ++j) {
        for (int i = 0; i < 2; ++i) {
            int tx = ((x0 + i) % image.width + image.width) % image.width;
            int ty = ((y0 + j) % image.height + image.height) % image.height;
            double weight = (i ? fx : 1 - fx) * (j ? fy : 1 - fy);
            const uint8_t* texel = &image.pixels[(size_t(ty) * image.width + tx) * 4];
            for (int c = 0; c < 4; ++c)
                out[c] += float(weight * texel[c] / 255.0);
        }
    }
}

// Fills pixel centres inside the triangle (top-left rule, so that triangles
// sharing an edge cover each pixel once), blending texel * tint over it.
void drawTriangle(Canvas& canvas, const Vertex& a, const Vertex& b0, const Vertex& c0,
                  const RgbaImage& texture, const float tint[3]) {
    Vertex b = b0, c = c0;
    double area = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
    if (area == 0)
        return;
    if (area < 0) {
        std::swap(b, c);
        area = -area;
    }
    int minX = std::max(0, int(std::floor(std::min({a.x, b.x, c.x}))));
    int maxX = std::min(canvas.width - 1, int(std::ceil(std::max({a.x, b.x, c.x}))));
    int minY = std::max(0, int(std::floor(std::min({a.y, b.y, c.y}))));
    int maxY = std::min(canvas.height - 1, int(std::ceil(std::max({a.y, b.y, c.y}))));
    auto edge = [](const Vertex& p, const Vertex& q, double x, double y) {
        return (q.x - p.x) * (y - p.y) - (q.y - p.y) * (x - p.x);
    };
    auto topLeft = [](const Vertex& p, const Vertex& q) {
        return (p.y == q.y && q.x < p.x) || q.y > p.y;
    };
    bool tlA = topLeft(b, c), tlB = topLeft(c, a), tlC = topLeft(a, b);
    for (int y = minY; y <= maxY; ++y) {
        for (int x = minX; x <= maxX; ++x) {
            double px = x + 0.5, py = y + 0.5;
            double wa = edge(b, c, px, py), wb = edge(c, a, px, py), wc = edge(a, b, px, py);
            if (wa < 0 || wb < 0 || wc < 0)
                continue;
            if ((wa == 0 && !tlA) || (wb == 0 && !tlB) || (wc == 0 && !tlC))
                continue;
            wa /= area, wb /= area, wc /= area;
            float texel[4];
            sample(texture, wa * a.u + wb * b.u + wc * c.u, wa * a.v + wb * b.v + wc * c.v, texel);
            float* pixel = canvas.at(x, y);
            for (int k = 0; k < 3; ++k)
                pixel[k] = texel[k] * tint[k] * texel[3] + pixel[k] * (1 - texel[3]);
        }
    }
}

RgbaImage toImage(const Canvas& canvas) {
    RgbaImage image;
    image.width = canvas.width;
    image.height = canvas.height;
    image.pixels.resize(size_t(canvas.width) * canvas.height * 4);
    for (size_t i = 0; i < size_t(canvas.width) * canvas.height; ++i) {
        for (int k = 0; k < 3; ++k)
            image.pixels[4 * i + size_t(k)] =
                uint8_t(std::lround(std::clamp(canvas.rgb[3 * i + size_t(k)], 0.0f, 1.0f) * 255));
        image.pixels[4 * i + 3] = 255;
    }
    return image;
}

const float kUntinted[3] = {1, 1, 1};

}  // namespace

bool renderPagePreview(const CutPage& page, const PageArchive& archive, PagePreview& preview,
                       std::string& error) {
    Canvas canvas;
    canvas.originX = -kMarginUnits;
    canvas.originY = page.height / 20 + kMarginUnits;
    canvas.width = int(std::ceil((page.width / 20 + 2 * kMarginUnits) * kPixelsPerGameUnit));
    canvas.height = int(std::ceil((page.height / 20 + 2 * kMarginUnits) * kPixelsPerGameUnit));
    std::map<std::string, const RgbaImage*> textures;
    for (const auto& [name, image] : archive.pictures)
        textures[name] = &image;
    std::map<std::string, std::vector<ModelTriangles>> models;
    for (const PakWriterEntry& entry : archive.entries) {
        if (textures.count(entry.name))
            continue;
        bool overlay = entry.name == "list_nums" || entry.name == "list_kontur";
        if (!readModel(entry.data, canvas, overlay, models[entry.name])) {
            error = page.name + ": cannot read back the model " + entry.name;
            return false;
        }
    }
    auto draw = [&](const std::string& key, const float tint[3]) {
        for (const ModelTriangles& model : models[key]) {
            const RgbaImage* texture = textures[model.texture];
            if (texture == nullptr)
                continue;
            for (size_t i = 0; i + 2 < model.vertices.size(); i += 3)
                drawTriangle(canvas, model.vertices[i], model.vertices[i + 1],
                             model.vertices[i + 2], *texture, tint);
        }
    };
    for (bool coloured : {false, true}) {
        canvas.rgb.assign(size_t(canvas.width) * canvas.height * 3, 1.0f);  // the paper
        if (coloured) {
            for (const CutRegion& region : page.regions) {
                Rgb paint = paintColour(*page.record, region.id.paintNumber);
                float tint[3] = {float(paint.red), float(paint.green), float(paint.blue)};
                draw(region.id.key, tint);
            }
        }
        draw("list_nums", kUntinted);
        draw("list_kontur", kUntinted);
        (coloured ? preview.coloured : preview.blank) = toImage(canvas);
    }
    preview.name = page.name;
    return true;
}

bool writePngFile(const std::string& path, const RgbaImage& image) {
    Bytes png = encodePng(image.width, image.height, image.pixels.data());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && ok;
}

namespace {

cairo_surface_t* toSurface(const RgbaImage& image) {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width, image.height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* p = &image.pixels[(size_t(y) * image.width + x) * 4];
            *reinterpret_cast<uint32_t*>(data + y * stride + 4 * x) =
                uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

}  // namespace

bool writeContactSheet(const std::string& path, const std::vector<PagePreview>& previews) {
    if (previews.empty())
        return true;
    const double scale = 0.2;
    const int thumbWidth = int(previews[0].blank.width * scale);
    const int thumbHeight = int(previews[0].blank.height * scale);
    const int label = 22, gap = 10;
    const int cellWidth = 2 * thumbWidth + gap, cellHeight = thumbHeight + label;
    const int columns = 6;
    const int rows = int((previews.size() + columns - 1) / columns);
    int width = columns * (cellWidth + 2 * gap) + gap;
    int height = rows * (cellHeight + gap) + gap;
    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(sheet);
    cairo_set_source_rgb(cr, 0.55, 0.55, 0.58);
    cairo_paint(cr);
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans Bold 11");
    pango_layout_set_font_description(layout, font);
    for (size_t i = 0; i < previews.size(); ++i) {
        int left = gap + int(i % columns) * (cellWidth + 2 * gap);
        int top = gap + int(i / columns) * (cellHeight + gap);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_move_to(cr, left, top);
        pango_layout_set_text(layout, previews[i].name.c_str(), -1);
        pango_cairo_show_layout(cr, layout);
        const RgbaImage* images[2] = {&previews[i].blank, &previews[i].coloured};
        for (int k = 0; k < 2; ++k) {
            cairo_surface_t* picture = toSurface(*images[k]);
            cairo_save(cr);
            cairo_translate(cr, left + k * (thumbWidth + gap), top + label);
            cairo_scale(cr, scale, scale);
            cairo_set_source_surface(cr, picture, 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
            cairo_paint(cr);
            cairo_restore(cr);
            cairo_surface_destroy(picture);
        }
    }
    pango_font_description_free(font);
    g_object_unref(layout);
    cairo_destroy(cr);
    bool ok = cairo_surface_write_to_png(sheet, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(sheet);
    return ok;
}
