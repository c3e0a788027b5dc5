#include "caption_render.h"

#include "caption_table.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>

namespace {

// Units to texels, rounded to whole texels.
constexpr int texels(double units) {
    return int(units * kTexelsPerUnit + 0.5);
}

// The interface's ink, the colour of outlines and marks on every picture.
constexpr double kInkRed = 46 / 255.0, kInkGreen = 50 / 255.0, kInkBlue = 82 / 255.0;
// Anti-aliased edges reach about a texel past the ink rectangle.
constexpr int kEdgeTexels = 1;
constexpr int kLargestBoxTexels = 4096;
constexpr double kLargestFontPixels = 512;

// Positions are in the panel's frame (x right, z up); each box leaves room for
// the widget beside it. Check boxes are about 0.5 units across.
const std::vector<CaptionBox> kBoxes = {
    // Confirmation dialogs: the question above the OK and Cancel buttons (z -1.633).
    {"menu_exit.question", texels(5.6), texels(1.7), 2, 40, 22, false},
    {"menu_clear.question", texels(5.6), texels(1.7), 2, 40, 22, false},
    {"menu_clearall.question", texels(5.6), texels(1.9), 3, 36, 20, false},
    // Text buttons, about 2.4 units wide.
    {"button_ok", texels(2.0), texels(0.6), 1, 34, 18, true, "dialog buttons"},
    {"button_cancel", texels(2.0), texels(0.6), 1, 34, 18, true, "dialog buttons"},
    {"button_close", texels(2.0), texels(0.6), 1, 34, 18, true, "dialog buttons"},
    // Settings: the title along the top, left of the close button (x 3.374);
    // the labels right of the check boxes (x -3.202), left of the about and
    // clear-all buttons (x 2.246); "Language" above the language row (z -2.582).
    {"setup.title", texels(5.8), texels(0.6), 1, 44, 24, true},
    {"setup.numbers", texels(3.9), texels(0.55), 1, 32, 18, false, "setup check boxes", true},
    {"setup.hard", texels(3.9), texels(0.55), 1, 32, 18, false, "setup check boxes", true},
    {"setup.sound", texels(3.9), texels(0.55), 1, 32, 18, false, "setup check boxes", true},
    {"setup.music", texels(3.9), texels(0.55), 1, 32, 18, false, "setup check boxes", true},
    {"setup.language", texels(4.9), texels(0.5), 1, 30, 18, false},
    {"setup_button_about", texels(2.3), texels(0.55), 1, 30, 16, true, "setup buttons"},
    {"setup_button_clearall", texels(2.3), texels(0.55), 1, 30, 16, true, "setup buttons"},
    // Help screen: title, one label under each mode button (4.6 units apart)
    // and the label of the start-up check box (x -4.644).
    {"help.title", texels(6.0), texels(0.7), 1, 48, 26, true},
    {"help.mode_numbers", texels(4.2), texels(0.6), 1, 32, 18, true, "help modes"},
    {"help.mode_hard", texels(4.2), texels(0.6), 1, 32, 18, true, "help modes"},
    {"help.mode_free", texels(4.2), texels(0.6), 1, 32, 18, true, "help modes"},
    {"help.show_at_start", texels(5.0), texels(0.5), 1, 30, 18, false, "", true},
    // The help picture: the main hint, and notes that point at the buttons.
    {"help_bg.intro", texels(10.0), texels(0.9), 2, 36, 20, false},
    {"help_bg.colour", texels(3.2), texels(0.9), 2, 28, 16, false, "help notes"},
    {"help_bg.undo", texels(3.2), texels(0.9), 2, 28, 16, false, "help notes"},
    {"help_bg.clear", texels(3.2), texels(0.9), 2, 28, 16, false, "help notes"},
    {"help_bg.pages", texels(3.2), texels(0.9), 2, 28, 16, false, "help notes"},
    {"help_bg.settings", texels(3.2), texels(0.9), 2, 28, 16, false, "help notes"},
    {"help_bg.quit", texels(3.2), texels(0.9), 2, 28, 16, false, "help notes"},
    // Colours dialog: right of the swatches (x up to -0.9), left of the close
    // button (x 4.3).
    {"text_void.title", texels(4.0), texels(0.7), 1, 36, 20, true},
};

// Part centres. Confirmation dialogs: OK at x -1.323 and Cancel at 1.696, both
// at z -1.633, so the question is centred between them and above. Settings:
// check boxes at x -3.202 (z 2.272 numbers, 1.589 hard, 0.924 sound, 0.292
// music), so their labels start 0.4 to the right. Help: mode buttons at
// x -4.536, 0.095, 4.77 (z -0.028), labels below; the start-up check box at
// (-4.644, -2.319).
const std::vector<CaptionPlacement> kPlacements = {
    {"menu_exit.question", 0.187, 0.5},
    {"menu_clear.question", 0.187, 0.5},
    {"menu_clearall.question", 0.187, 0.55},
    {"setup.title", -0.3, 2.95},
    {"setup.numbers", -3.202 + 0.4 + 3.9 / 2, 2.272},
    {"setup.hard", -3.202 + 0.4 + 3.9 / 2, 1.589},
    {"setup.sound", -3.202 + 0.4 + 3.9 / 2, 0.924},
    {"setup.music", -3.202 + 0.4 + 3.9 / 2, 0.292},
    {"setup.language", 0.061, -1.85},
    {"help.title", 0, 3.0},
    {"help.mode_numbers", -4.536, -1.5},
    {"help.mode_hard", 0.095, -1.5},
    {"help.mode_free", 4.77, -1.5},
    {"help.show_at_start", -4.644 + 0.4 + 5.0 / 2, -2.319},
    {"text_void.title", 1.55, 2.8},
};

// The panels' sizes: the confirmation dialogs' "dialog_background", the
// settings' "menu_dialog", the help screen's "help_dialog" and the colours
// dialog's "colors_dialog". The help picture's notes ("help_bg") are placed
// when the picture they point from is drawn.
const std::vector<CaptionFrame> kFrames = {
    {"menu_exit", 6.4, 5.0}, {"menu_clear", 6.4, 5.0}, {"menu_clearall", 6.4, 5.0},
    {"setup", 9.0, 7.0},     {"help", 14.0, 8.0},      {"text_void", 13.0, 9.0},
};

struct LayoutDeleter {
    void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
using LayoutPointer = std::unique_ptr<PangoLayout, LayoutDeleter>;

// Outlines are not hinted and metrics not rounded, so that a text lays out
// the same at every size and on every machine with the same font.
void setFontOptions(PangoContext* context) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
}

// `wrapWidth` in texels; 0: the box's width less the edges.
LayoutPointer makeLayout(cairo_t* cr, const std::string& text, const CaptionBox& box,
                         double fontPixels, int wrapWidth = 0) {
    LayoutPointer layout(pango_cairo_create_layout(cr));
    setFontOptions(pango_layout_get_context(layout.get()));
    pango_layout_context_changed(layout.get());
    PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans");
    pango_font_description_set_weight(font, box.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_absolute_size(font, fontPixels * PANGO_SCALE);
    pango_layout_set_font_description(layout.get(), font);
    pango_font_description_free(font);
    pango_layout_set_alignment(layout.get(), box.alignLeft ? PANGO_ALIGN_LEFT : PANGO_ALIGN_CENTER);
    if (box.maxLines > 1) {
        if (wrapWidth == 0)
            wrapWidth = box.width - 2 * kEdgeTexels;
        pango_layout_set_width(layout.get(), wrapWidth * PANGO_SCALE);
        pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD);
    }
    pango_layout_set_text(layout.get(), text.data(), int(text.size()));
    return layout;
}

bool isBreakAfter(gunichar c) {
    return g_unichar_isspace(c) && c != 0x00A0 && c != 0x202F;  // no-break spaces
}

// Pango breaks a word that is wider than the line; a caption must not.
bool breaksInsideAWord(PangoLayout* layout, const std::string& text) {
    GSList* lines = pango_layout_get_lines_readonly(layout);
    for (GSList* item = lines ? lines->next : nullptr; item != nullptr; item = item->next) {
        auto* line = static_cast<PangoLayoutLine*>(item->data);
        const char* start = text.data() + line->start_index;
        const char* before = g_utf8_find_prev_char(text.data(), start);
        if (before == nullptr)
            continue;
        gunichar c = g_utf8_get_char(before);
        if (!isBreakAfter(c) && c != '-' && c != 0x2010)
            return true;
    }
    return false;
}

struct Placement {
    bool fits = false;
    std::string problem;
    double offsetX = 0, offsetY = 0;  // of the layout's origin in the box
    int lines = 0;
};

Placement place(PangoLayout* layout, const std::string& text, const CaptionBox& box) {
    Placement placement;
    placement.lines = pango_layout_get_line_count(layout);
    if (pango_layout_get_unknown_glyphs_count(layout) > 0) {
        placement.problem = "the font has no glyph for some of its characters";
        return placement;
    }
    if (placement.lines > box.maxLines) {
        placement.problem = "it needs " + std::to_string(placement.lines) + " lines, the box " +
                            std::to_string(box.maxLines);
        return placement;
    }
    if (breaksInsideAWord(layout, text)) {
        placement.problem = "a word is wider than the box";
        return placement;
    }
    PangoRectangle ink, logical;
    pango_layout_get_extents(layout, &ink, &logical);
    const double scale = PANGO_SCALE;
    // Centre the logical rectangle (the lines with their ascent and descent).
    placement.offsetX = box.alignLeft ? kEdgeTexels - logical.x / scale
                                      : (box.width - logical.width / scale) / 2 - logical.x / scale;
    placement.offsetY = (box.height - logical.height / scale) / 2 - logical.y / scale;
    const double inkLeft = placement.offsetX + ink.x / scale;
    const double inkTop = placement.offsetY + ink.y / scale;
    const double inkRight = inkLeft + ink.width / scale, inkBottom = inkTop + ink.height / scale;
    const bool logicalFits = logical.width / scale <= box.width - 2 * kEdgeTexels &&
                             logical.height / scale <= box.height;
    const bool inkFits = inkLeft >= kEdgeTexels && inkTop >= kEdgeTexels &&
                         inkRight <= box.width - kEdgeTexels &&
                         inkBottom <= box.height - kEdgeTexels;
    if (!logicalFits || !inkFits) {
        placement.problem = "it is wider or taller than the box";
        return placement;
    }
    placement.fits = true;
    return placement;
}

// Cairo keeps premultiplied native-endian ARGB; the archives want straight RGBA.
std::vector<uint8_t> straightRgba(cairo_surface_t* surface, int width, int height) {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t pixel;
            std::memcpy(&pixel, data + size_t(y) * size_t(stride) + size_t(x) * 4, 4);
            const uint32_t alpha = pixel >> 24;
            uint8_t* out = &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4];
            for (int channel = 0; channel < 3; ++channel) {
                uint32_t premultiplied = (pixel >> (16 - 8 * channel)) & 0xFF;
                out[channel] =
                    alpha == 0 ? 0
                               : uint8_t(std::min(255u, (premultiplied * 255 + alpha / 2) / alpha));
            }
            out[3] = uint8_t(alpha);
        }
    }
    return rgba;
}

}  // namespace

