// Places the interface models as the game does (background, button row, a
// palette of tubes, bubbles, the brush, the colours dialog's pictures), draws
// one frame through the game's own renderFrame and saves it as a PNG.
//   interface_viewer DATA_FOLDER OUTPUT.png numbers|free|dialog
// Run it on a display, for example under scripts/virtual-display.sh.

#include "app/display.h"
#include "app/game_loop.h"
#include "app/input.h"
#include "interface_art.h"
#include "scene/draw_pass.h"
#include "scene/scene_node.h"
#include "writers/pak_writer.h"

#include <GL/gl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* kArchive = "interface.pak";

SceneNode* modelNode(const char* model, double x, double y, double z) {
    auto* node = new SceneNode;
    node->addModel(kArchive, model);
    node->transform.setPosition(x, y, z);
    return node;
}

void addBackground() {
    auto* background = new SceneNode;
    background->transform.setRotation(-90, 0, 0);
    background->addModel(kArchive, "fon");
    pictureRoot->addChild(background);
}

// The fixed buttons and the four offered ones, at their places at depth 39.
void addButtons() {
    const double edgeX = -display->screenEdgeX(-39), edgeY = -display->screenEdgeY(-39);
    const double row = edgeY - 0.92;
    struct Placed {
        const char* model;
        double x, y;
    };
    const Placed buttons[] = {
        {"knopka_close", edgeX - 1.02, row}, {"knopka_help", -edgeX + 3.0, row},
        {"knopka_menu", -edgeX + 1.02, row}, {"knopka_left", 14.973, -13.155},
        {"knopka_right", 14.973, -13.155},   {"knopka_color", -7.5, row},
        {"knopka_reset", -3.7, row},         {"knopka_back", 4.3, row},
        {"knopka_clear", 7.3, row},
    };
    for (const Placed& button : buttons) {
        SceneNode* node = modelNode(button.model, button.x, button.y, 61);
        node->transform.setRotation(-90, 0, 0);
        pictureRoot->addChild(node);
    }
}

struct Paint {
    int red, green, blue;
    double divisor;
};

Rgb colourOf(const Paint& paint) {
    return {paint.red / paint.divisor, paint.green / paint.divisor, paint.blue / paint.divisor};
}

// A slot, its tube, ribbon and (in colour by numbers) its label, as the
// palette builds them.
SceneNode* addTube(SceneNode* palette, int number, const Rgb& colour, double x, double y, double z,
                   bool numbered) {
    auto* slot = new SceneNode;
    slot->transform.setPosition(x, y, z).setRotation(-90, 0, 0);
    auto* tube = new SceneNode;
    if (numbered) {
        tube->transform.setRotation(-26.553, 70.428, 52.833);
    } else {
        tube->transform.setRotation(39.716, 35.708, 89.14);
    }
    auto* ribbon = new SceneNode;
    ribbon->scaleChildren = true;
    ribbon->addModel(kArchive, "lenta");
    ribbon->setColour(colour.red, colour.green, colour.blue);
    if (numbered) {
        auto* label = new SceneNode;
        std::string key = "tubik" + std::to_string(number + 1);
        label->addModel(kArchive, key.c_str());
        ribbon->addChild(label);
    }
    tube->addChild(ribbon);
    tube->addDrawCallback(pickableCallback, 0);
    tube->addModel(kArchive, "tubik_no_num");
    slot->addChild(tube);
    palette->addChild(slot);
    return tube;
}

SceneNode* addPaletteArea() {
    auto* area = new SceneNode;
    area->addDrawCallback(lightingCallback, 0);
    pictureRoot->addChild(area);
    return area;
}

