#include "sound/synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2 * kPi;
// The highest partial a voice keeps: well below half the sample rate, so that
// nothing folds back as an inharmonic whine.
constexpr double kHighestPartialHz = 0.45 * kSampleRate;

// 0 at t = 0 rising smoothly to 1 at t = length (a raised cosine).
double riseOver(double t, double length) {
    if (length <= 0 || t >= length)
        return 1;
    if (t <= 0)
        return 0;
    return 0.5 - 0.5 * std::cos(kPi * t / length);
}

double decayAt(double t, double decaySeconds) {
    return decaySeconds > 0 ? std::exp(-t / decaySeconds) : 1;
}

}  // namespace

size_t framesFor(double seconds) {
    return seconds <= 0 ? 0 : size_t(std::lround(seconds * kSampleRate));
}

double midiToHz(double midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12);
}

float NoiseSource::next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return float(double(state) / 2147483648.0 - 1.0);
}

double NoiseSource::uniform(double low, double high) {
    return low + (high - low) * (0.5 + 0.5 * double(next()));
}

Signal renderPartials(const PartialVoice& voice, double frequency, double seconds) {
    size_t frames = framesFor(seconds);
    Signal out(frames, 0.0f);
    for (const Partial& partial : voice.partials) {
        double partialHz = frequency * partial.ratio;
        // Vibrato and bending up can lift a partial above its nominal frequency.
        double highestBend = std::pow(2.0, std::max(0.0, voice.bendSemitones) / 12);
        if (partialHz * (1 + voice.vibratoDepth) * highestBend >= kHighestPartialHz)
            continue;
        double phase = 0;
        for (size_t i = 0; i < frames; ++i) {
            double t = double(i) / kSampleRate;
            out[i] += float(partial.amplitude * decayAt(t, partial.decaySeconds) * std::sin(phase));
            double wobble = 0;
            if (voice.vibratoHz > 0) {
                double growth = riseOver(t - voice.vibratoDelaySeconds, 0.4);
                wobble = voice.vibratoDepth * growth * std::sin(kTwoPi * voice.vibratoHz * t);
            }
            double bend = std::pow(2.0, voice.bendSemitones * (t / seconds) / 12);
            phase += kTwoPi * partialHz * (1 + wobble) * bend / kSampleRate;
        }
    }
    for (size_t i = 0; i < frames; ++i) {
        double t = double(i) / kSampleRate;
        double untilEnd = seconds - t;
        out[i] *=
            float(riseOver(t, voice.attackSeconds) * riseOver(untilEnd, voice.releaseSeconds));
    }
    return out;
}

Signal renderGlide(const Glide& glide, double seconds) {
    size_t frames = framesFor(seconds);
    Signal out(frames);
    double phase = 0;
    double ratio = glide.endHz / glide.startHz;
    for (size_t i = 0; i < frames; ++i) {
        double t = double(i) / kSampleRate;
        double progress = glide.glideSeconds > 0 ? std::min(t / glide.glideSeconds, 1.0) : 1.0;
        double hz = glide.startHz * std::pow(ratio, progress);
        double level = riseOver(t, glide.attackSeconds) * decayAt(t, glide.decaySeconds);
        out[i] = float(level * std::sin(phase));
        phase += kTwoPi * std::min(hz, kHighestPartialHz) / kSampleRate;
    }
    return out;
}

Signal renderNoiseBurst(NoiseSource& noise, double seconds, double attackSeconds,
                        double decaySeconds) {
    size_t frames = framesFor(seconds);
    Signal out(frames);
    for (size_t i = 0; i < frames; ++i) {
        double t = double(i) / kSampleRate;
        out[i] = float(noise.next() * riseOver(t, attackSeconds) * decayAt(t, decaySeconds));
    }
    return out;
}

void lowpass(Signal& signal, double cutoffHz) {
    double coefficient = 1 - std::exp(-kTwoPi * cutoffHz / kSampleRate);
    double state = 0;
    for (float& sample : signal) {
        state += coefficient * (sample - state);
        sample = float(state);
    }
}

void highpass(Signal& signal, double cutoffHz) {
    double coefficient = std::exp(-kTwoPi * cutoffHz / kSampleRate);
    double previousIn = 0, previousOut = 0;
    for (float& sample : signal) {
        double out = coefficient * (previousOut + sample - previousIn);
        previousIn = sample;
        previousOut = out;
        sample = float(out);
    }
}

void bandpass(Signal& signal, double centreHz, double q) {
    // The usual two-pole band-pass with 0 dB gain at the centre.
    double omega = kTwoPi * centreHz / kSampleRate;
    double alpha = std::sin(omega) / (2 * q);
    double a0 = 1 + alpha;
    double b0 = alpha / a0, b2 = -alpha / a0;
    double a1 = -2 * std::cos(omega) / a0, a2 = (1 - alpha) / a0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (float& sample : signal) {
        double x0 = sample;
        double y0 = b0 * x0 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x0;
        y2 = y1;
        y1 = y0;
        sample = float(y0);
    }
}

void fadeEdges(Signal& signal, double fadeInSeconds, double fadeOutSeconds) {
    size_t frames = signal.size();
    for (size_t i = 0; i < frames; ++i) {
        double fromStart = double(i) / kSampleRate;
        // The last sample is the end of the fade, so it lands exactly on zero.
        double untilEnd = double(frames - 1 - i) / kSampleRate;
        signal[i] *= float(riseOver(fromStart, fadeInSeconds) * riseOver(untilEnd, fadeOutSeconds));
    }
}

