// interface.pak as the build makes it: every entry the game names is there,
// every model parses into textured triangles, every picture decodes, and the
// pictures the colours dialog picks from reach the screen unchanged.

#include "app/display.h"
#include "app/game_loop.h"
#include "app/input.h"
#include "interface/interface_art.h"
#include "resources/resource_manager.h"
#include "resources/sub_mesh.h"
#include "scene/draw_pass.h"
#include "scene/scene_node.h"
#include "support/fixtures.h"

#include <GL/glu.h>
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kArchive = std::string(NIMBLETINT_DATA_DIR) + "/interface.pak";

// Every model the game asks interface.pak for.
const std::vector<std::string> kModels = {
    "fon",         "knopka_close", "knopka_help",      "knopka_menu",
    "knopka_left", "knopka_right", "knopka_color",     "knopka_reset",
    "knopka_back", "knopka_clear", "tubik_no_num",     "lenta",
    "tubik1",      "tubik2",       "tubik3",           "tubik4",
    "tubik5",      "tubik6",       "tubik7",           "tubik8",
    "tubik9",      "buble1",       "buble2",           "buble3",
    "buble4",      "buble5",       "kist_ruchka",      "kist_vors_color",
    "color_const", "color_hover",  "palitra_gradient", "palitra_colors"};

// Free colouring lays no numbers over the page: this overlay is empty.
const char* kEmptyOverlay = "list_nums_nodigits";

