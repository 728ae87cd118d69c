#pragma once
// log10 for the level detectors: within 0.51 ulp of the exact value (measured on many millions
// of arguments, see tests/engine/log10_test.cpp), exact at 1 and at the powers of ten, and the
// same bits whether computed one, two (SSE2) or four (AVX2) at a time. No division.
//
//     double log10Scalar(double x);
//     __m128d log10Pair(__m128d x);                                    both lanes
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
// the first term left out is 2^-66 of u). k log10 2 + log10 c = H + L with H exact: the high
// parts of log10 2 and log10 c are multiples of 2^-43. Where H is not 0 it outweighs A, so
// H + A is split exactly into s and its rounding error; the result is s plus the sum of the
// small parts, one last rounding. The worst error measured is 0.506 ulp.
//
// log10(1) = +0 and log10(10^k) = k (an exact value is the result whenever the computed sum
// lies within half an ulp of it, and the error before the last rounding is below 0.01 ulp).
// Subnormal x is scaled by 2^52 first; where DAZ reads it as zero, that gives -inf, as for
// zero. +-0 gives -inf, negative x and NaN give NaN, +inf gives +inf.
//
// Nothing here allocates, locks or calls the system.

#include "engine/log10_exp10_lanes.h"
#include "engine/log10_table.h"

namespace classic {
namespace log10_detail {

using logexp_detail::Lanes;

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

template <class V> [[gnu::always_inline]] inline V log10Lanes(const V& x) {
    using L = Lanes<V>;
    using Bits = typename L::Bits;
    const auto& table = log10Columns;

    // Subnormals (and zero, negatives) scaled by 2^52; k is lowered by 52 to match.
    const Bits tiny = L::less(x, L::splat(smallestNormal));
    const Bits xsBits = (L::bits(x * 0x1p52) & tiny) | L::andNot(tiny, L::bits(x));
    const V xs = L::value(xsBits);

    const Bits t = xsBits + toT;
    const Bits kBiased = t >> 52;
    const V k =
        (L::value(kBiased | twoTo52Bits) - kFromBits) + L::value(L::splatBits(minus52Bits) & tiny);
    const V z = L::value(xsBits - (kBiased << 52) + exponentBias);
    const V c = L::value((t & stepBits) + firstBreakpoint);
    const Bits row = (t >> rowShift) & rowMask;

    const V d = z - c;                                            // exact: c is z rounded to 8 bits
    const V a = L::separate(d * L::load(table.inverseHigh, row)); // exact
    const V b = L::separate(d * L::load(table.inverseLow, row));
    const V u = a + b;
    const V u2 = u * u;
    const V p45 = q4 + L::separate(u * q5);
    const V p67 = q6 + L::separate(u * q7);
    const V p23 = q2 + L::separate(u * q3);
    const V p47 = p45 + L::separate(u2 * p67);
    const V p = p23 + L::separate(u2 * p47);
    const V q = u2 * p;

    const V high = L::separate(k * log10Of2High) + L::load(table.logHigh, row); // exact
    const V low = L::separate(k * log10Of2Low) + L::load(table.logLow, row);
    const V s = high + a;
    const V error = (high - s) + a; // exact where |high| >= |a|, and high = 0 gives 0
    const V result = s + (error + (b + (L::separate(q) + low)));

    // Everything but positive finite x: +-0 gives -inf, +inf itself, the rest NaN.
    const V zeros = L::splat(0.0), infinities = L::splat(infinity);
    const Bits finite = L::greater(xs, zeros) & L::less(xs, infinities);
    const Bits zero = L::equal(xs, zeros);
    const Bits positiveInfinity = L::equal(xs, infinities);
    const Bits special = (zero & negativeInfinityBits) | (positiveInfinity & infinityBits) |
                         L::andNot(finite | zero | positiveInfinity, L::splatBits(nanBits));
    return L::value((L::bits(result) & finite) | special);
}

} // namespace log10_detail

namespace log10_detail {
struct Log10 {
    template <class V> [[gnu::always_inline]] static V lanes(const V& x) { return log10Lanes(x); }
};
} // namespace log10_detail

// [any thread]
inline double log10Scalar(double x) noexcept {
    return log10_detail::log10Lanes(x);
}

// [any thread] Both lanes at once, each exactly as log10Scalar. The compiler takes any
// two-double vector for __m128d.
inline __m128d log10Pair(__m128d x) noexcept {
    return (__m128d)log10_detail::log10Lanes((logexp_detail::Pack2)x);
}

// [any thread] count values, each exactly as log10Scalar, four at a time with AVX2 when the
// processor has it, two at a time otherwise; out may be in (not otherwise overlapping).
inline void log10Many(const double* in, double* out, std::size_t count) noexcept {
    logexp_detail::many<log10_detail::Log10>(in, out, count);
}

} // namespace classic
