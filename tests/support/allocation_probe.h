#pragma once

#include <cstddef>

// Records the largest single allocation made through operator new, so that a
// test can show that damaged input never sizes anything from a bad count.
// Linking this in replaces the global allocator of the test program; the
// replacement only records and forwards to malloc.

// Forgets what was recorded so far.
void resetLargestAllocation();
// The largest size asked of operator new since the last reset.
size_t largestAllocation();