// A few bubbles of a tube click, spread along their drift.
void addClickBubbles(SceneNode* tube, const Rgb& colour) {
    const double offsets[][4] = {{0, 0, 0, 0.39},         {0.3, -0.2, 1.2, 0.33},
                                 {-0.3, 0.4, 2.3, 0.27},  {0.5, 0.5, 3.2, 0.2},
                                 {-0.4, -0.3, 4.0, 0.15}, {0.2, 0.1, 5.0, 0.1}};
    int model = 0;
    for (const auto& offset : offsets) {
        std::string key = "buble" + std::to_string(model % 5 + 1);
        ++model;
        SceneNode* bubble = modelNode(key.c_str(), offset[0], offset[1], 3.1 + offset[2]);
        bubble->addDrawCallback(billboardCallback, 0);
        bubble->transform.setScale(offset[3], offset[3], offset[3]);
        bubble->setColour(colour.red, colour.green, colour.blue);
        tube->addChild(bubble);
    }
}

// Celebration bubbles rise over the page, in the page container's frame.
void addCelebration(const std::vector<Rgb>& colours) {
    auto* page = new SceneNode;
    page->transform.setRotation(-90, 0, 0);
    unsigned seed = 7;
    auto below = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 8) % unsigned(n));
    };
    for (int i = 0; i < 40; ++i) {
        std::string key = "buble" + std::to_string(below(5) + 1);
        SceneNode* bubble =
            modelNode(key.c_str(), below(78) / 5.0 - 5.0, -77.0, below(68) / 5.0 - 6.35);
        bubble->addDrawCallback(billboardCallback, 0);
        double scale = 0.12 + below(18) / 100.0;
        bubble->transform.setScale(scale, scale, scale);
        const Rgb& colour = colours[size_t(below(int(colours.size())))];
        bubble->setColour(colour.red, colour.green, colour.blue);
        bubble->setAlpha(0.6 + below(40) / 100.0);
        page->addChild(bubble);
    }
    pictureRoot->addChild(page);
}

// The brush under a mouse position, as brushFollow places it.
void addBrush(int atX, int atY, const Rgb& paint, bool selected) {
    auto* host = new SceneNode;
    auto* handle = new SceneNode;
    handle->addModel(kArchive, "kist_ruchka");
    handle->transform.setRotation(-125, 0, 180);
    double x = -display->screenEdgeX(-17) * (2.0 * atX / display->width - 1);
    double y = display->screenEdgeY(-17) * (2.0 * atY / display->height - 1);
    handle->transform.setPosition(x, y, 83);
    auto* bristles = new SceneNode;
    bristles->addModel(kArchive, "kist_vors_color");
    bristles->setColour(paint.red, paint.green, paint.blue);
    if (!selected)
        bristles->transform.setScale(0.92, 0.92, 1);
    handle->addChild(bristles);
    host->addChild(handle);
    interfaceRoot->addChild(host);
}

void buildNumbersScene() {
    // Page 3's nine paints.
    const Paint paints[] = {{253, 248, 96, 255},  {0, 0, 0, 255},       {134, 1, 231, 255},
                            {255, 193, 204, 255}, {211, 211, 211, 255}, {128, 128, 128, 255},
                            {101, 67, 33, 255},   {72, 60, 50, 255},    {205, 127, 50, 255}};
    const double ys[] = {5.282, 3.929, 2.576, 1.224, -0.129, -1.482, -2.835, -4.188, -5.541};
    SceneNode* area = addPaletteArea();
    for (int i = 0; i < 9; ++i) {
        SceneNode* tube = addTube(area, i, colourOf(paints[i]), -9.857, ys[i], 77, true);
        if (i == 2) {
            // Hovered: the palette grows the tube and its ribbon together.
            tube->transform.setScale(1.2, 1.2, 1.2);
            tube->children[0]->transform.setScale(1.2, 1.2, 1.2);
            addClickBubbles(tube, colourOf(paints[i]));
        }
    }
    addBrush(display->width * 56 / 100, display->height * 45 / 100, colourOf(paints[2]), true);
}

