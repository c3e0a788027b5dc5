#pragma once

// A colour with components in 0..1, compared exactly. Exact white marks an
// unpainted region.
struct Rgb {
    double red = 0;
    double green = 0;
    double blue = 0;

    bool operator==(const Rgb& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
    bool operator!=(const Rgb& other) const { return !(*this == other); }
};

constexpr Rgb kWhite{1, 1, 1};
