#pragma once
// separate(v): an opaque copy of v. The compiler cannot see through it, so a product passed
// through it stays a rounded product and is never fused with the sum it meets into one
// multiply-add, whatever the build's flags or the instruction set of the code around it: the
// functions written on it give the same bits on every path. (The build also forbids the
// fusion outright, -ffp-contract=off; the copy keeps that a property of the code.)
//
//     double separate(double v);   Pair separate(Pair v);   Quad separate(const Quad& v);
//
// It costs nothing: the value stays in the register it is in.

#include "engine/simd/pair.h"
#include "engine/simd/quad.h"

namespace classic::simd {

#if KELVO_SIMD_X86

[[gnu::always_inline]] inline double separate(double v) noexcept {
    asm("" : "+x"(v));
    return v;
}
[[gnu::always_inline]] inline Pair separate(Pair v) noexcept {
    asm("" : "+x"(v));
    return v;
}
#if defined(__clang__)
// clang checks the operand's size against the function's own instruction set, so the copy of
// a quad is AVX code of its own; it is inlined into the AVX2 code that calls it.
[[gnu::target("avx2")]] inline Quad separate(const Quad& v) noexcept {
    Quad copy = v;
    asm("" : "+x"(copy.v));
    return copy;
}
#else
[[gnu::always_inline]] inline Quad separate(const Quad& v) noexcept {
    Quad copy = v;
    asm("" : "+x"(copy.v));
    return copy;
}
#endif

#elif KELVO_SIMD_NEON

[[gnu::always_inline]] inline double separate(double v) noexcept {
    asm("" : "+w"(v));
    return v;
}
[[gnu::always_inline]] inline Pair separate(Pair v) noexcept {
    asm("" : "+w"(v));
    return v;
}
// Two registers: the halves one by one.
[[gnu::always_inline]] inline Quad separate(const Quad& v) noexcept {
    Pair low = {v.v[0], v.v[1]}, high = {v.v[2], v.v[3]};
    asm("" : "+w"(low), "+w"(high));
    return {QuadVector{low[0], low[1], high[0], high[1]}};
}

#else

// Anywhere else: through memory, which no compiler can see through either.
template <class V> [[gnu::always_inline]] inline V separate(const V& v) noexcept {
    V copy = v;
    asm("" : "+m"(copy));
    return copy;
}

#endif

} // namespace classic::simd
