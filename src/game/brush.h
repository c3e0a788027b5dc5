#pragma once

// The brush that stands in for the mouse cursor, drawn over everything.

// Run once on the brush host: builds the handle and the bristles.
void buildBrush(void*);
// Handle: follows the mouse on the plane 17 units in front of the eye.
void brushFollow(void*);
// Bristles: the selected paint, a little thinner while none is selected.
void brushTint(void*);