const std::vector<CaptionBox>& captionBoxes() {
    return kBoxes;
}

const CaptionBox* captionBoxFor(const std::string& key) {
    for (const CaptionBox& box : kBoxes)
        if (key == box.key)
            return &box;
    return nullptr;
}

std::vector<double> fontSizesToTry(const CaptionBox& box) {
    std::vector<double> sizes;
    for (double size = box.largestFontPixels; size > box.smallestFontPixels; size *= 0.96) {
        const double quarterPixels = std::round(size * 4) / 4;
        if (quarterPixels > box.smallestFontPixels)
            sizes.push_back(quarterPixels);
    }
    sizes.push_back(box.smallestFontPixels);
    return sizes;
}

RenderedCaption renderCaption(const std::string& text, const CaptionBox& box) {
    RenderedCaption result;
    result.width = box.width;
    result.height = box.height;
    // Boxes are written in code, but a wrong one must not become an absurd
    // picture or an endless search.
    if (box.width <= 2 * kEdgeTexels || box.height <= 2 * kEdgeTexels ||
        box.width > kLargestBoxTexels || box.height > kLargestBoxTexels || box.maxLines < 1 ||
        !(box.smallestFontPixels > 0) || !(box.largestFontPixels <= kLargestFontPixels) ||
        box.largestFontPixels < box.smallestFontPixels) {
        result.problem = "the box is empty or too large, or its font sizes are wrong";
        return result;
    }
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, box.width, box.height);
    cairo_t* cr = cairo_create(surface);
    for (double fontPixels : fontSizesToTry(box)) {
        LayoutPointer layout = makeLayout(cr, text, box, fontPixels);
        Placement placement = place(layout.get(), text, box);
        result.fontPixels = fontPixels;
        result.lines = placement.lines;
        if (!placement.fits) {
            result.problem = placement.problem;
            continue;
        }
        if (placement.lines > 1) {
            // The narrowest wrap width that keeps the lines, by halving.
            int tooNarrow = 0, wide = box.width - 2 * kEdgeTexels;
            while (wide - tooNarrow > 1) {
                int middle = (tooNarrow + wide) / 2;
                LayoutPointer narrower = makeLayout(cr, text, box, fontPixels, middle);
                Placement trial = place(narrower.get(), text, box);
                if (trial.fits && trial.lines == placement.lines)
                    wide = middle;
                else
                    tooNarrow = middle;
            }
            layout = makeLayout(cr, text, box, fontPixels, wide);
            placement = place(layout.get(), text, box);
        }
        cairo_set_source_rgb(cr, kInkRed, kInkGreen, kInkBlue);
        cairo_move_to(cr, placement.offsetX, placement.offsetY);
        pango_cairo_show_layout(cr, layout.get());
        result.fits = true;
        result.problem.clear();
        result.rgba = straightRgba(surface, box.width, box.height);
        break;
    }
    if (!result.fits)
        result.problem = "does not fit " + std::to_string(box.width) + " x " +
                         std::to_string(box.height) + " texels even at " +
                         std::to_string(int(result.fontPixels)) + " px: " + result.problem;
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return result;
}

