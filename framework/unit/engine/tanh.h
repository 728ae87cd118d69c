#pragma once
// tanh for the saturating stages: within 0.55 ulp of the exact value, correctly rounded for
// all but a fraction of a percent of arguments, odd, monotone, |tanh x| <= 1, and the same
// bits whether computed one, two (SSE2) or four (AVX2) at a time. Two at a time it costs
// about a fifth of the C library's tanh per value.
//
//     double tanhScalar(double x);
//     void tanh2(const double in[2], double out[2]);   simd::Pair tanh2(simd::Pair x);
//     void tanh4(const double in[4], double out[4]);   AVX2 when the processor has it
//     void tanhMany(const double* in, double* out, std::size_t count);   likewise
//
// Method. For a = |x| in [2^-6, 22] the exponent and the 6 leading mantissa bits of a select
// a breakpoint b (64 per octave, so b <= a < b*(1 + 1/64)) and a row of tanh_table.h:
// tanh(b) as a double and the rest, and sech^2(b). With r = a - b (exact) and t = tanh(r)
// from its odd Taylor polynomial, the addition theorem gives
//
//     tanh(b + r) = tanh(b) + sech^2(b) / (tanh(b) + 1/t),
//
// written so that every step is monotone in r: t rises, 1/t falls, the denominator falls,
// the quotient rises, and rounding preserves each of those. So the result never decreases
// within a row; across rows the tests check every boundary. The correction is below 1/64 of
// the result, so its own few roundings move the result by hundredths of an ulp: the rounding
// that counts is the last one. Below 2^-6 t itself is the result; from 22 on (and at the
// infinities) the row of 22 gives exactly 1 (tanh x rounds to 1 from 19.06 on). The sign is
// copied back, so tanh(-x) = -tanh(x) bit for bit and tanh(±0) = ±0; NaN stays NaN.
//
// Every path runs the same operations in the same order. A product that meets a sum passes
// through `separate` (engine/simd/barrier.h), so no build flag can fuse the two into one
// multiply-add in one path and not in another (checked with -march=native -ffp-contract=fast).
//
// Nothing here allocates, locks or calls the system.

#include "engine/simd/dispatch.h"
#include "engine/simd/lanes.h"
#include "engine/tanh_table.h"

#include <bit>
#include <cstddef>
#include <cstdint>

