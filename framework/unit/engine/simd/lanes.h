#pragma once
// One, two or four lanes under one vocabulary, for the functions written once as a kernel on a
// lane type V (double, Pair or Quad) and instantiated for each: the scalar form, the pair and
// the AVX2 quad then run the same operations in the same order and give the same bits.
//
// Beside the arithmetic of V itself (+ - * /, with V or double) and of its Bits (& | + - << >>
// ~, with Bits or a 64-bit constant), Lanes<V> gives:
//
//     Bits bits(V v);   V value(Bits b);          the representation and back
//     V splat(double v);   Bits splatBits(std::uint64_t b)
//     Bits less, greater, equal, atLeast(V a, V b);   masks: a lane all ones where true
//     Bits andNot(Bits mask, Bits b);               ~mask & b
//     bool allOf(Bits mask);
//     V min(V a, V b);                              a < b ? a : b per lane (pair.h's rule)
//     V separate(V v);                              barrier.h
//     V gather(const double* column, Bits index);   column[index] per lane

#include "engine/simd/barrier.h"
#include "engine/simd/mask.h"
#include "engine/simd/pair.h"
#include "engine/simd/quad.h"

#include <bit>
#include <cstdint>

namespace classic::simd {

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
    [[gnu::always_inline]] static Bits atLeast(double a, double b) { return mask(a >= b); }
    [[gnu::always_inline]] static Bits andNot(Bits mask, Bits b) { return ~mask & b; }
    [[gnu::always_inline]] static bool allOf(Bits mask) { return mask != 0; }
    [[gnu::always_inline]] static double min(double a, double b) { return a < b ? a : b; }
    [[gnu::always_inline]] static double separate(double v) { return simd::separate(v); }
    [[gnu::always_inline]] static double gather(const double* column, Bits index) {
        return column[index];
    }
};

template <> struct Lanes<Pair> {
    using Bits = PairBits;
    [[gnu::always_inline]] static Bits bits(Pair v) { return (Bits)v; }
    [[gnu::always_inline]] static Pair value(Bits b) { return (Pair)b; }
    [[gnu::always_inline]] static Pair splat(double v) { return simd::splat(v); }
    [[gnu::always_inline]] static Bits splatBits(std::uint64_t b) { return Bits{b, b}; }
    [[gnu::always_inline]] static Bits less(Pair a, Pair b) { return (Bits)(a < b); }
    [[gnu::always_inline]] static Bits greater(Pair a, Pair b) { return (Bits)(a > b); }
    [[gnu::always_inline]] static Bits equal(Pair a, Pair b) { return (Bits)(a == b); }
    [[gnu::always_inline]] static Bits atLeast(Pair a, Pair b) { return (Bits)(a >= b); }
    [[gnu::always_inline]] static Bits andNot(Bits mask, Bits b) {
        return (Bits)simd::andNot((Mask)mask, (Mask)b);
    }
    [[gnu::always_inline]] static bool allOf(Bits mask) { return simd::allOf((Mask)mask); }
    [[gnu::always_inline]] static Pair min(Pair a, Pair b) { return simd::min(a, b); }
    [[gnu::always_inline]] static Pair separate(Pair v) { return simd::separate(v); }
    [[gnu::always_inline]] static Pair gather(const double* column, Bits index) {
        return Pair{column[index[0]], column[index[1]]};
    }
};

template <> struct Lanes<Quad> {
    using Bits = QuadBits;
    [[gnu::always_inline]] static Bits bits(const Quad& v) { return {(QuadBitsVector)v.v}; }
    [[gnu::always_inline]] static Quad value(const Bits& b) { return {(QuadVector)b.v}; }
    [[gnu::always_inline]] static Quad splat(double v) { return {QuadVector{v, v, v, v}}; }
    [[gnu::always_inline]] static Bits splatBits(std::uint64_t b) {
        return {QuadBitsVector{b, b, b, b}};
    }
    [[gnu::always_inline]] static Bits less(const Quad& a, const Quad& b) {
        return simd::less(a, b);
    }
    [[gnu::always_inline]] static Bits greater(const Quad& a, const Quad& b) {
        return simd::greater(a, b);
    }
    [[gnu::always_inline]] static Bits equal(const Quad& a, const Quad& b) {
        return simd::equal(a, b);
    }
    [[gnu::always_inline]] static Bits atLeast(const Quad& a, const Quad& b) {
        return simd::atLeast(a, b);
    }
    [[gnu::always_inline]] static Bits andNot(const Bits& mask, const Bits& b) {
        return {~mask.v & b.v};
    }
    [[gnu::always_inline]] static bool allOf(const Bits& mask) { return simd::allOf(mask); }
    [[gnu::always_inline]] static Quad min(const Quad& a, const Quad& b) {
        return simd::min(a, b);
    }
    [[gnu::always_inline]] static Quad separate(const Quad& v) { return simd::separate(v); }
    [[gnu::always_inline]] static Quad gather(const double* column, const Bits& index) {
        return {QuadVector{column[index.v[0]], column[index.v[1]], column[index.v[2]],
                           column[index.v[3]]}};
    }
};

} // namespace classic::simd
