#pragma once
// tanh for the saturating stages: within 0.55 ulp of the exact value, correctly rounded for
// all but a fraction of a percent of arguments, odd, monotone, |tanh x| <= 1, and the same
// bits whether computed one, two (SSE2) or four (AVX2) at a time. About four times faster
// than the C library's per value; two channels side by side cost little more than one.
//
//     double tanhScalar(double x);
//     void tanh2(const double in[2], double out[2]);   __m128d tanh2(__m128d x);
//     void tanh4(const double in[4], double out[4]);   AVX2 when the processor has it
//
// Method. For a = |x| in [2^-5, 22] the exponent and the 6 leading mantissa bits of a select
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
// that counts is the last one. Below 2^-5 t itself is the result; from 22 on (and at the
// infinities) the row of 22 gives exactly 1 (tanh x rounds to 1 from 19.06 on). The sign is
// copied back, so tanh(-x) = -tanh(x) bit for bit and tanh(±0) = ±0; NaN stays NaN.
//
// Every path runs the same operations in the same order. A product that meets a sum passes
// through `separate`, which the compiler cannot see through, so no build flag can fuse the
// two into one multiply-add in one path and not in another.
//
// Nothing here allocates, locks or calls the system.

#include "engine/tanh_table.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <immintrin.h>

