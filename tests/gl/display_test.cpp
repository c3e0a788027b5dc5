#include "app/display.h"
#include "app/game_loop.h"
#include "support/fixtures.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

using DisplayTest = EngineTest;

TEST_F(DisplayTest, WindowHasTheDesktopSizeAndTheGameCaption) {
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    EXPECT_EQ(display->width, info->current_w);
    EXPECT_EQ(display->height, info->current_h);
    EXPECT_EQ(display->width, 1920) << "the test display is 1920x1080";
    EXPECT_EQ(display->height, 1080);
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_STREQ(title, "nimbletint");
    EXPECT_STREQ(icon, "nimbletint");
}

TEST_F(DisplayTest, FixedGlStateIsSet) {
    EXPECT_EQ(glIsEnabled(GL_MULTISAMPLE), display->multisampled ? GL_TRUE : GL_FALSE);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));

    GLint value = 0;
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(value, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, GL_ONE_MINUS_SRC_ALPHA);
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &value);
    EXPECT_EQ(value, GL_GREATER);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &value);
    EXPECT_EQ(value, GL_NICEST);
    GLfloat reference = 0;
    glGetFloatv(GL_ALPHA_TEST_REF, &reference);
    EXPECT_FLOAT_EQ(reference, 0.9f);
    GLfloat clear[4] = {1, 1, 1, 1};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    for (float component : clear)
        EXPECT_EQ(component, 0);
    GLfloat depth = 0;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(depth, 1);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], display->width);
    EXPECT_EQ(viewport[3], display->height);
    GLfloat diffuse[4];
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    EXPECT_FLOAT_EQ(diffuse[0], 0.6f);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
}

TEST_F(DisplayTest, ProjectionMatchesGluPerspective) {
    GLfloat ours[16];
    glMatrixMode(GL_PROJECTION);
    glGetFloatv(GL_PROJECTION_MATRIX, ours);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45, double(display->width) / display->height, 0.1, 250);
    GLfloat glus[16];
    glGetFloatv(GL_PROJECTION_MATRIX, glus);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(ours[i], glus[i], 1e-5f) << i;
}

TEST_F(DisplayTest, ScreenEdgesAtInterfaceDepth) {
    float tangent = std::tan(22.5f * float(M_PI) / 180);
    EXPECT_NEAR(display->screenEdgeX(-39), -28.72f, 0.01f);
    EXPECT_NEAR(display->screenEdgeY(-39), -16.15f, 0.01f);
    EXPECT_NEAR(display->screenEdgeX(-17), -17 * (1920.0f / 1080) * tangent, 1e-4f);
    EXPECT_NEAR(display->screenEdgeY(-17), -17 * tangent, 1e-4f);
}

TEST(DisplayFailure, VideoInitialisationFailureIsReported) {
    EXPECT_EXIT(
        {
            setenv("SDL_VIDEODRIVER", "no_such_driver", 1);
            Display failing;
        },
        ::testing::ExitedWithCode(1), "Video initialization failed: ");
}

TEST(PerspectiveMatrix, DegenerateInputsLeaveTheMatrixAlone) {
    float matrix[16] = {7};
    EXPECT_FALSE(perspectiveMatrix(45, 1, 5, 5, matrix));
    EXPECT_FALSE(perspectiveMatrix(0, 1, 0.1f, 250, matrix));
    EXPECT_FALSE(perspectiveMatrix(45, 0, 0.1f, 250, matrix));
    EXPECT_EQ(matrix[0], 7);
}

}  // namespace
