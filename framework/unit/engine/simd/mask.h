#pragma once
// The mask of a pair: what a comparison of two pairs gives, each lane all ones (true) or all
// zeros (false). Masks combine with & | ~ as they are; the rest is here:
//
//     int signBits(Mask m);               bit 0 for lane 0, bit 1 for lane 1
//     bool anyOf(Mask m), allOf(Mask m)
//     Mask both(Mask a, Mask b);          a & b, kept in the vector registers
//     Mask andNot(Mask m, Mask b);        ~m & b, likewise
//     Pair select(Mask m, Pair a, Pair b);   m ? a : b per lane, without a branch
//     Pair choose(Mask m, Pair a, Pair b);   the same behind a branch (below)
//
// choose is for a chain of dependent steps where both lanes usually agree: a predicted branch
// then keeps the comparison out of the chain, and what follows starts on a or b at once.

#include "engine/simd/pair.h"

namespace classic::simd {

using Mask = decltype(Pair{} < Pair{});

[[gnu::always_inline]] inline Pair select(Mask m, Pair a, Pair b) noexcept {
    return m ? a : b;
}

#if KELVO_SIMD_X86

[[gnu::always_inline]] inline int signBits(Mask m) noexcept {
    return _mm_movemask_pd((__m128d)m);
}
[[gnu::always_inline]] inline bool anyOf(Mask m) noexcept {
    return signBits(m) != 0;
}
[[gnu::always_inline]] inline bool allOf(Mask m) noexcept {
    return signBits(m) == 3;
}
// Joined as vector extensions, GCC takes the masks through general registers.
[[gnu::always_inline]] inline Mask both(Mask a, Mask b) noexcept {
    return (Mask)_mm_and_pd((__m128d)a, (__m128d)b);
}
[[gnu::always_inline]] inline Mask andNot(Mask m, Mask b) noexcept {
    return (Mask)_mm_andnot_si128((__m128i)m, (__m128i)b);
}

#elif KELVO_SIMD_NEON

[[gnu::always_inline]] inline int signBits(Mask m) noexcept {
    const uint64x2_t weights = {1, 2};
    return static_cast<int>(vaddvq_u64(vandq_u64((uint64x2_t)m, weights)));
}
[[gnu::always_inline]] inline bool anyOf(Mask m) noexcept {
    return vmaxvq_u32((uint32x4_t)m) != 0;
}
[[gnu::always_inline]] inline bool allOf(Mask m) noexcept {
    return vminvq_u32((uint32x4_t)m) != 0;
}
[[gnu::always_inline]] inline Mask both(Mask a, Mask b) noexcept {
    return a & b;
}
[[gnu::always_inline]] inline Mask andNot(Mask m, Mask b) noexcept {
    return ~m & b;
}

#else

[[gnu::always_inline]] inline int signBits(Mask m) noexcept {
    return (m[0] != 0 ? 1 : 0) | (m[1] != 0 ? 2 : 0);
}
[[gnu::always_inline]] inline bool anyOf(Mask m) noexcept {
    return (m[0] | m[1]) != 0;
}
[[gnu::always_inline]] inline bool allOf(Mask m) noexcept {
    return (m[0] & m[1]) != 0;
}
[[gnu::always_inline]] inline Mask both(Mask a, Mask b) noexcept {
    return a & b;
}
[[gnu::always_inline]] inline Mask andNot(Mask m, Mask b) noexcept {
    return ~m & b;
}

#endif

[[gnu::always_inline]] inline Pair choose(Mask m, Pair a, Pair b) noexcept {
    switch (signBits(m)) {
    case 0:
        return b;
    case 3:
        return a;
    default:
        return select(m, a, b);
    }
}

} // namespace classic::simd
