#include "game/progress_book.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const Rgb kRed{1, 0, 0};
const Rgb kBlue{0, 0, 1};
const Rgb kGreen{0, 1, 0};
const Rgb kNearWhite{255.0 / 256, 255.0 / 256, 255.0 / 256};

// The four combinations of the two mode flags, with the fill list each one uses.
struct ModeFlags {
    bool numberMode;
    bool hardSet;
    const char* name;
};
const ModeFlags kAllFlags[] = {{true, false, "numbers"},
                               {true, true, "numbersHard"},
                               {false, false, "free"},
                               {false, true, "free on the hard set"}};

void setFlags(ProgressBook& book, const ModeFlags& flags) {
    book.numberMode = flags.numberMode;
    book.hardSet = flags.hardSet;
}

// How many fills the page at `index` holds in each of its four lists, in the
// order numbers, numbersHard, free, free on the hard set.
std::vector<size_t> fillCounts(const ProgressBook& book, size_t index) {
    return {book.numberFills[index].size(), book.numberFillsHard[index].size(),
            book.freeFills[index].size(), book.freeFillsHard[index].size()};
}

TEST(ProgressBook, FreshBookHoldsFirstRunSettingsAndNoProgress) {
    ProgressBook book;
    EXPECT_TRUE(book.showHelpAtStart);
    EXPECT_TRUE(book.soundOn);
    EXPECT_TRUE(book.musicOn);
    EXPECT_TRUE(book.numberMode);
    EXPECT_FALSE(book.hardSet);
    EXPECT_EQ(book.colouringMode(), ColouringMode::numbers);
    EXPECT_EQ(book.advertFollowed, 0);
    EXPECT_EQ(book.languageIndex, 0);
    EXPECT_EQ(book.currentPage, -1);
    EXPECT_TRUE(book.pageIds.empty());
    EXPECT_TRUE(book.freeCustomPaints.empty());
    EXPECT_TRUE(book.freePaints.empty());
    expectParallelPageLists(book);
}

// Without a current page, the answers are fixed in every mode, and the
// operations that need a page change nothing.
TEST(ProgressBook, FreshBookAnswersInEveryMode) {
    for (const ModeFlags& flags : kAllFlags) {
        SCOPED_TRACE(flags.name);
        ProgressBook book;
        setFlags(book, flags);
        EXPECT_EQ(book.currentPageId(), 0);
        EXPECT_TRUE(book.isPageBlank());
        EXPECT_TRUE(book.isPageComplete());
        EXPECT_FALSE(book.hasCustomPaints());
        EXPECT_FALSE(book.isElementFilled(1));
        EXPECT_EQ(book.elementColour(1), kWhite);

        book.fillElement(1, kRed, 0);
        book.clearPage();
        book.clearAllPages();
        EXPECT_TRUE(book.isPageBlank());
        EXPECT_TRUE(book.pageIds.empty());
        expectParallelPageLists(book);
    }
}

TEST(ProgressBook, SelectPageAppendsOnFirstVisitOnly) {
    ProgressBook book;
    book.selectPage(3);
    EXPECT_EQ(book.currentPage, 0);
    book.selectPage(7);
    EXPECT_EQ(book.currentPage, 1);
    EXPECT_EQ(book.currentPageId(), 7);
    book.selectPage(3);
    EXPECT_EQ(book.pageIds, (std::vector<int32_t>{3, 7}));
    EXPECT_EQ(book.currentPage, 0);
    EXPECT_EQ(book.currentPageId(), 3);
    expectParallelPageLists(book);
    EXPECT_EQ(book.pagePaints.size(), 2u);
}

// Each combination of the flags has a fill list of its own for each page id:
// a fill shows in that combination only, and on that page only.
TEST(ProgressBook, FillsAreKeptPerPageIdAndPerMode) {
    for (size_t chosen = 0; chosen < 4; ++chosen) {
        SCOPED_TRACE(kAllFlags[chosen].name);
        ProgressBook book;
        book.selectPage(7);
        book.selectPage(3);
        setFlags(book, kAllFlags[chosen]);
        book.fillElement(42, kRed, 2);

        std::vector<size_t> expected(4, 0);
        expected[chosen] = 1;
        EXPECT_EQ(fillCounts(book, 1), expected) << "page 3 holds the fill in the chosen list";
        EXPECT_EQ(fillCounts(book, 0), std::vector<size_t>(4, 0)) << "page 7 is untouched";

        for (size_t other = 0; other < 4; ++other) {
            setFlags(book, kAllFlags[other]);
            EXPECT_EQ(book.isElementFilled(42), other == chosen) << kAllFlags[other].name;
            EXPECT_EQ(book.isPageBlank(), other != chosen) << kAllFlags[other].name;
        }
        setFlags(book, kAllFlags[chosen]);
        book.selectPage(7);
        EXPECT_FALSE(book.isElementFilled(42));
        book.selectPage(3);
        EXPECT_TRUE(book.isElementFilled(42));
    }
}

