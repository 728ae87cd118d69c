#pragma once
// log10 for the level detectors: within 0.51 ulp of the exact value (measured on many millions
// of arguments, see tests/engine/log10_test.cpp), exact at 1 and at the powers of ten, and the
// same bits whether computed one, two (SSE2) or four (AVX2) at a time. No division. Against
// glibc's log10 (its FMA code) it takes about half the time per value two at a time, a third in
// a batch, and two thirds along a feedback chain (tests/engine/log10_exp10_benchmark.cpp).
//
//     double log10Scalar(double x);
//     simd::Pair log10Pair(simd::Pair x);                              both lanes
//     void log10Many(const double* in, double* out, std::size_t count);   AVX2 when present
//
// Method. x = 2^k z, where z is x's mantissa rounded (in its bits) to the nearest breakpoint c
// of log10_table.h, 0.75 <= c < 1.5, and k is chosen to put c there; so c is 1 for z within
// half a step of 1. Then
//
//     log10 x = k log10 2 + log10 c + log10(1 + d/c),   d = z - c (exact).
//
// u = d / (c ln 10) is carried as A + B: A = d * inverseHigh is exact (d has at most 44
// significant bits, inverseHigh 9), B = d * inverseLow is 2^-9 of it, so its rounding costs
// 2^-62. log10(1 + d/c) = u + Q(u), Q from its Taylor series in u up to u^7 (|u| < 2^-10.2,
// the first term left out is 2^-66 of u), evaluated with u = d * inverse rounded once: Q is
// below 2^-10 of u, so that is close enough, and it leaves the polynomial one step shorter.
// k log10 2 + log10 c = H + L with H exact: the high parts of log10 2 and log10 c are
// multiples of 2^-43. Where H is not 0 it outweighs A, so H + A is split exactly into s and
// its rounding error; the result is s plus the sum of the small parts, one last rounding. The
// worst error measured is 0.504 ulp (near 1; 0.5005 elsewhere), and the result is correctly
// rounded for all but a few in 10^5 arguments.
//
// log10(1) = +0 and log10(10^k) = k (an exact value is the result whenever the computed sum
// lies within half an ulp of it, and the error before the last rounding is below 0.01 ulp).
// Subnormal x is scaled by 2^52 first; where DAZ reads it as zero, that gives -inf, as for
// zero. +-0 gives -inf, negative x and NaN give NaN, +inf gives +inf. Positive normal x take a
// short way without those cases (the same bits) when every lane of the one, two or four at
// hand is one.
//
// Nothing here allocates, locks or calls the system.

#include "engine/log10_exp10_lanes.h"
#include "engine/log10_table.h"

