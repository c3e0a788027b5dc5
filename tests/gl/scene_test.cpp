#include "app/display.h"
#include "app/game_loop.h"
#include "app/input.h"
#include "app/ticks.h"
#include "resources/sub_mesh.h"
#include "scene/animator.h"
#include "scene/draw_pass.h"
#include "scene/scene_node.h"
#include "support/fixtures.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Squares centred on the screen's middle at various depths, in the frame of
// a root (the eye looks at them from 100 units away).
class Scene : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        MeshSpec near = rectangleMesh(-5, -5, 5, 5, 10, "white");
        MeshSpec far = rectangleMesh(-5, -5, 5, 5, 0, "white");
        MeshSpec glass = far;
        glass.material.transparent = true;
        writeFile("scene.pak", writePak({{"white", solidPng(2, 2, 255, 255, 255)},
                                         {"near", writeModel({near})},
                                         {"far", writeModel({far})},
                                         {"glass", writeModel({glass})}}));
        mouseX = display->width / 2;
        mouseY = display->height / 2;
    }

    static SceneNode* node(const char* model, SceneNode* parent, bool pickable = false) {
        auto* made = new SceneNode;
        if (pickable)
            made->addDrawCallback(pickableCallback, 0);
        if (model != nullptr)
            made->addModel("scene.pak", model);
        parent->addChild(made);
        return made;
    }

    static bool hasChild(const SceneNode* parent, const SceneNode* child) {
        const auto& list = parent->children;
        return std::find(list.begin(), list.end(), child) != list.end();
    }

    // renderFrame without the swap, so that the back buffer can be read.
    static Rgb drawAndReadCentre() {
        frameTime = getTicks();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(0, 0, -100);
        pictureRoot->draw();
        drawDeferredSubMeshes();
        glLoadIdentity();
        glTranslatef(0, 0, -100);
        interfaceRoot->draw();
        GLfloat pixel[3];
        glReadPixels(display->width / 2, display->height / 2, 1, 1, GL_RGB, GL_FLOAT, pixel);
        return {pixel[0], pixel[1], pixel[2]};
    }
};

TEST_F(Scene, ReleasedSubtreeIsTornDownOneLevelAFrame) {
    SceneNode* top = node(nullptr, pictureRoot);
    SceneNode* level1 = node("far", top);
    SceneNode* level2 = node(nullptr, level1);
    node("far", level2);
    top->requestRelease();
    runFrames(3);
    EXPECT_FALSE(top->released);
    EXPECT_TRUE(top->children.front()->released);
    runFrames(1);
    EXPECT_TRUE(top->released) << "depth three is gone after four frames";
    EXPECT_TRUE(top->children.empty());
    EXPECT_TRUE(hasChild(pictureRoot, top));
    runFrames(1);
    EXPECT_FALSE(hasChild(pictureRoot, top)) << "the parent deletes it one frame later";
}

TEST_F(Scene, LoopEndsAtTheFirstTestThatFindsARootReleased) {
    quitGame();
    runFrames(1);  // the interface root has no children: released at once
    EXPECT_TRUE(interfaceRoot->released);
    EXPECT_FALSE(gameRunning());
}

TEST_F(Scene, NearerNodeWinsThePick) {
    node("far", pictureRoot, true);
    SceneNode* nearer = node("near", pictureRoot, true);
    runFrames(1);
    EXPECT_EQ(picker.hoveredNode, nearer);
}

TEST_F(Scene, EqualDepthKeepsTheFirstRegistered) {
    SceneNode* first = node("far", pictureRoot, true);
    node("far", pictureRoot, true);
    runFrames(1);
    EXPECT_EQ(picker.hoveredNode, first);
}

TEST_F(Scene, UndrawnNodeIsPickedAndNodeWithoutModelNever) {
    node(nullptr, pictureRoot, true);
    SceneNode* hidden = node("far", pictureRoot, true);
    hidden->drawMeshes = false;
    runFrames(1);
    EXPECT_EQ(picker.hoveredNode, hidden);
    EXPECT_EQ(colourUnderMouse, (Rgb{0, 0, 0})) << "not drawn";

    mouseX = 5;  // away from every node
    runFrames(1);
    EXPECT_EQ(picker.hoveredNode, nullptr);
}

TEST_F(Scene, HoverIsSeenByHandlersOneFrameLater) {
    static int hoveredCalls = 0;
    hoveredCalls = 0;
    SceneNode* button = node("far", pictureRoot, true);
    button->states.addState();
    Action watch = makeAction(0);
    watch.setCallback([](void*) { hoveredCalls += isHovered() ? 1 : 0; }, nullptr);
    button->states.addAction(watch);
    button->states.enterState(0);
    runFrames(1);
    EXPECT_EQ(hoveredCalls, 0);
    runFrames(1);
    EXPECT_EQ(hoveredCalls, 1);
}