void fadeEdges(StereoBuffer& buffer, double fadeInSeconds, double fadeOutSeconds) {
    fadeEdges(buffer.left, fadeInSeconds, fadeOutSeconds);
    fadeEdges(buffer.right, fadeInSeconds, fadeOutSeconds);
}

void mixInto(StereoBuffer& out, const Signal& signal, size_t start, double gain, double pan) {
    size_t end = start + signal.size();
    if (end > out.frames()) {
        out.left.resize(end, 0.0f);
        out.right.resize(end, 0.0f);
    }
    double angle = (std::clamp(pan, -1.0, 1.0) + 1) * kPi / 4;
    auto leftGain = float(gain * std::cos(angle) * std::sqrt(2.0));
    auto rightGain = float(gain * std::sin(angle) * std::sqrt(2.0));
    for (size_t i = 0; i < signal.size(); ++i) {
        out.left[start + i] += leftGain * signal[i];
        out.right[start + i] += rightGain * signal[i];
    }
}

void addEcho(StereoBuffer& buffer, double delaySeconds, double feedback, double wet) {
    size_t delay = std::max<size_t>(1, framesFor(delaySeconds));
    size_t frames = buffer.frames();
    // Two delay lines that feed each other: the first repeat comes from the
    // right, the next from the left, and so on, each `feedback` times quieter.
    Signal lineA(frames, 0.0f), lineB(frames, 0.0f);
    for (size_t i = 0; i < frames; ++i) {
        float fromA = i >= delay ? lineA[i - delay] : 0.0f;
        float fromB = i >= delay ? lineB[i - delay] : 0.0f;
        lineA[i] = 0.5f * (buffer.left[i] + buffer.right[i]) + float(feedback) * fromB;
        lineB[i] = float(feedback) * fromA;
        buffer.right[i] += float(wet) * fromA;
        buffer.left[i] += float(wet) * fromB;
    }
}

namespace {

struct Comb {
    std::vector<float> line;
    size_t index = 0;
    float filterState = 0;

    float process(float input, float feedback, float damping) {
        float output = line[index];
        filterState = output * (1 - damping) + filterState * damping;
        line[index] = input + filterState * feedback;
        index = (index + 1) % line.size();
        return output;
    }
};

struct AllPass {
    std::vector<float> line;
    size_t index = 0;

    float process(float input) {
        float delayed = line[index];
        line[index] = input + delayed * 0.5f;
        index = (index + 1) % line.size();
        return delayed - input;
    }
};

// Tuned for 22050 Hz: mutually prime lengths so the echoes never line up.
constexpr size_t kCombLengths[] = {558, 594, 638, 678, 711, 745, 778, 808};
constexpr size_t kAllPassLengths[] = {278, 220, 170, 112};
constexpr size_t kStereoSpread = 11;

Signal roomSide(const Signal& input, const RoomSettings& room, size_t spread) {
    std::vector<Comb> combs;
    for (size_t length : kCombLengths)
        combs.push_back({std::vector<float>(length + spread), 0, 0});
    std::vector<AllPass> allPasses;
    for (size_t length : kAllPassLengths)
        allPasses.push_back({std::vector<float>(length + spread), 0});
    auto feedback = float(0.7 + 0.28 * room.size);
    auto damping = float(0.4 * room.damping);
    Signal out(input.size());
    for (size_t i = 0; i < input.size(); ++i) {
        float in = input[i] * 0.015f;
        float sum = 0;
        for (Comb& comb : combs)
            sum += comb.process(in, feedback, damping);
        for (AllPass& allPass : allPasses)
            sum = allPass.process(sum);
        out[i] = sum;
    }
    return out;
}

}  // namespace

void addRoom(StereoBuffer& buffer, const RoomSettings& room) {
    Signal mono(buffer.frames());
    for (size_t i = 0; i < mono.size(); ++i)
        mono[i] = 0.5f * (buffer.left[i] + buffer.right[i]);
    Signal wetLeft = roomSide(mono, room, 0);
    Signal wetRight = roomSide(mono, room, kStereoSpread);
    // The comb bank is quiet by design (the 0.015 input scale keeps its state
    // small); three times its output is about as loud as the dry sound.
    auto wet = float(3 * room.wet);
    for (size_t i = 0; i < mono.size(); ++i) {
        buffer.left[i] += wet * wetLeft[i];
        buffer.right[i] += wet * wetRight[i];
    }
}

double peakOf(const StereoBuffer& buffer) {
    double peak = 0;
    for (const Signal* side : {&buffer.left, &buffer.right}) {
        for (float sample : *side)
            peak = std::max(peak, double(std::fabs(sample)));
    }
    return peak;
}

double rmsOf(const StereoBuffer& buffer) {
    if (buffer.frames() == 0)
        return 0;
    double sum = 0;
    for (const Signal* side : {&buffer.left, &buffer.right}) {
        for (float sample : *side)
            sum += double(sample) * sample;
    }
    return std::sqrt(sum / double(2 * buffer.frames()));
}

void normalizePeak(StereoBuffer& buffer, double peak) {
    double current = peakOf(buffer);
    if (current <= 0)
        return;
    auto scale = float(peak / current);
    for (Signal* side : {&buffer.left, &buffer.right}) {
        for (float& sample : *side)
            sample *= scale;
    }
}
