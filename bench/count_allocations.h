#pragma once

// Number of `operator new` calls since the program started. Linking
// count_allocations.cpp replaces the global allocation functions to count them.
long heapAllocations();
