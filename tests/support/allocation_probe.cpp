#include "support/allocation_probe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<size_t> largestSeen{0};

}  // namespace

void resetLargestAllocation() {
    largestSeen = 0;
}

size_t largestAllocation() {
    return largestSeen;
}

void* operator new(std::size_t size) {
    size_t seen = largestSeen.load(std::memory_order_relaxed);
    while (size > seen && !largestSeen.compare_exchange_weak(seen, size)) {
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
