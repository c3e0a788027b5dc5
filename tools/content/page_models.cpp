#include "page_models.h"

#include <algorithm>
#include <cmath>

using namespace ClipperLib;

const char* const kPaperTexture = "paper";
const char* const kOutlineTexture = "kontur";
const char* const kDigitTexture = "digits";

namespace {

constexpr float kFacingViewer[3] = {0, 0, 1};

RgbaImage paperPicture() {
    RgbaImage image;
    image.width = image.height = 8;
    image.pixels.assign(8 * 8 * 4, 255);
    return image;
}

// Across the line: u = 0 at its inner edge, 1 on the border itself. Opaque
// over the outer part, then a soft fall to nothing. The profile fills the
// middle half of the texture and the quarters beyond it repeat its ends, so
// that filtering near u = 0 or 1 never reaches round to the other end (the
// wrap mode repeats).
constexpr int kOutlineTexels = 64;
constexpr uint8_t kOutlineInk[3] = {38, 34, 32};

RgbaImage outlinePicture() {
    RgbaImage image;
    image.width = kOutlineTexels;
    image.height = 4;
    image.pixels.resize(size_t(image.width) * image.height * 4);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            double u = ((x + 0.5) / kOutlineTexels - 0.25) / 0.5;
            double t = std::clamp(u / 0.6, 0.0, 1.0);
            double alpha = t * t * (3 - 2 * t);
            uint8_t* texel = &image.pixels[(size_t(y) * image.width + x) * 4];
            texel[0] = kOutlineInk[0];
            texel[1] = kOutlineInk[1];
            texel[2] = kOutlineInk[2];
            texel[3] = uint8_t(std::lround(alpha * 255));
        }
    }
    return image;
}

float outlineU(double u) {
    return float(0.25 + 0.5 * std::clamp(u, 0.0, 1.0));
}

MaterialSpec opaqueMaterial() {
    MaterialSpec material;  // white ambient and diffuse, no specular
    return material;
}

MaterialSpec blendedMaterial() {
    MaterialSpec material;
    material.transparent = true;
    return material;
}

double signedArea(const float a[3], const float b[3], const float c[3]) {
    return (b[0] - a[0]) * (c[1] - a[1]) - (c[0] - a[0]) * (b[1] - a[1]);
}

// Appends triangles given in picture units, counter-clockwise as the viewer
// sees them, with texture coordinates from `uvOf`.
template <typename UvOf>
void appendTriangles(const CutPage& page, const std::vector<Point>& triangles, float z, UvOf uvOf,
                     MeshSpec& mesh) {
    for (size_t i = 0; i + 2 < triangles.size(); i += 3) {
        float corners[3][3];
        float uvs[3][2];
        for (int k = 0; k < 3; ++k) {
            toGame(page, triangles[i + size_t(k)], corners[k]);
            corners[k][2] = z;
            uvOf(triangles[i + size_t(k)], uvs[k]);
        }
        double area = signedArea(corners[0], corners[1], corners[2]);
        if (std::abs(area) < 1e-12)
            continue;  // degenerate: covers nothing
        if (area > 0) {
            mesh.addTriangle(corners[0], corners[1], corners[2], uvs[0], uvs[1], uvs[2],
                             kFacingViewer);
        } else {
            mesh.addTriangle(corners[0], corners[2], corners[1], uvs[0], uvs[2], uvs[1],
                             kFacingViewer);
        }
    }
}

