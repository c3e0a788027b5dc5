#pragma once

// Releases the current GL context, so that GL calls return at once without
// drawing, and makes it current again.
void releaseGlContext();
void restoreGlContext();
