#pragma once
// 10^x for the gain stages, 10^(g/-20) for the gain cells and e^x for the smoothing
// coefficients: within 0.51 ulp of the exact value (measured on many millions of arguments,
// see tests/engine/exp10_test.cpp), exact at 0 and (10^x) at the integers up to 22, and the
// same bits whether computed one, two (SSE2) or four (AVX2) at a time. No division. Against
// pow(10, x) two at a time it takes a quarter of the time per value, a seventh in a batch,
// about half along a feedback chain; against glibc's exp (its FMA code) under half, a fifth,
// and as long along a chain (tests/engine/log10_exp10_benchmark.cpp).
//
//     double exp10Scalar(double x);   Pair exp10Pair(Pair x);   10^x      (Pair: simd::Pair)
//     double expScalar(double x);     Pair expPair(Pair x);     e^x
//     void exp10Many / expMany(const double* in, double* out, std::size_t count);
//     double attenuationScalar(double g);   Pair attenuationPair(Pair g);   10^(g/-20)
//     void attenuationMany(const double* in, double* out, std::size_t count);
//     Pair attenuationFollowing(Pair g, KeptRow& last);   along a chain
//     Pair expFollowing(Pair x, KeptRow& last);           likewise
//
// Method, for base b (10, e, or 10^(-1/20) for 10^(g/-20) = b^g). k = round(x 256 / log_b 2)
// and r = x - k log_b(2)/256, so |r ln b| <= ln(2)/512, and with k = 256 m + j (0 <= j < 256)
//
//     b^x = 2^m 2^(j/256) b^r = 2^m (T + T p),   p = b^r - 1 = sum a_n r^n (n = 1..5),
//
// T = 2^(j/256) from exp10_table.h as a rounded double plus the rest. k log_b(2)/256 is split
// in a high part, exact in k times it (and x minus that product is exact too), and a low part
// for the rest. The Taylor series stops at r^5: the first term left out is below 2^-66 of the
// result. T p is summed as T r a1 + T r^2 (a2 + a3 r) + T r^4 (a4 + a5 r), so that no long
// chain of the polynomial comes before the products with T; 2^m goes into the exponent bits. The
// worst error measured is 0.506 ulp, and the result is correctly rounded for all but about 1 in
// 1000 arguments.
//
// Results that would be subnormal are scaled in two steps, the second rounding the first
// result again to the subnormal precision (so within 0.75 ulp there).
// Above the largest x whose result rounds to a finite double the result is +inf, below the
// smallest whose result rounds to a nonzero one +0; NaN stays NaN. No conversion to an integer
// type: k is read from the bits of x 256 / log_b 2 + 1.5 * 2^52. Arguments with a normal,
// finite result take a short way without those cases (the same bits) when every lane of the
// one, two or four at hand has one.
//
// Nothing here allocates, locks or calls the system.

#include "engine/exp10_table.h"
#include "engine/log10_exp10_lanes.h"

#include <type_traits>

