// classic::exp10Scalar, exp10Pair, exp10Many and expScalar, expPair, expMany against the exact
// value: within 0.51 ulp of 80-bit exp10l / expl over many millions of arguments (the gain and
// coefficient ranges, every argument with a normal result, near 0, beside the interval
// rounding points and the integers), within an ulp where the result is subnormal, the same bits
// on every path, exact at 0 and (10^x) at the integers up to 22, monotone, and the edges of
// the domain (infinities, NaN, overflow, underflow, results flushed to zero). The table is
// checked against quadruple precision. Each sweep prints how often glibc gives the same bits.

#include "engine/exp10.h"

#include "log10_exp10_test_support.h"

#include <gtest/gtest.h>
#include <quadmath.h>

#include <cstdio>
#include <functional>
#include <ostream>
#include <string>

namespace {

using namespace kelvo_test;
using namespace classic::exp10_detail;

// One base's function, its paths and its exact value.
struct Function {
    const char* name;
    Paths paths;
    const Base& base;
    long double (*exact)(long double);
    double (*glibc)(double);
    __float128 (*quad)(__float128);
};

const Function ten = {
    "exp10",
    pathsOf<Exp10>(classic::exp10Scalar, classic::exp10Pair, classic::exp10Many),
    classic::exp10_detail::ten,
    [](long double x) { return exp10l(x); },
    [](double x) { return exp10(x); },
    [](__float128 x) { return expq(x * logq(static_cast<__float128>(10))); },
};
const Function natural = {
    "exp",
    pathsOf<Exp>(classic::expScalar, classic::expPair, classic::expMany),
    classic::exp10_detail::e,
    [](long double x) { return expl(x); },
    [](double x) { return std::exp(x); },
    [](__float128 x) { return expq(x); },
};

// The correctly rounded result: the long double decides unless it lies within 2^-7 ulp of a
// point halfway between two doubles; then quadruple precision decides.
double correctlyRounded(const Function& f, double x) {
    const long double exact = f.exact(static_cast<long double>(x));
    const double nearest = static_cast<double>(exact);
    const long double offset = fabsl(exact - static_cast<long double>(nearest)) / ulpAt(exact);
    if (offset < 0.5L - 0x1p-7L) {
        return nearest;
    }
    return static_cast<double>(f.quad(static_cast<__float128>(x)));
}

// The x at which k = round(x 256 / log_b 2) steps from `step` - 1 to `step`.
double stepStart(const Function& f, long step) {
    return (static_cast<double>(step) - 0.5) / f.base.inverseInterval;
}

struct Sweep {
    const char* name;
    const Function& function;
    unsigned count;
    std::function<double(std::mt19937_64&)> draw;
    double bound; // ulps
};

void PrintTo(const Sweep& sweep, std::ostream* out) {
    *out << sweep.function.name << ": " << sweep.name;
}

double eitherSign(std::mt19937_64& random, double x) {
    return random() & 1 ? x : -x;
}

const Sweep sweeps[] = {
    {"gains, -2.4..3", ten, 3'000'000, [](auto& g) { return uniform(g, -2.4, 3); }, 0.51},
    {"every normal result", ten, 2'000'000, [](auto& g) { return uniform(g, -307.6, 308.25); },
     0.51},
    {"near 0", ten, 500'000, [](auto& g) { return eitherSign(g, uniformExponent(g, -60, -6)); },
     0.51},
    {"beside the interval steps", ten, 1'000'000,
     [](auto& g) {
         const long step = std::uniform_int_distribution<long>(-1200, 1200)(g);
         return beside(g, std::fabs(stepStart(ten, step)), 40) * (step < 0 ? -1 : 1);
     },
     0.51},
    {"subnormal results", ten, 300'000, [](auto& g) { return uniform(g, -323.6, -307.66); }, 1.0},
    {"coefficients, -20..0", natural, 3'000'000, [](auto& g) { return uniform(g, -20, 0); }, 0.51},
    {"every normal result", natural, 2'000'000, [](auto& g) { return uniform(g, -708.39, 709.78); },
     0.51},
    {"near 0", natural, 500'000, [](auto& g) { return eitherSign(g, uniformExponent(g, -60, -6)); },
     0.51},
    {"beside the interval steps", natural, 1'000'000,
     [](auto& g) {
         const long step = std::uniform_int_distribution<long>(-3000, 600)(g);
         return beside(g, std::fabs(stepStart(natural, step)), 40) * (step < 0 ? -1 : 1);
     },
     0.51},
    {"subnormal results", natural, 300'000, [](auto& g) { return uniform(g, -745.13, -708.4); },
     1.0},
};

class ExpSweep : public ::testing::TestWithParam<Sweep> {};

TEST_P(ExpSweep, WithinAboutHalfAnUlpAndTheSameOnEveryPath) {
    const Sweep& sweep = GetParam();
    const Function& f = sweep.function;
    std::mt19937_64 random(0xE10 + sweep.count + (&f == &ten));
    std::vector<double> arguments(sweep.count);
    for (double& x : arguments) {
        x = sweep.draw(random);
    }
    const Evaluated ours = evaluate(f.paths, arguments);
    EXPECT_EQ(ours.pathMismatches, 0u);

    double worst = 0, worstArgument = 0, glibcWorst = 0;
    unsigned correct = 0, sameAsGlibc = 0;
    for (unsigned i = 0; i < sweep.count; ++i) {
        const double x = arguments[i];
        const double y = ours.values[i];
        const long double exact = f.exact(static_cast<long double>(x));
        const double error = ulpsOff(y, exact);
        if (error > worst) {
            worst = error;
            worstArgument = x;
        }
        correct += y == correctlyRounded(f, x);
        const double glibc = f.glibc(x);
        sameAsGlibc += bitsOf(y) == bitsOf(glibc);
        glibcWorst = std::fmax(glibcWorst, ulpsOff(glibc, exact));
    }
    const double n = sweep.count;
    std::printf("[ %-5s %-26s ] max %.4f ulp (x = %a), correctly rounded %.4f %%, same bits as "
                "glibc %.4f %% (glibc: max %.3f ulp)\n",
                f.name, sweep.name, worst, worstArgument, 100 * correct / n, 100 * sameAsGlibc / n,
                glibcWorst);
    EXPECT_LE(worst, sweep.bound) << "at x = " << std::hexfloat << worstArgument;
    EXPECT_GE(correct / n, sweep.bound < 1 ? 0.99 : 0.5);
}

INSTANTIATE_TEST_SUITE_P(Arguments, ExpSweep, ::testing::ValuesIn(sweeps), [](const auto& info) {
    return testName((std::string(info.param.function.name) + " " + info.param.name).c_str());
});

TEST(Exp10, ExactAtZeroAndAtTheIntegersUpTo22) {
    std::vector<double> arguments = {0.0, -0.0};
    for (int k = 1; k <= 22; ++k) {
        arguments.push_back(k);
    }
    for (const Function* f : {&ten, &natural}) {
        const Evaluated ours = evaluate(f->paths, arguments);
        EXPECT_EQ(ours.pathMismatches, 0u);
        EXPECT_EQ(ours.values[0], 1.0) << f->name;
        EXPECT_EQ(ours.values[1], 1.0) << f->name;
    }
    const Evaluated ours = evaluate(ten.paths, arguments);
    for (int k = 1; k <= 22; ++k) {
        EXPECT_EQ(ours.values[k + 1], std::stod("1e" + std::to_string(k))) << "10^" << k;
    }
}

TEST(Exp10, EdgesOfTheDomain) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double denormMin = std::numeric_limits<double>::denorm_min();
    const double max = std::numeric_limits<double>::max();
    for (const Function* f : {&ten, &natural}) {
        const Base& base = f->base;
        struct Case {
            double x, expected;
        };
        const Case cases[] = {
            {infinity, infinity},
            {-infinity, 0.0},
            {max, infinity},
            {-max, 0.0},
            {1e300, infinity},
            {-1e300, 0.0},
            {base.finiteUpTo, correctlyRounded(*f, base.finiteUpTo)},
            {std::nextafter(base.finiteUpTo, infinity), infinity},
            {base.nonzeroFrom, denormMin},
            {std::nextafter(base.nonzeroFrom, -infinity), 0.0},
            {denormMin, 1.0},
            {-denormMin, 1.0},
            {nan, nan},
            {-nan, nan},
            {std::numeric_limits<double>::signaling_NaN(), nan},
        };
        std::vector<double> arguments;
        for (const Case& c : cases) {
            arguments.push_back(c.x);
            arguments.push_back(0.25); // a NaN or an infinity beside it changes nothing
        }
        const Evaluated ours = evaluate(f->paths, arguments);
        EXPECT_EQ(ours.pathMismatches, 0u) << f->name; // NaN included
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            const double y = ours.values[2 * i], expected = cases[i].expected;
            if (std::isnan(expected)) {
                EXPECT_TRUE(std::isnan(y)) << f->name << std::hexfloat << "(" << cases[i].x << ")";
            } else {
                EXPECT_EQ(bitsOf(y), bitsOf(expected))
                    << f->name << std::hexfloat << "(" << cases[i].x << ") = " << y;
            }
            EXPECT_EQ(bitsOf(ours.values[2 * i + 1]), bitsOf(f->paths.scalar(0.25)));
        }
        EXPECT_LT(f->paths.scalar(std::nextafter(base.finiteUpTo, 0.0)), infinity);
    }
}

