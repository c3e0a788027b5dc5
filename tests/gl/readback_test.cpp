#include "app/display.h"
#include "app/game_loop.h"
#include "app/input.h"
#include "resources/resource_manager.h"
#include "scene/draw_pass.h"
#include "scene/scene_node.h"
#include "support/fixtures.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

class ReadBack : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        // Pure colours stay exact under the game's lighting (1.02 x colour, clamped).
        MeshSpec square = rectangleMesh(-5, -5, 5, 5, 0, "red");
        writeFile("fixture.pak",
                  writePak({{"red", solidPng(4, 4, 255, 0, 0)}, {"square", writeModel({square})}}));
    }
};

TEST_F(ReadBack, ColourUnderTheMouseComesFromThePictureLayer) {
    auto* node = new SceneNode;
    node->addModel("fixture.pak", "square");
    pictureRoot->addChild(node);

    mouseX = display->width / 2;
    mouseY = display->height / 2;
    runFrames(1);
    EXPECT_EQ(colourUnderMouse, (Rgb{1, 0, 0}));

    mouseX = 10;
    mouseY = 10;
    runFrames(1);
    EXPECT_EQ(colourUnderMouse, (Rgb{0, 0, 0})) << "the clear colour around the square";
}

}  // namespace
