#pragma once
// How the VU needle moves: towards a target in VU dB at every 30 Hz poll, on the meter's
// scale from -24 to +4 VU, where 0 VU is -18 dBFS RMS. Every faceplate's needle target is
// made of these pieces.

#include <algorithm>
#include <cmath>

namespace needlemotion {

// 1 - exp(-(1/30)/0.13): a first-order approach with a 130 ms time constant at the 30 Hz poll.
inline constexpr double factor = 0.22617556277376327;
inline constexpr double vuOffset = 18; // 0 VU is -18 dBFS RMS
inline constexpr double minimum = -24;
inline constexpr double maximum = 4;

// The louder of two channels' levels in dBFS; a level that is not a number would stick the
// needle for good, so it reads as silence. [any thread]
inline double louder(const float (&levels)[2]) {
    const double level = std::max(levels[0], levels[1]);
    return std::isfinite(level) ? level : -100.0;
}

// One poll's step of the needle towards the target, kept on the scale. [any thread]
inline double approach(double needle, double target) {
    return needle + (std::clamp(target, minimum, maximum) - needle) * factor;
}

} // namespace needlemotion
