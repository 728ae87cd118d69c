#pragma once
// Both channels of the leveling gain cell side by side in one SSE2 register: each lane does
// exactly the scalar arithmetic of its channel (the same IEEE operations, no fused
// multiply-add), and every branch of the scalar cell becomes a lane-wise select of the value
// that branch would have produced.

#include "engine/frame.h"

#include <cstdint>
#include <emmintrin.h>

namespace classic {

// The frame's pair of channels: one channel per lane.
using Lanes = simd::Pair;
using LaneBits = std::int64_t __attribute__((vector_size(16)));

inline Lanes splat(double v) noexcept {
    return Lanes{v, v};
}

// std::fabs: the sign bit cleared, NaN included.
inline Lanes magnitude(Lanes v) noexcept {
    return reinterpret_cast<Lanes>(reinterpret_cast<LaneBits>(v) &
                                   static_cast<std::int64_t>(0x7fffffffffffffffULL));
}

// larger(v, bound) of the scalar cell for a bound that is neither NaN nor zero: a NaN v
// yields the bound, as maxpd(v, bound) does (it takes its second operand unless v > bound).
inline Lanes atLeast(Lanes v, double bound) noexcept {
    return reinterpret_cast<Lanes>(_mm_max_pd(reinterpret_cast<__m128d>(v), _mm_set1_pd(bound)));
}

// smaller(v, bound) likewise, as minpd(v, bound).
inline Lanes atMost(Lanes v, double bound) noexcept {
    return reinterpret_cast<Lanes>(_mm_min_pd(reinterpret_cast<__m128d>(v), _mm_set1_pd(bound)));
}

// v > bound ? bound : v, NaN kept: minpd(bound, v) takes v unless bound < v.
inline Lanes capAt(Lanes v, double bound) noexcept {
    return reinterpret_cast<Lanes>(_mm_min_pd(_mm_set1_pd(bound), reinterpret_cast<__m128d>(v)));
}

// v < bound ? bound : v lane by lane, NaN v kept: maxpd(bound, v) takes v unless bound > v.
inline Lanes raiseTo(Lanes v, Lanes bound) noexcept {
    return reinterpret_cast<Lanes>(
        _mm_max_pd(reinterpret_cast<__m128d>(bound), reinterpret_cast<__m128d>(v)));
}

// when ? a : b lane by lane. Both lanes usually agree, and then a predicted branch keeps the
// comparison out of the chain of dependent steps: what follows starts on a or b at once.
inline Lanes choose(LaneBits when, Lanes a, Lanes b) noexcept {
    switch (_mm_movemask_pd(reinterpret_cast<__m128d>(when))) {
    case 0:
        return b;
    case 3:
        return a;
    default:
        return when ? a : b;
    }
}

// The stereo link's shortcut for a link of 1: loudest gets the larger level in both lanes, and
// the result says whether level + (loudest - level) gives it back bit for bit in both lanes,
// which holds where each level is at least half the loudest (loudest - level is then exact,
// by Sterbenz) and none is NaN or infinite. The masks are SSE2 compares: joined as vector
// extensions, GCC takes them through general registers.
inline bool linksToLoudest(Lanes level, Lanes& loudest) noexcept {
    const __m128d v = reinterpret_cast<__m128d>(level);
    const __m128d both = _mm_max_pd(v, _mm_shuffle_pd(v, v, 1));
    loudest = reinterpret_cast<Lanes>(both);
    const __m128d exact = _mm_and_pd(_mm_cmpge_pd(_mm_add_pd(v, v), both),
                                     _mm_cmplt_pd(both, _mm_set1_pd(__builtin_inf())));
    return _mm_movemask_pd(exact) == 3;
}

} // namespace classic
