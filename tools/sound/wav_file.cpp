#include "sound/wav_file.h"

#include <cmath>

namespace {

constexpr uint16_t kPcmFormat = 1;
constexpr uint16_t kChannels = 2;
constexpr uint16_t kBitsPerSample = 16;
constexpr uint16_t kBytesPerFrame = kChannels * kBitsPerSample / 8;

void appendTag(Bytes& out, const char (&tag)[5]) {
    out.insert(out.end(), tag, tag + 4);
}

void appendUint16(Bytes& out, uint16_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void appendUint32(Bytes& out, uint32_t value) {
    appendInt32(out, static_cast<int32_t>(value));
}

}  // namespace

int16_t toPcm16(float sample) {
    double scaled = std::lround(double(sample) * 32767.0);
    if (scaled > 32767)
        return 32767;
    if (scaled < -32768)
        return -32768;
    return int16_t(scaled);
}

Bytes encodeWav(const StereoBuffer& buffer) {
    auto dataBytes = uint32_t(buffer.frames() * kBytesPerFrame);
    Bytes out;
    out.reserve(44 + dataBytes);
    appendTag(out, "RIFF");
    appendUint32(out, 36 + dataBytes);  // everything after this field
    appendTag(out, "WAVE");
    appendTag(out, "fmt ");
    appendUint32(out, 16);
    appendUint16(out, kPcmFormat);
    appendUint16(out, kChannels);
    appendUint32(out, kSampleRate);
    appendUint32(out, uint32_t(kSampleRate) * kBytesPerFrame);
    appendUint16(out, kBytesPerFrame);
    appendUint16(out, kBitsPerSample);
    appendTag(out, "data");
    appendUint32(out, dataBytes);
    for (size_t i = 0; i < buffer.frames(); ++i) {
        appendUint16(out, uint16_t(toPcm16(buffer.left[i])));
        appendUint16(out, uint16_t(toPcm16(buffer.right[i])));
    }
    return out;
}
