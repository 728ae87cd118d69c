#pragma once
// The stereo link's shortcut of the feedback chains (the leveling gain cell's stretch and the
// Fennic cell), with both channels side by side in a pair (engine/simd): each lane does exactly
// the scalar arithmetic of its channel.

#include "engine/simd/mask.h"
#include "engine/simd/pair.h"

namespace classic {

// For a link of 1: loudest gets the larger level in both lanes, and the result says whether
// level + (loudest - level) gives it back bit for bit in both lanes, which holds where each
// level is at least half the loudest (loudest - level is then exact, by Sterbenz) and none is
// NaN or infinite.
inline bool linksToLoudest(simd::Pair level, simd::Pair& loudest) noexcept {
    loudest = simd::max(level, simd::swapped(level));
    return simd::allOf(
        simd::both(level + level >= loudest, loudest < simd::splat(__builtin_inf())));
}

} // namespace classic