struct Byte3 {
    int red, green, blue;
    bool operator==(const Byte3& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
    bool operator!=(const Byte3& other) const { return !(*this == other); }
};

void PrintTo(const Byte3& c, std::ostream* out) {
    *out << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

Byte3 toBytes(const Rgb& colour) {
    return {int(std::lround(colour.red * 255)), int(std::lround(colour.green * 255)),
            int(std::lround(colour.blue * 255))};
}

class InterfaceContent : public GameTest {
protected:
    // The game's quit ends as soon as one root is torn down, which can leave
    // nodes of the other root alive, holding the archive and textures of a
    // context that is gone: take the test's nodes down first.
    void TearDown() override {
        for (SceneNode* node : added_)
            node->requestRelease();
        runFrames(8);
        EXPECT_EQ(resourceManager.useCount(kArchive), 0);
        GameTest::TearDown();
    }
    SceneNode* addTo(SceneNode* parent, SceneNode* node) {
        parent->addChild(node);
        added_.push_back(node);
        return node;
    }
    SceneNode* addBackground() {
        auto* background = new SceneNode;
        background->transform.setRotation(-90, 0, 0);
        background->addModel(kArchive.c_str(), "fon");
        return addTo(pictureRoot, background);
    }

    std::vector<SceneNode*> added_;

    std::vector<SubMesh*> parse(const std::string& name) {
        std::vector<SubMesh*> meshes;
        EntryData entry = resourceManager.acquireEntry(kArchive, name);
        EXPECT_NE(entry.data, nullptr) << name << " is missing";
        parseModel(entry, kArchive, meshes);
        return meshes;
    }
    void giveBack(std::vector<SubMesh*>& meshes) {
        for (SubMesh* mesh : meshes) {
            mesh->releaseTexture();
            delete mesh;
        }
        meshes.clear();
        resourceManager.releaseArchive(kArchive);
    }

    // The colour the picture layer shows at a window pixel (top-left origin),
    // read back by the game's own colour read-back.
    Byte3 shownAt(int x, int y) {
        mouseX = x;
        mouseY = y;
        runFrames(1);
        return toBytes(colourUnderMouse);
    }

    // Window pixel (top-left origin) of a point in a sub-mesh's own frame, as
    // it was drawn in the last frame.
    void windowPixel(const SubMesh& mesh, double x, double y, double z, int& px, int& py) {
        GLdouble projection[16];
        GLint viewport[4];
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        GLdouble wx = 0, wy = 0, wz = 0;
        gluProject(x, y, z, mesh.modelView, projection, viewport, &wx, &wy, &wz);
        px = int(std::floor(wx));
        py = display->height - 1 - int(std::floor(wy));
    }
};

TEST_F(InterfaceContent, EveryModelTheGameNamesParsesIntoTexturedTriangles) {
    for (const std::string& name : kModels) {
        SCOPED_TRACE(name);
        std::vector<SubMesh*> meshes = parse(name);
        EXPECT_FALSE(meshes.empty());
        for (const SubMesh* mesh : meshes) {
            EXPECT_GT(mesh->triangleCount, 0);
            EXPECT_NE(mesh->textureId, 0u) << "texture " << mesh->textureName;
        }
        giveBack(meshes);
    }
    std::vector<SubMesh*> overlay = parse(kEmptyOverlay);
    EXPECT_TRUE(overlay.empty());
    giveBack(overlay);
    EXPECT_EQ(resourceManager.useCount(kArchive), 0);
}

TEST_F(InterfaceContent, EveryOtherEntryIsAPictureThatDecodes) {
    PakArchive* archive = resourceManager.acquireArchive(kArchive);
    ASSERT_NE(archive, nullptr);
    std::set<std::string> models(kModels.begin(), kModels.end());
    models.insert(kEmptyOverlay);
    size_t pictures = 0;
    for (const PakEntry& entry : archive->entries) {
        if (models.count(entry.name) != 0)
            continue;
        ++pictures;
        uint32_t texture = resourceManager.acquireTexture(kArchive, entry.name);
        EXPECT_NE(texture, 0u) << entry.name << " does not decode";
        resourceManager.releaseTexture(kArchive, texture);
    }
    EXPECT_GT(pictures, 0u);
    resourceManager.releaseArchive(kArchive);
}

// The background, drawn as the game draws it; its sheet lies behind the
// whole picture box (28 x 30 units from (-11.716, -14.607), 48.879 in front
// of the eye) and is paper white there.
TEST_F(InterfaceContent, TheSheetIsWhiteBehindThePictureBox) {
    addBackground();
    auto pixelOf = [](double x, double y) {
        const double depth = 48.879;
        double halfHeight = -display->screenEdgeY(float(-depth));
        double halfWidth = -display->screenEdgeX(float(-depth));
        int px = int((x / halfWidth + 1) / 2 * display->width);
        int py = int((1 - y / halfHeight) / 2 * display->height);
        return std::pair<int, int>(px, py);
    };
    const double inset = 0.15;
    const double corners[][2] = {{-11.716 + inset, -14.607 + inset},
                                 {16.284 - inset, -14.607 + inset},
                                 {-11.716 + inset, 15.393 - inset},
                                 {16.284 - inset, 15.393 - inset},
                                 {2.284, 0.393}};
    for (const auto& corner : corners) {
        auto [px, py] = pixelOf(corner[0], corner[1]);
        EXPECT_EQ(shownAt(px, py), (Byte3{255, 255, 255}))
            << "at " << corner[0] << ", " << corner[1];
    }
    auto [outsideX, outsideY] = pixelOf(-11.716 - 2, 0);
    EXPECT_NE(shownAt(outsideX, outsideY), (Byte3{255, 255, 255})) << "the desk beside the sheet";
}

// The colours dialog on its panel (18.5 in front of the eye), over the
// background as in the game: swatches show their node's colour exactly, and
// every palette cell shows exactly the texel it was painted with.
class ColoursDialogPictures : public InterfaceContent {
protected:
    void SetUp() override {
        InterfaceContent::SetUp();
        addBackground();
        auto* root = new SceneNode;
        auto* panel = new SceneNode;
        panel->transform.setPosition(0, -81.5, 0).setScale(1, 1, 1);
        panel->scaleChildren = true;
        current_ = new SceneNode;
        current_->addModel(kArchive.c_str(), "color_const");
        preview_ = new SceneNode;
        preview_->addModel(kArchive.c_str(), "color_hover");
        palette_ = new SceneNode;
        palette_->addDrawCallback(pickableCallback, 0);
        palette_->addModel(kArchive.c_str(), "palitra_gradient");
        palette_->addModel(kArchive.c_str(), "palitra_colors");
        panel->addChild(current_);
        panel->addChild(preview_);
        panel->addChild(palette_);
        root->addChild(panel);
        addTo(dialogHost, root);
        runFrames(1);
    }

    // The decoded picture of an entry, as RGBA bytes.
    Byte3 texel(const char* picture, int x, int y) {
        PakArchive* archive = resourceManager.acquireArchive(kArchive);
        EntryData entry = archive->findEntry(picture);
        resourceManager.releaseArchive(kArchive);
        SDL_Surface* surface = IMG_Load_RW(SDL_RWFromConstMem(entry.data, entry.size), 1);
        EXPECT_NE(surface, nullptr);
        if (surface == nullptr)
            return {-1, -1, -1};
        SDL_Surface* rgba = SDL_CreateRGBSurface(SDL_SWSURFACE, surface->w, surface->h, 32,
                                                 0x000000ff, 0x0000ff00, 0x00ff0000, 0xff000000);
        SDL_BlitSurface(surface, nullptr, rgba, nullptr);
        const auto* pixels = static_cast<const uint8_t*>(rgba->pixels);
        const uint8_t* p = pixels + y * rgba->pitch + x * 4;
        Byte3 result{p[0], p[1], p[2]};
        SDL_FreeSurface(rgba);
        SDL_FreeSurface(surface);
        return result;
    }

    // The window pixel at the centre of a palette cell.
    void cellCentre(int subMesh, float left, float right, int columns, int rows, int column,
                    int row, int& px, int& py) {
        using namespace colours_dialog;
        float x = left + (right - left) * (float(column) + 0.5f) / float(columns);
        float z = kPaletteTop - (kPaletteTop - kPaletteBottom) * (float(row) + 0.5f) / float(rows);
        windowPixel(*palette_->subMeshes[size_t(subMesh)], x, kDepth, z, px, py);
    }

    SceneNode* current_ = nullptr;
    SceneNode* preview_ = nullptr;
    SceneNode* palette_ = nullptr;
};

TEST_F(ColoursDialogPictures, SwatchesShowTheirColourExactly) {
    using namespace colours_dialog;
    const Byte3 colours[] = {{134, 1, 231},   {255, 255, 255}, {0, 0, 0}, {255, 204, 0},
                             {128, 128, 128}, {254, 250, 166}, {1, 2, 3}, {72, 60, 50}};
    for (const Byte3& colour : colours) {
        current_->setColour(colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0);
        preview_->setColour(colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0);
        int px = 0, py = 0;
        windowPixel(*current_->subMeshes[0], (kCurrentLeft + kCurrentRight) / 2, kDepth,
                    (kSwatchBottom + kSwatchTop) / 2, px, py);
        EXPECT_EQ(shownAt(px, py), colour) << "current swatch";
        windowPixel(*preview_->subMeshes[0], (kPreviewLeft + kPreviewRight) / 2, kDepth,
                    (kSwatchBottom + kSwatchTop) / 2, px, py);
        EXPECT_EQ(shownAt(px, py), colour) << "preview swatch";
    }
}

TEST_F(ColoursDialogPictures, PaletteCellsShowTheirTexelsExactly) {
    using namespace colours_dialog;
    // A tinted swatch is drawn just before the palette: its colour must not
    // linger on the palette.
    current_->setColour(134 / 255.0, 1 / 255.0, 231 / 255.0);
    const int gradientCells[][2] = {{0, 0},  {63, 0},  {0, 23}, {63, 23}, {10, 11},
                                    {21, 5}, {32, 17}, {42, 8}, {53, 20}, {5, 14}};
    for (const auto& cell : gradientCells) {
        int px = 0, py = 0;
        cellCentre(0, kGradientLeft, kGradientRight, kGradientColumns, kGradientRows, cell[0],
                   cell[1], px, py);
        Byte3 expected = texel("palitra_gradient_picture", cell[0] * kGradientCellTexels + 1,
                               cell[1] * kGradientCellTexels + 1);
        EXPECT_EQ(shownAt(px, py), expected) << "gradient cell " << cell[0] << ", " << cell[1];
    }
    for (int row = 0; row < kGridRows; ++row) {
        for (int column = 0; column < kGridColumns; ++column) {
            int px = 0, py = 0;
            cellCentre(1, kGridLeft, kGridRight, kGridColumns, kGridRows, column, row, px, py);
            Byte3 expected = texel("palitra_colors_picture", column * kGridCellTexels + 1,
                                   row * kGridCellTexels + 1);
            EXPECT_EQ(shownAt(px, py), expected) << "grid cell " << column << ", " << row;
        }
    }
}

}  // namespace
