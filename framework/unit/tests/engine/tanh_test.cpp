// classic::tanhScalar, tanh2, tanh4 and tanhMany against the exact value: the error stays within
// 0.6 ulp of 80-bit tanhl over many millions of arguments (uniform in value and in exponent,
// beside every row boundary, at the region edges, tiny, subnormal, huge), the results are
// correctly rounded in more than 99 % of them, every path gives the same bits, and the
// function is odd, monotone, bounded by 1 and exact at 0, the infinities and NaN. The table's
// rows are checked against quadruple precision. Each sweep prints how often glibc's tanh
// gives the same bits (glibc is up to 2.2 ulp off, so it cannot be matched everywhere).

#include "engine/tanh.h"
#include "ulp.h"

#include <gtest/gtest.h>
#include <quadmath.h>

#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

using classic::tanhScalar;
using kelvo_test::ulpAt;

constexpr double infinity = std::numeric_limits<double>::infinity();

double next(double x) {
    return std::nextafter(x, infinity);
}
double previous(double x) {
    return std::nextafter(x, -infinity);
}

// Error of `got` in ulps of the exact tanh x, with 80-bit tanhl standing in for the exact
// value (its own error is a few units of its 64th bit, about 2^-10 ulp of a double).
double ulpsOff(double got, double x) {
    const long double exact = tanhl(static_cast<long double>(x));
    return static_cast<double>(fabsl(static_cast<long double>(got) - exact) / ulpAt(exact));
}

// The correctly rounded tanh x: tanhl decides unless it lies within 2^-7 ulp of a point
// halfway between two doubles; then quadruple precision (113 bits) decides.
double correctlyRounded(double x) {
    const long double exact = tanhl(static_cast<long double>(x));
    const double nearest = static_cast<double>(exact);
    const long double spacing = ulpAt(exact);
    const long double offset = fabsl(exact - static_cast<long double>(nearest)) / spacing;
    if (offset < 0.5L - 0x1p-7L) {
        return nearest;
    }
    return static_cast<double>(tanhq(static_cast<__float128>(x)));
}

std::uint64_t bitsOf(double x) {
    return std::bit_cast<std::uint64_t>(x);
}

// Every path for a batch of arguments (length a multiple of 4); counts lanes that disagree.
struct Evaluated {
    std::vector<double> values;
    unsigned pathMismatches = 0;
};

Evaluated evaluate(const std::vector<double>& arguments) {
    using classic::simd::Path;
    const std::size_t n = arguments.size();
    Evaluated result;
    result.values.resize(n);
    // The batch forms over all but the last argument, so that their odd tails run too. Each
    // path as it is, where the processor has it; the baseline's results stand in otherwise.
    const bool avx2 = classic::simd::available(Path::avx2);
    const Path wide = avx2 ? Path::avx2 : Path::baseline;
    std::vector<double> many(n), manyBaseline(n), manyWide(n);
    classic::tanhMany(arguments.data(), many.data(), n - 1);
    classic::tanhMany(arguments.data(), manyBaseline.data(), n - 1, Path::baseline);
    classic::tanhMany(arguments.data(), manyWide.data(), n - 1, wide);
    for (std::size_t i = 0; i < n; i += 4) {
        const double* in = &arguments[i];
        double two[4], baseline[4], dispatched[4], wider[4];
        classic::tanh2(in, two);
        const classic::simd::Pair packed = classic::tanh2(classic::simd::Pair{in[2], in[3]});
        two[2] = packed[0];
        two[3] = packed[1];
        classic::tanh4(in, baseline, Path::baseline);
        classic::tanh4(in, dispatched);
        classic::tanh4(in, wider, wide);
        // The lanes swapped: a lane's result must not depend on its neighbour or position.
        const double swappedIn[2] = {in[1], in[0]};
        double swapped[2];
        classic::tanh2(swappedIn, swapped);
        for (unsigned k = 0; k < 4; ++k) {
            const double scalar = tanhScalar(in[k]);
            const std::uint64_t expected = bitsOf(scalar);
            const std::size_t at = i + k;
            const bool batched = at + 1 < n;
            if (bitsOf(two[k]) != expected || bitsOf(baseline[k]) != expected ||
                bitsOf(dispatched[k]) != expected || bitsOf(wider[k]) != expected ||
                (batched &&
                 (bitsOf(many[at]) != expected || bitsOf(manyBaseline[at]) != expected ||
                  bitsOf(manyWide[at]) != expected))) {
                ++result.pathMismatches;
            }
            result.values[at] = scalar;
        }
        if (bitsOf(swapped[0]) != bitsOf(two[1]) || bitsOf(swapped[1]) != bitsOf(two[0])) {
            ++result.pathMismatches;
        }
    }
    return result;
}

