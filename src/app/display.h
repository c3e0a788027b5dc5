#pragma once

#include <cstdint>

// The one full-screen OpenGL window, its fixed GL state and projection, and
// the numbers the game needs to lay items out against the screen edges.
struct Display {
    int32_t width = 0;   // window width in pixels: the desktop width
    int32_t height = 0;  // window height in pixels: the desktop height, at least 1
    // A point on the ray from the eye through the window's lower-left corner,
    // in eye coordinates; only its ratios x/z and y/z are used.
    float viewCorner[3] = {0, 0, 0};
    bool multisampled = false;  // the 4x multisampled mode was granted

    // Opens the window at the desktop size and sets the GL state; on failure
    // prints the reason on standard error and ends the process with status 1.
    Display();
    ~Display();  // shuts SDL down
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // x and y of the window's lower-left corner ray at an eye-space depth
    // (negative in front of the eye).
    float screenEdgeX(float depth) const;
    float screenEdgeY(float depth) const;

    void swapBuffers() const;
};

// Globals of the display.
extern Display* display;  // the window and GL context, from start-up to shutdown

// Light 0 and the light model; lighting itself is switched per subtree.
void setupLighting();

// Draw callback that lights a node's own sub-meshes (phases 1, 2) and each of
// its children (phases 3, 4).
void lightingCallback(int phase, int argument);

// Single-precision equivalents of gluPerspective and gluUnProject. The
// perspective returns false, leaving `out` untouched, where gluPerspective
// would return early (far == near, sine of half the angle 0, or aspect 0).
bool perspectiveMatrix(float fovyDegrees, float aspect, float zNear, float zFar, float out[16]);
bool unprojectPoint(float windowX, float windowY, float windowZ, const float modelView[16],
                    const float projection[16], const int viewport[4], float out[3]);
