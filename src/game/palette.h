#pragma once

#include "scene/rgb.h"

#include <cstdint>

struct SceneNode;

// Globals of the palette.
extern Rgb currentPaint;            // the selected paint's colour: the brush colour
extern int32_t currentPaintNumber;  // the selected paint's 0-based number
extern bool noPaintSelected;        // no tube has been picked on this page
extern SceneNode* paletteNode;      // the palette container on screen

// A pseudo-random integer from 0 to n - 1 (0 when n is not positive).
int32_t randomBelow(int32_t n);

// Run once on a fresh palette container: one slot per paint of the page (or
// the eighteen free paints), each building its tube.
void buildPalette(void*);

// Per-frame actions of the palette.
void tubeBuilder(void*);        // slot: (re)builds its tube when its paint's colour changes
void tubeBehaviour(void*);      // tube: hover, click, wrong-click hint, celebration bursts
void tubeAppear(void*);         // tube: grows in over 700 ms
void tubeSelectPulse(void*);    // tube: a squeeze when picked
void tubeWrongPulse(void*);     // tube: a shrink and swell when a region needed it
void clickBubbleShrink(void*);  // bubble from a picked tube
void burstTimer(void*);         // the next celebration burst in 200 ms
void celebrationBubble(void*);  // bubble of a celebration burst

// Back to the state of a fresh start.
void resetPalette();
