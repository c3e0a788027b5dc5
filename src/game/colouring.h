#pragma once

#include "scene/rgb.h"

#include <cstdint>
#include <vector>

// A free-colouring fill that can be undone: the region and the colour the
// progress book gave it just before (white when it was unfilled).
struct UndoEntry {
    int32_t elementId = 0;
    Rgb previous;
};

// Globals of colouring.
extern int32_t wrongHintNumber;  // 1-based paint a wrongly clicked region needs; 0 none
extern std::vector<int32_t> celebrationQueue;  // 1-based paints of the tubes that burst next
extern int32_t celebrationBurstsLeft;          // bursts of the celebration still to come
extern int32_t celebrationNumber;              // 1-based paint of the tube that bursts next
extern bool celebrationPending;                // a burst is due from that tube

// The behaviour of a region (action i1: element id, i2: paint number): eases
// the region towards its colour and applies the colouring rule to a click.
void elementBehaviour(void*);

// Fills the celebration queue after the last region of a page, painted with
// paint number `paint`.
void startCelebration(int32_t paint);

// Back to the state of a fresh start.
void resetColouring();
