// The paint tube with its ribbon and number labels, the bubbles and the brush.

#include "canvas.h"
#include "interface_art.h"
#include "mesh_builder.h"

#include <cmath>
#include <string>

namespace {

// ---- Paint tube ---------------------------------------------------------

// The tube lies along +z, its back (the crimped end) 0.55 from the node's
// origin and the open nozzle at 2.92: click bubbles start at (0, 0, 3.1), just
// in front of it, and drift along +z. About 2.5 long and 0.84 thick, so that
// nine tubes 1.353 apart and the staggered free-colouring columns keep clear
// of each other.
constexpr float kBodyRadius = 0.42f;
constexpr float kRibbonRadius = 0.432f;
constexpr float kRibbonStart = 1.34f, kRibbonEnd = 2.1f;
constexpr int kRoundSegments = 40;

// The crimp is flattened across a direction that both palette turns see at
// about 45 degrees, so that it reads as a flat seal in either.
constexpr float kCrimpTurn = 108.7f;

// In colour by numbers the tube turns its side at angle 242.4 degrees about
// its axis (model direction (-0.463, -0.886, 0)) to the viewer: the label
// sits there, its top towards smaller angles.
constexpr float kLabelFacingDegrees = 242.4f;

MaterialSpec shinyMaterial(float specular, float shininess, bool transparent = false) {
    MaterialSpec material;
    material.transparent = transparent;
    for (int i = 0; i < 3; ++i)
        material.specular[i] = specular;
    material.shininess = shininess;
    return material;
}

Bytes tubeBodyPicture() {
    Canvas canvas(32, 256);
    cairo_t* cr = canvas.cr();
    // v runs from the crimped end (top row) to the nozzle (bottom row).
    setColour(cr, rgb255(240, 242, 248));
    cairo_paint(cr);
    // Ridges pressed into the crimp.
    for (int i = 0; i < 5; ++i) {
        setColour(cr, rgb255(196, 200, 214));
        cairo_rectangle(cr, 0, 4 + i * 6, 32, 2.5);
        cairo_fill(cr);
    }
    // A fine ink line where the crimp meets the body and at the shoulder.
    setColour(cr, mix(look::kInk, look::kPaper, 0.55));
    cairo_rectangle(cr, 0, 36, 32, 2);
    cairo_fill(cr);
    // The neck's thread.
    for (int i = 0; i < 5; ++i) {
        setColour(cr, rgb255(150, 156, 176));
        cairo_rectangle(cr, 0, 222 + i * 6, 32, 3);
        cairo_fill(cr);
        setColour(cr, rgb255(214, 218, 230));
        cairo_rectangle(cr, 0, 225 + i * 6, 32, 3);
        cairo_fill(cr);
    }
    return canvas.png();
}

MeshSpec tubeBody() {
    MeshSpec mesh;
    mesh.textureName = "tubik_picture";
    mesh.material = shinyMaterial(0.55f, 28);
    std::vector<LatheRing> rings = {
        {0.55f, 0.0f, 1, 0.06f, 0.0f},     {0.55f, 0.5f, 1, 0.06f, 0.01f},
        {0.64f, 0.5f, 1, 0.07f, 0.05f},    {0.76f, 0.48f, 1, 0.1f, 0.12f},
        {0.86f, 0.46f, 1, 0.22f, 0.15f},   {1.05f, 0.43f, 1, 0.62f, 0.26f},
        {1.3f, kBodyRadius, 1, 1, 0.38f},  {1.7f, kBodyRadius, 1, 1, 0.55f},
        {2.15f, kBodyRadius, 1, 1, 0.72f}, {2.28f, 0.385f, 1, 1, 0.77f},
        {2.38f, 0.29f, 1, 1, 0.81f},       {2.44f, 0.19f, 1, 1, 0.85f},
        {2.47f, 0.165f, 1, 1, 0.86f},      {2.8f, 0.165f, 1, 1, 0.98f},
        {2.84f, 0.13f, 1, 1, 0.99f},       {2.9f, 0.12f, 1, 1, 0.995f},
        {2.9f, 0.0f, 1, 1, 1.0f},
    };
    addLathe(mesh, rings, kRoundSegments);
    rotateAboutZ(mesh, kCrimpTurn);
    return mesh;
}

// ---- Ribbon -------------------------------------------------------------

Bytes ribbonPicture() {
    Canvas canvas(8, 64);
    cairo_t* cr = canvas.cr();
    setColour(cr, look::kPaper);
    cairo_paint(cr);
    // Darker rims at both edges of the band: tinted, they read as its fold.
    setColour(cr, Colour{0.62, 0.62, 0.66, 1});
    cairo_rectangle(cr, 0, 0, 8, 4);
    cairo_rectangle(cr, 0, 60, 8, 4);
    cairo_fill(cr);
    return canvas.png();
}

MeshSpec ribbon() {
    MeshSpec mesh;
    mesh.textureName = "lenta_picture";
    mesh.material = shinyMaterial(0.35f, 24);
    std::vector<LatheRing> band = {
        {kRibbonStart, 0.0f, 1, 1, 0.0f},
        {kRibbonStart, 0.418f, 1, 1, 0.0f},
        {kRibbonStart + 0.02f, kRibbonRadius, 1, 1, 0.04f},
        {kRibbonEnd - 0.02f, kRibbonRadius, 1, 1, 0.96f},
        {kRibbonEnd, 0.418f, 1, 1, 1.0f},
        {kRibbonEnd, 0.0f, 1, 1, 1.0f},
    };
    addLathe(mesh, band, kRoundSegments);
    // A blob of paint in the open nozzle, in the paint's colour too.
    std::vector<LatheRing> blob = {
        {2.86f, 0.0f, 1, 1, 0.5f}, {2.86f, 0.125f, 1, 1, 0.5f}, {2.94f, 0.135f, 1, 1, 0.5f},
        {3.0f, 0.11f, 1, 1, 0.5f}, {3.03f, 0.065f, 1, 1, 0.5f}, {3.045f, 0.0f, 1, 1, 0.5f},
    };
    addLathe(mesh, blob, 24);
    return mesh;
}

// ---- Number labels ------------------------------------------------------

constexpr int kLabelPixels = 96;
constexpr float kLabelLength = 0.6f;  // along the tube, and as much around it

Bytes labelPicture(char digit) {
    Canvas canvas(kLabelPixels, kLabelPixels);
    cairo_t* cr = canvas.cr();
    const double centre = kLabelPixels / 2.0, radius = centre - 4;
    // The label is about 34 pixels across at 1920x1080.
    const double outline = look::kOutlineScreen * 1080 * kLabelPixels / 34.0;
    cairo_arc(cr, centre, centre, radius - outline / 2, 0, 2 * M_PI);
    setColour(cr, look::kPaper);
    cairo_fill_preserve(cr);
    setColour(cr, look::kInk);
    cairo_set_line_width(cr, outline);
    cairo_stroke(cr);
    const double height = radius * 1.1, scale = height / 1.4;
    cairo_save(cr);
    cairo_translate(cr, centre - scale * 0.5, centre - height / 2);
    cairo_scale(cr, scale, scale);
    glyphPath(cr, digit);
    cairo_restore(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, scale * 0.24);
    setColour(cr, look::kInk);
    cairo_stroke(cr);
    return canvas.png();
}

// A patch of the cylinder just above the ribbon, facing the viewer in colour
// by numbers, so that the label hugs the tube.
MeshSpec labelPatch(const std::string& picture) {
    MeshSpec mesh;
    mesh.textureName = picture;
    mesh.material = shinyMaterial(0.2f, 20, true);
    const float radius = kRibbonRadius + 0.006f;
    const float centreAngle = kLabelFacingDegrees * float(M_PI) / 180;
    const float halfAngle = kLabelLength / 2 / radius;
    const float z0 = (kRibbonStart + kRibbonEnd - kLabelLength) / 2, z1 = z0 + kLabelLength;
    const int across = 8, along = 4;
    auto vertex = [&](int i, int j, float* position, float* normal, float* uv) {
        float t = float(i) / across;  // 0 at the label's top
        float angle = centreAngle - halfAngle + 2 * halfAngle * t;
        float z = z0 + (z1 - z0) * float(j) / along;
        position[0] = radius * std::cos(angle);
        position[1] = radius * std::sin(angle);
        position[2] = z;
        normal[0] = std::cos(angle);
        normal[1] = std::sin(angle);
        normal[2] = 0;
        uv[0] = float(j) / along;
        uv[1] = t;
    };
    for (int i = 0; i < across; ++i) {
        for (int j = 0; j < along; ++j) {
            const int corners[6][2] = {{i, j}, {i + 1, j},     {i + 1, j + 1},
                                       {i, j}, {i + 1, j + 1}, {i, j + 1}};
            for (const auto& corner : corners) {
                float p[3], n[3], uv[2];
                vertex(corner[0], corner[1], p, n, uv);
                mesh.positions.insert(mesh.positions.end(), p, p + 3);
                mesh.normals.insert(mesh.normals.end(), n, n + 3);
                mesh.texCoords.insert(mesh.texCoords.end(), uv, uv + 2);
            }
        }
    }
    return mesh;
}

void addTube(Entries& out) {
    out.push_back({"tubik_no_num", writeModel({tubeBody()})});
    out.push_back({"tubik_picture", tubeBodyPicture()});
    out.push_back({"lenta", writeModel({ribbon()})});
    out.push_back({"lenta_picture", ribbonPicture()});
    for (char digit = '1'; digit <= '9'; ++digit) {
        std::string name = std::string("tubik") + digit;
        std::string picture = name + "_picture";
        out.push_back({name, writeModel({labelPatch(picture)})});
        out.push_back({picture, labelPicture(digit)});
    }
}

// ---- Bubbles ------------------------------------------------------------

// Bubbles face the viewer (their node strips its turns): a disc in the x-y
// plane whose normals lean like a ball's, so that the light's shine sits at
// the top left, where the picture draws the glint.
struct BubbleDesign {
    float radius;
    double rimWidth;    // share of the radius
    double glintAngle;  // degrees of the glint's arc
    bool secondGlint;
};

Bytes bubblePicture(const BubbleDesign& design) {
    const int size = 128;
    Canvas canvas(size, size);
    cairo_t* cr = canvas.cr();
    const double c = size / 2.0, r = c - 2;
    cairo_pattern_t* body = cairo_pattern_create_radial(c, c, 0, c, c, r);
    cairo_pattern_add_color_stop_rgba(body, 0, 1, 1, 1, 0.16);
    cairo_pattern_add_color_stop_rgba(body, 1 - design.rimWidth * 1.6, 1, 1, 1, 0.24);
    cairo_pattern_add_color_stop_rgba(body, 1 - design.rimWidth * 0.4, 1, 1, 1, 0.85);
    cairo_pattern_add_color_stop_rgba(body, 1, 1, 1, 1, 0.0);
    cairo_set_source(cr, body);
    cairo_arc(cr, c, c, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(body);
    // The glint: a curved stroke near the top-left rim.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.95);
    cairo_set_line_width(cr, r * 0.13);
    double middle = 225 * M_PI / 180, half = design.glintAngle * M_PI / 360;
    cairo_arc(cr, c, c, r * 0.7, middle - half, middle + half);
    cairo_stroke(cr);
    if (design.secondGlint) {
        cairo_arc(cr, c + r * 0.38, c + r * 0.38, r * 0.08, 0, 2 * M_PI);
        cairo_fill(cr);
    }
    return canvas.png();
}

MeshSpec bubbleMesh(const std::string& picture, float radius) {
    MeshSpec mesh;
    mesh.textureName = picture;
    // Transparent: celebration bubbles fade out.
    mesh.material = shinyMaterial(0.8f, 40, true);
    const int sides = 32, rings = 4;
    const float glintX = -0.45f * radius, glintY = 0.45f * radius;
    auto vertex = [&](int ring, int side, float* p, float* n, float* uv) {
        float share = float(ring) / rings;
        float outer = radius / std::cos(float(M_PI) / sides);
        float angle = 2 * float(M_PI) * float(side) / sides;
        float x = outer * share * std::cos(angle), y = outer * share * std::sin(angle);
        p[0] = x;
        p[1] = y;
        p[2] = 0;
        Vec3 normal = normalised({(x - glintX) / radius, (y - glintY) / radius, 0.9f});
        n[0] = normal.x;
        n[1] = normal.y;
        n[2] = normal.z;
        uv[0] = 0.5f + x / (2 * radius);
        uv[1] = 0.5f - y / (2 * radius);
    };
    for (int ring = 0; ring < rings; ++ring) {
        for (int side = 0; side < sides; ++side) {
            const int corners[6][2] = {{ring, side}, {ring + 1, side},     {ring + 1, side + 1},
                                       {ring, side}, {ring + 1, side + 1}, {ring, side + 1}};
            for (int k = 0; k < 6; ++k) {
                if (ring == 0 && k == 3)
                    break;  // the centre ring is a point: one triangle a side
                float p[3], n[3], uv[2];
                vertex(corners[k][0], corners[k][1], p, n, uv);
                mesh.positions.insert(mesh.positions.end(), p, p + 3);
                mesh.normals.insert(mesh.normals.end(), n, n + 3);
                mesh.texCoords.insert(mesh.texCoords.end(), uv, uv + 2);
            }
        }
    }
    return mesh;
}

void addBubbles(Entries& out) {
    const BubbleDesign designs[] = {
        {1.0f, 0.10, 70, false}, {1.12f, 0.08, 50, true},  {0.9f, 0.12, 90, false},
        {1.22f, 0.07, 60, true}, {1.05f, 0.14, 40, false},
    };
    for (int i = 0; i < 5; ++i) {
        std::string name = "buble" + std::to_string(i + 1);
        std::string picture = name + "_picture";
        out.push_back({name, writeModel({bubbleMesh(picture, designs[i].radius)})});
        out.push_back({picture, bubblePicture(designs[i])});
    }
}

// ---- Brush --------------------------------------------------------------

// The brush runs along +z from the bristles' tip at the origin (the mouse's
// hotspot); its node turns it so that the handle rises up the screen.
Bytes bristlesPicture() {
    Canvas canvas(64, 64);
    cairo_t* cr = canvas.cr();
    setColour(cr, look::kPaper);
    cairo_paint(cr);
    // Strands along the brush (v), a little darker between them.
    for (int i = 0; i < 16; ++i) {
        setColour(cr, Colour{0.8, 0.8, 0.82, 0.7});
        cairo_rectangle(cr, i * 4 + 1, 0, 1.2, 64);
        cairo_fill(cr);
    }
    return canvas.png();
}

Bytes ferrulePicture() {
    Canvas canvas(16, 64);
    cairo_t* cr = canvas.cr();
    setColour(cr, rgb255(214, 218, 230));
    cairo_paint(cr);
    for (int y : {10, 16, 50}) {
        setColour(cr, rgb255(140, 146, 166));
        cairo_rectangle(cr, 0, y, 16, 3);
        cairo_fill(cr);
    }
    return canvas.png();
}

Bytes handlePicture() {
    Canvas canvas(16, 128);
    cairo_t* cr = canvas.cr();
    setColour(cr, look::kCoral);
    cairo_paint(cr);
    setColour(cr, look::kSun);
    cairo_rectangle(cr, 0, 96, 16, 10);
    cairo_fill(cr);
    return canvas.png();
}

void addBrush(Entries& out) {
    MeshSpec bristles;
    bristles.textureName = "kist_vors_picture";
    bristles.material = shinyMaterial(0.25f, 16);
    addLathe(bristles,
             {{0.0f, 0.0f, 1, 1, 0.0f},
              {0.05f, 0.034f, 1, 1, 0.08f},
              {0.14f, 0.072f, 1, 1, 0.22f},
              {0.28f, 0.104f, 1, 1, 0.45f},
              {0.42f, 0.118f, 1, 1, 0.68f},
              {0.55f, 0.118f, 1, 1, 0.88f},
              {0.62f, 0.11f, 1, 1, 1.0f}},
             24);

    MeshSpec ferrule;
    ferrule.textureName = "kist_metal_picture";
    ferrule.material = shinyMaterial(0.8f, 50);
    addLathe(ferrule,
             {{0.56f, 0.116f, 1, 1, 0.0f},
              {0.6f, 0.13f, 1, 1, 0.1f},
              {0.98f, 0.124f, 1, 1, 0.9f},
              {1.02f, 0.106f, 1, 1, 1.0f}},
             24);

    // A long, slender handle: the brush leans away from the viewer, so it
    // shows shorter than it is.
    MeshSpec handle;
    handle.textureName = "kist_ruchka_picture";
    handle.material = shinyMaterial(0.6f, 40);
    addLathe(handle,
             {{1.01f, 0.098f, 1, 1, 0.0f},
              {1.35f, 0.086f, 1, 1, 0.12f},
              {2.1f, 0.104f, 1, 1, 0.48f},
              {2.65f, 0.09f, 1, 1, 0.74f},
              {2.88f, 0.07f, 1, 1, 0.88f},
              {2.96f, 0.04f, 1, 1, 0.96f},
              {2.98f, 0.0f, 1, 1, 1.0f}},
             24);

    out.push_back({"kist_ruchka", writeModel({ferrule, handle})});
    out.push_back({"kist_vors_color", writeModel({bristles})});
    out.push_back({"kist_vors_picture", bristlesPicture()});
    out.push_back({"kist_metal_picture", ferrulePicture()});
    out.push_back({"kist_ruchka_picture", handlePicture()});
}

}  // namespace

void addPaletteAndBrush(Entries& out) {
    addTube(out);
    addBubbles(out);
    addBrush(out);
}