// Free colouring, on either set: exact white removes a fill, but only one that
// exists; anything else, near-white included, is an ordinary colour.
TEST(ProgressBook, FreeColouringWhiteRule) {
    struct Case {
        const char* name;
        bool filledBefore;
        Rgb colour;
        bool filledAfter;
        Rgb shown;
    };
    const Case cases[] = {
        {"white on an unfilled element is a fill", false, kWhite, true, kWhite},
        {"white on a filled element removes it", true, kWhite, false, kWhite},
        {"near-white on a filled element replaces", true, kNearWhite, true, kNearWhite},
        {"near-white on an unfilled element is a fill", false, kNearWhite, true, kNearWhite},
        {"a colour on a filled element replaces", true, kBlue, true, kBlue},
        {"a colour on an unfilled element is a fill", false, kBlue, true, kBlue},
    };
    for (bool hardSet : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (hardSet ? " (hard set)" : ""));
            ProgressBook book;
            book.numberMode = false;
            book.hardSet = hardSet;
            book.selectPage(5);
            book.fillElement(1, kGreen, 0);  // a neighbour that must stay
            if (c.filledBefore)
                book.fillElement(9, kRed, 0);
            book.fillElement(9, c.colour, 4);

            EXPECT_EQ(book.isElementFilled(9), c.filledAfter);
            EXPECT_EQ(book.elementColour(9), c.shown);
            EXPECT_EQ(book.currentFreeFills()->size(), c.filledAfter ? 2u : 1u);
            EXPECT_EQ(book.elementColour(1), kGreen);
        }
    }
}

TEST(ProgressBook, WhiteOnAWhiteFillRemovesIt) {
    ProgressBook book;
    book.numberMode = false;
    book.selectPage(5);
    book.fillElement(9, kWhite, 0);
    EXPECT_TRUE(book.isElementFilled(9));
    book.fillElement(9, kWhite, 0);
    EXPECT_FALSE(book.isElementFilled(9));
    EXPECT_TRUE(book.isPageBlank());
}

TEST(ProgressBook, NumberRefillReplacesTheNumberAndIgnoresTheColour) {
    for (bool hardSet : {false, true}) {
        SCOPED_TRACE(hardSet ? "numbersHard" : "numbers");
        ProgressBook book;
        book.hardSet = hardSet;
        book.selectPage(2);
        book.setDefaultPaint(0, kRed);
        book.setDefaultPaint(1, kBlue);
        book.fillElement(11, kWhite, 0);
        EXPECT_EQ(book.elementColour(11), kRed) << "white is no removal in colour by numbers";
        book.fillElement(11, kGreen, 1);
        ASSERT_EQ(book.currentNumberFills()->size(), 1u);
        EXPECT_EQ(book.currentNumberFills()->front().number, 1);
        EXPECT_EQ(book.elementColour(11), kBlue);

        book.fillElement(12, kRed, 6);  // a number without a paint
        EXPECT_TRUE(book.isElementFilled(12));
        EXPECT_EQ(book.elementColour(12), kWhite);
    }
}

// The colour of a paint: the custom list first, then the default list, in
// both colour by numbers (per page) and free colouring (one list).
TEST(ProgressBook, PaintLookupTakesCustomBeforeDefault) {
    struct Case {
        const char* name;
        bool hasDefault;
        bool hasCustom;
        std::optional<Rgb> expected;
    };
    const Case cases[] = {
        {"neither", false, false, std::nullopt},
        {"default only", true, false, kRed},
        {"custom only", false, true, kBlue},
        {"both", true, true, kBlue},
    };
    for (const ModeFlags& flags : kAllFlags) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " in " + flags.name);
            ProgressBook book;
            setFlags(book, flags);
            book.selectPage(4);
            book.setDefaultPaint(8, kGreen);  // another number
            if (c.hasDefault)
                book.setDefaultPaint(3, kRed);
            if (c.hasCustom)
                book.setCustomPaint(3, kBlue);
            EXPECT_EQ(book.paintColour(3), c.expected);
            EXPECT_EQ(book.hasCustomPaints(), c.hasCustom);
            // Colour by numbers keeps paints per page, free colouring in one list.
            size_t pageDefaults = flags.numberMode ? 1u + c.hasDefault : 0u;
            size_t pageCustoms = flags.numberMode ? size_t(c.hasCustom) : 0u;
            EXPECT_EQ(book.pagePaints[0].size(), pageDefaults);
            EXPECT_EQ(book.pageCustomPaints[0].size(), pageCustoms);
            EXPECT_EQ(book.freePaints.size(), flags.numberMode ? 0u : 1u + c.hasDefault);
            EXPECT_EQ(book.freeCustomPaints.size(), flags.numberMode ? 0u : size_t(c.hasCustom));
        }
    }
}