// With results flushed to zero and denormals read as zero, as the engines run: a result that
// would be subnormal is 0 or keeps its value, never anything else, and every other result has
// the same bits as without.
TEST(Exp10, FlushingChangesNothingButSubnormalResults) {
    for (const Function* f : {&ten, &natural}) {
        std::mt19937_64 random(7);
        const double low = f->base.nonzeroFrom, high = f->base.finiteUpTo;
        const double normalFrom = f == &ten ? -307.6 : -708.39;
        std::vector<double> normal(100'000), subnormal(10'000);
        for (double& x : normal) {
            x = uniform(random, normalFrom, high);
        }
        for (double& x : subnormal) {
            x = uniform(random, low, normalFrom);
        }
        const Evaluated plain = evaluate(f->paths, normal);
        const Evaluated plainSubnormal = evaluate(f->paths, subnormal);
        FlushDenormals flush;
        const Evaluated flushed = evaluate(f->paths, normal);
        const Evaluated flushedSubnormal = evaluate(f->paths, subnormal);
        EXPECT_EQ(flushed.pathMismatches + flushedSubnormal.pathMismatches, 0u);
        EXPECT_EQ(flushed.values, plain.values) << f->name;
        unsigned other = 0;
        for (std::size_t i = 0; i < subnormal.size(); ++i) {
            const double y = flushedSubnormal.values[i];
            other += !(bitsOf(y) == 0 || y == plainSubnormal.values[i]);
        }
        EXPECT_EQ(other, 0u) << f->name;
    }
}

