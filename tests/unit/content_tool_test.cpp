// The content tool's pieces on small made-up pictures: reading the SVG
// subset, cutting in painter's order and the messages of a broken picture.

#include "page_cutter.h"
#include "page_models.h"
#include "svg_picture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A 200 x 100 picture with two paints, red and blue; the hard page adds one
// blue region.
const PictureRecord kTwoPaints = {99, 2, {{255, 0, 0}, {0, 0, 255}}, {1, 1}, {1, 2}, 0};

std::string svg(const std::string& standard, const std::string& hard = "") {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 200 100\">"
           "<g id=\"standard\">" +
           standard + "</g><g id=\"hard\">" + hard + "</g></svg>";
}

const std::string kRedBackground =
    "<rect x=\"-10\" y=\"-10\" width=\"300\" height=\"200\" fill=\"#ff0000\"/>";

SvgPicture read(const std::string& text) {
    SvgPicture picture;
    std::string error;
    EXPECT_TRUE(readSvgPicture(text, "test.svg", picture, error)) << error;
    return picture;
}

std::string cutError(const std::string& text, bool hard) {
    SvgPicture picture = read(text);
    CutPage page;
    std::string error;
    EXPECT_FALSE(cutPage(picture, kTwoPaints, hard, page, error));
    return error;
}

double regionArea(const CutPage& page, const std::string& key) {
    for (const CutRegion& region : page.regions)
        if (region.id.key == key)
            return areaOf(region.area);
    ADD_FAILURE() << "no region " << key;
    return 0;
}

TEST(SvgTransforms, ParsesEachKindAndTheirComposition) {
    struct Case {
        const char* text;
        Point in, out;
    };
    const Case cases[] = {
        {"translate(10)", {1, 2}, {11, 2}},
        {"translate(10, -5)", {1, 2}, {11, -3}},
        {"scale(2)", {1, 2}, {2, 4}},
        {"scale(2 3)", {1, 2}, {2, 6}},
        {"rotate(90)", {1, 0}, {0, 1}},
        {"rotate(90 10 10)", {20, 10}, {10, 20}},
        {"matrix(1 2 3 4 5 6)", {1, 1}, {9, 12}},
        // The rightmost transform applies first.
        {"translate(10 0) scale(2)", {1, 1}, {12, 2}},
        {"scale(2) translate(10 0)", {1, 1}, {22, 2}},
        {"", {3, 4}, {3, 4}},
    };
    for (const Case& c : cases) {
        Affine transform;
        ASSERT_TRUE(parseTransform(c.text, transform)) << c.text;
        Point p = transform.apply(c.in);
        EXPECT_NEAR(p.x, c.out.x, 1e-9) << c.text;
        EXPECT_NEAR(p.y, c.out.y, 1e-9) << c.text;
    }
    for (const char* bad : {"skewX(10)", "rotate(1 2)", "translate(", "scale()", "matrix(1 2 3)"}) {
        Affine transform;
        EXPECT_FALSE(parseTransform(bad, transform)) << bad;
    }
}

TEST(SvgPaths, ReadsRelativeAndShorthandCommands) {
    std::vector<Ring> rings;
    std::string error;
    ASSERT_TRUE(
        flattenPathData("m10 10 h20 v20 H10 z M50,50 l10-0 l0 10 Z", Affine{}, rings, error));
    ASSERT_EQ(rings.size(), 2u);
    ASSERT_EQ(rings[0].size(), 4u);
    EXPECT_DOUBLE_EQ(rings[0][2].x, 30);
    EXPECT_DOUBLE_EQ(rings[0][2].y, 30);
    EXPECT_EQ(rings[1].size(), 3u);
    EXPECT_FALSE(flattenPathData("M0 0 A10 10 0 0 1 20 0 Z", Affine{}, rings, error));
    EXPECT_NE(error.find("A"), std::string::npos) << error;
    EXPECT_FALSE(flattenPathData("M0 0 L10", Affine{}, rings, error));
}

TEST(SvgPaths, FlattenedCurvesStayCloseToTheCurve) {
    std::vector<Ring> rings;
    std::string error;
    ASSERT_TRUE(flattenPathData("M0 0 C0 100 100 100 100 0 Z", Affine{}, rings, error));
    ASSERT_EQ(rings.size(), 1u);
    EXPECT_GT(rings[0].size(), 10u) << "a curve becomes many short steps";
    // Every point of the true curve lies within the flatness of the polyline.
    for (int i = 0; i <= 100; ++i) {
        double t = i / 100.0, s = 1 - t;
        // Control points (0,0) (0,100) (100,100) (100,0).
        Point onCurve{3 * s * t * t * 100 + t * t * t * 100,
                      3 * s * s * t * 100 + 3 * s * t * t * 100};
        EXPECT_LT(distanceToEdges(rings, onCurve), kFlatness + 1e-6) << t;
    }
}

