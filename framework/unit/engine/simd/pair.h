#pragma once
// The pair: two doubles side by side, as the engines run both channels of a substep, or two
// arguments of a function at once. Arithmetic (+ - * /, with a pair or a double) and the
// comparisons (giving a `Mask`, mask.h) are the compiler's own vector operators, lane by lane,
// each lane exactly the scalar IEEE operation; lanes are read and written as p[0], p[1].
// What the operators do not say is here, the same result on every backend:
//
//     Pair splat(double v);                both lanes v
//     Pair load(const double* p);          p[0], p[1] (any alignment)
//     void store(double* p, Pair v);
//     Pair min(Pair a, Pair b);            a < b ? a : b per lane (so b where either is NaN)
//     Pair max(Pair a, Pair b);            a > b ? a : b per lane (likewise)
//     Pair magnitude(Pair v);              |v|: the sign bits cleared, NaN included
//     Pair swapped(Pair v);                {v[1], v[0]}
//
// The rules of min and max are those of the SSE2 instructions, which the x86 backend uses; the
// others spell them out, so that NaN and signed zeros meet the same rule everywhere.

#include "engine/simd/backend.h"

#include <cstdint>
#include <cstring>

#if KELVO_SIMD_X86
#include <emmintrin.h>
#elif KELVO_SIMD_NEON
#include <arm_neon.h>
#endif

namespace classic::simd {

using Pair = double __attribute__((vector_size(16)));
// The 64 bits of each lane of a pair, as unsigned integers: for the functions that work on the
// representation (exponent, mantissa, sign).
using PairBits = std::uint64_t __attribute__((vector_size(16)));

[[gnu::always_inline]] inline Pair splat(double v) noexcept {
    return Pair{v, v};
}

[[gnu::always_inline]] inline Pair load(const double* p) noexcept {
    Pair v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

[[gnu::always_inline]] inline void store(double* p, Pair v) noexcept {
    std::memcpy(p, &v, sizeof v);
}

#if KELVO_SIMD_X86

[[gnu::always_inline]] inline Pair min(Pair a, Pair b) noexcept {
    return (Pair)_mm_min_pd((__m128d)a, (__m128d)b);
}
[[gnu::always_inline]] inline Pair max(Pair a, Pair b) noexcept {
    return (Pair)_mm_max_pd((__m128d)a, (__m128d)b);
}
[[gnu::always_inline]] inline Pair magnitude(Pair v) noexcept {
    return (Pair)_mm_andnot_pd(_mm_set1_pd(-0.0), (__m128d)v);
}
[[gnu::always_inline]] inline Pair swapped(Pair v) noexcept {
    return (Pair)_mm_shuffle_pd((__m128d)v, (__m128d)v, 1);
}

#elif KELVO_SIMD_NEON

[[gnu::always_inline]] inline Pair min(Pair a, Pair b) noexcept {
    // Not vminq_f64, whose NaN rule differs: a compare and a bitwise select.
    const float64x2_t x = (float64x2_t)a, y = (float64x2_t)b;
    return (Pair)vbslq_f64(vcltq_f64(x, y), x, y);
}
[[gnu::always_inline]] inline Pair max(Pair a, Pair b) noexcept {
    const float64x2_t x = (float64x2_t)a, y = (float64x2_t)b;
    return (Pair)vbslq_f64(vcgtq_f64(x, y), x, y);
}
[[gnu::always_inline]] inline Pair magnitude(Pair v) noexcept {
    return (Pair)vabsq_f64((float64x2_t)v); // clears the sign bit, of NaN too
}
[[gnu::always_inline]] inline Pair swapped(Pair v) noexcept {
    return (Pair)vextq_f64((float64x2_t)v, (float64x2_t)v, 1);
}

#else

[[gnu::always_inline]] inline Pair min(Pair a, Pair b) noexcept {
    return Pair{a[0] < b[0] ? a[0] : b[0], a[1] < b[1] ? a[1] : b[1]};
}
[[gnu::always_inline]] inline Pair max(Pair a, Pair b) noexcept {
    return Pair{a[0] > b[0] ? a[0] : b[0], a[1] > b[1] ? a[1] : b[1]};
}
[[gnu::always_inline]] inline Pair magnitude(Pair v) noexcept {
    return (Pair)((PairBits)v & ~(std::uint64_t{1} << 63));
}
[[gnu::always_inline]] inline Pair swapped(Pair v) noexcept {
    return Pair{v[1], v[0]};
}

#endif

} // namespace classic::simd