TEST_F(Scene, TransparentSubMeshesAreDrawnAfterThePictureLayerInTheOrderMet) {
    // An opaque black backdrop, drawn at once like the game's background.
    SceneNode* backdrop = node("far", pictureRoot);
    backdrop->transform.setPosition(0, 0, -10);
    backdrop->setColour(0, 0, 0);
    SceneNode* red = node("glass", pictureRoot);
    red->setColour(1, 0, 0);
    red->setAlpha(0.5);
    SceneNode* green = node("glass", pictureRoot);
    green->setColour(0, 1, 0);
    green->setAlpha(0.5);
    runFrames(1);
    EXPECT_NEAR(colourUnderMouse.red, 0.25, 0.01);
    EXPECT_NEAR(colourUnderMouse.green, 0.5, 0.01);
    EXPECT_TRUE(deferredSubMeshes.empty());
}

TEST_F(Scene, DeferredPassRestoresLightingAndWritesNoDepth) {
    SceneNode* glass = node("glass", pictureRoot);
    glass->transform.setPosition(0, 0, 10);
    glass->setColour(0.5, 0.5, 0.5);  // opaque: shows the lit colour, 1.02 x 0.5
    SceneNode* behind = node("far", interfaceRoot);
    behind->setColour(0, 0, 1);
    Rgb centre = drawAndReadCentre();
    EXPECT_EQ(centre, (Rgb{0, 0, 1})) << "the glass left no depth behind";
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);

    interfaceRoot->children.front()->drawMeshes = false;
    runFrames(1);
    EXPECT_NEAR(colourUnderMouse.red, 130 / 255.0, 0.003) << "drawn lit";
}

TEST_F(Scene, ColourReadBackIgnoresTheInterfaceLayer) {
    node("far", pictureRoot)->setColour(1, 0, 0);
    node("near", interfaceRoot)->setColour(0, 1, 0);
    runFrames(1);
    EXPECT_EQ(colourUnderMouse, (Rgb{1, 0, 0}));
}

TEST_F(Scene, UntintedSubMeshAfterATintedOneShowsItsOwnTexels) {
    SceneNode* tinted = node("far", pictureRoot);
    tinted->setColour(1, 0, 0);
    tinted->transform.setPosition(-20, 0, 0);
    node("far", pictureRoot);  // untinted: white texels, drawn white
    SceneNode* glass = node("glass", pictureRoot);
    glass->setColour(0, 0, 1);
    glass->transform.setPosition(20, 0, 0);
    node("glass", pictureRoot)->transform.setPosition(0, 0, 1);
    runFrames(2);
    EXPECT_EQ(colourUnderMouse, (Rgb{1, 1, 1}));
}

TEST_F(Scene, SetAlphaShowsOnlyOnTransparentMaterials) {
    SceneNode* opaque = node("far", pictureRoot);
    opaque->setColour(1, 0, 0);
    opaque->setAlpha(0.5);
    runFrames(1);
    EXPECT_EQ(colourUnderMouse, (Rgb{1, 0, 0}));
}

int deferredFrame[2];
int frameNumber = 0;
void noteFrame(void*) {
    deferredFrame[currentAction->i1] = frameNumber;
}
void deferFromHere(void*) {
    runDeferred(noteFrame, currentAction->i1);
}

TEST_F(Scene, DeferredCallsRunThisFrameOrTheNext) {
    auto scheduler = [](int slot) {
        auto* made = new SceneNode;
        made->states.addState();
        Action once = makeAction(-1);
        once.setCallback(deferFromHere, slot, 0.0, 0.0, 0.0);
        made->states.addAction(once);
        made->states.enterState(0);
        return made;
    };
    // Before the dialog host in the picture layer, like the game-screen controls.
    pictureRoot->children.insert(pictureRoot->children.begin(), scheduler(0));
    interfaceRoot->addChild(scheduler(1));
    deferredFrame[0] = deferredFrame[1] = -1;
    for (frameNumber = 1; frameNumber <= 3; ++frameNumber)
        runFrames(1);
    EXPECT_EQ(deferredFrame[0], 1);
    EXPECT_EQ(deferredFrame[1], 2);
    EXPECT_EQ(dialogHost->children.size(), 2u) << "hosts stay until something releases them";
}

}  // namespace