namespace classic {
namespace tanh_detail {

inline constexpr std::uint64_t signBit = std::uint64_t{1} << 63;
inline constexpr std::uint64_t magnitudeBits = ~signBit;

// 1 - tanh x ~ 2 exp(-2x) is below half an ulp of 1 (2^-54) from x = 19.06 on: arguments
// beyond 22 are read as 22, whose row holds exactly 1.
inline constexpr double top = 22.0;
// Below 2^-6 there is no row: tanh is the polynomial alone.
inline constexpr double rowFloor = 0x1p-6;
// Below 2^-27 tanh x rounds to x (x^3/3 < 2^-55 x): the polynomial's powers are skipped, so
// tiny arguments never make them subnormal (and slow).
inline constexpr double polynomialFloor = 0x1p-27;

// 52 mantissa bits, of which the top 6 pick the row within the octave.
inline constexpr unsigned rowShift = 46;
inline constexpr std::uint64_t breakpointMask = ~((std::uint64_t{1} << rowShift) - 1);
// Row 1 is the breakpoint 2^-6; row 0 stands for everything below.
inline constexpr std::uint64_t rowBase = (std::bit_cast<std::uint64_t>(rowFloor) >> rowShift) - 1;
static_assert((std::bit_cast<std::uint64_t>(top) >> rowShift) - rowBase == tanhRowCount - 1,
              "the last row is the breakpoint 22");
static_assert((std::bit_cast<std::uint64_t>(top) & ~breakpointMask) == 0,
              "22 is a breakpoint, so r = 0 there");

// tanh r = r + r^3 P(r^2): the Taylor coefficients. The first term left out, 1382/155925
// r^11, is 2^-66.8 of t at r = 2^-6 (no row). Rows are wider higher up (r < 2^-4 from a = 4,
// 2^-3 from 8), but there sech^2(b) makes the correction so small a part of the result that
// the remainder stays below 2^-60 of it (under 1/128 ulp).
inline constexpr double c1 = -1.0 / 3;
inline constexpr double c2 = 2.0 / 15;
inline constexpr double c3 = -17.0 / 315;
inline constexpr double c4 = 62.0 / 2835;

// The rows by column: a row's index then addresses each of its values directly.
struct TanhColumns {
    double high[tanhRowCount];
    double low[tanhRowCount];
    double sech2[tanhRowCount];
};
constexpr TanhColumns byColumn() {
    TanhColumns columns{};
    for (unsigned i = 0; i < tanhRowCount; ++i) {
        columns.high[i] = tanhTable[i].tanhHigh;
        columns.low[i] = tanhTable[i].tanhLow;
        columns.sech2[i] = tanhTable[i].sech2;
    }
    return columns;
}
alignas(64) inline constexpr TanhColumns tanhColumns = byColumn();

template <class V> [[gnu::always_inline]] inline V tanhLanes(const V& x) {
    using L = simd::Lanes<V>;
    using Bits = typename L::Bits;
    const Bits xBits = L::bits(x);
    const V a = L::value(xBits & magnitudeBits);
    const V aValue = L::min(L::splat(top), a); // NaN stays NaN
    // All ones where a row applies: not below 2^-6, nor for NaN; both read row 0.
    const Bits hasRow = L::atLeast(a, L::splat(rowFloor));
    const Bits hasPolynomial = L::atLeast(a, L::splat(polynomialFloor));

    const Bits aBits = L::bits(aValue);
    const V b = L::value(aBits & breakpointMask & hasRow);
    const V r = aValue - b; // exact: b is a with its low mantissa bits cleared, or 0
    const Bits row = ((aBits >> rowShift) - rowBase) & hasRow;
    const V high = L::gather(tanhColumns.high, row); // row 0 is all zeros
    const V low = L::gather(tanhColumns.low, row);
    const V sech2 = L::gather(tanhColumns.sech2, row);

    // t = r + r^3 (c1 + c2 z + z^2 (c3 + c4 z)), z = r^2
    const V rp = L::value(L::bits(r) & hasPolynomial);
    const V z = rp * rp;
    const V z2 = z * z;
    const V p = (c1 + L::separate(z * c2)) + L::separate(z2 * (c3 + L::separate(z * c4)));
    const V t = r + L::separate(rp * z * p);

    // At r = 0, 1/t is infinite and the correction 0. Without a row (all zeros) the sum is
    // 0 + (t + 0): t takes the place of the low part, which is 0 there.
    const V correction = sech2 / (high + 1.0 / t);
    const V lowOrT = L::value(L::bits(low) | L::andNot(hasRow, L::bits(t)));
    const V result = high + (lowOrT + correction);
    return L::value(L::bits(result) | (xBits & signBit));
}

// Four at a time: a quad on the AVX2 path, two pairs otherwise.
template <class On>
[[gnu::always_inline]] inline void four(On, const double* in, double* out) noexcept {
    if constexpr (On::avx2) {
        simd::store(out, tanhLanes(simd::loadQuad(in)));
    } else {
        simd::store(out, tanhLanes(simd::load(in)));
        simd::store(out + 2, tanhLanes(simd::load(in + 2)));
    }
}

// A batch: quads on the AVX2 path (the loop inside the AVX2 code, so its constants stay in
// registers from one four to the next), pairs otherwise; then the values left over.
template <class On>
[[gnu::always_inline]] inline void many(On, const double* in, double* out,
                                        std::size_t count) noexcept {
    std::size_t i = 0;
    if constexpr (On::avx2) {
        for (; i + 4 <= count; i += 4) {
            simd::store(out + i, tanhLanes(simd::loadQuad(in + i)));
        }
        for (; i < count; ++i) {
            out[i] = tanhLanes(in[i]);
        }
    } else {
        for (; i + 2 <= count; i += 2) {
            simd::store(out + i, tanhLanes(simd::load(in + i)));
        }
        if (i < count) {
            out[i] = tanhLanes(in[i]);
        }
    }
}

} // namespace tanh_detail

// [any thread]
inline double tanhScalar(double x) noexcept {
    return tanh_detail::tanhLanes(x);
}

// [any thread] Both lanes at once, each exactly as tanhScalar.
inline simd::Pair tanh2(simd::Pair x) noexcept {
    return tanh_detail::tanhLanes(x);
}

// [any thread] out may be in.
inline void tanh2(const double in[2], double out[2]) noexcept {
    simd::store(out, tanh_detail::tanhLanes(simd::load(in)));
}

// [any thread] Four lanes, each exactly as tanhScalar; out may be in. On the AVX2 path a call
// of its own into the AVX2 code: worth it for a batch, not for one four (see tanhMany). path:
// the processor's unless a test compares them.
inline void tanh4(const double in[4], double out[4],
                  simd::Path path = simd::selectedPath) noexcept {
    simd::dispatch(
        path, [](auto on, const double* x, double* y) __attribute__((always_inline)) {
            tanh_detail::four(on, x, y);
        },
        in, out);
}

// [any thread] count values, each exactly as tanhScalar, four at a time on the AVX2 path, two
// at a time otherwise; out may be in (not otherwise overlapping).
inline void tanhMany(const double* in, double* out, std::size_t count,
                     simd::Path path = simd::selectedPath) noexcept {
    simd::dispatch(
        path,
        [](auto on, const double* x, double* y, std::size_t n)
            __attribute__((always_inline)) { tanh_detail::many(on, x, y, n); },
        in, out, count);
}

} // namespace classic