struct Sweep {
    const char* name;
    unsigned count;
    std::function<double(std::mt19937_64&)> draw;
    double minimumCorrectlyRounded; // fraction; 0 where the set is too small to say
};

void PrintTo(const Sweep& sweep, std::ostream* out) {
    *out << sweep.name;
}

double uniform(std::mt19937_64& random, double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
}

// A random mantissa at a random exponent in [low, high), random sign.
double uniformExponent(std::mt19937_64& random, int low, int high) {
    const int exponent = std::uniform_int_distribution<int>(low, high - 1)(random);
    const double mantissa = uniform(random, 1.0, 2.0);
    const double x = std::ldexp(mantissa, exponent);
    return random() & 1 ? x : -x;
}

// A few ulps either side of a given positive point (stepping the bits steps through
// consecutive doubles), random sign.
double beside(std::mt19937_64& random, double point, int ulps) {
    const int steps = std::uniform_int_distribution<int>(-ulps, ulps)(random);
    const double x = std::bit_cast<double>(std::bit_cast<std::int64_t>(point) + steps);
    return random() & 1 ? x : -x;
}

double breakpoint(unsigned row) { // rows 1..601
    return std::ldexp(1.0 + (row - 1) % 64 / 64.0, static_cast<int>(row - 1) / 64 - 6);
}