namespace classic {
namespace exp10_detail {

using simd::Lanes;

// The constants of one base.
struct Base {
    double inverseInterval, intervalHigh, intervalLow;
    double a1, a2, a3, a4, a5;
    double finiteUpTo, nonzeroFrom;
    // Above this 2^m alone is normal: m >= -1021 (and 2^(j/256) b^r >= 2^(-1/512)).
    double normalAbove;
    // Up to this 2^m is a double: m <= 1023.
    double shortUpTo;
};
inline constexpr Base ten = {
    tenInverseInterval, tenIntervalHigh, tenIntervalLow, tenA1, tenA2, tenA3, tenA4, tenA5,
    tenFiniteUpTo,      tenNonzeroFrom,  -307.0,         308.0};
inline constexpr Base e = {eInverseInterval, eIntervalHigh, eIntervalLow, eA1,  eA2, eA3, eA4, eA5,
                           eFiniteUpTo,      eNonzeroFrom,  -707.0,       709.0};
// b = 10^(-1/20), whose b^g is the gain of an attenuation by g dB. Its short way takes
// -6000 < g < 6000 (results between 10^-300 and 10^300, |k| < 2^18); every other g is answered
// by exp10 of the quotient g / -20, so the overflow and underflow bounds are not used.
inline constexpr Base attenuation = {attenuationInverseInterval,
                                     attenuationIntervalHigh,
                                     attenuationIntervalLow,
                                     attenuationA1,
                                     attenuationA2,
                                     attenuationA3,
                                     attenuationA4,
                                     attenuationA5,
                                     0.0,
                                     0.0,
                                     -6000.0,
                                     6000.0};

// Adding 1.5 * 2^52 rounds to an integer k and leaves it in the low mantissa bits.
inline constexpr double shifter = 0x1.8p52;
inline constexpr std::uint64_t rowMask = exp10RowCount - 1;
inline constexpr unsigned rowBits = 8;
static_assert(exp10RowCount == 1u << rowBits);
// Below normalAbove the exponent is raised by 600 and the product with 2^-600 rounds once.
inline constexpr std::uint64_t lift = std::uint64_t{600} << 52;
inline constexpr double lower = 0x1p-600;
inline constexpr std::uint64_t infinityBits = 0x7FF0000000000000;

// The next double away from zero.
constexpr double outward(double v) {
    return std::bit_cast<double>(std::bit_cast<std::uint64_t>(v) + 1);
}

// x 256 / log_b 2 + 1.5 * 2^52: k in its low mantissa bits.
template <const Base& base, class V> [[gnu::always_inline]] inline V shiftedOf(const V& x) {
    return Lanes<V>::separate(x * base.inverseInterval) + shifter;
}

// What the result takes from k alone: its table row, k times the interval's two parts, and
// 2^m ready to add to the exponent bits. `shifted` is shiftedOf's value it came from.
template <class V> struct Row {
    V shifted, kHigh, kLow, high, low;
    typename Lanes<V>::Bits scale;
};

template <const Base& base, class V> [[gnu::always_inline]] inline Row<V> rowOf(const V& shifted) {
    using L = Lanes<V>;
    using Bits = typename L::Bits;
    const auto& table = exp10Columns;

    Row<V> row;
    row.shifted = shifted;
    const Bits kBits = L::bits(shifted);
    const V k = shifted - shifter;
    const Bits j = kBits & rowMask;
    // (k - j) 2^44 = m 2^52, modulo 2^64.
    row.scale = (kBits - j) << (52 - rowBits);
    row.high = L::gather(table.powerHigh, j);
    row.low = L::gather(table.powerLow, j);
    row.kHigh = L::separate(k * base.intervalHigh); // exact
    row.kLow = L::separate(k * base.intervalLow);
    return row;
}

// 2^(j/256) b^r from x and the row of its k.
template <const Base& base, class V>
[[gnu::always_inline]] inline V scaledFromRow(const V& x, const Row<V>& row) {
    using L = Lanes<V>;
    const V rHigh = x - row.kHigh; // exact
    const V r = rHigh - row.kLow;

    // T p = T r a1 + T r^2 (a2 + a3 r) + T r^4 (a4 + a5 r)
    const V r2 = r * r;
    const V p45 = base.a4 + L::separate(r * base.a5);
    const V p23 = base.a2 + L::separate(r * base.a3);
    const V highR = row.high * r;
    const V highR2 = highR * r;
    const V highR4 = highR2 * r2;
    const V linear = row.low + L::separate(highR * base.a1);
    return row.high + ((linear + L::separate(highR2 * p23)) + L::separate(highR4 * p45));
}

// 2^(j/256) b^r from x and its shiftedOf, and in `scale` 2^m ready to add to the exponent bits.
template <const Base& base, class V>
[[gnu::always_inline]] inline V scaledFrom(const V& x, const V& shifted,
                                           typename Lanes<V>::Bits& scale) {
    const Row<V> row = rowOf<base>(shifted);
    scale = row.scale;
    return scaledFromRow<base>(x, row);
}

template <const Base& base, class V>
[[gnu::always_inline]] inline V scaled(const V& x, typename Lanes<V>::Bits& scale) {
    return scaledFrom<base>(x, shiftedOf<base>(x), scale);
}

// x above normalAbove, at most shortUpTo: the result and 2^m are normal. 2^m joins by a
// multiplication on one lane (the bits of a lone double would go through an integer register
// and back, longer), by an addition to the exponent bits on two or four; both are exact.
template <const Base& base, class V>
[[gnu::always_inline]] inline V ordinaryFromRow(const V& x, const Row<V>& row) {
    using L = Lanes<V>;
    const V y = scaledFromRow<base>(x, row);
    if constexpr (std::is_same_v<V, double>) {
        return y * L::value(row.scale + std::bit_cast<std::uint64_t>(1.0));
    } else {
        return L::value(L::bits(y) + row.scale);
    }
}

template <const Base& base, class V> [[gnu::always_inline]] inline V ordinary(const V& x) {
    return ordinaryFromRow<base>(x, rowOf<base>(shiftedOf<base>(x)));
}

// Any x.
template <const Base& base, class V> [[gnu::always_inline]] inline V anyLanes(const V& x) {
    using L = Lanes<V>;
    using Bits = typename L::Bits;
    Bits scale;
    const V y = scaled<base>(x, scale);
    const V normal = L::value(L::bits(y) + scale);
    const V small = L::value(L::bits(y) + scale + lift) * lower;

    // Lanes out of range or NaN: +inf above, +0 below, NaN as it came.
    const Bits useNormal = L::less(L::splat(base.normalAbove), x);
    const Bits inRange = L::less(L::splat(outward(base.nonzeroFrom)), x) &
                         L::less(x, L::splat(outward(base.finiteUpTo)));
    const Bits over = L::greater(x, L::splat(base.finiteUpTo));
    const Bits nan = L::andNot(L::equal(x, x), L::splatBits(~std::uint64_t{0}));
    const Bits inside = (L::bits(normal) & useNormal) | L::andNot(useNormal, L::bits(small));
    return L::value((inside & inRange) | (over & infinityBits) | (L::bits(x + x) & nan));
}

// The kernel of one base, for the lanes of logexp_detail.
template <const Base& base> struct Kernel {
    template <class V> [[gnu::always_inline]] static auto fits(const V& x) {
        using L = Lanes<V>;
        return L::less(L::splat(base.normalAbove), x) &
               L::less(x, L::splat(outward(base.shortUpTo)));
    }
    template <class V> [[gnu::always_inline]] static V ordinary(const V& x) {
        return exp10_detail::ordinary<base>(x);
    }
    template <class V> [[gnu::always_inline]] static V any(const V& x) { return anyLanes<base>(x); }
};
using Exp10 = Kernel<ten>;
using Exp = Kernel<e>;

// 10^(g / -20): the short way as its own base; every other g as exp10 of the quotient.
struct Attenuation {
    template <class V> [[gnu::always_inline]] static auto fits(const V& g) {
        return Kernel<attenuation>::fits(g);
    }
    template <class V> [[gnu::always_inline]] static V ordinary(const V& g) {
        return exp10_detail::ordinary<attenuation>(g);
    }
    template <class V> [[gnu::always_inline]] static V any(const V& g) {
        using L = Lanes<V>;
        const auto inShortRange = fits(g);
        const V y = ordinary(g);
        const V quotient = anyLanes<ten>(g / -20.0);
        return L::value((L::bits(y) & inShortRange) | L::andNot(inShortRange, L::bits(quotient)));
    }
};

} // namespace exp10_detail

// [any thread] 10^x.
inline double exp10Scalar(double x) noexcept {
    return logexp_detail::shortOrWhole<exp10_detail::Exp10>(x);
}

// [any thread] 10^x on both lanes, each exactly as exp10Scalar.
inline simd::Pair exp10Pair(simd::Pair x) noexcept {
    return logexp_detail::shortOrWhole<exp10_detail::Exp10>(x);
}

// [any thread] 10^x for count values, each exactly as exp10Scalar, four at a time on the AVX2
// path; out may be in (not otherwise overlapping). path: the processor's unless a test
// compares them.
inline void exp10Many(const double* in, double* out, std::size_t count,
                      simd::Path path = simd::selectedPath) noexcept {
    logexp_detail::many<exp10_detail::Exp10>(in, out, count, path);
}

// [any thread] e^x.
inline double expScalar(double x) noexcept {
    return logexp_detail::shortOrWhole<exp10_detail::Exp>(x);
}

// [any thread] e^x on both lanes, each exactly as expScalar.
inline simd::Pair expPair(simd::Pair x) noexcept {
    return logexp_detail::shortOrWhole<exp10_detail::Exp>(x);
}

// [any thread] e^x for count values, each exactly as expScalar, four at a time on the AVX2
// path; out may be in (not otherwise overlapping).
inline void expMany(const double* in, double* out, std::size_t count,
                    simd::Path path = simd::selectedPath) noexcept {
    logexp_detail::many<exp10_detail::Exp>(in, out, count, path);
}

// [any thread] 10^(g / -20), the gain of an attenuation by g dB, without a division: for
// -6000 < g < 6000 by the method above with base 10^(-1/20) (within 0.51 ulp of the exact
// value, which is the value of g itself, not of a rounded g / -20); beyond that (and NaN),
// exp10Scalar(g / -20).
inline double attenuationScalar(double g) noexcept {
    return logexp_detail::shortOrWhole<exp10_detail::Attenuation>(g);
}

// [any thread] attenuationScalar on both lanes.
inline simd::Pair attenuationPair(simd::Pair g) noexcept {
    return logexp_detail::shortOrWhole<exp10_detail::Attenuation>(g);
}

// [any thread] attenuationScalar of count values, four at a time on the AVX2 path; out may be
// in (not otherwise overlapping).
inline void attenuationMany(const double* in, double* out, std::size_t count,
                            simd::Path path = simd::selectedPath) noexcept {
    logexp_detail::many<exp10_detail::Attenuation>(in, out, count, path);
}

// The row of the last k that attenuationFollowing or expFollowing took; a fresh one matches
// no argument.
struct KeptRow {
    exp10_detail::Row<simd::Pair> row = {simd::splat(__builtin_nan("")), {}, {}, {}, {}, {}};
};

namespace exp10_detail {

// What attenuationFollowing and expFollowing share: a kernel's pair, its row kept from the
// previous call while k stays.
template <const Base& base, class Kernel>
[[gnu::always_inline]] inline simd::Pair following(simd::Pair x, KeptRow& last) noexcept {
    using L = Lanes<simd::Pair>;
    const simd::Pair shifted = shiftedOf<base>(x);
    if (!L::allOf(L::equal(shifted, last.row.shifted) & Kernel::fits(x))) [[unlikely]] {
        if (!L::allOf(Kernel::fits(x))) {
            return Kernel::any(x);
        }
        last.row = rowOf<base>(shifted);
    }
    return ordinaryFromRow<base>(x, last.row);
}

} // namespace exp10_detail

// [any thread] attenuationPair(g) bit for bit, for a chain of dependent steps along which g
// moves little from one step to the next, as a gain reduction does: while k stays what it
// was at the previous call, its row is taken from `last` instead of the table, so the chain
// runs from g straight into the polynomial; the test of k and its predicted branch stay beside
// the chain. A new k loads its row into `last`.
[[gnu::always_inline]] inline simd::Pair attenuationFollowing(simd::Pair g,
                                                               KeptRow& last) noexcept {
    return exp10_detail::following<exp10_detail::attenuation, exp10_detail::Attenuation>(g, last);
}

// [any thread] expPair(x) bit for bit in the same way, for an x that moves little from one
// call to the next (a time constant's coefficient that follows a gain).
[[gnu::always_inline]] inline simd::Pair expFollowing(simd::Pair x, KeptRow& last) noexcept {
    return exp10_detail::following<exp10_detail::e, exp10_detail::Exp>(x, last);
}

} // namespace classic
