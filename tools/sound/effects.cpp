#include "sound/effects.h"

#include <algorithm>

namespace {

// A soft wooden mallet on a tuned bar: a strong fundamental, a quickly dying
// fourth partial for the knock (`knock` sets how bright it is), and a faint
// octave for warmth.
PartialVoice softMallet(double ringSeconds, double knock = 0.22) {
    PartialVoice voice;
    voice.partials = {
        {1, 1.0, ringSeconds}, {2, 0.12, ringSeconds * 0.4}, {4, knock, 0.025}, {9.2, 0.05, 0.008}};
    voice.attackSeconds = 0.003;
    voice.releaseSeconds = 0.04;
    return voice;
}

StereoBuffer finish(StereoBuffer buffer, double fadeOutSeconds) {
    highpass(buffer.left, 40);
    highpass(buffer.right, 40);
    fadeEdges(buffer, 0.001, fadeOutSeconds);
    normalizePeak(buffer, kEffectPeak);
    return buffer;
}

}  // namespace

StereoBuffer makeButtonClick() {
    // A small wooden "tok": a tap whose pitch drops quickly, a short rounded
    // body tone, and a breath of filtered noise for the contact. No sharp
    // high click: it is heard on every press.
    StereoBuffer out(framesFor(0.11));
    Glide tap{1350, 780, 0.02, 0.0015, 0.018};
    mixInto(out, renderGlide(tap, 0.11), 0, 1.0, 0);
    Glide body{520, 470, 0.03, 0.002, 0.03};
    mixInto(out, renderGlide(body, 0.11), 0, 0.55, 0);
    NoiseSource noise(11);
    Signal contact = renderNoiseBurst(noise, 0.02, 0.0005, 0.003);
    bandpass(contact, 2600, 1.2);
    mixInto(out, contact, 0, 0.5, 0);
    return finish(out, 0.03);
}

StereoBuffer makeRightFill() {
    // Heard on every correct click, so short, soft and consonant: two mallet
    // notes a fourth apart rising to the tonic (C6 to F6 in the music's key),
    // with a low "bloop" underneath like paint flowing in, and a short echo.
    StereoBuffer out(framesFor(0.5));
    mixInto(out, renderPartials(softMallet(0.12, 0.12), midiToHz(84), 0.3), 0, 0.7, -0.15);
    mixInto(out, renderPartials(softMallet(0.16, 0.12), midiToHz(89), 0.38), framesFor(0.065), 0.8,
            0.15);
    Glide bloop{330, 620, 0.06, 0.004, 0.045};
    mixInto(out, renderGlide(bloop, 0.2), 0, 0.35, 0);
    addEcho(out, 0.11, 0.3, 0.22);
    return finish(out, 0.08);
}

StereoBuffer makeWrongFill() {
    // A gentle "uh-oh": two hollow, rounded notes stepping down a minor third
    // (A4 to F#4), low and muted where the right fill is high and bright, the
    // second sagging a little in pitch as it fades. Odd partials only give the
    // woody, clarinet-like hollowness that marks it as a different sound.
    StereoBuffer out(framesFor(0.5));
    PartialVoice hollow;
    hollow.partials = {{1, 1.0, 0.1}, {3, 0.22, 0.05}, {5, 0.06, 0.025}};
    hollow.attackSeconds = 0.012;
    hollow.releaseSeconds = 0.06;
    mixInto(out, renderPartials(hollow, midiToHz(69), 0.16), 0, 0.85, 0);
    hollow.bendSemitones = -0.5;
    mixInto(out, renderPartials(hollow, midiToHz(66), 0.28), framesFor(0.19), 1.0, 0);
    lowpass(out.left, 2200);
    lowpass(out.right, 2200);
    return finish(out, 0.05);
}

StereoBuffer makePageFanfare() {
    // A short celebration in the music's key: a quick rising F major arpeggio
    // on the mallet, a warm brass-like chord that swells under it, and bubbles
    // rising in random places across the stereo field.
    const double length = 2.6;
    StereoBuffer out(framesFor(length));
    const int arpeggio[] = {72, 77, 81, 84};  // C5 F5 A5 C6
    for (size_t i = 0; i < 4; ++i) {
        double start = 0.11 * double(i);
        double ring = i == 3 ? 0.7 : 0.25;
        mixInto(out, renderPartials(softMallet(ring), midiToHz(arpeggio[i]), i == 3 ? 1.6 : 0.5),
                framesFor(start), 0.75, -0.3 + 0.2 * double(i));
    }
    // The chord: sawtooth-like partials (1/n), each a little slower to come in
    // than the one below, as a horn brightens when it speaks; slight vibrato.
    PartialVoice horn;
    for (int n = 1; n <= 8; ++n)
        horn.partials.push_back({double(n), 1.0 / n, 0.9 + 0.4 / n});
    horn.attackSeconds = 0.06;
    horn.releaseSeconds = 0.7;
    horn.vibratoHz = 5.2;
    horn.vibratoDepth = 0.004;
    horn.vibratoDelaySeconds = 0.3;
    const int chord[] = {53, 60, 65, 69, 72};  // F3 C4 F4 A4 C5
    for (size_t i = 0; i < 5; ++i) {
        Signal note = renderPartials(horn, midiToHz(chord[i]), 1.9);
        lowpass(note, 2400);
        mixInto(out, note, framesFor(0.33), 0.16, -0.4 + 0.2 * double(i));
    }
    NoiseSource random(2024);
    for (int bubble = 0; bubble < 14; ++bubble) {
        double start = 0.4 + 0.11 * bubble + random.uniform(0, 0.06);
        double base = random.uniform(700, 1300) * (1 + 0.04 * bubble);
        Glide rise{base, base * 1.9, 0.05, 0.002, 0.035};
        mixInto(out, renderGlide(rise, 0.2), framesFor(start), 0.3, random.uniform(-0.8, 0.8));
    }
    addRoom(out, {0.55, 0.5, 0.18});
    return finish(out, 0.6);
}

StereoBuffer makePaintPick() {
    // A paint pot: a soft low "plop" and three bubbles rising to the surface,
    // one after another, slightly apart in pitch and place.
    StereoBuffer out(framesFor(0.34));
    Glide plop{190, 300, 0.04, 0.003, 0.04};
    mixInto(out, renderGlide(plop, 0.15), 0, 0.6, 0);
    struct Bubble {
        double startSeconds, hz, pan;
    };
    const Bubble bubbles[] = {{0.015, 520, -0.25}, {0.085, 700, 0.2}, {0.15, 610, 0.0}};
    for (const Bubble& bubble : bubbles) {
        Glide rise{bubble.hz, bubble.hz * 2.0, 0.045, 0.002, 0.03};
        mixInto(out, renderGlide(rise, 0.16), framesFor(bubble.startSeconds), 0.8, bubble.pan);
    }
    addRoom(out, {0.2, 0.6, 0.1});
    return finish(out, 0.05);
}