namespace classic {
namespace log10_detail {

using simd::Lanes;

// The breakpoints: bits of 0.75 plus multiples of 2^44; adding half a step before dropping
// the low bits rounds to the nearest.
inline constexpr std::uint64_t firstBreakpoint = 0x3FE8000000000000; // 0.75
inline constexpr unsigned rowShift = 44;
inline constexpr std::uint64_t rowMask = log10RowCount - 1;
inline constexpr std::uint64_t halfStep = std::uint64_t{1} << (rowShift - 1);
inline constexpr std::uint64_t stepBits = rowMask << rowShift;
// t = bits(x) + halfStep - bits(0.75) + 1024 * 2^52: its exponent field is k + 1024, its
// next 8 bits the row.
inline constexpr std::uint64_t exponentBias = std::uint64_t{1024} << 52;
inline constexpr std::uint64_t toT = halfStep - firstBreakpoint + exponentBias;
// 2^52 + n as a double has the bits of 2^52 with n in the mantissa (n < 2^52).
inline constexpr std::uint64_t twoTo52Bits = 0x4330000000000000;
inline constexpr double kFromBits = 0x1p52 + 1024.0;

inline constexpr double smallestNormal = 0x1p-1022;
inline constexpr std::uint64_t minus52Bits = std::bit_cast<std::uint64_t>(-52.0);
inline constexpr double infinity = __builtin_inf();
inline constexpr std::uint64_t negativeInfinityBits = 0xFFF0000000000000;
inline constexpr std::uint64_t infinityBits = 0x7FF0000000000000;
inline constexpr std::uint64_t nanBits = 0x7FF8000000000000;

// log10 of the positive normal x whose bits are xBits, less 52 where `subnormal` (all ones
// per lane) says x was a subnormal scaled by 2^52.
template <bool scaled, class V>
[[gnu::always_inline]] inline V positiveNormal(const typename Lanes<V>::Bits& xBits,
                                               const typename Lanes<V>::Bits& subnormal) {
    using L = Lanes<V>;
    using Bits = typename L::Bits;
    const auto& table = log10Columns;

    const Bits t = xBits + toT;
    const Bits kBiased = t >> 52;
    V k = L::value(kBiased | twoTo52Bits) - kFromBits;
    if constexpr (scaled) {
        k = k + L::value(L::splatBits(minus52Bits) & subnormal);
    }
    const V z = L::value(xBits - (kBiased << 52) + exponentBias);
    const V c = L::value((t & stepBits) + firstBreakpoint);
    const Bits row = (t >> rowShift) & rowMask;

    const V d = z - c;                                            // exact: c is z to 8 bits
    const V a = L::separate(d * L::gather(table.inverseHigh, row)); // exact
    const V b = L::separate(d * L::gather(table.inverseLow, row));
    const V high = L::separate(k * log10Of2High) + L::gather(table.logHigh, row); // exact
    const V low = L::separate(k * log10Of2Low) + L::gather(table.logLow, row);
    const V s = high + a;
    const V error = (high - s) + a; // exact where |high| >= |a|, and high = 0 gives 0
    const V small = error + (b + low);

    // Q(u) = u^2 (q2 + q3 u) + u^4 (q4 + q5 u + u^2 (q6 + q7 u)); u rounded once is close
    // enough for it, and its own multiplication shortens the chain.
    const V u = L::separate(d * L::gather(table.inverse, row));
    const V u2 = u * u;
    const V u4 = u2 * u2;
    const V p23 = q2 + L::separate(u * q3);
    const V p45 = q4 + L::separate(u * q5);
    const V p67 = q6 + L::separate(u * q7);
    const V p47 = p45 + L::separate(u2 * p67);
    return s + ((small + L::separate(u2 * p23)) + L::separate(u4 * p47));
}

// Any x: subnormals (and zeros, negatives) are scaled by 2^52 first.
template <class V> [[gnu::always_inline]] inline V anyLanes(const V& x) {
    using L = Lanes<V>;
    using Bits = typename L::Bits;
    const Bits subnormal = L::less(x, L::splat(smallestNormal));
    const Bits xsBits = (L::bits(x * 0x1p52) & subnormal) | L::andNot(subnormal, L::bits(x));
    const V xs = L::value(xsBits);
    const V result = positiveNormal<true, V>(xsBits, subnormal);

    // Everything but positive finite x: +-0 gives -inf, +inf itself, the rest NaN.
    const V zeros = L::splat(0.0), infinities = L::splat(infinity);
    const Bits finite = L::greater(xs, zeros) & L::less(xs, infinities);
    const Bits zero = L::equal(xs, zeros);
    const Bits positiveInfinity = L::equal(xs, infinities);
    const Bits special = (zero & negativeInfinityBits) | (positiveInfinity & infinityBits) |
                         L::andNot(finite | zero | positiveInfinity, L::splatBits(nanBits));
    return L::value((L::bits(result) & finite) | special);
}

// For the lanes of logexp_detail: the short way for positive normal x.
struct Log10 {
    template <class V> [[gnu::always_inline]] static auto fits(const V& x) {
        using L = Lanes<V>;
        return L::andNot(L::less(x, L::splat(smallestNormal)), L::less(x, L::splat(infinity)));
    }
    template <class V> [[gnu::always_inline]] static V ordinary(const V& x) {
        using Bits = typename Lanes<V>::Bits;
        return positiveNormal<false, V>(Lanes<V>::bits(x), Bits{});
    }
    template <class V> [[gnu::always_inline]] static V any(const V& x) { return anyLanes(x); }
};

} // namespace log10_detail

// [any thread]
inline double log10Scalar(double x) noexcept {
    return logexp_detail::shortOrWhole<log10_detail::Log10>(x);
}

// [any thread] Both lanes at once, each exactly as log10Scalar.
inline simd::Pair log10Pair(simd::Pair x) noexcept {
    return logexp_detail::shortOrWhole<log10_detail::Log10>(x);
}

// [any thread] count values, each exactly as log10Scalar, four at a time on the AVX2 path, two
// at a time otherwise; out may be in (not otherwise overlapping). path: the processor's unless a
// test compares them.
inline void log10Many(const double* in, double* out, std::size_t count,
                      simd::Path path = simd::selectedPath) noexcept {
    logexp_detail::many<log10_detail::Log10>(in, out, count, path);
}

} // namespace classic
