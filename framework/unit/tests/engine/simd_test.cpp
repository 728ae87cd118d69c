// The SIMD layer: the lane rules every backend must keep (min and max with NaN and signed
// zeros, magnitude, masks), the barrier that keeps a product rounded where the compiler would
// fuse it (this file is built with contraction allowed), the dispatch, and flush-to-zero.

#include "engine/simd/barrier.h"
#include "engine/simd/dispatch.h"
#include "engine/simd/flush_denormals.h"
#include "engine/simd/lanes.h"
#include "engine/simd/mask.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using namespace classic::simd;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

std::uint64_t bitsOf(double x) {
    return std::bit_cast<std::uint64_t>(x);
}

// Operand pairs where the rules differ from a plain minimum: NaN on either side, zeros of
// either sign, equal values.
struct Operands {
    double a, b;
};
const Operands operands[] = {
    {1.0, 2.0},  {2.0, 1.0},  {nan, 1.0},  {1.0, nan}, {nan, -nan},
    {-0.0, 0.0}, {0.0, -0.0}, {-inf, inf}, {3.0, 3.0}, {-5.0, -7.0},
};

TEST(Simd, MinAndMaxTakeTheSecondOperandUnlessTheFirstWins) {
    for (const Operands& o : operands) {
        const double expectedMin = o.a < o.b ? o.a : o.b;
        const double expectedMax = o.a > o.b ? o.a : o.b;
        // Each case in lane 0 and in lane 1, beside an ordinary one.
        for (unsigned lane = 0; lane < 2; ++lane) {
            Pair a = splat(4.0), b = splat(-4.0);
            a[lane] = o.a;
            b[lane] = o.b;
            EXPECT_EQ(bitsOf(min(a, b)[lane]), bitsOf(expectedMin)) << o.a << " " << o.b;
            EXPECT_EQ(bitsOf(max(a, b)[lane]), bitsOf(expectedMax)) << o.a << " " << o.b;
            EXPECT_EQ(min(a, b)[1 - lane], -4.0);
            EXPECT_EQ(max(a, b)[1 - lane], 4.0);
        }
        const Quad qa = {QuadVector{o.a, 1.0, o.a, 1.0}}, qb = {QuadVector{o.b, 2.0, o.b, 2.0}};
        const Quad q = min(qa, qb);
        EXPECT_EQ(bitsOf(q.v[2]), bitsOf(expectedMin));
        EXPECT_EQ(q.v[3], 1.0);
        EXPECT_EQ(bitsOf(Lanes<double>::min(o.a, o.b)), bitsOf(expectedMin));
    }
}

TEST(Simd, MagnitudeClearsTheSignBitOnlyAndSwappedExchangesTheLanes) {
    const double values[] = {-0.0, -inf, -nan, -1e-310, 2.5};
    for (double v : values) {
        const Pair m = magnitude(Pair{v, -v});
        EXPECT_EQ(bitsOf(m[0]), bitsOf(v) & ~(std::uint64_t{1} << 63));
        EXPECT_EQ(bitsOf(m[1]), bitsOf(v) & ~(std::uint64_t{1} << 63));
    }
    const Pair s = swapped(Pair{1.0, -2.0});
    EXPECT_EQ(s[0], -2.0);
    EXPECT_EQ(s[1], 1.0);
}

TEST(Simd, MasksReadTheirLanes) {
    const Pair a = {1.0, 2.0}, b = {10.0, 20.0};
    struct Case {
        Pair x, y; // mask: x < y
        int signBits;
    };
    const Case cases[] = {
        {{0, 0}, {0, 0}, 0}, {{0, 0}, {1, 0}, 1},   {{0, 0}, {0, 1}, 2},
        {{0, 0}, {1, 1}, 3}, {{nan, 0}, {1, 1}, 2},
    };
    for (const Case& c : cases) {
        const Mask m = c.x < c.y;
        EXPECT_EQ(signBits(m), c.signBits);
        EXPECT_EQ(anyOf(m), c.signBits != 0);
        EXPECT_EQ(allOf(m), c.signBits == 3);
        for (const Pair& picked : {select(m, a, b), choose(m, a, b)}) {
            EXPECT_EQ(picked[0], c.signBits & 1 ? a[0] : b[0]);
            EXPECT_EQ(picked[1], c.signBits & 2 ? a[1] : b[1]);
        }
        const Mask all = Pair{0, 0} < Pair{1, 1};
        EXPECT_EQ(signBits(both(m, all)), c.signBits);
        EXPECT_EQ(signBits(andNot(m, all)), 3 - c.signBits);
        EXPECT_EQ(Lanes<Pair>::allOf(Lanes<Pair>::less(c.x, c.y)), c.signBits == 3);
    }
    // Quads: a NaN lane fails every comparison.
    const Quad x = {QuadVector{0, 0, 0, nan}}, y = {QuadVector{1, 1, 1, 1}};
    const QuadBits last = {QuadBitsVector{0, 0, 0, ~std::uint64_t{0}}};
    EXPECT_FALSE(allOf(less(x, y)));
    EXPECT_FALSE(allOf(less(x, y) | equal(x, x) | greater(x, y)));
    EXPECT_TRUE(allOf(atLeast(y, x) | last));
    EXPECT_TRUE(allOf(less(x, y) | last));
}

