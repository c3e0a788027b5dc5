// Checks the interface-text table and the caption renderer: the table parses,
// every caption the dialogs show has its texts in all five languages, every
// text fits its box in every language without clipping, and a broken table or
// a text that cannot fit is reported by key and language.

#include "caption_render.h"
#include "caption_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

CaptionTable loadTable() {
    CaptionTable table;
    std::string error;
    EXPECT_TRUE(readCaptionTable(NIMBLETINT_CAPTIONS_TABLE, table, error)) << error;
    return table;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

const std::string kHeader = "key\ten\tde\tes\tru\tfr\tcomment\n";

TEST(CaptionTable, ParsesAndCoversEveryCaptionPicture) {
    CaptionTable table = loadTable();
    ASSERT_FALSE(table.rows.empty());
    std::set<std::string> pictures;
    for (const CaptionRow& row : table.rows) {
        pictures.insert(pictureOfKey(row.key));
        for (int language = 0; language < kLanguageCount; ++language)
            EXPECT_FALSE(row.texts[size_t(language)].empty())
                << row.key << " " << kLanguageCodes[size_t(language)];
    }
    for (const char* picture :
         {"menu_exit", "menu_clear", "menu_clearall", "button_ok", "button_cancel", "setup",
          "setup_button_about", "setup_button_clearall", "help", "help_bg", "text_void",
          "button_close"})
        EXPECT_EQ(pictures.count(picture), 1u) << picture;
    // The settings caption labels its four check boxes.
    for (const char* label : {"setup.sound", "setup.music", "setup.numbers", "setup.hard"})
        EXPECT_NE(table.find(label), nullptr) << label;
}

TEST(CaptionTable, EveryRowHasABoxAndEveryBoxARow) {
    CaptionTable table = loadTable();
    for (const CaptionRow& row : table.rows)
        EXPECT_NE(captionBoxFor(row.key), nullptr) << row.key;
    for (const CaptionBox& box : captionBoxes())
        EXPECT_NE(table.find(box.key), nullptr) << box.key;
}

// The translations differ from English where a language has its own word; a
// row copied and left untranslated shows up here.
TEST(CaptionTable, TextsAreTranslated) {
    CaptionTable table = loadTable();
    for (const CaptionRow& row : table.rows) {
        if (row.key == "button_ok")  // "OK" is the word in several languages
            continue;
        EXPECT_NE(row.texts[1], row.texts[0]) << row.key << " de";
        EXPECT_NE(row.texts[3], row.texts[0]) << row.key << " ru";
    }
}

TEST(CaptionRender, TheFontIsDejaVuSans) {
    EXPECT_EQ(captionFontFamily(), "DejaVu Sans");
}

TEST(CaptionRender, EveryCaptionFitsItsBoxInEveryLanguage) {
    CaptionTable table = loadTable();
    std::vector<std::string> problems;
    EXPECT_TRUE(everyBoxHasARow(table, problems));
    for (int language = 0; language < kLanguageCount; ++language) {
        const char* code = kLanguageCodes[size_t(language)];
        std::vector<CaptionPicture> pictures;
        EXPECT_TRUE(renderLanguage(table, language, pictures, problems)) << code;
        for (const std::string& problem : problems)
            ADD_FAILURE() << problem;
        problems.clear();
        ASSERT_EQ(pictures.size(), table.rows.size()) << code;
        std::map<std::string, double> groupSizes;
        for (const CaptionPicture& picture : pictures) {
            const std::string where = picture.key + " " + code;
            const CaptionBox* box = captionBoxFor(picture.key);
            const RenderedCaption& caption = picture.caption;
            ASSERT_TRUE(caption.fits) << where << ": " << caption.problem;
            ASSERT_EQ(caption.rgba.size(), size_t(box->width) * size_t(box->height) * 4);
            EXPECT_GE(caption.fontPixels, box->smallestFontPixels) << where;
            EXPECT_LE(caption.fontPixels, box->largestFontPixels) << where;
            EXPECT_LE(caption.lines, box->maxLines) << where;
            if (*box->group != 0) {
                auto inserted = groupSizes.emplace(box->group, caption.fontPixels);
                EXPECT_EQ(inserted.first->second, caption.fontPixels)
                    << where << " has another size than its group " << box->group;
            }
            // Ink inside, and the outermost texels untouched: nothing was cut off.
            bool inked = false, edgeTouched = false;
            for (int y = 0; y < box->height; ++y)
                for (int x = 0; x < box->width; ++x) {
                    uint8_t alpha =
                        caption.rgba[(size_t(y) * size_t(box->width) + size_t(x)) * 4 + 3];
                    inked |= alpha > 0;
                    bool edge = x == 0 || y == 0 || x == box->width - 1 || y == box->height - 1;
                    edgeTouched |= edge && alpha > 0;
                }
            EXPECT_TRUE(inked) << where;
            EXPECT_FALSE(edgeTouched) << where;
        }
    }
}

struct UnitRectangle {
    double left, right, bottom, top;
};

// Each part of a picture that covers its panel has a place inside the panel,
// clear of every other part, so that composing never hides or cuts a text.
TEST(CaptionPictures, PartsLieInsideTheirFrameAndApart) {
    CaptionTable table = loadTable();
    for (const CaptionFrame& frame : captionFrames()) {
        std::vector<std::pair<std::string, UnitRectangle>> placed;
        for (const CaptionRow& row : table.rows) {
            if (pictureOfKey(row.key) != frame.picture)
                continue;
            const CaptionPlacement* placement = nullptr;
            for (const CaptionPlacement& candidate : captionPlacements())
                if (row.key == candidate.key)
                    placement = &candidate;
            ASSERT_NE(placement, nullptr) << row.key;
            const CaptionBox* box = captionBoxFor(row.key);
            ASSERT_NE(box, nullptr) << row.key;
            const double halfWidth = box->width / kTexelsPerUnit / 2;
            const double halfHeight = box->height / kTexelsPerUnit / 2;
            UnitRectangle rectangle = {
                placement->centreX - halfWidth, placement->centreX + halfWidth,
                placement->centreZ - halfHeight, placement->centreZ + halfHeight};
            EXPECT_GE(rectangle.left, -frame.width / 2) << row.key;
            EXPECT_LE(rectangle.right, frame.width / 2) << row.key;
            EXPECT_GE(rectangle.bottom, -frame.height / 2) << row.key;
            EXPECT_LE(rectangle.top, frame.height / 2) << row.key;
            for (const auto& [otherKey, other] : placed) {
                const bool apart = rectangle.right <= other.left || other.right <= rectangle.left ||
                                   rectangle.top <= other.bottom || other.top <= rectangle.bottom;
                EXPECT_TRUE(apart) << row.key << " overlaps " << otherKey;
            }
            placed.push_back({row.key, rectangle});
        }
        EXPECT_FALSE(placed.empty()) << frame.picture;
    }
}

TEST(CaptionPictures, ComposingGivesEveryPictureTheDialogsShow) {
    CaptionTable table = loadTable();
    std::vector<CaptionPicture> parts;
    std::vector<std::string> problems;
    ASSERT_TRUE(renderLanguage(table, 3, parts, problems));
    std::vector<ComposedPicture> pictures;
    EXPECT_TRUE(composePictures(parts, pictures, problems));
    for (const std::string& problem : problems)
        ADD_FAILURE() << problem;
    std::map<std::string, const ComposedPicture*> byName;
    for (const ComposedPicture& picture : pictures) {
        EXPECT_EQ(picture.rgba.size(), size_t(picture.width) * size_t(picture.height) * 4);
        byName[picture.picture] = &picture;
    }
    for (const char* name :
         {"menu_exit", "menu_clear", "menu_clearall", "button_ok", "button_cancel", "setup",
          "setup_button_about", "setup_button_clearall", "help", "text_void", "button_close"})
        EXPECT_EQ(byName.count(name), 1u) << name;
    // The settings picture is the size of its panel, with ink from its parts.
    ASSERT_EQ(byName.count("setup"), 1u);
    const ComposedPicture& setup = *byName["setup"];
    EXPECT_EQ(setup.width, int(9.0 * kTexelsPerUnit + 0.5));
    size_t inked = 0;
    for (size_t i = 3; i < setup.rgba.size(); i += 4)
        inked += setup.rgba[i] > 0;
    EXPECT_GT(inked, 1000u);
}

TEST(CaptionPictures, APartWithoutAPlaceIsReported) {
    CaptionPicture stray;
    stray.key = "setup.colour";
    stray.caption = renderCaption("Colour", *captionBoxFor("setup.music"));
    ASSERT_TRUE(stray.caption.fits);
    std::vector<ComposedPicture> pictures;
    std::vector<std::string> problems;
    EXPECT_FALSE(composePictures({stray}, pictures, problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_TRUE(contains(problems[0], "'setup.colour'")) << problems[0];
}

// Wrapped lines are balanced: the second line of a two-line text is not a
// lonely word, it has about as much as the first.
TEST(CaptionRender, WrappedLinesAreBalanced) {
    const CaptionBox box = {"test", 400, 100, 2, 30, 30, false};
    RenderedCaption caption = renderCaption("Pick a paint tube, then click the spaces.", box);
    ASSERT_TRUE(caption.fits) << caption.problem;
    ASSERT_EQ(caption.lines, 2);
    // Ink columns of the upper and the lower half.
    auto inkWidth = [&](int top, int bottom) {
        int left = box.width, right = -1;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < box.width; ++x)
                if (caption.rgba[(size_t(y) * size_t(box.width) + size_t(x)) * 4 + 3] > 0) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        return right - left;
    };
    int upper = inkWidth(0, box.height / 2), lower = inkWidth(box.height / 2, box.height);
    EXPECT_GT(lower, upper * 2 / 3) << upper << " " << lower;
}

TEST(CaptionRender, ARowWithoutABoxIsReported) {
    CaptionTable table;
    std::string error;
    ASSERT_TRUE(parseCaptionTable(
        kHeader + "setup.colour\tColour\tFarbe\tColor\tЦвет\tCouleur\tx\n", table, error))
        << error;
    std::vector<CaptionPicture> pictures;
    std::vector<std::string> problems;
    EXPECT_FALSE(renderLanguage(table, 3, pictures, problems));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_TRUE(contains(problems[0], "'setup.colour'")) << problems[0];
    problems.clear();
    EXPECT_FALSE(everyBoxHasARow(table, problems));
    EXPECT_FALSE(problems.empty());
}

TEST(CaptionRender, LongerTextsGetASmallerFont) {
    const CaptionBox box = {"test", 300, 50, 1, 40, 12, false};
    RenderedCaption shortText = renderCaption("Music", box);
    RenderedCaption longText = renderCaption("Раскраска по номерам и музыка", box);
    ASSERT_TRUE(shortText.fits) << shortText.problem;
    ASSERT_TRUE(longText.fits) << longText.problem;
    EXPECT_EQ(shortText.fontPixels, 40);
    EXPECT_LT(longText.fontPixels, 40);
}

struct UnfittingCase {
    const char* name;
    const char* text;
    CaptionBox box;
    const char* reason;  // part of the problem's message
};

TEST(CaptionRender, ReportsATextThatCannotFit) {
    const UnfittingCase cases[] = {
        {"too long for one line",
         "Do you really want to quit the game now?",
         {"test", 120, 40, 1, 30, 20, false},
         "wider or taller"},
        {"too many lines",
         "one two three four five six seven eight nine ten eleven twelve",
         {"test", 120, 60, 2, 30, 20, false},
         "lines"},
        // Pango lets the word overflow or breaks it in two; a caption takes neither.
        {"a word wider than the box",
         "Donaudampfschifffahrtsgesellschaft",
         {"test", 150, 80, 3, 30, 20, false},
         "does not fit"},
        {"too short for the smallest font",
         "Hello",
         {"test", 200, 10, 1, 30, 20, false},
         "wider or taller"},
        {"an empty box", "OK", {"test", 0, 0, 1, 30, 20, false}, "empty"},
        {"a box too large", "OK", {"test", 100000, 50, 1, 30, 20, false}, "too large"},
        {"an endless font size",
         "OK",
         {"test", 100, 50, 1, std::numeric_limits<double>::infinity(), 20, false},
         "font sizes"},
        {"sizes the wrong way round", "OK", {"test", 100, 50, 1, 10, 20, false}, "font sizes"},
    };
    for (const UnfittingCase& unfitting : cases) {
        RenderedCaption caption = renderCaption(unfitting.text, unfitting.box);
        EXPECT_FALSE(caption.fits) << unfitting.name;
        EXPECT_TRUE(contains(caption.problem, unfitting.reason))
            << unfitting.name << ": " << caption.problem;
        EXPECT_TRUE(caption.rgba.empty()) << unfitting.name;
    }
}

TEST(CaptionRender, SizesStepDownToTheSmallest) {
    // 40 x 0.96^16 = 20.82 rounds to 20.75, the smallest size, which must not come twice.
    for (double smallest : {20.75, 20.0, 16.0, 33.0}) {
        const CaptionBox box = {"test", 100, 40, 1, 40, smallest, false};
        std::vector<double> sizes = fontSizesToTry(box);
        ASSERT_GE(sizes.size(), 2u) << smallest;
        EXPECT_EQ(sizes.front(), 40) << smallest;
        EXPECT_EQ(sizes.back(), smallest);
        for (size_t i = 1; i < sizes.size(); ++i) {
            EXPECT_LT(sizes[i], sizes[i - 1]) << smallest;
            EXPECT_GE(sizes[i], sizes[i - 1] * 0.95) << smallest;  // small steps
        }
    }
}

TEST(CaptionTable, AcceptsNotesBlankLinesAndWindowsLineEnds) {
    CaptionTable table;
    std::string error;
    ASSERT_TRUE(parseCaptionTable("# a note\r\n\r\n" +
                                      std::string("key\ten\tde\tes\tru\tfr\tcomment\r\n") +
                                      "button_ok\tOK\tOK\tAceptar\tОК\tOK\r\n",
                                  table, error))
        << error;
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0].texts[3], "ОК");
    EXPECT_EQ(table.rows[0].texts[4], "OK");
    EXPECT_EQ(table.rows[0].comment, "");
}

