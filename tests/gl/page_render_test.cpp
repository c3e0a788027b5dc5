// Draws a built page through the game's own scene and draw pass, placed as
// the page builders place it, and looks at the pixels: every region filled
// shows its paint under the game's lighting, and the outlines and numbers
// show dark over it. The frame is saved next to the previews for review.

#include "app/display.h"
#include "app/game_loop.h"
#include "app/input.h"
#include "game/page_catalogue.h"
#include "scene/scene_node.h"
#include "support/fixtures.h"
#include "writers/pak_writer.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace {

using PageRender = EngineTest;

// The frame as it stands when the interface layer starts: the picture layer
// and its deferred transparent pass are drawn, the buffers not yet swapped.
std::vector<uint8_t> capturedFrame;

void captureFrame(int phase, int) {
    if (phase != 1)
        return;
    capturedFrame.assign(size_t(display->width) * display->height * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, display->width, display->height, GL_RGBA, GL_UNSIGNED_BYTE,
                 capturedFrame.data());
}

// The first page archive the content build made, or an empty name.
std::string firstBuiltPage(const PictureRecord*& record, bool& hard) {
    for (int32_t id = 1; id <= kPageCount; ++id) {
        for (bool h : {false, true}) {
            std::string path = std::string(NIMBLETINT_DATA_DIR) + "/" + pageArchiveName(id, h);
            if (!std::filesystem::exists(path))
                continue;
            record = pictureRecord(id);
            hard = h;
            return path;
        }
    }
    return {};
}

// The page builder's layout: container turned -90 about x, picture group
// turned back and placed, the overlay after the group.
void buildFilledPage(const std::string& archive, const PictureRecord& record, bool hard) {
    auto* container = new SceneNode;
    container->transform.setRotation(-90, 0, 0);
    auto* group = new SceneNode;
    group->transform.setRotation(kPictureGroupRotation[0], kPictureGroupRotation[1],
                                 kPictureGroupRotation[2]);
    group->transform.setPosition(kPictureGroupPosition[0], kPictureGroupPosition[1],
                                 kPictureGroupPosition[2]);
    for (const PageRegion& region : pageRegions(record, hard)) {
        auto* node = new SceneNode;
        node->addModel(archive.c_str(), region.key.c_str());
        Rgb paint = paintColour(record, region.paintNumber);
        node->setColour(paint.red, paint.green, paint.blue);
        group->addChild(node);
    }
    container->addChild(group);
    auto* overlay = new SceneNode;
    overlay->addModel(archive.c_str(), "list_nums");
    overlay->addModel(archive.c_str(), "list_kontur");
    container->addChild(overlay);
    pictureRoot->addChild(container);
}

TEST_F(PageRender, FilledRegionsShowTheirPaintsUnderOutlinesAndNumbers) {
    const PictureRecord* record = nullptr;
    bool hard = false;
    std::string archive = firstBuiltPage(record, hard);
    if (archive.empty())
        GTEST_SKIP() << "no page archives in " << NIMBLETINT_DATA_DIR;
    buildFilledPage(archive, *record, hard);
    // Draw callbacks run on nodes with a model: an empty one will do.
    writeFile("empty.pak", writePak({{"nothing", writeModel({})}}));
    auto* camera = new SceneNode;
    camera->addModel("empty.pak", "nothing");
    camera->addDrawCallback(captureFrame, 0);
    interfaceRoot->addChild(camera);
    mouseX = 0;
    mouseY = 0;
    runFrames(3);

    int width = display->width, height = display->height;
    std::vector<uint8_t> pixels = capturedFrame;
    ASSERT_EQ(pixels.size(), size_t(width) * height * 4);
    std::vector<uint8_t> topDown(pixels.size());
    for (int y = 0; y < height; ++y)
        std::copy_n(&pixels[size_t(height - 1 - y) * width * 4], size_t(width) * 4,
                    &topDown[size_t(y) * width * 4]);
    std::string shot = std::string(NIMBLETINT_PREVIEW_DIR) + "/game-" +
                       std::filesystem::path(archive).stem().string() + ".png";
    writeFile(shot, encodePng(width, height, topDown.data()));

    // The lit colour of a face turned to the viewer: 1.02 x its colour.
    auto countNear = [&](const uint8_t target[3]) {
        int count = 0;
        for (size_t i = 0; i < pixels.size(); i += 4) {
            bool near = true;
            for (int c = 0; c < 3; ++c)
                near = near && std::abs(int(pixels[i + size_t(c)]) - int(target[c])) <= 2;
            count += near;
        }
        return count;
    };
    for (int32_t paint = 0; paint < record->paintCount; ++paint) {
        uint8_t lit[3];
        for (int c = 0; c < 3; ++c)
            lit[c] = uint8_t(std::min(255.0, std::round(record->paints[paint][c] * 1.02)));
        EXPECT_GT(countNear(lit), 100) << "paint " << paint + 1 << " shows on " << shot;
    }
    int dark = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        dark += std::max({pixels[i], pixels[i + 1], pixels[i + 2]}) < 70;
    int blackBackground = 0;  // the clear colour around the picture
    for (size_t i = 0; i < pixels.size(); i += 4)
        blackBackground += pixels[i] + pixels[i + 1] + pixels[i + 2] == 0;
    EXPECT_GT(dark - blackBackground, 5000) << "outlines and numbers show dark on " << shot;
}

}  // namespace
