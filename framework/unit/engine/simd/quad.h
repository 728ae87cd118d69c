#pragma once
// The quad: four doubles side by side, one AVX2 register, for the AVX2 path of the functions
// that take many values at once (on other processors the compiler splits it in two pairs).
// Its value and its bits (`QuadBits`, four 64-bit unsigned integers; a lane all ones or all
// zeros is a mask) are wrapped: a 32-byte vector passed by value outside AVX code would change
// the calling convention (and draw the compiler's notice), so they travel by reference or
// wrapped, and their operators compile to AVX2 only where they are inlined into AVX2 code.
//
//     Quad loadQuad(const double* p);   void store(double* p, const Quad& v);   any alignment
//     Quad min(const Quad& a, const Quad& b);   a < b ? a : b per lane, as for pairs
//     QuadBits less, greater, equal, atLeast(const Quad& a, const Quad& b);   a < b, ...
//     bool allOf(const QuadBits& mask);

#include "engine/simd/backend.h"

#include <cstdint>

#if KELVO_SIMD_AVX2
#include <immintrin.h>
#endif

namespace classic::simd {

using QuadVector = double __attribute__((vector_size(32)));
using QuadBitsVector = std::uint64_t __attribute__((vector_size(32)));
// The same for loads and stores at any address, as the compilers' own unaligned intrinsics
// are written. (A typedef: clang drops the alignment from an alias declaration.)
typedef double UnalignedQuad __attribute__((vector_size(32), aligned(1), may_alias));

struct Quad {
    QuadVector v;
};
struct QuadBits {
    QuadBitsVector v;
};

// clang-format off
[[gnu::always_inline]] inline Quad operator+(const Quad& a, const Quad& b) { return {a.v + b.v}; }
[[gnu::always_inline]] inline Quad operator+(const Quad& a, double b) { return {a.v + b}; }
[[gnu::always_inline]] inline Quad operator+(double a, const Quad& b) { return {a + b.v}; }
[[gnu::always_inline]] inline Quad operator-(const Quad& a, const Quad& b) { return {a.v - b.v}; }
[[gnu::always_inline]] inline Quad operator-(const Quad& a, double b) { return {a.v - b}; }
[[gnu::always_inline]] inline Quad operator*(const Quad& a, const Quad& b) { return {a.v * b.v}; }
[[gnu::always_inline]] inline Quad operator*(const Quad& a, double b) { return {a.v * b}; }
[[gnu::always_inline]] inline Quad operator/(const Quad& a, const Quad& b) { return {a.v / b.v}; }
[[gnu::always_inline]] inline Quad operator/(const Quad& a, double b) { return {a.v / b}; }
[[gnu::always_inline]] inline Quad operator/(double a, const Quad& b) { return {a / b.v}; }
[[gnu::always_inline]] inline QuadBits operator&(const QuadBits& a, const QuadBits& b) { return {a.v & b.v}; }
[[gnu::always_inline]] inline QuadBits operator&(const QuadBits& a, std::uint64_t b) { return {a.v & b}; }
[[gnu::always_inline]] inline QuadBits operator|(const QuadBits& a, const QuadBits& b) { return {a.v | b.v}; }
[[gnu::always_inline]] inline QuadBits operator|(const QuadBits& a, std::uint64_t b) { return {a.v | b}; }
[[gnu::always_inline]] inline QuadBits operator+(const QuadBits& a, const QuadBits& b) { return {a.v + b.v}; }
[[gnu::always_inline]] inline QuadBits operator+(const QuadBits& a, std::uint64_t b) { return {a.v + b}; }
[[gnu::always_inline]] inline QuadBits operator-(const QuadBits& a, const QuadBits& b) { return {a.v - b.v}; }
[[gnu::always_inline]] inline QuadBits operator-(const QuadBits& a, std::uint64_t b) { return {a.v - b}; }
[[gnu::always_inline]] inline QuadBits operator<<(const QuadBits& a, unsigned b) { return {a.v << b}; }
[[gnu::always_inline]] inline QuadBits operator>>(const QuadBits& a, unsigned b) { return {a.v >> b}; }
[[gnu::always_inline]] inline QuadBits operator~(const QuadBits& a) { return {~a.v}; }

[[gnu::always_inline]] inline QuadBits less(const Quad& a, const Quad& b) { return {(QuadBitsVector)(a.v < b.v)}; }
[[gnu::always_inline]] inline QuadBits greater(const Quad& a, const Quad& b) { return {(QuadBitsVector)(a.v > b.v)}; }
[[gnu::always_inline]] inline QuadBits equal(const Quad& a, const Quad& b) { return {(QuadBitsVector)(a.v == b.v)}; }
[[gnu::always_inline]] inline QuadBits atLeast(const Quad& a, const Quad& b) { return {(QuadBitsVector)(a.v >= b.v)}; }
[[gnu::always_inline]] inline Quad min(const Quad& a, const Quad& b) { return {a.v < b.v ? a.v : b.v}; }
// clang-format on

[[gnu::always_inline]] inline Quad loadQuad(const double* p) noexcept {
    return {*reinterpret_cast<const UnalignedQuad*>(p)};
}

[[gnu::always_inline]] inline void store(double* p, const Quad& v) noexcept {
    *reinterpret_cast<UnalignedQuad*>(p) = v.v;
}

#if KELVO_SIMD_AVX2

// One instruction of AVX code: inlined where the caller is AVX2 code, which is the only place a
// quad is tested (a function that forces it inline would have to be AVX code itself).
[[gnu::target("avx2")]] inline bool allOf(const QuadBits& mask) noexcept {
    return _mm256_movemask_pd((__m256d)mask.v) == 15;
}

#else

[[gnu::always_inline]] inline bool allOf(const QuadBits& mask) noexcept {
    return (mask.v[0] & mask.v[1] & mask.v[2] & mask.v[3]) != 0;
}

#endif

} // namespace classic::simd
