#pragma once
// The lane operations log10.h and exp10.h are written in: one kernel, instantiated for one
// double, an SSE2 pair and an AVX2 four, so that every path runs the same operations in the
// same order and gives the same bits.
//
// A product that meets a sum passes through `separate`, which the compiler cannot see
// through, so no build flag can fuse the two into one multiply-add in one path and not in
// another.

#include "engine/vectors.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <immintrin.h>

namespace classic::logexp_detail {

using namespace vectors;

// The same operations on one, two or four lanes. Masks are all ones or all zeros per lane;
// comparisons are false for NaN.
template <class V> struct Lanes;

template <> struct Lanes<double> {
    using Bits = std::uint64_t;
    [[gnu::always_inline]] static Bits bits(double v) { return std::bit_cast<Bits>(v); }
    [[gnu::always_inline]] static double value(Bits b) { return std::bit_cast<double>(b); }
    [[gnu::always_inline]] static double splat(double v) { return v; }
    [[gnu::always_inline]] static Bits splatBits(std::uint64_t b) { return b; }
    [[gnu::always_inline]] static Bits mask(bool b) { return b ? ~Bits{0} : Bits{0}; }
    [[gnu::always_inline]] static Bits less(double a, double b) { return mask(a < b); }
    [[gnu::always_inline]] static Bits greater(double a, double b) { return mask(a > b); }
    [[gnu::always_inline]] static Bits equal(double a, double b) { return mask(a == b); }
    [[gnu::always_inline]] static Bits andNot(Bits mask, Bits b) { return ~mask & b; }
    [[gnu::always_inline]] static bool allOf(Bits mask) { return mask != 0; }
    // An opaque copy: a product stays a rounded product.
    [[gnu::always_inline]] static double separate(double v) {
        asm("" : "+x"(v));
        return v;
    }
    [[gnu::always_inline]] static double load(const double* column, Bits index) {
        return column[index];
    }
};

template <> struct Lanes<Pack2> {
    using Bits = Bits2;
    [[gnu::always_inline]] static Bits bits(Pack2 v) { return (Bits)v; }
    [[gnu::always_inline]] static Pack2 value(Bits b) { return (Pack2)b; }
    [[gnu::always_inline]] static Pack2 splat(double v) { return Pack2{v, v}; }
    [[gnu::always_inline]] static Bits splatBits(std::uint64_t b) { return Bits{b, b}; }
    [[gnu::always_inline]] static Bits less(Pack2 a, Pack2 b) { return (Bits)(a < b); }
    [[gnu::always_inline]] static Bits greater(Pack2 a, Pack2 b) { return (Bits)(a > b); }
    [[gnu::always_inline]] static Bits equal(Pack2 a, Pack2 b) { return (Bits)(a == b); }
    [[gnu::always_inline]] static Bits andNot(Bits mask, Bits b) {
        return (Bits)_mm_andnot_si128((__m128i)mask, (__m128i)b);
    }
    [[gnu::always_inline]] static bool allOf(Bits mask) {
        return _mm_movemask_pd((__m128d)mask) == 3;
    }
    [[gnu::always_inline]] static Pack2 separate(Pack2 v) {
        asm("" : "+x"(v));
        return v;
    }
    [[gnu::always_inline]] static Pack2 load(const double* column, Bits index) {
        return Pack2{column[index[0]], column[index[1]]};
    }
};

template <> struct Lanes<Quad> {
    using Bits = QuadBits;
    [[gnu::always_inline]] static Bits bits(const Quad& v) { return {(Bits4)v.v}; }
    [[gnu::always_inline]] static Quad value(const Bits& b) { return {(Pack4)b.v}; }
    [[gnu::always_inline]] static Quad splat(double v) { return {Pack4{v, v, v, v}}; }
    [[gnu::always_inline]] static Bits splatBits(std::uint64_t b) { return {Bits4{b, b, b, b}}; }
    [[gnu::always_inline]] static Bits less(const Quad& a, const Quad& b) {
        return {(Bits4)(a.v < b.v)};
    }
    [[gnu::always_inline]] static Bits greater(const Quad& a, const Quad& b) {
        return {(Bits4)(a.v > b.v)};
    }
    [[gnu::always_inline]] static Bits equal(const Quad& a, const Quad& b) {
        return {(Bits4)(a.v == b.v)};
    }
    [[gnu::always_inline]] static Bits andNot(const Bits& mask, const Bits& b) {
        return {~mask.v & b.v};
    }
    [[gnu::always_inline]] static Quad separate(const Quad& v) {
        Quad copy = v;
        asm("" : "+x"(copy.v));
        return copy;
    }
    [[gnu::always_inline]] static Quad load(const double* column, const Bits& index) {
        return {
            Pack4{column[index.v[0]], column[index.v[1]], column[index.v[2]], column[index.v[3]]}};
    }
};

// Read once while the program starts, before any render thread runs. (Read before its
// initialisation, it is false: the SSE2 path, which gives the same bits.)
inline const bool hasAvx2 = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));

// One, two or four lanes of a kernel F: its short way where every lane `fits` it, else the
// whole (`any`).
template <class F, class V> [[gnu::always_inline]] inline V shortOrWhole(const V& x) {
    if (Lanes<V>::allOf(F::fits(x))) [[likely]] {
        return F::ordinary(x);
    }
    return F::any(x);
}

// The batch loops around a kernel F: four at a time inside the AVX2 code, so its constants
// stay in registers from one four to the next, or two at a time with SSE2; then a pair and the
// odd one that are left.
template <class F>
[[gnu::target("avx2")]] inline void manyAvx2(const double* in, double* out,
                                             std::size_t count) noexcept {
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const Quad x = {(Pack4)_mm256_loadu_pd(in + i)};
        if (_mm256_movemask_pd((__m256d)F::fits(x).v) == 15) [[likely]] {
            _mm256_storeu_pd(out + i, (__m256d)F::ordinary(x).v);
        } else {
            _mm256_storeu_pd(out + i, (__m256d)F::any(x).v);
        }
    }
    if (i + 2 <= count) {
        const Pack2 y = shortOrWhole<F>(Pack2{in[i], in[i + 1]});
        out[i] = y[0];
        out[i + 1] = y[1];
        i += 2;
    }
    if (i < count) {
        out[i] = shortOrWhole<F>(in[i]);
    }
}

template <class F> inline void manySse2(const double* in, double* out, std::size_t count) noexcept {
    std::size_t i = 0;
    for (; i + 2 <= count; i += 2) {
        Pack2 x;
        std::memcpy(&x, in + i, sizeof x);
        const Pack2 y = shortOrWhole<F>(x);
        std::memcpy(out + i, &y, sizeof y);
    }
    if (i < count) {
        out[i] = shortOrWhole<F>(in[i]);
    }
}

template <class F> inline void many(const double* in, double* out, std::size_t count) noexcept {
    if (hasAvx2) {
        manyAvx2<F>(in, out, count);
    } else {
        manySse2<F>(in, out, count);
    }
}

} // namespace classic::logexp_detail
