#pragma once

// A small synthesis kit for the game's sounds: voices made of sine partials
// (so nothing aliases at the game's low sample rate), noise, simple filters,
// echo and reverb, and the level tools that keep every sound below clipping.

#include <cstddef>
#include <cstdint>
#include <vector>

// The rate the game's mixer runs at: sounds made at this rate play unconverted.
constexpr int kSampleRate = 22050;

// One channel of samples, full scale at +-1.
using Signal = std::vector<float>;

struct StereoBuffer {
    Signal left;
    Signal right;

    explicit StereoBuffer(size_t frames = 0) : left(frames), right(frames) {}
    size_t frames() const { return left.size(); }
};

size_t framesFor(double seconds);
double midiToHz(double midiNote);

// Deterministic white noise (xorshift32), so that every build writes the same bytes.
struct NoiseSource {
    uint32_t state = 0x9e3779b9u;

    explicit NoiseSource(uint32_t seed) : state(seed == 0 ? 0x9e3779b9u : seed) {}
    // Uniform in [-1, 1).
    float next();
    // Uniform in [low, high).
    double uniform(double low, double high);
};

// One sine component of a voice: its frequency as a multiple of the note's,
// its starting level and the time constant of its exponential decay (0 for
// none, which suits sustained voices).
struct Partial {
    double ratio = 1;
    double amplitude = 1;
    double decaySeconds = 0;
};

// A note made of partials: a raised-cosine attack, each partial decaying on
// its own, and a raised-cosine release over the last `releaseSeconds`.
// Partials at or above 0.45 of the sample rate are left out: they would alias.
struct PartialVoice {
    std::vector<Partial> partials;
    double attackSeconds = 0.005;
    double releaseSeconds = 0.05;
    double vibratoHz = 0;            // slow pitch wobble, 0 for none
    double vibratoDepth = 0;         // as a fraction of the frequency
    double vibratoDelaySeconds = 0;  // the wobble grows in after this
    double bendSemitones = 0;        // a steady pitch bend, reached at the note's end
};
Signal renderPartials(const PartialVoice& voice, double frequency, double seconds);

// A sine whose pitch glides exponentially from `startHz` to `endHz` over
// `glideSeconds` and then holds, under a quick attack and an exponential
// decay: the sound of a bubble, or of a small wooden tap.
struct Glide {
    double startHz = 440;
    double endHz = 440;
    double glideSeconds = 0.05;
    double attackSeconds = 0.002;
    double decaySeconds = 0.05;
};
Signal renderGlide(const Glide& glide, double seconds);

// White noise under a quick attack and an exponential decay.
Signal renderNoiseBurst(NoiseSource& noise, double seconds, double attackSeconds,
                        double decaySeconds);

// Filters that run over a whole signal in place.
void lowpass(Signal& signal, double cutoffHz);             // one pole, gentle
void highpass(Signal& signal, double cutoffHz);            // one pole; also removes any DC offset
void bandpass(Signal& signal, double centreHz, double q);  // two poles, unity peak gain

// Raised-cosine fades over the first and last stretch of a signal.
void fadeEdges(Signal& signal, double fadeInSeconds, double fadeOutSeconds);
void fadeEdges(StereoBuffer& buffer, double fadeInSeconds, double fadeOutSeconds);

// Adds `signal` into `out` from frame `start` (growing `out` when needed),
// scaled by `gain` and placed by `pan` (-1 left, 0 centre, 1 right) with
// equal power.
void mixInto(StereoBuffer& out, const Signal& signal, size_t start, double gain, double pan);

// A ping-pong echo: each repeat `feedback` times the last, alternating sides.
void addEcho(StereoBuffer& buffer, double delaySeconds, double feedback, double wet);

// A small room: parallel damped combs into series all-passes, tuned slightly
// differently on each side so the tail is wide. Lengthens nothing: the tail is
// cut at the end of the buffer, so leave room for it.
struct RoomSettings {
    double size = 0.5;     // 0..1, how long the tail rings
    double damping = 0.5;  // 0..1, how quickly the highs die in the tail
    double wet = 0.2;
};
void addRoom(StereoBuffer& buffer, const RoomSettings& room);

double peakOf(const StereoBuffer& buffer);
double rmsOf(const StereoBuffer& buffer);
// Scales the buffer so that its largest sample is exactly `peak`.
void normalizePeak(StereoBuffer& buffer, double peak);