TEST(Exp10, BatchTailsGiveTheScalarBitsAndWriteNothingBeyond) {
    std::vector<double> pool;
    std::mt19937_64 random(5);
    for (unsigned i = 0; i < 16; ++i) {
        pool.push_back(uniform(random, -5, 5));
    }
    EXPECT_EQ(batchTailMismatches(ten.paths, pool), 0u);
    EXPECT_EQ(batchTailMismatches(natural.paths, pool), 0u);
}

// Runs of consecutive doubles across every interval step in the working ranges (where the rows
// and thus the roundings change), at 0 and the integers, at the switch to subnormal results,
// long runs at random places, and a dense sweep of each working range.
TEST(Exp10, MonotoneAcrossEveryIntervalStepAndAlongTheWorkingRanges) {
    struct Range {
        const Function& f;
        double low, high;
    };
    const Range ranges[] = {{ten, -3.0, 3.0}, {natural, -20.0, 0.0}};
    unsigned decreases = 0;
    for (const Range& range : ranges) {
        const Function& f = range.f;
        auto run = [&](double from, unsigned length) {
            double x = from, last = f.paths.scalar(from);
            for (unsigned i = 0; i < length; ++i) {
                x = std::nextafter(x, infinity);
                const double y = f.paths.scalar(x);
                if (y < last && decreases++ < 10) {
                    ADD_FAILURE() << f.name << std::hexfloat << "(" << x << ") = " << y << " < "
                                  << last;
                }
                last = y;
            }
        };
        auto around = [&](double point, unsigned length) {
            for (unsigned i = 0; i < length / 2; ++i) {
                point = std::nextafter(point, -infinity);
            }
            run(point, length);
        };
        const long first = std::lround(range.low * f.base.inverseInterval) - 1;
        const long last = std::lround(range.high * f.base.inverseInterval) + 1;
        for (long step = first; step <= last; ++step) {
            around(stepStart(f, step), 512);
        }
        for (int k = -20; k <= 22; ++k) {
            around(k, 4096);
        }
        around(f.base.normalAbove, 4096);
        std::mt19937_64 random(13);
        for (unsigned i = 0; i < 64; ++i) {
            run(uniform(random, range.low, range.high), 1u << 15);
        }
        double lastValue = 0;
        const unsigned steps = 5'000'000;
        for (unsigned i = 0; i <= steps; ++i) {
            const double y = f.paths.scalar(range.low + (range.high - range.low) * i / steps);
            decreases += y < lastValue;
            lastValue = y;
        }
    }
    EXPECT_EQ(decreases, 0u);
}