void buildFreeScene() {
    const Paint paints[] = {{255, 255, 255, 256}, {255, 255, 0, 256},   {255, 204, 51, 256},
                            {255, 153, 0, 256},   {255, 0, 0, 256},     {255, 102, 102, 256},
                            {255, 204, 204, 256}, {204, 0, 204, 256},   {153, 51, 204, 256},
                            {0, 0, 255, 256},     {102, 0, 153, 256},   {0, 204, 255, 256},
                            {0, 204, 153, 256},   {102, 153, 102, 256}, {204, 204, 0, 256},
                            {153, 204, 0, 256},   {102, 102, 0, 256},   {51, 51, 51, 256}};
    const double places[][2] = {
        {-11.54, 5.426},  {-9.983, 5.575},  {-11.54, 4.0},    {-9.983, 4.149},  {-11.54, 2.575},
        {-9.983, 2.724},  {-11.54, 1.149},  {-9.983, 1.298},  {-11.54, -0.277}, {-9.983, -0.128},
        {-11.54, -1.703}, {-9.983, -1.554}, {-11.54, -3.128}, {-9.983, -2.979}, {-11.54, -4.554},
        {-9.983, -4.405}, {-11.54, -5.98},  {-9.983, -5.831}};
    SceneNode* area = addPaletteArea();
    std::vector<Rgb> colours;
    for (int i = 0; i < 18; ++i) {
        colours.push_back(colourOf(paints[i]));
        addTube(area, i, colours.back(), places[i][0], places[i][1], 75, false);
    }
    addCelebration(colours);
    addBrush(display->width * 30 / 100, display->height * 62 / 100, kWhite, false);
}

// The colours dialog's pictures on a panel 18.5 in front of the eye, without
// the panel itself (its background comes with the language-free archive).
void buildDialogScene() {
    auto* root = new SceneNode;
    auto* panel = new SceneNode;
    panel->transform.setPosition(0, -81.5, 0).setScale(1, 1, 1);
    panel->scaleChildren = true;
    SceneNode* current = modelNode("color_const", 0, 0, 0);
    current->setColour(134 / 255.0, 1 / 255.0, 231 / 255.0);
    SceneNode* preview = modelNode("color_hover", 0, 0, 0);
    preview->setColour(1, 204 / 255.0, 0);
    auto* palette = new SceneNode;
    palette->addDrawCallback(pickableCallback, 0);
    palette->addModel(kArchive, "palitra_gradient");
    palette->addModel(kArchive, "palitra_colors");
    panel->addChild(current);
    panel->addChild(preview);
    panel->addChild(palette);
    root->addChild(panel);
    dialogHost->addChild(root);
    addBrush(display->width * 45 / 100, display->height * 55 / 100, {1, 204 / 255.0, 0}, true);
}

bool savePicture(const std::string& path) {
    const int width = display->width, height = display->height;
    std::vector<uint8_t> bottomUp(size_t(width) * size_t(height) * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<uint8_t> topDown(bottomUp.size());
    const size_t rowBytes = size_t(width) * 4;
    for (int row = 0; row < height; ++row) {
        std::memcpy(&topDown[size_t(row) * rowBytes],
                    &bottomUp[size_t(height - 1 - row) * rowBytes], rowBytes);
        for (size_t i = 3; i < rowBytes; i += 4)
            topDown[size_t(row) * rowBytes + i] = 255;
    }
    Bytes png = encodePng(width, height, topDown.data());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s DATA_FOLDER OUTPUT.png numbers|free|dialog\n", argv[0]);
        return 2;
    }
    std::string output = argv[2];
    if (!output.empty() && output[0] != '/') {
        char here[4096];
        if (getcwd(here, sizeof here) != nullptr)
            output = std::string(here) + "/" + output;
    }
    if (chdir(argv[1]) != 0) {
        std::fprintf(stderr, "cannot enter %s\n", argv[1]);
        return 1;
    }
    std::string scene = argv[3];
    startEngine();
    mouseX = 0;
    mouseY = 0;
    addBackground();
    addButtons();
    if (scene == "numbers") {
        buildNumbersScene();
    } else if (scene == "free") {
        buildFreeScene();
    } else {
        buildDialogScene();
    }
    // Two frames: transparent parts of the interface layer show one frame late.
    renderFrame();
    renderFrame();
    bool saved = savePicture(output);
    shutdownGame();
    if (!saved) {
        std::fprintf(stderr, "cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
