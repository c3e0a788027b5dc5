#pragma once

#include <cstdint>
#include <cstring>

// Little-endian reads from unaligned bytes. Callers check bounds first.
inline int32_t readInt32(const uint8_t* bytes) {
    uint32_t value = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                     uint32_t(bytes[3]) << 24;
    return static_cast<int32_t>(value);
}

inline float readFloat(const uint8_t* bytes) {
    uint32_t bits = static_cast<uint32_t>(readInt32(bytes));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