std::string captionFontFamily() {
    PangoFontMap* fonts = pango_cairo_font_map_get_default();  // owned by Pango
    PangoContext* context = pango_font_map_create_context(fonts);
    PangoFontDescription* wanted = pango_font_description_from_string("DejaVu Sans 20px");
    PangoFont* font = pango_context_load_font(context, wanted);
    std::string family;
    if (font != nullptr) {
        PangoFontDescription* loaded = pango_font_describe(font);
        const char* name = pango_font_description_get_family(loaded);
        family = name != nullptr ? name : "";
        pango_font_description_free(loaded);
        g_object_unref(font);
    }
    pango_font_description_free(wanted);
    g_object_unref(context);
    return family;
}

bool everyBoxHasARow(const CaptionTable& table, std::vector<std::string>& problems) {
    bool allFound = true;
    for (const CaptionBox& box : kBoxes)
        if (table.find(box.key) == nullptr) {
            problems.push_back(std::string("captions table: no row for the caption '") + box.key +
                               "'");
            allFound = false;
        }
    return allFound;
}

bool renderLanguage(const CaptionTable& table, int language, std::vector<CaptionPicture>& pictures,
                    std::vector<std::string>& problems) {
    pictures.clear();
    const size_t problemsBefore = problems.size();
    const std::string languageName = std::string(kLanguageNames[size_t(language)]) + " (" +
                                     kLanguageCodes[size_t(language)] + ")";
    // First each part alone; then the parts of a group again at the group's size.
    std::map<std::string, double> groupSizes;
    for (const CaptionRow& row : table.rows) {
        const CaptionBox* box = captionBoxFor(row.key);
        if (box == nullptr) {
            problems.push_back("captions table, line " + std::to_string(row.line) + ": key '" +
                               row.key + "' has no caption box");
            continue;
        }
        RenderedCaption caption = renderCaption(row.texts[size_t(language)], *box);
        if (!caption.fits) {
            problems.push_back("captions table, line " + std::to_string(row.line) + ": key '" +
                               row.key + "' in " + languageName + " " + caption.problem);
            continue;
        }
        const std::string group = box->group;
        if (!group.empty()) {
            auto found = groupSizes.find(group);
            groupSizes[group] = found == groupSizes.end()
                                    ? caption.fontPixels
                                    : std::min(found->second, caption.fontPixels);
        }
        pictures.push_back({row.key, std::move(caption)});
    }
    for (CaptionPicture& picture : pictures) {
        CaptionBox box = *captionBoxFor(picture.key);
        const std::string group = box.group;
        if (group.empty() || groupSizes[group] == picture.caption.fontPixels)
            continue;
        box.largestFontPixels = groupSizes[group];
        picture.caption = renderCaption(table.find(picture.key)->texts[size_t(language)], box);
        if (!picture.caption.fits)  // a larger size fitted, so a smaller one fits too
            problems.push_back("key '" + picture.key + "' in " + languageName + " " +
                               picture.caption.problem);
    }
    return problems.size() == problemsBefore;
}