// a b + c with a b rounded is 0; fused into one multiply-add it would be -2^-60.
constexpr double factorA = 1.0 + 0x1p-30, factorB = 1.0 - 0x1p-30, addend = -1.0;

template <class V>
[[gnu::always_inline]] inline V roundedThenAdded(const V& a, const V& b, const V& c) {
    return Lanes<V>::separate(a * b) + c;
}

// The same, in code the compiler may fuse: with FMA instructions on x86-64 where the processor
// has them (aarch64 always has them).
#if KELVO_SIMD_X86
[[gnu::target("avx2,fma")]]
#endif
void fusable(const double* in, double* out) {
    out[0] = roundedThenAdded(in[0], in[1], in[2]);
    const Pair p = roundedThenAdded(splat(in[0]), splat(in[1]), splat(in[2]));
    out[1] = p[0];
    out[2] = p[1];
    const Quad q = roundedThenAdded(Lanes<Quad>::splat(in[0]), Lanes<Quad>::splat(in[1]),
                                    Lanes<Quad>::splat(in[2]));
    out[3] = q.v[0];
    out[4] = q.v[3];
}

TEST(Simd, SeparateKeepsAProductRoundedWhereTheCompilerWouldFuseIt) {
#if KELVO_SIMD_X86
    if (!__builtin_cpu_supports("fma") || !__builtin_cpu_supports("avx2")) {
        GTEST_SKIP() << "no FMA instructions on this processor";
    }
#endif
    volatile double in[3] = {factorA, factorB, addend}; // not known to the compiler
    const double values[3] = {in[0], in[1], in[2]};
    double out[5];
    fusable(values, out);
    for (double v : out) {
        EXPECT_EQ(bitsOf(v), bitsOf(0.0));
    }
}

TEST(Simd, DispatchRunsTheBodyOnThePathAsked) {
    EXPECT_TRUE(available(Path::baseline));
#if KELVO_SIMD_AVX2
    EXPECT_EQ(available(Path::avx2), cpuHasAvx2());
#else
    EXPECT_FALSE(available(Path::avx2));
#endif
    EXPECT_EQ(selectedPath, available(Path::avx2) ? Path::avx2 : Path::baseline);
    for (Path path : {Path::baseline, Path::avx2}) {
        if (!available(path)) {
            continue;
        }
        int calls = 0;
        Path seen = Path::baseline;
        dispatch(
            path,
            [](auto on, int* count, Path* where) {
                ++*count;
                *where = decltype(on)::path;
            },
            &calls, &seen);
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(seen, path);
    }
}

TEST(Simd, FlushDenormalsReadsAndWritesSubnormalsAsZeroWhileInScope) {
    if (flushBits == 0) {
        GTEST_SKIP() << "no flush-to-zero on this architecture";
    }
    volatile double subnormal = 0x1p-1060, small = 0x1p-1000, scale = 0x1p-30;
    const ControlWord before = controlWord();
    EXPECT_NE(subnormal + 0.0, 0.0);
    {
        const FlushDenormals flush;
        EXPECT_EQ(controlWord() & flushBits, flushBits);
        EXPECT_EQ(subnormal + 0.0, 0.0); // read as zero
        EXPECT_EQ(small * scale, 0.0);   // written as zero
    }
    EXPECT_EQ(controlWord() & modeBits, before & modeBits);
    EXPECT_NE(small * scale, 0.0);
}

} // namespace