// The overlay's models live in the page container's frame (see
// pictureToContainer); a face towards the viewer has the normal (0, -1, 0)
// there.
void moveToPageContainer(MeshSpec& mesh) {
    for (size_t i = 0; i + 2 < mesh.positions.size(); i += 3) {
        double picture[3] = {mesh.positions[i], mesh.positions[i + 1], mesh.positions[i + 2]};
        // Raised by z towards the eye: shrink towards the line of sight so
        // that the point still projects where it lies on the picture.
        double pull = (kEyeInPicture[2] - picture[2]) / kEyeInPicture[2];
        for (size_t k = 0; k < 2; ++k)
            picture[k] = kEyeInPicture[k] + (picture[k] - kEyeInPicture[k]) * pull;
        double container[3];
        pictureToContainer(picture, container);
        for (size_t k = 0; k < 3; ++k)
            mesh.positions[i + k] = float(container[k]);
        mesh.normals[i] = 0;
        mesh.normals[i + 1] = -1;
        mesh.normals[i + 2] = 0;
    }
}

std::string regionWhere(const CutPage& page, const CutRegion& region) {
    return page.name + ": paint " + std::to_string(region.id.paintNumber + 1) + ", region " +
           region.id.key + " (" + region.shapeLabel + ")";
}

// The inner half of the line along every border of `area`.
bool appendOutline(const CutPage& page, const std::vector<Ring>& edges, const Paths& band,
                   MeshSpec& mesh) {
    std::vector<Point> triangles;
    if (!triangulate(fromClipper(band), triangles))
        return false;
    appendTriangles(
        page, triangles, kOutlineDepth,
        [&](Point p, float uv[2]) {
            uv[0] = outlineU(1 - distanceToEdges(edges, p) / kOutlineHalfWidth);
            uv[1] = 0.5f;
        },
        mesh);
    return true;
}

bool appendNumber(const CutPage& page, const CutRegion& region, const DigitAtlas& atlas,
                  MeshSpec& mesh, std::string& error) {
    std::string text = std::to_string(region.id.paintNumber + 1);
    // The padded glyph boxes side by side, in atlas pixels.
    const int gap = 2;
    int width = 0, inkHeight = 0, height = 0;
    for (char c : text) {
        const DigitGlyph& glyph = atlas.glyphs[c - '0'];
        width += (glyph.x1 - glyph.x0) + (width > 0 ? gap : 0);
        inkHeight = std::max(inkHeight, glyph.inkHeight);
        height = std::max(height, glyph.y1 - glyph.y0);
    }
    // Room: the circle around the label point that stays clear of the
    // outline, less a margin; the whole padded box must lie inside it.
    double room = region.pole.distance - kOutlineHalfWidth - 1.0;
    double halfDiagonalPerPixel = 0.5 * std::sqrt(double(width) * width + double(height) * height);
    double fitting = room / halfDiagonalPerPixel * inkHeight;  // largest ink height that fits
    double smallest = kMinNumberPixels / kPixelsPerUnitAt720;
    double largest = kMaxNumberPixels / kPixelsPerUnitAt720;
    double inkUnits = std::min(0.75 * fitting, largest);
    if (inkUnits < smallest)
        inkUnits = std::min(fitting, smallest);
    if (inkUnits < smallest) {
        char message[160];
        std::snprintf(message, sizeof message,
                      ": its number would be %.1f pixels tall at 1280x720, less than %.0f",
                      inkUnits * kPixelsPerUnitAt720, kMinNumberPixels);
        error = regionWhere(page, region) + message;
        return false;
    }
    double scale = inkUnits / inkHeight;  // picture units per atlas pixel
    double x = region.pole.centre.x - 0.5 * width * scale;
    for (char c : text) {
        const DigitGlyph& glyph = atlas.glyphs[c - '0'];
        double w = (glyph.x1 - glyph.x0) * scale, h = (glyph.y1 - glyph.y0) * scale;
        double top = region.pole.centre.y - 0.5 * h;
        Point corners[4] = {{x, top}, {x + w, top}, {x + w, top + h}, {x, top + h}};
        float uv[4][2] = {
            {float(glyph.x0) / atlas.image.width, float(glyph.y0) / atlas.image.height},
            {float(glyph.x1) / atlas.image.width, float(glyph.y0) / atlas.image.height},
            {float(glyph.x1) / atlas.image.width, float(glyph.y1) / atlas.image.height},
            {float(glyph.x0) / atlas.image.width, float(glyph.y1) / atlas.image.height}};
        float game[4][3];
        for (int k = 0; k < 4; ++k) {
            toGame(page, corners[k], game[k]);
            game[k][2] = kNumberDepth;
        }
        // Picture y runs down, so these corners go counter-clockwise on screen
        // in the order 0, 3, 2, 1.
        mesh.addTriangle(game[0], game[3], game[2], uv[0], uv[3], uv[2], kFacingViewer);
        mesh.addTriangle(game[0], game[2], game[1], uv[0], uv[2], uv[1], kFacingViewer);
        x += w + gap * scale;
    }
    return true;
}

}  // namespace