TEST(SvgPictures, GroupTransformsAndFillsReachTheShapes) {
    SvgPicture picture = read(
        svg("<g transform=\"translate(100 0)\" fill=\"#0000ff\"><rect width=\"10\" height=\"20\"/>"
            "<circle cx=\"0\" cy=\"50\" r=\"10\" transform=\"scale(2 1)\" fill=\"#ff0000\"/></g>",
            "<polygon points=\"0,0 10,0 0,10\" fill=\"#0000ff\"/>"));
    ASSERT_EQ(picture.shapes.size(), 3u);
    EXPECT_EQ(picture.shapes[0].fill, 0x0000ffu);
    EXPECT_DOUBLE_EQ(picture.shapes[0].rings[0][2].x, 110);
    EXPECT_EQ(picture.shapes[1].fill, 0xff0000u);
    double minX = 1e9, maxX = -1e9;
    for (Point p : picture.shapes[1].rings[0])
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
    EXPECT_NEAR(minX, 80, 1e-6);
    EXPECT_NEAR(maxX, 120, 1e-6);
    EXPECT_FALSE(picture.shapes[1].hardLayer);
    EXPECT_TRUE(picture.shapes[2].hardLayer);
}

TEST(SvgPictures, RefusesWhatItDoesNotDrawAndSaysWhere) {
    struct Case {
        std::string text;
        const char* expected;
    };
    const Case cases[] = {
        {svg("<rect width=\"10\" height=\"10\" fill=\"#ff0000\" stroke=\"#000000\"/>"), "stroke"},
        {svg("<text fill=\"#ff0000\">1</text>"), "<text>"},
        {svg("<rect id=\"sky\" width=\"10\" height=\"10\"/>"), "id=sky"},
        {svg("<rect width=\"10\" height=\"10\" fill=\"red\"/>"), "#rrggbb"},
        {svg("<rect width=\"10\" height=\"10\" rx=\"2\" fill=\"#ff0000\"/>"), "rounded"},
        {svg("<path d=\"M0 0 A1 1 0 0 1 5 5\" fill=\"#ff0000\"/>"), "the command A"},
        {"<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 200 100\"><rect/></svg>",
         "top level"},
        {"<svg viewBox=\"0 0 200 100\"><g id=\"standard\">", "not well-formed"},
        {svg("<rect width=\"10\" height=\"10\" transform=\"scale(1e300)\" fill=\"#ff0000\"/>"),
         "far outside"},
        {svg("<circle r=\"nan\" fill=\"#ff0000\"/>"), "cannot read r"},
    };
    for (const Case& c : cases) {
        SvgPicture picture;
        std::string error;
        EXPECT_FALSE(readSvgPicture(c.text, "test.svg", picture, error)) << c.text;
        EXPECT_NE(error.find("test.svg"), std::string::npos) << error;
        EXPECT_NE(error.find(c.expected), std::string::npos) << error;
    }
}

TEST(PageCutting, LaterShapesCoverEarlierOnesExactly) {
    std::string text = svg(
        kRedBackground + "<rect x=\"100\" y=\"0\" width=\"150\" height=\"100\" fill=\"#0000ff\"/>",
        "<rect x=\"10\" y=\"10\" width=\"40\" height=\"40\" fill=\"#0000ff\"/>");
    SvgPicture picture = read(text);
    CutPage standard, hard;
    std::string error;
    ASSERT_TRUE(cutPage(picture, kTwoPaints, false, standard, error)) << error;
    ASSERT_TRUE(cutPage(picture, kTwoPaints, true, hard, error)) << error;
    ASSERT_EQ(standard.regions.size(), 2u);
    EXPECT_NEAR(regionArea(standard, "color1el1"), 100 * 100, 1e-6);
    EXPECT_NEAR(regionArea(standard, "color2el1"), 100 * 100, 1e-6) << "clipped to the box";
    ASSERT_EQ(hard.regions.size(), 3u);
    EXPECT_NEAR(regionArea(hard, "color1el1"), 100 * 100 - 40 * 40, 1e-6) << "a hole";
    EXPECT_NEAR(regionArea(hard, "color2el2"), 40 * 40, 1e-6);
    EXPECT_EQ(hard.regions[2].id.elementId, 22);
    EXPECT_EQ(hard.regions[0].area.size(), 2u) << "the background keeps its hole";
}

