#include "app/game_loop.h"

#include <gtest/gtest.h>

namespace {

struct DelayCase {
    const char* what;
    uint32_t start;
    uint32_t end;
    int32_t delay;
};

TEST(FrameDelay, PadsEachIterationTo16Milliseconds) {
    const DelayCase cases[] = {
        {"quick frame", 1000, 1005, 11},
        {"frame of zero time", 1000, 1000, 16},
        {"exactly on budget", 1000, 1016, 0},
        {"slow frame: no sleep, no catching up", 1000, 1030, -14},
        {"clock went backwards: capped", 1000, 990, 16},
        {"tick count wraps during a quick frame", 0xFFFFFFFAu, 0x00000002u, 8},
        {"tick count wraps during a slow frame", 0xFFFFFFF0u, 0x00000004u, -4},
    };
    for (const DelayCase& c : cases)
        EXPECT_EQ(frameDelayFor(c.start, c.end), c.delay) << c.what;
}

}  // namespace
