#pragma once
// The vector types the lane kernels (tanh.h, log10.h, exp10.h) are written in: two doubles for
// SSE2, four for AVX2, and their bits. The four-lane value and its bits are wrapped: a 32-byte
// vector passed by value outside AVX code would draw the compiler's ABI notice, so they travel
// by reference or wrapped, and their operators compile to AVX2 only where they are inlined into
// the AVX2 functions.

#include <cstdint>

namespace classic::vectors {

typedef double Pack2 __attribute__((vector_size(16)));
typedef std::uint64_t Bits2 __attribute__((vector_size(16)));
typedef double Pack4 __attribute__((vector_size(32)));
typedef std::uint64_t Bits4 __attribute__((vector_size(32)));

struct Quad {
    Pack4 v;
};
struct QuadBits {
    Bits4 v;
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
// clang-format on

} // namespace classic::vectors
