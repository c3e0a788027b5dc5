// The background with its paper sheet, and the game-screen buttons.

#include "canvas.h"
#include "interface_art.h"
#include "mesh_builder.h"

#include <cmath>
#include <functional>
#include <string>

namespace {

// ---- Background ---------------------------------------------------------

// The background lies 200 units in front of the eye (model y = 100 under the
// node's -90 degree turn). Its picture is laid out in view slopes: a = x / depth
// and b = y / depth, which every depth shares, so that things drawn on it sit
// behind things placed at other depths.
constexpr float kBackgroundModelY = 100;
constexpr float kBackgroundDepth = 100 + kBackgroundModelY;
// Half the view's width per depth at 21:9 (0.41421 x 7 / 3 = 0.9665) with room
// to spare; the height follows from the picture's proportions.
constexpr double kHalfSlopeX = 0.9858;
constexpr int kBackgroundWidth = 2560, kBackgroundHeight = 1096;
constexpr double kHalfSlopeY = kHalfSlopeX * kBackgroundHeight / kBackgroundWidth;
// Screen height in background pixels, for the shared outline and corner sizes.
constexpr double kScreenPixels = 2 * 0.41421 * kBackgroundHeight / (2 * kHalfSlopeY);

// The picture box: 28 x 30 units from the picture group's origin at
// (-11.716, -14.607) 48.879 in front of the eye.
constexpr double kPictureDepth = 48.879;
constexpr double kBoxLeft = -11.716 / kPictureDepth, kBoxRight = (-11.716 + 28) / kPictureDepth;
constexpr double kBoxBottom = -14.607 / kPictureDepth, kBoxTop = (-14.607 + 30) / kPictureDepth;

double pixelX(double a) {
    return (a + kHalfSlopeX) / (2 * kHalfSlopeX) * kBackgroundWidth;
}
double pixelY(double b) {
    return (kHalfSlopeY - b) / (2 * kHalfSlopeY) * kBackgroundHeight;
}
double pixelsPerSlope() {
    return kBackgroundWidth / (2 * kHalfSlopeX);
}

void slopeRectangle(cairo_t* cr, double left, double bottom, double right, double top,
                    double radius) {
    roundedRectangle(cr, pixelX(left), pixelY(top), pixelX(right) - pixelX(left),
                     pixelY(bottom) - pixelY(top), radius);
}

void drawBackdrop(cairo_t* cr) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, kBackgroundHeight);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.80, 0.90, 0.98);
    cairo_pattern_add_color_stop_rgb(sky, 0.55, 0.90, 0.91, 0.97);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.98, 0.91, 0.86);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);

    // Soft confetti of paint dots, placed by a fixed little generator so that
    // the picture is the same on every build.
    const Colour dots[] = {look::kCoral, look::kSun,   look::kMint,
                           look::kSky,   look::kGrape, look::kTangerine};
    uint32_t seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return double((seed >> 8) & 0xffff) / 65535.0;
    };
    for (int i = 0; i < 70; ++i) {
        double a = (next() * 2 - 1) * kHalfSlopeX, b = (next() * 2 - 1) * kHalfSlopeY;
        double radius = (0.012 + next() * 0.03) * pixelsPerSlope();
        Colour c = dots[i % 6];
        c.alpha = 0.10 + next() * 0.08;
        setColour(cr, c);
        cairo_arc(cr, pixelX(a), pixelY(b), radius, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

// A frosted tray behind the paint tubes; both palette layouts fit on it.
void drawTray(cairo_t* cr) {
    double corner = look::kCornerScreen * kScreenPixels;
    slopeRectangle(cr, -0.492, -0.292, -0.278, 0.338, corner);
    softShadow(cr, 0.004 * pixelsPerSlope(), 0.006 * pixelsPerSlope(), 0.008 * pixelsPerSlope(),
               0.22);
    setColour(cr, Colour{1, 1, 1, 0.55});
    cairo_fill_preserve(cr);
    setColour(cr, Colour{look::kInk.red, look::kInk.green, look::kInk.blue, 0.25});
    cairo_set_line_width(cr, look::kOutlineScreen * kScreenPixels);
    cairo_stroke(cr);
}

// The white sheet that shows through every unpainted region: the picture box
// with a narrow margin, as a page on the desk.
void drawSheet(cairo_t* cr) {
    const double margin = 0.45 / kPictureDepth;
    const double corner = 0.3 * look::kCornerScreen * kScreenPixels;
    slopeRectangle(cr, kBoxLeft - margin, kBoxBottom - margin, kBoxRight + margin, kBoxTop + margin,
                   corner);
    softShadow(cr, 0.005 * pixelsPerSlope(), 0.008 * pixelsPerSlope(), 0.01 * pixelsPerSlope(),
               0.3);
    setColour(cr, look::kPaper);
    cairo_fill(cr);
}

MeshSpec backgroundMesh() {
    float halfWidth = float(kHalfSlopeX * kBackgroundDepth);
    float halfHeight = float(kHalfSlopeY * kBackgroundDepth);
    return pictureQuad("fon_picture", -halfWidth, -halfHeight, halfWidth, halfHeight,
                       kBackgroundModelY, false);
}

void addBackground(Entries& out) {
    Canvas canvas(kBackgroundWidth, kBackgroundHeight);
    drawBackdrop(canvas.cr());
    drawTray(canvas.cr());
    drawSheet(canvas.cr());
    out.push_back({"fon", writeModel({backgroundMesh()})});
    out.push_back({"fon_picture", canvas.png()});
}

// ---- Buttons ------------------------------------------------------------

// Buttons sit 39 units in front of the eye: a round button 1.6 across, its
// shadow inside a polygon of radius 0.9 that is also its clickable area.
constexpr float kButtonRadius = 0.9f;
constexpr double kDiscShare = 0.8 / 0.9;  // the disc's radius within the picture
constexpr int kButtonPixels = 160;
constexpr double kButtonScreenPixels = kButtonPixels / (2 * kButtonRadius) * 2 * 16.154;

using IconPainter = std::function<void(cairo_t*)>;

// Icons are drawn in a box from -1 to 1 (y down) and filled or stroked by the
// caller's colour; `strokeWidth` is in those units.
constexpr double kIconStroke = 0.3;

void iconClose(cairo_t* cr) {
    cairo_set_line_width(cr, kIconStroke);
    cairo_move_to(cr, -0.48, -0.48);
    cairo_line_to(cr, 0.48, 0.48);
    cairo_move_to(cr, 0.48, -0.48);
    cairo_line_to(cr, -0.48, 0.48);
    cairo_stroke(cr);
}

void iconHelp(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, -0.42, -0.62);
    cairo_scale(cr, 0.86, 0.86);
    glyphPath(cr, '?');
    cairo_restore(cr);
    cairo_set_line_width(cr, kIconStroke * 1.05);
    cairo_stroke(cr);
}

void iconSettings(cairo_t* cr) {
    const int teeth = 8;
    cairo_new_path(cr);
    for (int i = 0; i < teeth * 4; ++i) {
        double angle = (i - 0.5) * M_PI / (teeth * 2);
        int phase = i % 4;
        double radius = (phase == 1 || phase == 2) ? 0.72 : 0.52;
        double x = radius * std::cos(angle), y = radius * std::sin(angle);
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, 0, 0, 0.22, 2 * M_PI, 0);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_set_line_width(cr, 0.08);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
}

void arrowPath(cairo_t* cr, double direction) {
    cairo_move_to(cr, -0.55 * direction, -0.17);
    cairo_line_to(cr, 0.02 * direction, -0.17);
    cairo_line_to(cr, 0.02 * direction, -0.52);
    cairo_line_to(cr, 0.6 * direction, 0);
    cairo_line_to(cr, 0.02 * direction, 0.52);
    cairo_line_to(cr, 0.02 * direction, 0.17);
    cairo_line_to(cr, -0.55 * direction, 0.17);
    cairo_close_path(cr);
    cairo_set_line_width(cr, 0.12);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
}

void iconLeft(cairo_t* cr) {
    arrowPath(cr, -1);
}
void iconRight(cairo_t* cr) {
    arrowPath(cr, 1);
}

// An artist's palette with three dabs of paint.
void iconColour(cairo_t* cr) {
    cairo_new_path(cr);
    cairo_move_to(cr, 0.05, -0.62);
    cairo_curve_to(cr, 0.55, -0.62, 0.78, -0.25, 0.72, 0.1);
    cairo_curve_to(cr, 0.66, 0.42, 0.32, 0.3, 0.22, 0.5);
    cairo_curve_to(cr, 0.12, 0.7, -0.12, 0.68, -0.36, 0.56);
    cairo_curve_to(cr, -0.74, 0.36, -0.78, -0.12, -0.56, -0.38);
    cairo_curve_to(cr, -0.42, -0.54, -0.2, -0.62, 0.05, -0.62);
    cairo_close_path(cr);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, 0.32, 0.08, 0.11, 2 * M_PI, 0);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_set_line_width(cr, 0.08);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    const Colour dabs[] = {look::kCoral, look::kSun, look::kSky, look::kMint};
    const double places[][2] = {{-0.38, -0.12}, {-0.12, -0.38}, {0.24, -0.32}, {-0.3, 0.3}};
    for (int i = 0; i < 4; ++i) {
        setColour(cr, dabs[i]);
        cairo_arc(cr, places[i][0], places[i][1], 0.13, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

// A paint drop inside a circling arrow: the paints go back to how they were.
void iconReset(cairo_t* cr) {
    cairo_set_line_width(cr, kIconStroke * 0.8);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 0.6, -M_PI * 0.35, M_PI * 1.45);
    cairo_stroke(cr);
    // Arrow head at the start of the arc, pointing along it.
    double angle = -M_PI * 0.35;
    double x = 0.6 * std::cos(angle), y = 0.6 * std::sin(angle);
    cairo_move_to(cr, x + 0.3, y - 0.05);
    cairo_line_to(cr, x - 0.08, y - 0.3);
    cairo_line_to(cr, x - 0.06, y + 0.16);
    cairo_close_path(cr);
    cairo_set_line_width(cr, 0.08);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    cairo_move_to(cr, 0, -0.3);
    cairo_curve_to(cr, 0.12, -0.12, 0.22, 0.0, 0.22, 0.1);
    cairo_arc(cr, 0, 0.1, 0.22, 0, M_PI);
    cairo_curve_to(cr, -0.22, 0.0, -0.12, -0.12, 0, -0.3);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// A hooked arrow turning back to the left: take the last fill back.
void iconUndo(cairo_t* cr) {
    cairo_set_line_width(cr, kIconStroke);
    cairo_new_path(cr);
    cairo_move_to(cr, -0.2, -0.22);
    cairo_line_to(cr, 0.18, -0.22);
    cairo_arc(cr, 0.18, 0.12, 0.34, -M_PI / 2, M_PI / 2);
    cairo_line_to(cr, -0.25, 0.46);
    cairo_stroke(cr);
    cairo_move_to(cr, -0.66, -0.22);
    cairo_line_to(cr, -0.16, -0.6);
    cairo_line_to(cr, -0.16, 0.16);
    cairo_close_path(cr);
    cairo_set_line_width(cr, 0.1);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
}

// An eraser rubbing out a line: clear the page.
void iconClear(cairo_t* cr, Colour button) {
    cairo_save(cr);
    cairo_rotate(cr, -M_PI / 4);
    roundedRectangle(cr, -0.62, -0.3, 1.24, 0.6, 0.14);
    cairo_set_line_width(cr, 0.08);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    // The band that shows which end rubs.
    setColour(cr, darker(button, 0.15));
    cairo_rectangle(cr, -0.1, -0.3, 0.14, 0.6);
    cairo_fill(cr);
    cairo_restore(cr);
    setColour(cr, look::kPaper);
    cairo_set_line_width(cr, 0.1);
    cairo_move_to(cr, -0.72, 0.72);
    cairo_line_to(cr, -0.1, 0.72);
    cairo_stroke(cr);
}

Bytes buttonPicture(Colour colour, const IconPainter& icon) {
    Canvas canvas(kButtonPixels, kButtonPixels);
    cairo_t* cr = canvas.cr();
    const double centre = kButtonPixels / 2.0;
    const double radius = centre * kDiscShare;
    const double outline = look::kOutlineScreen * kButtonScreenPixels;
    const double lift = radius * 0.06;  // shadow offset: light from the top left

    cairo_arc(cr, centre + lift * 0.6, centre + lift, radius, 0, 2 * M_PI);
    softShadow(cr, 0, 0, lift * 0.9, 0.32);
    cairo_new_path(cr);

    cairo_arc(cr, centre, centre, radius, 0, 2 * M_PI);
    cairo_pattern_t* shade = cairo_pattern_create_radial(
        centre - radius * 0.35, centre - radius * 0.4, radius * 0.1, centre, centre, radius);
    Colour light = lighter(colour, 0.3), dark = darker(colour, 0.12);
    cairo_pattern_add_color_stop_rgb(shade, 0, light.red, light.green, light.blue);
    cairo_pattern_add_color_stop_rgb(shade, 0.7, colour.red, colour.green, colour.blue);
    cairo_pattern_add_color_stop_rgb(shade, 1, dark.red, dark.green, dark.blue);
    cairo_set_source(cr, shade);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(shade);
    setColour(cr, look::kInk);
    cairo_set_line_width(cr, outline);
    cairo_stroke(cr);

    // A soft gloss across the top half.
    cairo_save(cr);
    cairo_translate(cr, centre, centre - radius * 0.42);
    cairo_scale(cr, radius * 0.62, radius * 0.36);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* gloss =
        cairo_pattern_create_linear(0, centre - radius * 0.8, 0, centre - radius * 0.1);
    cairo_pattern_add_color_stop_rgba(gloss, 0, 1, 1, 1, 0.45);
    cairo_pattern_add_color_stop_rgba(gloss, 1, 1, 1, 1, 0);
    cairo_set_source(cr, gloss);
    cairo_fill(cr);
    cairo_pattern_destroy(gloss);

    // The icon in white over a shadow in the button's own darker shade.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    const double iconScale = radius * 0.68;
    for (int pass = 0; pass < 2; ++pass) {
        cairo_save(cr);
        double offset = pass == 0 ? radius * 0.05 : 0;
        cairo_translate(cr, centre + offset * 0.6, centre + offset);
        cairo_scale(cr, iconScale, iconScale);
        setColour(cr, pass == 0 ? darker(colour, 0.35) : look::kPaper);
        if (pass == 0) {
            // The shadow is one flat colour: draw the icon into a group and
            // paint the group's shape in that colour.
            cairo_push_group(cr);
            icon(cr);
            cairo_pattern_t* shape = cairo_pop_group(cr);
            setColour(cr, darker(colour, 0.35));
            cairo_mask(cr, shape);
            cairo_pattern_destroy(shape);
        } else {
            icon(cr);
        }
        cairo_restore(cr);
    }
    return canvas.png();
}

struct ButtonDesign {
    const char* name;
    Colour colour;
    IconPainter icon;
    float centreX;  // where the model puts the button from its node's origin
};

void addButtons(Entries& out) {
    // The two arrows share one node position; their models place them apart.
    const float arrowOffset = 1.0f;
    const ButtonDesign buttons[] = {
        {"knopka_close", look::kCoral, iconClose, 0},
        {"knopka_help", look::kSun, iconHelp, 0},
        {"knopka_menu", look::kMint, iconSettings, 0},
        {"knopka_left", look::kSky, iconLeft, -arrowOffset},
        {"knopka_right", look::kSky, iconRight, arrowOffset},
        {"knopka_color", look::kGrape, iconColour, 0},
        {"knopka_reset", look::kTangerine, iconReset, 0},
        {"knopka_back", look::kTeal, iconUndo, 0},
        {"knopka_clear", rgb255(236, 94, 160),
         [](cairo_t* cr) { iconClear(cr, rgb255(236, 94, 160)); }, 0},
    };
    for (const ButtonDesign& button : buttons) {
        std::string picture = std::string(button.name) + "_picture";
        // Transparent: the help screen fades copies of these buttons in and out.
        MeshSpec disc = pictureDisc(picture, button.centreX, 0, kButtonRadius, 0, 40, true);
        out.push_back({button.name, writeModel({disc})});
        out.push_back({picture, buttonPicture(button.colour, button.icon)});
    }
}

}  // namespace

void addGameScreen(Entries& out) {
    addBackground(out);
    addButtons(out);
    // Free colouring shows the outlines over the page and no numbers: the
    // overlay stays empty, so nothing covers the player's colours.
    out.push_back({"list_nums_nodigits", writeModel({})});
}