const Sweep sweeps[] = {
    {"uniform in [-1, 1]", 2'000'000, [](auto& g) { return uniform(g, -1, 1); }, 0.99},
    {"uniform in [-4, 4]", 2'000'000, [](auto& g) { return uniform(g, -4, 4); }, 0.99},
    {"uniform in [-24, 24]", 1'000'000, [](auto& g) { return uniform(g, -24, 24); }, 0.99},
    {"uniform in exponent, 2^-30..2^5", 2'000'000,
     [](auto& g) { return uniformExponent(g, -30, 5); }, 0.99},
    {"uniform in exponent, every exponent", 1'000'000,
     [](auto& g) { return uniformExponent(g, -1074, 1024); }, 0.99},
    {"beside every row boundary", 602'000,
     [](auto& g) {
         return beside(g,
                       breakpoint(std::uniform_int_distribution<unsigned>(
                           1, classic::tanh_detail::tanhRowCount - 1)(g)),
                       40);
     },
     0.99},
    {"beside the region edges", 200'000,
     [](auto& g) {
         const double edges[] = {0x1p-27, 0x1p-6, 1.0, 19.0, 19.0615, 22.0};
         return beside(g, edges[g() % 6], 3000);
     },
     0},
    {"tiny and subnormal", 200'000,
     [](auto& g) {
         const double x = std::bit_cast<double>(g() % std::bit_cast<std::uint64_t>(0x1p-27));
         return g() & 1 ? x : -x;
     },
     0},
    {"huge", 200'000, [](auto& g) { return uniformExponent(g, 4, 1024); }, 0},
};

class TanhSweep : public ::testing::TestWithParam<Sweep> {};

TEST_P(TanhSweep, WithinOneUlpMostlyCorrectlyRoundedOddBoundedAndTheSameOnEveryPath) {
    const Sweep& sweep = GetParam();
    std::mt19937_64 random(0x7A11 + sweep.count);
    std::vector<double> arguments(sweep.count), negated(sweep.count);
    for (unsigned i = 0; i < sweep.count; ++i) {
        arguments[i] = sweep.draw(random);
        negated[i] = -arguments[i];
    }
    const Evaluated ours = evaluate(arguments);
    const Evaluated mirrored = evaluate(negated);
    EXPECT_EQ(ours.pathMismatches + mirrored.pathMismatches, 0u);

    double worst = 0, worstArgument = 0, glibcWorst = 0;
    unsigned correct = 0, glibcCorrect = 0, sameAsGlibc = 0, notOdd = 0, unbounded = 0;
    for (unsigned i = 0; i < sweep.count; ++i) {
        const double x = arguments[i];
        const double y = ours.values[i];
        const double error = ulpsOff(y, x);
        if (error > worst) {
            worst = error;
            worstArgument = x;
        }
        const double rounded = correctlyRounded(x);
        const double glibc = std::tanh(x);
        correct += y == rounded;
        glibcCorrect += glibc == rounded;
        sameAsGlibc += bitsOf(y) == bitsOf(glibc);
        glibcWorst = std::fmax(glibcWorst, ulpsOff(glibc, x));
        notOdd += bitsOf(mirrored.values[i]) != (bitsOf(y) ^ (std::uint64_t{1} << 63));
        unbounded += !(std::fabs(y) <= 1.0);
    }
    const double n = sweep.count;
    std::printf("[ %-36s ] max %.3f ulp (x = %a), correctly rounded %.4f %%, same bits as "
                "glibc %.4f %% (glibc: max %.3f ulp, correctly rounded %.4f %%)\n",
                sweep.name, worst, worstArgument, 100 * correct / n, 100 * sameAsGlibc / n,
                glibcWorst, 100 * glibcCorrect / n);
    EXPECT_LE(worst, 0.6) << "at x = " << std::hexfloat << worstArgument;
    EXPECT_GE(correct / n, sweep.minimumCorrectlyRounded);
    EXPECT_EQ(notOdd, 0u);
    EXPECT_EQ(unbounded, 0u);
}

INSTANTIATE_TEST_SUITE_P(Arguments, TanhSweep, ::testing::ValuesIn(sweeps), [](const auto& info) {
    // Letters and digits, each other run one underscore.
    std::string name;
    for (const char* c = info.param.name; *c; ++c) {
        if (std::isalnum(static_cast<unsigned char>(*c))) {
            name += *c;
        } else if (!name.empty() && name.back() != '_') {
            name += '_';
        }
    }
    while (name.back() == '_') {
        name.pop_back();
    }
    return name;
});

TEST(Tanh, SpecialValues) {
    struct Case {
        double x, expected;
    };
    const double denormMin = std::numeric_limits<double>::denorm_min();
    const double max = std::numeric_limits<double>::max();
    const Case cases[] = {
        {0.0, 0.0},
        {-0.0, -0.0},
        {infinity, 1.0},
        {-infinity, -1.0},
        {max, 1.0},
        {-max, -1.0},
        {denormMin, denormMin},
        {-denormMin, -denormMin},
        {0x1p-1022, 0x1p-1022},
        {0x1.fffffffffffffp-28, 0x1.fffffffffffffp-28},
        {19.1, 1.0},
        {22.0, 1.0},
        {-22.5, -1.0},
    };
    for (const Case& c : cases) {
        const double y = tanhScalar(c.x);
        EXPECT_EQ(bitsOf(y), bitsOf(c.expected)) << std::hexfloat << "tanh(" << c.x << ") = " << y;
        double pair[2] = {c.x, -c.x};
        classic::tanh2(pair, pair);
        EXPECT_EQ(bitsOf(pair[0]), bitsOf(c.expected));
        EXPECT_EQ(bitsOf(pair[1]), bitsOf(-c.expected));
    }
    const double nans[] = {std::numeric_limits<double>::quiet_NaN(),
                           -std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::signaling_NaN()};
    for (double nan : nans) {
        EXPECT_TRUE(std::isnan(tanhScalar(nan)));
        double four[4] = {nan, 0.5, nan, -30.0}, out[4];
        classic::tanh4(four, out);
        EXPECT_TRUE(std::isnan(out[0]) && std::isnan(out[2]));
        EXPECT_EQ(out[1], tanhScalar(0.5)); // a NaN beside it changes nothing
        EXPECT_EQ(out[3], -1.0);
    }
}

// Within a row every step of the computation is monotone in r, so only the joins can break
// monotony: each row boundary, the edge of the rows at 2^-6, the end of the polynomial at
// 2^-27 and the last row at 22, with a stretch of consecutive doubles either side. Long runs
// of consecutive doubles elsewhere add evidence for the within-row argument.
TEST(Tanh, MonotoneAcrossEveryJoinAndAlongRunsOfConsecutiveDoubles) {
    std::vector<double> joins = {0x1p-27, 0x1p-6, 22.0, 19.0615};
    for (unsigned row = 1; row < classic::tanh_detail::tanhRowCount; ++row) {
        joins.push_back(breakpoint(row));
    }
    std::mt19937_64 random(11);
    std::vector<double> starts;
    for (unsigned i = 0; i < 48; ++i) {
        starts.push_back(std::fabs(uniformExponent(random, -30, 5)));
    }
    for (unsigned i = 0; i < 16; ++i) {
        starts.push_back(uniform(random, 0, 22));
    }

    unsigned decreases = 0;
    auto run = [&](double from, unsigned length) {
        double x = from, last = tanhScalar(from);
        for (unsigned i = 0; i < length; ++i) {
            x = next(x);
            const double y = tanhScalar(x);
            if (y < last) {
                ++decreases;
                ADD_FAILURE() << std::hexfloat << "tanh(" << x << ") = " << y << " < " << last;
            }
            last = y;
        }
    };
    for (double join : joins) {
        double from = join;
        for (unsigned i = 0; i < 256; ++i) {
            from = previous(from);
        }
        run(from, 512);
    }
    for (double start : starts) {
        run(start, 1u << 16);
    }
    EXPECT_EQ(decreases, 0u);
    // Through zero, from the negative side.
    EXPECT_LT(tanhScalar(-0x1p-1074), tanhScalar(0.0));
    EXPECT_EQ(tanhScalar(-0.0), tanhScalar(0.0));
}

// Each row against quadruple precision: tanh(b) correctly rounded plus the double nearest the
// rest, and sech^2(b) correctly rounded; row 0 all zeros.
TEST(Tanh, TableRowsHoldTheRoundedValuesAtTheirBreakpoints) {
    using classic::tanh_detail::tanhTable;
    EXPECT_EQ(tanhTable[0].tanhHigh, 0.0);
    EXPECT_EQ(tanhTable[0].tanhLow, 0.0);
    EXPECT_EQ(tanhTable[0].sech2, 0.0);
    for (unsigned row = 1; row < classic::tanh_detail::tanhRowCount; ++row) {
        const __float128 b = breakpoint(row);
        const __float128 exact = tanhq(b);
        const double high = static_cast<double>(exact);
        const double low = static_cast<double>(exact - high);
        const __float128 c = coshq(b);
        EXPECT_EQ(tanhTable[row].tanhHigh, high) << "row " << row;
        EXPECT_EQ(tanhTable[row].tanhLow, low) << "row " << row;
        EXPECT_EQ(tanhTable[row].sech2, static_cast<double>(1 / (c * c))) << "row " << row;
    }
    EXPECT_EQ(breakpoint(classic::tanh_detail::tanhRowCount - 1), 22.0);
}

} // namespace
