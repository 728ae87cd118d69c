#pragma once
// What log10.h and exp10.h share: each is a kernel F, instantiated for one double, a pair and an
// AVX2 quad (engine/simd/lanes.h), so that every path runs the same operations in the same
// order and gives the same bits. A kernel offers
//
//     Bits fits(V x);     all ones in the lanes its short way takes
//     V ordinary(V x);    the short way
//     V any(V x);         the whole
//
// A product that meets a sum passes through `separate` (engine/simd/barrier.h), so no build flag
// can fuse the two into one multiply-add in one path and not in another.

#include "engine/simd/dispatch.h"
#include "engine/simd/lanes.h"

#include <cstddef>

namespace classic::logexp_detail {

using simd::Lanes;

// One, two or four lanes of a kernel F: its short way where every lane `fits` it, else the
// whole (`any`).
template <class F, class V> [[gnu::always_inline]] inline V shortOrWhole(const V& x) {
    if (Lanes<V>::allOf(F::fits(x))) [[likely]] {
        return F::ordinary(x);
    }
    return F::any(x);
}

// The batch loop around a kernel F: four at a time on the AVX2 path (the loop inside the AVX2
// code, so its constants stay in registers from one four to the next), then a pair; two at a
// time otherwise; then the odd one that is left.
template <class F, class On>
[[gnu::always_inline]] inline void many(On, const double* in, double* out,
                                        std::size_t count) noexcept {
    std::size_t i = 0;
    if constexpr (On::avx2) {
        for (; i + 4 <= count; i += 4) {
            simd::store(out + i, shortOrWhole<F>(simd::loadQuad(in + i)));
        }
        if (i + 2 <= count) {
            simd::store(out + i, shortOrWhole<F>(simd::load(in + i)));
            i += 2;
        }
    } else {
        for (; i + 2 <= count; i += 2) {
            simd::store(out + i, shortOrWhole<F>(simd::load(in + i)));
        }
    }
    if (i < count) {
        out[i] = shortOrWhole<F>(in[i]);
    }
}

// count values of a kernel F on the given path; out may be in (not otherwise overlapping).
template <class F>
inline void many(const double* in, double* out, std::size_t count, simd::Path path) noexcept {
    simd::dispatch(
        path,
        [](auto on, const double* x, double* y, std::size_t n)
            __attribute__((always_inline)) { many<F>(on, x, y, n); },
        in, out, count);
}

} // namespace classic::logexp_detail