TEST(PageCutting, BrokenPicturesStopWithPagePaintAndRegion) {
    const std::string blue =
        "<rect x=\"100\" y=\"0\" width=\"150\" height=\"100\" fill=\"#0000ff\"/>";
    struct Case {
        std::string text;
        bool hard;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        // One blue shape too many on the standard page.
        {svg(kRedBackground + blue + blue), false, {"page99", "paint 2", "2 shapes", "1 regions"}},
        // A blue bar splits the red background in two.
        {svg(kRedBackground +
             "<rect x=\"60\" y=\"-5\" width=\"60\" height=\"110\" fill=\"#0000ff\"/>"),
         false,
         {"page99", "paint 1", "color1el1", "2 pieces"}},
        // Hidden entirely by the shape after it.
        {svg(kRedBackground + blue,
             "<rect x=\"90\" y=\"-5\" width=\"200\" height=\"200\" fill=\"#0000ff\"/>"),
         true,
         {"hpage99", "paint 2", "color2el1", "nothing of it is visible"}},
        // Too narrow for its number on the standard page.
        {svg(kRedBackground +
             "<rect x=\"170\" y=\"0\" width=\"30\" height=\"100\" fill=\"#0000ff\"/>"),
         false,
         {"page99", "paint 2", "color2el1", "too small"}},
        // A thin tail hanging off a large region.
        {svg(kRedBackground +
             "<path d=\"M100 0 H200 V100 H100 V52 H20 V48 H100 Z\" fill=\"#0000ff\"/>"),
         false,
         {"page99", "paint 2", "color2el1", "sliver"}},
        // A gap in the cover.
        {svg("<rect x=\"0\" y=\"0\" width=\"120\" height=\"100\" fill=\"#ff0000\"/>"
             "<rect x=\"130\" y=\"0\" width=\"150\" height=\"100\" fill=\"#0000ff\"/>"),
         false,
         {"page99", "uncovered"}},
        // A colour that is not a paint of the page.
        {svg(kRedBackground + "<rect width=\"10\" height=\"10\" fill=\"#00ff00\"/>"),
         false,
         {"page99", "#00ff00", "not a paint"}},
    };
    for (const Case& c : cases) {
        std::string error = cutError(c.text, c.hard);
        for (const std::string& part : c.expected)
            EXPECT_NE(error.find(part), std::string::npos) << "'" << part << "' in: " << error;
    }
}

TEST(PageCutting, CrumbsJoinTheirNeighbours) {
    // A 3 x 3 pocket of the background inside the blue shape would be a
    // second, tiny piece of the background: it joins the blue region.
    SvgPicture picture =
        read(svg(kRedBackground + "<path d=\"M100 0 H200 V100 H100 Z M150 50 V53 H153 V50 Z\" "
                                  "fill-rule=\"evenodd\" fill=\"#0000ff\"/>"));
    CutPage page;
    std::string error;
    ASSERT_TRUE(cutPage(picture, kTwoPaints, false, page, error)) << error;
    EXPECT_NEAR(regionArea(page, "color1el1"), 100 * 100, 1e-6);
    EXPECT_NEAR(regionArea(page, "color2el1"), 100 * 100, 1e-6);
    // A larger pocket is a real second piece.
    std::string larger =
        cutError(svg(kRedBackground + "<path d=\"M100 0 H200 V100 H100 Z M150 50 V56 H156 V50 Z\" "
                                      "fill-rule=\"evenodd\" fill=\"#0000ff\"/>"),
                 false);
    EXPECT_NE(larger.find("color1el1"), std::string::npos) << larger;
    EXPECT_NE(larger.find("2 pieces"), std::string::npos) << larger;
}

TEST(PageCutting, ReportsEveryProblemAtOnce) {
    // A paint count off by one and a background split in two.
    std::string error =
        cutError(svg(kRedBackground +
                     "<rect x=\"60\" y=\"-5\" width=\"60\" height=\"110\" fill=\"#0000ff\"/>"
                     "<rect x=\"150\" y=\"10\" width=\"50\" height=\"80\" fill=\"#0000ff\"/>"),
                 false);
    EXPECT_NE(error.find("paint 2: 2 shapes"), std::string::npos) << error;
    EXPECT_NE(error.find("color1el1"), std::string::npos) << error;
    EXPECT_NE(error.find('\n'), std::string::npos) << "one problem a line: " << error;
}

TEST(PageModels, RegionsTileThePictureAndEveryNumberedRegionHasANumber) {
    SvgPicture picture =
        read(svg(kRedBackground + "<circle cx=\"140\" cy=\"50\" r=\"40\" fill=\"#0000ff\"/>"));
    CutPage page;
    std::string error;
    ASSERT_TRUE(cutPage(picture, kTwoPaints, false, page, error)) << error;
    DigitAtlas atlas;
    ASSERT_TRUE(renderDigitAtlas(atlas, error)) << error;
    PageArchive archive;
    ASSERT_TRUE(buildPageArchive(page, atlas, archive, error)) << error;
    EXPECT_EQ(archive.statistics.numberTriangles, 2 * 2) << "one quad a region";
    EXPECT_GT(archive.statistics.outlineTriangles, 0);
    std::vector<std::string> names;
    for (const PakWriterEntry& entry : archive.entries)
        names.push_back(entry.name);
    for (const char* name : {"color1el1", "color2el1", "list_nums", "list_kontur", kPaperTexture,
                             kOutlineTexture, kDigitTexture})
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    // The digit atlas holds real glyphs: some opaque and some clear texels.
    int opaque = 0, clear = 0;
    for (size_t i = 3; i < atlas.image.pixels.size(); i += 4)
        if (atlas.image.pixels[i] >= 200) {
            ++opaque;
        } else if (atlas.image.pixels[i] == 0) {
            ++clear;
        }
    EXPECT_GT(opaque, 500);
    EXPECT_GT(clear, 500);
}

}  // namespace