TEST(ProgressBook, SettingAPaintTwiceReplacesItsColour) {
    ProgressBook book;
    book.selectPage(4);
    book.setDefaultPaint(3, kRed);
    book.setDefaultPaint(3, kBlue);
    book.setCustomPaint(3, kGreen);
    book.setCustomPaint(3, kNearWhite);
    EXPECT_EQ(book.pagePaints[0].size(), 1u);
    EXPECT_EQ(book.pageCustomPaints[0].size(), 1u);
    EXPECT_EQ(book.paintColour(3), kNearWhite);
    book.clearCustomPaints();
    EXPECT_FALSE(book.hasCustomPaints());
    EXPECT_EQ(book.paintColour(3), kBlue);
}

// Free paints belong to no page, but hasCustomPaints answers false until a
// page is current.
TEST(ProgressBook, FreePaintsNeedNoPage) {
    ProgressBook book;
    book.numberMode = false;
    book.setDefaultPaint(0, kRed);
    book.setCustomPaint(1, kBlue);
    EXPECT_EQ(book.paintColour(0), kRed);
    EXPECT_EQ(book.paintColour(1), kBlue);
    EXPECT_FALSE(book.hasCustomPaints());
    book.selectPage(1);
    EXPECT_TRUE(book.hasCustomPaints());
    book.numberMode = true;
    EXPECT_FALSE(book.hasCustomPaints()) << "page 1 has no custom paints of its own";
}

TEST(ProgressBook, PageIsCompleteWhenTheCountReachesElementCount) {
    for (const ModeFlags& flags : kAllFlags) {
        SCOPED_TRACE(flags.name);
        ProgressBook book;
        setFlags(book, flags);
        book.selectPage(6);
        book.setElementCount(3);
        EXPECT_FALSE(book.isPageComplete());
        book.fillElement(700, kRed, 0);
        book.fillElement(-5, kRed, 0);
        EXPECT_FALSE(book.isPageComplete());
        book.fillElement(700, kBlue, 1);  // a refill adds nothing
        EXPECT_FALSE(book.isPageComplete());
        book.fillElement(123456, kRed, 0);  // any id counts, known to the page or not
        EXPECT_TRUE(book.isPageComplete());
        book.setElementCount(4);
        EXPECT_FALSE(book.isPageComplete());
    }
}

TEST(ProgressBook, ClearPageEmptiesOnlyTheCurrentFillList) {
    ProgressBook book;
    book.selectPage(8);
    book.setCustomPaint(0, kRed);
    for (const ModeFlags& flags : kAllFlags) {
        setFlags(book, flags);
        book.fillElement(1, kRed, 0);
    }
    setFlags(book, kAllFlags[1]);
    book.selectPage(9);
    book.fillElement(1, kRed, 0);
    book.selectPage(8);
    book.clearPage();
    EXPECT_EQ(fillCounts(book, 0), (std::vector<size_t>{1, 0, 1, 1}));
    EXPECT_EQ(fillCounts(book, 1), (std::vector<size_t>{0, 1, 0, 0}));
    EXPECT_EQ(book.paintColour(0), kRed);
}

TEST(ProgressBook, ClearAllPagesKeepsPagesPaintsAndSettings) {
    ProgressBook book;
    book.soundOn = false;
    book.languageIndex = 2;
    for (int32_t page : {2, 5, 9}) {
        book.setColouringMode(ColouringMode::numbers);
        book.selectPage(page);
        book.setDefaultPaint(0, kGreen);
        book.setCustomPaint(0, kRed);
        for (const ModeFlags& flags : kAllFlags) {
            setFlags(book, flags);
            book.fillElement(page * 10, kBlue, 0);
        }
    }
    book.freeCustomPaints.push_back({4, kBlue});
    book.selectPage(5);

    book.clearAllPages();
    EXPECT_EQ(book.pageIds, (std::vector<int32_t>{2, 5, 9}));
    EXPECT_EQ(book.currentPage, 1);
    expectParallelPageLists(book);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(fillCounts(book, i), std::vector<size_t>(4, 0));
        ASSERT_EQ(book.pageCustomPaints[i].size(), 1u);
        EXPECT_EQ(book.pageCustomPaints[i][0].colour, kRed);
        EXPECT_EQ(book.pagePaints[i].size(), 1u);
    }
    EXPECT_EQ(book.freeCustomPaints.size(), 1u);
    EXPECT_FALSE(book.soundOn);
    EXPECT_EQ(book.languageIndex, 2);
}