namespace classic {
namespace tanh_detail {

typedef double Pack2 __attribute__((vector_size(16)));
typedef std::uint64_t Bits2 __attribute__((vector_size(16)));
typedef double Pack4 __attribute__((vector_size(32)));
typedef std::uint64_t Bits4 __attribute__((vector_size(32)));

inline constexpr std::uint64_t signBit = std::uint64_t{1} << 63;
inline constexpr std::uint64_t magnitudeBits = ~signBit;

// 1 - tanh x ~ 2 exp(-2x) is below half an ulp of 1 (2^-54) from x = 19.06 on: arguments
// beyond 22 are read as 22, whose row holds exactly 1.
inline constexpr double top = 22.0;
// Below 2^-5 there is no row: tanh is the polynomial alone.
inline constexpr double rowFloor = 0x1p-5;
// Below 2^-27 tanh x rounds to x (x^3/3 < 2^-55 x): the polynomial's powers are skipped, so
// tiny arguments never make them subnormal (and slow).
inline constexpr double polynomialFloor = 0x1p-27;

// 52 mantissa bits, of which the top 6 pick the row within the octave.
inline constexpr unsigned rowShift = 46;
inline constexpr std::uint64_t breakpointMask = ~((std::uint64_t{1} << rowShift) - 1);
// Row 1 is the breakpoint 2^-5; row 0 stands for everything below.
inline constexpr std::uint64_t rowBase = (std::bit_cast<std::uint64_t>(rowFloor) >> rowShift) - 1;
static_assert((std::bit_cast<std::uint64_t>(top) >> rowShift) - rowBase == tanhRowCount - 1,
              "the last row is the breakpoint 22");
static_assert((std::bit_cast<std::uint64_t>(top) & ~breakpointMask) == 0,
              "22 is a breakpoint, so r = 0 there");

// tanh r = r + r^3 P(r^2): the Taylor coefficients. Five terms leave 2^-67 of t for
// r < 2^-5 (no row) and, where rows are 2^-4..2^-2 wide (a >= 4), a remainder that the small
// sech^2(b) scales below 2^-70 of the result.
inline constexpr double c1 = -1.0 / 3;
inline constexpr double c2 = 2.0 / 15;
inline constexpr double c3 = -17.0 / 315;
inline constexpr double c4 = 62.0 / 2835;
inline constexpr double c5 = -1382.0 / 155925;

// The four-lane value and its bits. A 32-byte vector passed by value outside AVX code would
// draw the compiler's ABI notice, so everything takes them by reference or returns them
// wrapped; their operators compile to AVX2 where they are inlined, into tanh4Avx2 alone.
struct Quad {
    Pack4 v;
};
struct QuadBits {
    Bits4 v;
};
// clang-format off
[[gnu::always_inline]] inline Quad operator+(const Quad& a, const Quad& b) { return {a.v + b.v}; }
[[gnu::always_inline]] inline Quad operator+(double a, const Quad& b) { return {a + b.v}; }
[[gnu::always_inline]] inline Quad operator-(const Quad& a, const Quad& b) { return {a.v - b.v}; }
[[gnu::always_inline]] inline Quad operator*(const Quad& a, const Quad& b) { return {a.v * b.v}; }
[[gnu::always_inline]] inline Quad operator*(const Quad& a, double b) { return {a.v * b}; }
[[gnu::always_inline]] inline Quad operator/(const Quad& a, const Quad& b) { return {a.v / b.v}; }
[[gnu::always_inline]] inline Quad operator/(double a, const Quad& b) { return {a / b.v}; }
[[gnu::always_inline]] inline QuadBits operator&(const QuadBits& a, const QuadBits& b) { return {a.v & b.v}; }
[[gnu::always_inline]] inline QuadBits operator&(const QuadBits& a, std::uint64_t b) { return {a.v & b}; }
[[gnu::always_inline]] inline QuadBits operator|(const QuadBits& a, const QuadBits& b) { return {a.v | b.v}; }
[[gnu::always_inline]] inline QuadBits operator-(const QuadBits& a, std::uint64_t b) { return {a.v - b}; }
[[gnu::always_inline]] inline QuadBits operator>>(const QuadBits& a, unsigned b) { return {a.v >> b}; }
[[gnu::always_inline]] inline QuadBits operator~(const QuadBits& a) { return {~a.v}; }
// clang-format on

// The same operations on one, two or four lanes. Masks are all ones or all zeros per lane.
template <class V> struct Lanes;

template <> struct Lanes<double> {
    using Bits = std::uint64_t;
    [[gnu::always_inline]] static Bits bits(double v) { return std::bit_cast<Bits>(v); }
    [[gnu::always_inline]] static double value(Bits b) { return std::bit_cast<double>(b); }
    [[gnu::always_inline]] static double splat(double v) { return v; }
    // The second operand unless the first is smaller (so NaN as first gives the second): the
    // rule of minsd and minpd.
    [[gnu::always_inline]] static double min(double a, double b) { return a < b ? a : b; }
    [[gnu::always_inline]] static Bits below(double a, double b) {
        return a < b ? ~Bits{0} : Bits{0};
    }
    // An opaque copy: a product stays a rounded product.
    [[gnu::always_inline]] static double separate(double v) {
        asm("" : "+x"(v));
        return v;
    }
    [[gnu::always_inline]] static void rows(Bits index, double& high, double& low,
                                            double& sech2) {
        const TanhRow& row = tanhTable[index];
        high = row.tanhHigh;
        low = row.tanhLow;
        sech2 = row.sech2;
    }
};

template <> struct Lanes<Pack2> {
    using Bits = Bits2;
    [[gnu::always_inline]] static Bits bits(Pack2 v) { return (Bits)v; }
    [[gnu::always_inline]] static Pack2 value(Bits b) { return (Pack2)b; }
    [[gnu::always_inline]] static Pack2 splat(double v) { return Pack2{v, v}; }
    [[gnu::always_inline]] static Pack2 min(Pack2 a, Pack2 b) {
        return (Pack2)_mm_min_pd((__m128d)a, (__m128d)b);
    }
    [[gnu::always_inline]] static Bits below(Pack2 a, Pack2 b) { return (Bits)(a < b); }
    [[gnu::always_inline]] static Pack2 separate(Pack2 v) {
        asm("" : "+x"(v));
        return v;
    }
    [[gnu::always_inline]] static void rows(Bits index, Pack2& high, Pack2& low, Pack2& sech2) {
        const TanhRow& r0 = tanhTable[index[0]];
        const TanhRow& r1 = tanhTable[index[1]];
        high = Pack2{r0.tanhHigh, r1.tanhHigh};
        low = Pack2{r0.tanhLow, r1.tanhLow};
        sech2 = Pack2{r0.sech2, r1.sech2};
    }
};

template <> struct Lanes<Quad> {
    using Bits = QuadBits;
    [[gnu::always_inline]] static Bits bits(const Quad& v) { return {(Bits4)v.v}; }
    [[gnu::always_inline]] static Quad value(const Bits& b) { return {(Pack4)b.v}; }
    [[gnu::always_inline]] static Quad splat(double v) { return {Pack4{v, v, v, v}}; }
    [[gnu::always_inline]] static Quad min(const Quad& a, const Quad& b) {
        return {a.v < b.v ? a.v : b.v};
    }
    [[gnu::always_inline]] static Bits below(const Quad& a, const Quad& b) {
        return {(Bits4)(a.v < b.v)};
    }
    [[gnu::always_inline]] static Quad separate(const Quad& v) {
        Quad copy = v;
        asm("" : "+x"(copy.v));
        return copy;
    }
    [[gnu::always_inline]] static void rows(const Bits& index, Quad& high, Quad& low,
                                            Quad& sech2) {
        const TanhRow& r0 = tanhTable[index.v[0]];
        const TanhRow& r1 = tanhTable[index.v[1]];
        const TanhRow& r2 = tanhTable[index.v[2]];
        const TanhRow& r3 = tanhTable[index.v[3]];
        high = {Pack4{r0.tanhHigh, r1.tanhHigh, r2.tanhHigh, r3.tanhHigh}};
        low = {Pack4{r0.tanhLow, r1.tanhLow, r2.tanhLow, r3.tanhLow}};
        sech2 = {Pack4{r0.sech2, r1.sech2, r2.sech2, r3.sech2}};
    }
};

template <class V> [[gnu::always_inline]] inline V tanhLanes(const V& x) {
    using L = Lanes<V>;
    using Bits = typename L::Bits;
    const Bits xBits = L::bits(x);
    const V a = L::value(xBits & magnitudeBits);
    const V aRow = L::min(a, L::splat(top));   // NaN reads the row of 22
    const V aValue = L::min(L::splat(top), a); // NaN stays NaN
    const Bits noRow = L::below(a, L::splat(rowFloor));
    const Bits noPolynomial = L::below(a, L::splat(polynomialFloor));

    const Bits rowBits = L::bits(aRow);
    const V b = L::value(rowBits & breakpointMask & ~noRow);
    const V r = aValue - b; // exact: b is a with its low mantissa bits cleared, or 0
    V high, low, sech2;     // row 0 is all zeros
    L::rows(((rowBits >> rowShift) - rowBase) & ~noRow, high, low, sech2);

    // t = r + r^3 (c1 + c2 z + z^2 (c3 + c4 z + c5 z^2)), z = r^2
    const V rp = L::value(L::bits(r) & ~noPolynomial);
    const V z = rp * rp;
    const V z2 = z * z;
    const V inner = (c3 + L::separate(z * c4)) + L::separate(z2 * c5);
    const V p = (c1 + L::separate(z * c2)) + L::separate(z2 * inner);
    const V t = r + L::separate(rp * z * p);

    // At r = 0, 1/t is infinite and the correction 0. Without a row: 0 + (0 + 0), then t.
    const V correction = sech2 / (high + 1.0 / t);
    const V sum = high + (low + correction);
    const V result = sum + L::value(L::bits(t) & noRow);
    return L::value(L::bits(result) | (xBits & signBit));
}

[[gnu::target("avx2")]] inline void tanh4Avx2(const double in[4], double out[4]) noexcept {
    const Quad y = tanhLanes(Quad{(Pack4)_mm256_loadu_pd(in)});
    _mm256_storeu_pd(out, (__m256d)y.v);
}

// Read once while the program starts, before any render thread runs.
inline const bool hasAvx2 = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));

} // namespace tanh_detail

// [any thread]
inline double tanhScalar(double x) noexcept { return tanh_detail::tanhLanes(x); }

// [any thread] Both lanes at once, each exactly as tanhScalar.
inline __m128d tanh2(__m128d x) noexcept {
    return (__m128d)tanh_detail::tanhLanes((tanh_detail::Pack2)x);
}

// [any thread] out may be in.
inline void tanh2(const double in[2], double out[2]) noexcept {
    tanh_detail::Pack2 x;
    std::memcpy(&x, in, sizeof x);
    const tanh_detail::Pack2 y = tanh_detail::tanhLanes(x);
    std::memcpy(out, &y, sizeof y);
}

namespace tanh_detail {
inline void tanh4Sse2(const double in[4], double out[4]) noexcept {
    tanh2(in, out);
    tanh2(in + 2, out + 2);
}
} // namespace tanh_detail

// [any thread] Four lanes, each exactly as tanhScalar; out may be in.
inline void tanh4(const double in[4], double out[4]) noexcept {
    if (tanh_detail::hasAvx2) {
        tanh_detail::tanh4Avx2(in, out);
    } else {
        tanh_detail::tanh4Sse2(in, out);
    }
}

} // namespace classic