const std::vector<CaptionPlacement>& captionPlacements() {
    return kPlacements;
}

const std::vector<CaptionFrame>& captionFrames() {
    return kFrames;
}

bool composePictures(const std::vector<CaptionPicture>& parts,
                     std::vector<ComposedPicture>& pictures, std::vector<std::string>& problems) {
    pictures.clear();
    const size_t problemsBefore = problems.size();
    for (const CaptionPicture& part : parts) {
        if (!part.caption.fits)
            continue;
        const std::string pictureName = pictureOfKey(part.key);
        const CaptionFrame* frame = nullptr;
        for (const CaptionFrame& candidate : kFrames)
            if (pictureName == candidate.picture)
                frame = &candidate;
        if (frame == nullptr) {  // a picture of one part
            pictures.push_back(
                {part.key, part.caption.width, part.caption.height, part.caption.rgba});
            continue;
        }
        const CaptionPlacement* placement = nullptr;
        for (const CaptionPlacement& candidate : kPlacements)
            if (part.key == candidate.key)
                placement = &candidate;
        if (placement == nullptr) {
            problems.push_back("caption part '" + part.key + "' has no place on its picture");
            continue;
        }
        ComposedPicture* picture = nullptr;
        for (ComposedPicture& made : pictures)
            if (made.picture == pictureName)
                picture = &made;
        if (picture == nullptr) {
            pictures.push_back({pictureName, texels(frame->width), texels(frame->height), {}});
            picture = &pictures.back();
            picture->rgba.assign(size_t(picture->width) * size_t(picture->height) * 4, 0);
        }
        const int width = part.caption.width, height = part.caption.height;
        const int left = int(
            std::lround((placement->centreX + frame->width / 2) * kTexelsPerUnit - width / 2.0));
        const int top = int(
            std::lround((frame->height / 2 - placement->centreZ) * kTexelsPerUnit - height / 2.0));
        if (left < 0 || top < 0 || left + width > picture->width ||
            top + height > picture->height) {
            problems.push_back("caption part '" + part.key + "' leaves its picture's frame");
            continue;
        }
        // Parts do not overlap (the tests check), so copying is compositing.
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint8_t* from =
                    &part.caption.rgba[(size_t(y) * size_t(width) + size_t(x)) * 4];
                if (from[3] == 0)
                    continue;
                uint8_t* to =
                    &picture
                         ->rgba[(size_t(top + y) * size_t(picture->width) + size_t(left + x)) * 4];
                std::memcpy(to, from, 4);
            }
    }
    return problems.size() == problemsBefore;
}