bool buildPageArchive(const CutPage& page, const DigitAtlas& atlas, PageArchive& archive,
                      std::string& error) {
    archive = PageArchive{};
    MeshSpec outlines;
    outlines.textureName = kOutlineTexture;
    outlines.material = blendedMaterial();
    MeshSpec numbers;
    numbers.textureName = kDigitTexture;
    numbers.material = blendedMaterial();

    for (const CutRegion& region : page.regions) {
        std::vector<Point> triangles;
        if (!triangulate(region.rings, triangles)) {
            error = regionWhere(page, region) + ": the outline cannot be triangulated";
            return false;
        }
        MeshSpec mesh;
        mesh.textureName = kPaperTexture;
        mesh.material = opaqueMaterial();
        appendTriangles(
            page, triangles, 0,
            [&](Point p, float uv[2]) {
                uv[0] = float(p.x / page.width);
                uv[1] = float(p.y / page.height);
            },
            mesh);
        archive.statistics.regionTriangles += mesh.triangleCount();
        archive.entries.push_back({region.id.key, writeModel({mesh})});

        Paths inner = offsetBy(region.area, -kOutlineHalfWidth);
        Clipper clipper;
        clipper.AddPaths(region.area, ptSubject, true);
        clipper.AddPaths(inner, ptClip, true);
        Paths band;
        clipper.Execute(ctDifference, band, pftNonZero, pftNonZero);
        if (!appendOutline(page, region.rings, band, outlines)) {
            error = regionWhere(page, region) + ": its outline cannot be triangulated";
            return false;
        }
        bool numbered = region.id.paintNumber < page.record->paintCount;
        if (numbered && !appendNumber(page, region, atlas, numbers, error))
            return false;
    }

    // The outer half of the line around the picture's edge.
    std::vector<Ring> boxRing = {
        {{0, 0}, {page.width, 0}, {page.width, page.height}, {0, page.height}}};
    Paths box = toClipper(boxRing);
    Paths grown = offsetBy(box, kOutlineHalfWidth);
    Clipper clipper;
    clipper.AddPaths(grown, ptSubject, true);
    clipper.AddPaths(box, ptClip, true);
    Paths frame;
    clipper.Execute(ctDifference, frame, pftNonZero, pftNonZero);
    if (!appendOutline(page, boxRing, frame, outlines)) {
        error = page.name + ": the frame cannot be triangulated";
        return false;
    }

    moveToPageContainer(outlines);
    moveToPageContainer(numbers);
    archive.statistics.outlineTriangles = outlines.triangleCount();
    archive.statistics.numberTriangles = numbers.triangleCount();
    archive.entries.push_back({"list_kontur", writeModel({outlines})});
    archive.entries.push_back({"list_nums", writeModel({numbers})});
    archive.pictures.push_back({kPaperTexture, paperPicture()});
    archive.pictures.push_back({kOutlineTexture, outlinePicture()});
    archive.pictures.push_back({kDigitTexture, atlas.image});
    for (const auto& [name, image] : archive.pictures)
        archive.entries.push_back(
            {name, encodePng(image.width, image.height, image.pixels.data())});
    return true;
}
