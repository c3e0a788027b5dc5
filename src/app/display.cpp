#include "app/display.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

Display* display = nullptr;

namespace {

constexpr float kFieldOfView = 45.0f;
constexpr float kNearPlane = 0.1f;
constexpr float kFarPlane = 250.0f;

[[noreturn]] void failVideo(const char* format) {
    std::fprintf(stderr, format, SDL_GetError());
    std::exit(1);
}

void requestGlAttributes(bool multisample) {
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, multisample ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, multisample ? 4 : 0);
    SDL_GL_SetAttribute(SDL_GL_ACCELERATED_VISUAL, multisample ? 1 : 0);
}

void setFixedGlState() {
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0, 0, 0, 0);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glAlphaFunc(GL_GREATER, 0.9f);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_NORMALIZE);

    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (extensions != nullptr && std::strstr(extensions, "GL_EXT_separate_specular_color")) {
        glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);
}

void multiply(const float a[16], const float b[16], float out[16]) {
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a[k * 4 + row] * b[column * 4 + k];
            out[column * 4 + row] = sum;
        }
    }
}

// Inverse by the adjugate divided by the determinant, as GLU computes it.
bool invert(const float m[16], float out[16]) {
    float inv[16];
    inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] +
             m[9] * m[7] * m[14] + m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
    inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] -
             m[8] * m[7] * m[14] - m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
    inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] +
             m[8] * m[7] * m[13] + m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
    inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] -
              m[8] * m[6] * m[13] - m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
    inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] -
             m[9] * m[3] * m[14] - m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
    inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] +
             m[8] * m[3] * m[14] + m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
    inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] -
             m[8] * m[3] * m[13] - m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
    inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] +
              m[8] * m[2] * m[13] + m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
    inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] +
             m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
    inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] -
             m[4] * m[3] * m[14] - m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
    inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] +
              m[4] * m[3] * m[13] + m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
    inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] -
              m[4] * m[2] * m[13] - m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
    inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] -
             m[5] * m[3] * m[10] - m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
    inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] +
             m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
    inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] -
              m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
    inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] +
              m[8] * m[1] * m[6] - m[8] * m[2] * m[5];

    float determinant = m[0] * inv[0] + m[1] * inv[4] + m[2] * inv[8] + m[3] * inv[12];
    if (determinant == 0)
        return false;
    for (int i = 0; i < 16; ++i)
        out[i] = inv[i] / determinant;
    return true;
}

void loadProjection(float aspect) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    float perspective[16];
    if (perspectiveMatrix(kFieldOfView, aspect, kNearPlane, kFarPlane, perspective)) {
        glMultMatrixf(perspective);
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

}  // namespace

bool perspectiveMatrix(float fovyDegrees, float aspect, float zNear, float zFar, float out[16]) {
    float radians = fovyDegrees / 2 * static_cast<float>(M_PI) / 180;
    float deltaZ = zFar - zNear;
    float sine = std::sin(radians);
    if (deltaZ == 0 || sine == 0 || aspect == 0)
        return false;
    float cotangent = std::cos(radians) / sine;
    for (int i = 0; i < 16; ++i)
        out[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    out[0] = cotangent / aspect;
    out[5] = cotangent;
    out[10] = -(zFar + zNear) / deltaZ;
    out[11] = -1;
    out[14] = -2 * zNear * zFar / deltaZ;
    out[15] = 0;
    return true;
}

bool unprojectPoint(float windowX, float windowY, float windowZ, const float modelView[16],
                    const float projection[16], const int viewport[4], float out[3]) {
    float product[16];
    float inverse[16];
    multiply(projection, modelView, product);
    if (!invert(product, inverse))
        return false;
    float in[4] = {2 * (windowX - viewport[0]) / viewport[2] - 1,
                   2 * (windowY - viewport[1]) / viewport[3] - 1, 2 * windowZ - 1, 1};
    float result[4];
    for (int row = 0; row < 4; ++row) {
        result[row] = 0;
        for (int column = 0; column < 4; ++column) {
            result[row] += inverse[column * 4 + row] * in[column];
        }
    }
    if (result[3] == 0)
        return false;
    for (int i = 0; i < 3; ++i)
        out[i] = result[i] / result[3];
    return true;
}

Display::Display() {
    if (SDL_Init(SDL_INIT_VIDEO) < 0)
        failVideo("Video initialization failed: %s\n");

    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    width = info->current_w;
    height = info->current_h;
    Uint32 flags = SDL_OPENGL | SDL_FULLSCREEN | SDL_HWSURFACE | SDL_ASYNCBLIT;
    if (info->blit_hw)
        flags |= SDL_HWACCEL;

    requestGlAttributes(true);
    multisampled = SDL_SetVideoMode(width, height, 32, flags) != nullptr;
    if (!multisampled) {
        requestGlAttributes(false);
        if (SDL_SetVideoMode(width, height, 32, flags) == nullptr) {
            failVideo("Video mode set failed: %s\n");
        }
    }
    if (multisampled)
        glEnable(GL_MULTISAMPLE);

    setFixedGlState();

    if (height == 0)
        height = 1;
    float aspect = static_cast<float>(width) / static_cast<float>(height);
    glViewport(0, 0, width, height);
    loadProjection(aspect);

    float modelView[16];
    float projection[16];
    int viewport[4];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    unprojectPoint(0, 0, -1, modelView, projection, viewport, viewCorner);

    SDL_ShowCursor(0);
}

Display::~Display() {
    SDL_Quit();
}

float Display::screenEdgeX(float depth) const {
    return viewCorner[0] * depth / viewCorner[2];
}

float Display::screenEdgeY(float depth) const {
    return viewCorner[1] * depth / viewCorner[2];
}

void Display::swapBuffers() const {
    SDL_GL_SwapBuffers();
}

void setupLighting() {
    const GLfloat ambient[] = {0.22f, 0.22f, 0.22f, 1.0f};
    const GLfloat diffuse[] = {0.6f, 0.6f, 0.6f, 1.0f};
    const GLfloat specular[] = {0.7f, 0.7f, 0.7f, 1.0f};
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 0);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
}

void lightingCallback(int phase, int /*argument*/) {
    if (phase == 1 || phase == 3) {
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
    } else if (phase == 2 || phase == 4) {
        glDisable(GL_LIGHT0);
        glDisable(GL_LIGHTING);
    }
}
