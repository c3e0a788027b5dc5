#include "game/page_catalogue.h"

#include <gtest/gtest.h>

namespace {

TEST(PageCatalogue, KeysAndElementIdsFollowTheNumbering) {
    struct Case {
        int32_t paintNumber, m;
        const char* key;
        int32_t id;
    };
    const Case cases[] = {{0, 1, "color1el1", 11},    {1, 5, "color2el5", 25},
                          {0, 10, "color1el10", 110}, {9, 1, "color10el1", 101},
                          {9, 2, "color10el2", 102},  {8, 10, "color9el10", 910}};
    for (const Case& c : cases) {
        EXPECT_EQ(regionKey(c.paintNumber, c.m), c.key);
        EXPECT_EQ(regionElementId(c.paintNumber, c.m), c.id) << c.key;
    }
}

TEST(PageCatalogue, CountedElementsMatchEveryPage) {
    const int32_t standard[kPageCount] = {31, 38, 34, 83, 31, 66, 44, 36,
                                          50, 45, 30, 52, 23, 43, 44};
    const int32_t hard[kPageCount] = {69, 79, 72, 100, 72, 97, 83, 65,
                                      78, 81, 76, 106, 47, 91, 105};
    for (int32_t id = 1; id <= kPageCount; ++id) {
        const PictureRecord* record = pictureRecord(id);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->pageId, id);
        EXPECT_EQ(countedElements(*record, false), standard[id - 1]) << id;
        EXPECT_EQ(countedElements(*record, true), hard[id - 1]) << id;
        int32_t extra = id == 7 ? 2 : 0;
        EXPECT_EQ(int32_t(pageRegions(*record, false).size()), standard[id - 1] + extra) << id;
        EXPECT_EQ(int32_t(pageRegions(*record, true).size()), hard[id - 1] + extra) << id;
    }
    EXPECT_EQ(pictureRecord(0), nullptr);
    EXPECT_EQ(pictureRecord(16), nullptr);
}

TEST(PageCatalogue, RegionsComeInTextOrderOfTheirKeys) {
    std::vector<PageRegion> regions = pageRegions(*pictureRecord(7), false);
    ASSERT_GE(regions.size(), 4u);
    EXPECT_EQ(regions[0].key, "color10el1");
    EXPECT_EQ(regions[0].paintNumber, 9);
    EXPECT_EQ(regions[1].key, "color10el2");
    EXPECT_EQ(regions[2].key, "color1el1");
    std::vector<PageRegion> page12 = pageRegions(*pictureRecord(12), true);
    EXPECT_EQ(page12[1].key, "color1el10");
    EXPECT_EQ(page12[1].elementId, 110);
}

TEST(PageCatalogue, ArchiveNamesAndPaintColours) {
    EXPECT_EQ(pageArchiveName(7, false), "page07.pak");
    EXPECT_EQ(pageArchiveName(12, true), "hpage12.pak");
    const PictureRecord& first = *pictureRecord(1);
    EXPECT_EQ(paintColour(first, 0), (Rgb{216 / 255.0, 1.0, 105 / 255.0}));
    EXPECT_EQ(paintColour(*pictureRecord(10), 6), (Rgb{192 / 255.0, 182 / 255.0, 1.0}));
    EXPECT_EQ(pictureRecord(10)->paintCount, 7);
}

}  // namespace