// Each row against quadruple precision: 2^(j/256) correctly rounded plus the double nearest
// the rest.
TEST(Exp10, TableHoldsTheRoundedPowersOfTwo) {
    for (unsigned j = 0; j < exp10RowCount; ++j) {
        const __float128 exact = exp2q(static_cast<__float128>(j) / exp10RowCount);
        const double high = static_cast<double>(exact);
        EXPECT_EQ(exp10Columns.powerHigh[j], high) << "row " << j;
        EXPECT_EQ(exp10Columns.powerLow[j], static_cast<double>(exact - high)) << "row " << j;
    }
}

} // namespace

// The chain's entry for 10^(n / -20) against exp10Pair of the quotient, bit for bit: reductions
// over the working range and far beyond it, n right beside the points where k steps (there the
// k it takes early from n is sometimes not the quotient's, and the quotient's path must run),
// and the edges of the domain, each beside a lane of another kind.
TEST(Exp10, QuotientPairGivesThePairOfTheQuotient) {
    std::mt19937_64 random(0x9A1);
    std::vector<double> numerators;
    for (int i = 0; i < 200'000; ++i) {
        numerators.push_back(uniform(random, 0, 60));
        numerators.push_back(uniform(random, -6000, 6200));
        const long step = std::uniform_int_distribution<long>(-3000, 100)(random);
        numerators.push_back(beside(random, -20.0 * stepStart(::ten, step), 4));
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    for (double edge : {0.0, -0.0, nan, -nan, infinity, -infinity, 1e308, -1e308, 6140.0, 6160.0,
                        -6180.0, 1e-310, 0x1p-1074}) {
        numerators.push_back(edge);
    }

    unsigned earlyDiffers = 0, mismatches = 0;
    constexpr double share = classic::exp10_detail::ten.inverseInterval / -20.0;
    for (std::size_t i = 0; i < numerators.size(); ++i) {
        const double n = numerators[i];
        const double x = n / -20.0;
        earlyDiffers += bitsOf(n * share + shifter) !=
                        bitsOf(x * classic::exp10_detail::ten.inverseInterval + shifter);
        const double other = numerators[(i * 7919) % numerators.size()];
        const __m128d got = classic::exp10QuotientPair<-20.0>(_mm_set_pd(other, n));
        const __m128d expected = classic::exp10Pair(_mm_set_pd(other / -20.0, x));
        if (bitsOf(_mm_cvtsd_f64(got)) != bitsOf(_mm_cvtsd_f64(expected)) ||
            bitsOf(_mm_cvtsd_f64(_mm_unpackhi_pd(got, got))) !=
                bitsOf(_mm_cvtsd_f64(_mm_unpackhi_pd(expected, expected)))) {
            if (++mismatches <= 5) {
                ADD_FAILURE() << "n " << n << " beside " << other;
            }
        }
    }
    EXPECT_EQ(mismatches, 0u);
    EXPECT_GT(earlyDiffers, 0u) << "no case took the quotient's own path";
}