struct MalformedCase {
    const char* name;
    std::string text;
    std::vector<std::string> messageParts;
};

TEST(CaptionTable, MalformedTablesGiveAClearError) {
    const MalformedCase cases[] = {
        {"a language cell left empty",
         kHeader + "setup.music\tMusic\t\tMúsica\tМузыка\tMusique\tnote\n",
         {"line 2", "'setup.music'", "German (de)"}},
        {"a cell of spaces",
         kHeader + "setup.music\tMusic\tMusik\tMúsica\t  \tMusique\tnote\n",
         {"'setup.music'", "Russian (ru)"}},
        {"a short row",
         kHeader + "\n" + "button_ok\tOK\tOK\tAceptar\n",
         {"line 3", "'button_ok'", "Russian (ru)"}},
        {"a key on its own", kHeader + "help.title\n", {"'help.title'", "English (en)"}},
        {"a key twice",
         kHeader + "button_ok\tOK\tOK\tAceptar\tОК\tOK\tx\nbutton_ok\tOK\tOK\tAceptar\tОК\tOK\tx\n",
         {"line 3", "'button_ok'", "twice"}},
        {"a TAB inside a text",
         kHeader + "button_ok\tOK\tOK\tAceptar\tОК\tOK\tx\ty\n",
         {"'button_ok'", "columns"}},
        {"a row without a key", kHeader + "\tOK\tOK\tAceptar\tОК\tOK\tx\n", {"line 2", "no key"}},
        {"columns in another order", "key\ten\tfr\tes\tru\tde\tcomment\n", {"line 1", "header"}},
        {"no header at all", "# only a note\n", {"no header"}},
        {"bytes that are not UTF-8",
         kHeader + "button_ok\tOK\tOK\tAceptar\t\xD0\tOK\tx\n",
         {"UTF-8"}},
    };
    for (const MalformedCase& malformed : cases) {
        CaptionTable table;
        std::string error;
        EXPECT_FALSE(parseCaptionTable(malformed.text, table, error)) << malformed.name;
        for (const std::string& part : malformed.messageParts)
            EXPECT_TRUE(contains(error, part)) << malformed.name << ": " << error;
    }
}

TEST(CaptionTable, AMissingFileIsNamed) {
    CaptionTable table;
    std::string error;
    EXPECT_FALSE(readCaptionTable("/nonexistent/captions.tsv", table, error));
    EXPECT_TRUE(contains(error, "/nonexistent/captions.tsv")) << error;
}

}  // namespace
