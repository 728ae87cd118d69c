#pragma once
// 10^x for the gain stages and e^x for the smoothing coefficients: within 0.51 ulp of the exact
// value (measured on many millions of arguments, see tests/engine/exp10_test.cpp), exact at
// 0 and (10^x) at the integers up to 22, and the same bits whether computed one, two (SSE2)
// or four (AVX2) at a time. No division.
//
//     double exp10Scalar(double x);   __m128d exp10Pair(__m128d x);   10^x
//     double expScalar(double x);     __m128d expPair(__m128d x);     e^x
//     void exp10Many / expMany(const double* in, double* out, std::size_t count);
//
// Method, for base b (10 or e). k = round(x 128 / log_b 2) and r = x - k log_b(2)/128, so
// |r ln b| <= ln(2)/256, and with k = 128 m + j (0 <= j < 128)
//
//     b^x = 2^m 2^(j/128) b^r = 2^m (T + T p),   p = b^r - 1 = sum a_n r^n (n = 1..6),
//
// T = 2^(j/128) from exp10_table.h as a rounded double plus the rest. k log_b(2)/128 is split
// in a high part, exact in k times it (and x minus that product is exact too), and a low part
// for the rest. The Taylor series stops at r^6: the first term left out is below 2^-71 of the
// result. The sum 2^(j/128) (1 + p) takes one rounding beyond the last, 2^m goes into the
// exponent bits. The worst error measured is 0.507 ulp.
//
// Results that would be subnormal are scaled in two steps (one rounding). Above the largest x
// whose result rounds to a finite double the result is +inf, below the smallest whose result
// rounds to a nonzero one +0; NaN stays NaN. No conversion to an integer type: k is read from
// the bits of x 128 / log_b 2 + 1.5 * 2^52.
//
// Nothing here allocates, locks or calls the system.

#include "engine/exp10_table.h"
#include "engine/log10_exp10_lanes.h"

namespace classic {
namespace exp10_detail {

using logexp_detail::Lanes;

// The constants of one base.
struct Base {
    double inverseInterval, intervalHigh, intervalLow;
    double a1, a2, a3, a4, a5, a6;
    double finiteUpTo, nonzeroFrom;
    // From here down 2^m alone is normal: m >= -1021 (and 2^(j/128) b^r >= 2^(-1/256)).
    double normalFrom;
};
inline constexpr Base ten = {
    tenInverseInterval, tenIntervalHigh, tenIntervalLow, tenA1, tenA2, tenA3, tenA4, tenA5, tenA6,
    tenFiniteUpTo,      tenNonzeroFrom,  -307.0};
inline constexpr Base e = {
    eInverseInterval, eIntervalHigh, eIntervalLow, eA1, eA2, eA3, eA4, eA5, eA6,
    eFiniteUpTo,      eNonzeroFrom,  -707.0};

// Adding 1.5 * 2^52 rounds to an integer k and leaves it in the low mantissa bits.
inline constexpr double shifter = 0x1.8p52;
inline constexpr std::uint64_t rowMask = exp10RowCount - 1;
// Below normalFrom the exponent is raised by 600 and the product with 2^-600 rounds once.
inline constexpr std::uint64_t lift = std::uint64_t{600} << 52;
inline constexpr double lower = 0x1p-600;
inline constexpr std::uint64_t infinityBits = 0x7FF0000000000000;

// The next double above and below a positive and a negative one.
constexpr double above(double v) {
    return std::bit_cast<double>(std::bit_cast<std::uint64_t>(v) + 1);
}
constexpr double below(double v) {
    return std::bit_cast<double>(std::bit_cast<std::uint64_t>(v) + 1);
}

template <const Base& base, class V> [[gnu::always_inline]] inline V expLanes(const V& x) {
    using L = Lanes<V>;
    using Bits = typename L::Bits;
    const auto& table = exp10Columns;

    const V shifted = L::separate(x * base.inverseInterval) + shifter;
    const Bits kBits = L::bits(shifted);
    const V k = shifted - shifter;
    const Bits row = kBits & rowMask;
    const V rHigh = x - L::separate(k * base.intervalHigh); // exact
    const V r = rHigh - L::separate(k * base.intervalLow);

    const V r2 = r * r;
    const V p56 = base.a5 + L::separate(r * base.a6);
    const V p34 = base.a3 + L::separate(r * base.a4);
    const V p36 = p34 + L::separate(r2 * p56);
    const V p26 = base.a2 + L::separate(r * p36);
    const V p = L::separate(r * base.a1) + L::separate(r2 * p26);

    const V high = L::load(table.powerHigh, row);
    const V y = high + (L::load(table.powerLow, row) + L::separate(high * p));
    // 2^m into the exponent: (k - j) 2^45 = m 2^52, modulo 2^64.
    const Bits scale = (kBits - row) << 45;
    const V normal = L::value(L::bits(y) + scale);
    const V small = L::value(L::bits(y) + scale + lift) * lower;

    // Lanes out of range or NaN: +inf above, +0 below, NaN as it came.
    const Bits useNormal = L::less(L::splat(base.normalFrom), x);
    const Bits inRange = L::less(L::splat(below(base.nonzeroFrom)), x) &
                         L::less(x, L::splat(above(base.finiteUpTo)));
    const Bits over = L::greater(x, L::splat(base.finiteUpTo));
    const Bits nan = L::andNot(L::equal(x, x), L::splatBits(~std::uint64_t{0}));
    const Bits inside = (L::bits(normal) & useNormal) | L::andNot(useNormal, L::bits(small));
    return L::value((inside & inRange) | (over & infinityBits) | (L::bits(x + x) & nan));
}

struct Exp10 {
    template <class V> [[gnu::always_inline]] static V lanes(const V& x) {
        return expLanes<ten>(x);
    }
};
struct Exp {
    template <class V> [[gnu::always_inline]] static V lanes(const V& x) { return expLanes<e>(x); }
};

} // namespace exp10_detail

// [any thread] 10^x.
inline double exp10Scalar(double x) noexcept {
    return exp10_detail::expLanes<exp10_detail::ten>(x);
}

// [any thread] 10^x on both lanes, each exactly as exp10Scalar.
inline __m128d exp10Pair(__m128d x) noexcept {
    return (__m128d)exp10_detail::expLanes<exp10_detail::ten>((logexp_detail::Pack2)x);
}

// [any thread] 10^x for count values, each exactly as exp10Scalar, four at a time with AVX2
// when the processor has it; out may be in (not otherwise overlapping).
inline void exp10Many(const double* in, double* out, std::size_t count) noexcept {
    logexp_detail::many<exp10_detail::Exp10>(in, out, count);
}

// [any thread] e^x.
inline double expScalar(double x) noexcept {
    return exp10_detail::expLanes<exp10_detail::e>(x);
}

// [any thread] e^x on both lanes, each exactly as expScalar.
inline __m128d expPair(__m128d x) noexcept {
    return (__m128d)exp10_detail::expLanes<exp10_detail::e>((logexp_detail::Pack2)x);
}

// [any thread] e^x for count values, each exactly as expScalar, four at a time with AVX2 when
// the processor has it; out may be in (not otherwise overlapping).
inline void expMany(const double* in, double* out, std::size_t count) noexcept {
    logexp_detail::many<exp10_detail::Exp>(in, out, count);
}

} // namespace classic