// Paint colours are kept per page id, so both sets of a page share them.
TEST(ProgressBook, CustomPaintIsSharedByBothSetsOfAPageId) {
    ProgressBook book;
    book.setColouringMode(ColouringMode::numbers);
    book.selectPage(5);
    book.setDefaultPaint(0, kGreen);
    book.setCustomPaint(0, kRed);
    book.fillElement(3, kWhite, 0);

    book.setColouringMode(ColouringMode::numbersHard);
    book.selectPage(5);
    book.setDefaultPaint(0, kGreen);  // the hard set's builder gives the same paints
    EXPECT_EQ(book.paintColour(0), kRed);
    EXPECT_FALSE(book.isElementFilled(3));
    book.fillElement(30, kWhite, 0);
    EXPECT_EQ(book.elementColour(30), kRed);

    book.selectPage(6);
    EXPECT_EQ(book.paintColour(0), std::nullopt) << "another page id has its own paints";
}

TEST(ProgressBook, ColouringModeSetsBothFlags) {
    struct Case {
        ColouringMode mode;
        bool numberMode;
        bool hardSet;
    };
    const Case cases[] = {{ColouringMode::numbers, true, false},
                          {ColouringMode::numbersHard, true, true},
                          {ColouringMode::free, false, false}};
    for (const Case& c : cases) {
        ProgressBook book;
        book.numberMode = !c.numberMode;
        book.hardSet = !c.hardSet;
        book.setColouringMode(c.mode);
        EXPECT_EQ(book.numberMode, c.numberMode);
        EXPECT_EQ(book.hardSet, c.hardSet);
        EXPECT_EQ(book.colouringMode(), c.mode);
    }
    ProgressBook book;
    book.numberMode = false;
    book.hardSet = true;
    EXPECT_EQ(book.colouringMode(), ColouringMode::free) << "free colouring on the hard set";
}

TEST(ProgressBook, LanguageOutsideTheTableIsEnglish) {
    struct Case {
        int32_t index;
        int32_t stored;
        const char* archive;
    };
    const Case cases[] = {{0, 0, "langen.pak"},  {1, 1, "langde.pak"},        {2, 2, "langes.pak"},
                          {3, 3, "langru.pak"},  {4, 4, "langfr.pak"},        {5, 0, "langen.pak"},
                          {-1, 0, "langen.pak"}, {INT32_MIN, 0, "langen.pak"}};
    for (const Case& c : cases) {
        ProgressBook book;
        book.languageIndex = 2;
        book.setLanguage(c.index);
        EXPECT_EQ(book.language(), c.stored) << c.index;
        EXPECT_STREQ(book.languageArchive(), c.archive) << c.index;
    }
    ProgressBook book;
    book.languageIndex = 77;  // set around setLanguage: still never indexes past the table
    EXPECT_STREQ(book.languageArchive(), "langen.pak");
}

TEST(ProgressBook, ResetSettingsKeepsProgress) {
    InTempFolder folder;
    writeFile("lang.ini", {'d', 'e', 'f', 'a', 'u', 'l', 't', '=', 'f', 'r'});
    ProgressBook book;
    book.selectPage(3);
    book.fillElement(1, kRed, 0);
    book.soundOn = book.musicOn = book.showHelpAtStart = book.numberMode = false;
    book.hardSet = true;
    book.languageIndex = 2;
    book.advertFollowed = 9;

    book.resetSettings(true);
    EXPECT_EQ(book.advertFollowed, 0);
    EXPECT_EQ(book.currentPage, -1);
    EXPECT_FALSE(book.soundOn);
    EXPECT_EQ(book.languageIndex, 2);
    EXPECT_EQ(book.pageIds.size(), 1u);

    book.resetSettings(false);
    EXPECT_TRUE(book.soundOn && book.musicOn && book.showHelpAtStart && book.numberMode);
    EXPECT_FALSE(book.hardSet);
    EXPECT_EQ(book.languageIndex, 4) << "from lang.ini";
    EXPECT_EQ(book.numberFills[0].size(), 1u);
}

}  // namespace
