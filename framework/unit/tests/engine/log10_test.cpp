// classic::log10Scalar, log10Pair and log10Many against the exact value: within 0.51 ulp of
// 80-bit log10l over many millions of arguments (the signal-level range, uniform in value and
// in exponent, near 1, beside every breakpoint's rounding point and every power of ten, every
// exponent, subnormal), the same bits on every path, exact at 1 and at the powers of ten,
// monotone, and the edges of the domain (zeros, negatives, infinities, NaN, subnormals with
// and without denormals read as zero). The table's columns are checked against quadruple
// precision. Each sweep prints how often glibc's log10 gives the same bits.

#include "engine/log10.h"

#include "log10_exp10_test_support.h"

#include <gtest/gtest.h>
#include <quadmath.h>

#include <cstdio>
#include <functional>
#include <ostream>
#include <string>

namespace {

using namespace kelvo_test;
using classic::log10Scalar;

const Paths paths =
    pathsOf<classic::log10_detail::Log10>(log10Scalar, classic::log10Pair, classic::log10Many);

// The correctly rounded log10 x: log10l decides unless it lies within 2^-7 ulp of a point
// halfway between two doubles; then quadruple precision decides.
double correctlyRounded(double x) {
    const long double exact = log10l(static_cast<long double>(x));
    const double nearest = static_cast<double>(exact);
    const long double offset = fabsl(exact - static_cast<long double>(nearest)) / ulpAt(exact);
    if (offset < 0.5L - 0x1p-7L) {
        return nearest;
    }
    return static_cast<double>(log10q(static_cast<__float128>(x)));
}

// The x at which row `row` takes over from the one below (the rounding point between two
// breakpoints), in the octave 2^exponent.
double rowStart(unsigned row, int exponent) {
    const std::uint64_t bits = classic::log10_detail::firstBreakpoint + (std::uint64_t{row} << 44) -
                               (std::uint64_t{1} << 43);
    return std::ldexp(std::bit_cast<double>(bits), exponent);
}

struct Sweep {
    const char* name;
    unsigned count;
    std::function<double(std::mt19937_64&)> draw;
};

void PrintTo(const Sweep& sweep, std::ostream* out) {
    *out << sweep.name;
}

const Sweep sweeps[] = {
    {"levels uniform in value, 1e-12..1e3", 2'000'000,
     [](auto& g) { return uniform(g, 1e-12, 1e3); }},
    {"levels uniform in decibels, 1e-12..1e3", 3'000'000,
     [](auto& g) { return std::pow(10.0, uniform(g, -12, 3)); }},
    {"near 1", 2'000'000, [](auto& g) { return uniform(g, 1 - 0x1p-7, 1 + 0x1p-6); }},
    {"every exponent", 1'000'000, [](auto& g) { return uniformExponent(g, -1022, 1024); }},
    {"beside every row start", 1'000'000,
     [](auto& g) {
         const unsigned row = std::uniform_int_distribution<unsigned>(0, 255)(g);
         const int exponent = std::uniform_int_distribution<int>(-45, 12)(g);
         return beside(g, rowStart(row, exponent), 50);
     }},
    {"beside the powers of ten", 300'000,
     [](auto& g) {
         const int power = std::uniform_int_distribution<int>(-30, 30)(g);
         return beside(g, std::stod("1e" + std::to_string(power)), 3000);
     }},
    {"subnormal", 300'000,
     [](auto& g) { return std::bit_cast<double>(1 + g() % ((std::uint64_t{1} << 52) - 1)); }},
};

class Log10Sweep : public ::testing::TestWithParam<Sweep> {};

TEST_P(Log10Sweep, WithinAboutHalfAnUlpAndTheSameOnEveryPath) {
    const Sweep& sweep = GetParam();
    std::mt19937_64 random(0x1061 + sweep.count);
    std::vector<double> arguments(sweep.count);
    for (double& x : arguments) {
        x = sweep.draw(random);
    }
    const Evaluated ours = evaluate(paths, arguments);
    EXPECT_EQ(ours.pathMismatches, 0u);

    double worst = 0, worstArgument = 0, glibcWorst = 0;
    unsigned correct = 0, sameAsGlibc = 0;
    for (unsigned i = 0; i < sweep.count; ++i) {
        const double x = arguments[i];
        const double y = ours.values[i];
        const long double exact = log10l(static_cast<long double>(x));
        const double error = ulpsOff(y, exact);
        if (error > worst) {
            worst = error;
            worstArgument = x;
        }
        correct += y == correctlyRounded(x);
        const double glibc = std::log10(x);
        sameAsGlibc += bitsOf(y) == bitsOf(glibc);
        glibcWorst = std::fmax(glibcWorst, ulpsOff(glibc, exact));
    }
    const double n = sweep.count;
    std::printf("[ %-40s ] max %.4f ulp (x = %a), correctly rounded %.4f %%, same bits as "
                "glibc %.4f %% (glibc: max %.3f ulp)\n",
                sweep.name, worst, worstArgument, 100 * correct / n, 100 * sameAsGlibc / n,
                glibcWorst);
    EXPECT_LE(worst, 0.51) << "at x = " << std::hexfloat << worstArgument;
    EXPECT_GE(correct / n, 0.99);
}

INSTANTIATE_TEST_SUITE_P(Arguments, Log10Sweep, ::testing::ValuesIn(sweeps),
                         [](const auto& info) { return testName(info.param.name); });

TEST(Log10, ExactAtOneAndAtThePowersOfTen) {
    EXPECT_EQ(bitsOf(log10Scalar(1.0)), bitsOf(0.0));
    std::vector<double> powers;
    for (int k = 0; k <= 22; ++k) {
        powers.push_back(std::stod("1e" + std::to_string(k)));
    }
    const Evaluated ours = evaluate(paths, powers);
    EXPECT_EQ(ours.pathMismatches, 0u);
    for (int k = 0; k <= 22; ++k) {
        EXPECT_EQ(bitsOf(ours.values[k]), bitsOf(static_cast<double>(k))) << "10^" << k;
    }
}

TEST(Log10, EdgesOfTheDomain) {
    struct Case {
        double x, expected;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double denormMin = std::numeric_limits<double>::denorm_min();
    const double max = std::numeric_limits<double>::max();
    const Case cases[] = {
        {0.0, -infinity},
        {-0.0, -infinity},
        {infinity, infinity},
        {-infinity, nan},
        {-1.0, nan},
        {-denormMin, nan},
        {-max, nan},
        {nan, nan},
        {-nan, nan},
        {std::numeric_limits<double>::signaling_NaN(), nan},
        {denormMin, static_cast<double>(correctlyRounded(denormMin))},
        {0x1p-1022, static_cast<double>(correctlyRounded(0x1p-1022))},
        {0x1.fffffffffffffp-1023, static_cast<double>(correctlyRounded(0x1.fffffffffffffp-1023))},
        {max, static_cast<double>(correctlyRounded(max))},
    };
    std::vector<double> arguments;
    for (const Case& c : cases) {
        const double y = log10Scalar(c.x);
        if (std::isnan(c.expected)) {
            EXPECT_TRUE(std::isnan(y)) << std::hexfloat << "log10(" << c.x << ") = " << y;
        } else {
            EXPECT_EQ(bitsOf(y), bitsOf(c.expected))
                << std::hexfloat << "log10(" << c.x << ") = " << y;
        }
        arguments.push_back(c.x);
        arguments.push_back(2.5); // a NaN or an infinity beside it changes nothing
    }
    const Evaluated ours = evaluate(paths, arguments);
    for (std::size_t i = 1; i < arguments.size(); i += 2) {
        EXPECT_EQ(bitsOf(ours.values[i]), bitsOf(log10Scalar(2.5)));
    }
    // NaN is a NaN on every path; the other results compare bit for bit.
    unsigned nanMismatches = 0;
    for (std::size_t i = 0; i < arguments.size(); i += 2) {
        const __m128d pair = classic::log10Pair(_mm_set_pd(arguments[i], arguments[i]));
        nanMismatches += std::isnan(ours.values[i]) != std::isnan(_mm_cvtsd_f64(pair));
    }
    EXPECT_EQ(nanMismatches, 0u);
}

// With denormals read as zero (and results flushed), as the engines run: a subnormal argument
// is a zero (-inf) or keeps its value, never anything else, and every other argument gives the
// same bits as without.
TEST(Log10, DenormalsAreZeroChangeNothingButSubnormals) {
    std::mt19937_64 random(7);
    std::vector<double> normal(100'000), subnormal(10'000);
    for (double& x : normal) {
        x = uniformExponent(random, -1022, 1024);
    }
    for (double& x : subnormal) {
        x = std::bit_cast<double>(1 + random() % ((std::uint64_t{1} << 52) - 1));
    }
    const Evaluated plain = evaluate(paths, normal);
    const Evaluated plainSubnormal = evaluate(paths, subnormal);
    FlushDenormals flush;
    const Evaluated flushed = evaluate(paths, normal);
    const Evaluated flushedSubnormal = evaluate(paths, subnormal);
    EXPECT_EQ(flushed.pathMismatches + flushedSubnormal.pathMismatches, 0u);
    EXPECT_EQ(flushed.values, plain.values);
    unsigned other = 0;
    for (std::size_t i = 0; i < subnormal.size(); ++i) {
        const double y = flushedSubnormal.values[i];
        other += !(y == -infinity || y == plainSubnormal.values[i]);
    }
    EXPECT_EQ(other, 0u);
}

TEST(Log10, BatchTailsGiveTheScalarBitsAndWriteNothingBeyond) {
    std::vector<double> pool;
    std::mt19937_64 random(5);
    for (unsigned i = 0; i < 16; ++i) {
        pool.push_back(uniformExponent(random, -40, 10));
    }
    EXPECT_EQ(batchTailMismatches(paths, pool), 0u);
}

// Runs of consecutive doubles across every row start in the signal-level range (where the
// rows and thus the roundings change), at 1 and at the powers of ten, long runs at random
// places, and a dense sweep of the whole range.
TEST(Log10, MonotoneAcrossEveryRowStartAndAlongTheLevelRange) {
    unsigned decreases = 0;
    auto run = [&](double from, unsigned length) {
        double x = from, last = log10Scalar(from);
        for (unsigned i = 0; i < length; ++i) {
            x = std::nextafter(x, infinity);
            const double y = log10Scalar(x);
            if (y < last && decreases++ < 10) {
                ADD_FAILURE() << std::hexfloat << "log10(" << x << ") = " << y << " < " << last;
            }
            last = y;
        }
    };
    auto around = [&](double point, unsigned length) {
        run(std::bit_cast<double>(std::bit_cast<std::uint64_t>(point) - length / 2), length);
    };
    for (int exponent = -41; exponent <= 10; ++exponent) {
        for (unsigned row = 0; row < 256; ++row) {
            around(rowStart(row, exponent), 256);
        }
    }
    for (int k = -12; k <= 22; ++k) {
        around(std::stod("1e" + std::to_string(k)), 4096);
    }
    std::mt19937_64 random(13);
    for (unsigned i = 0; i < 64; ++i) {
        run(std::pow(10.0, uniform(random, -12, 3)), 1u << 15);
    }
    double last = -infinity;
    const unsigned steps = 10'000'000;
    for (unsigned i = 0; i <= steps; ++i) {
        const double y = log10Scalar(1e-12 + (1e3 - 1e-12) * i / steps);
        decreases += y < last;
        last = y;
    }
    EXPECT_EQ(decreases, 0u);
}

// Each column against quadruple precision, as the generator writes it.
TEST(Log10, TableHoldsTheRoundedValuesAtItsBreakpoints) {
    const auto& table = classic::log10_detail::log10Columns;
    const __float128 ln10 = logq(static_cast<__float128>(10));
    for (unsigned row = 0; row < classic::log10_detail::log10RowCount; ++row) {
        const std::uint64_t bits =
            classic::log10_detail::firstBreakpoint + (std::uint64_t{row} << 44);
        const __float128 c = std::bit_cast<double>(bits);
        const __float128 inverse = 1 / (c * ln10);
        int exponent = 0;
        const __float128 m = frexpq(inverse, &exponent);
        const double inverseHigh = static_cast<double>(ldexpq(rintq(ldexpq(m, 9)), exponent - 9));
        const __float128 log = log10q(c);
        const double logHigh = static_cast<double>(ldexpq(rintq(ldexpq(log, 43)), -43));
        EXPECT_EQ(table.inverseHigh[row], inverseHigh) << "row " << row;
        EXPECT_EQ(table.inverseLow[row], static_cast<double>(inverse - inverseHigh)) << row;
        EXPECT_EQ(table.inverse[row], static_cast<double>(inverse)) << "row " << row;
        EXPECT_EQ(table.logHigh[row], logHigh) << "row " << row;
        EXPECT_EQ(table.logLow[row], static_cast<double>(log - logHigh)) << "row " << row;
    }
    EXPECT_EQ(table.logHigh[128], 0.0); // the row of 1
    EXPECT_EQ(table.logLow[128], 0.0);
}

} // namespace
