#pragma once

// The game's sound effects. Each is finished (edges faded to silence) and
// brought to the effects' peak level: near full scale, with just enough room
// left for the music that the mixer adds at 38/128 of its own 0.4 peak.

#include "sound/synth.h"

constexpr double kEffectPeak = 0.88;

StereoBuffer makeButtonClick();  // "button.wav": any button, check box or dialog control
StereoBuffer makeRightFill();    // "scena.wav": a region filled with the right paint
StereoBuffer makeWrongFill();    // "scena_false.wav": a region clicked with the wrong paint
StereoBuffer makePageFanfare();  // "finish.wav": a page completed, bubbles rising
StereoBuffer makePaintPick();    // "banka.wav": a paint tube picked from the palette
