// classic::exp10Scalar, exp10Pair, exp10Many, expScalar, expPair, expMany and the attenuation
// functions (10^(g/-20)) against the exact value: within 0.51 ulp of 80-bit exp10l / expl (of
// quadruple precision for the attenuation) over many millions of arguments (the gain, reduction
// and coefficient ranges, every argument with a normal result, near 0, beside the interval
// rounding points and the integers), within an ulp where the result is subnormal, the same bits
// on every path, exact at 0 and (10^x) at the integers up to 22, monotone, and the edges of
// the domain (infinities, NaN, overflow, underflow, results flushed to zero). The table is
// checked against quadruple precision. Each sweep prints how often glibc gives the same bits.
// attenuationFollowing and expFollowing give their pairs' bits along chains of arguments.

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

// 10^(g/-20) in quadruple precision: the long double quotient g / -20 would itself be off by
// up to a third of an ulp of the result where |g| is in the thousands.
__float128 quadAttenuation(__float128 g) {
    return expq(g / -20 * logq(static_cast<__float128>(10)));
}
const Function attenuationFunction = {
    "attenuation",
    pathsOf<Attenuation>(classic::attenuationScalar, classic::attenuationPair,
                         classic::attenuationMany),
    classic::exp10_detail::attenuation,
    [](long double g) { return static_cast<long double>(quadAttenuation(g)); },
    [](double g) { return exp10(g / -20.0); },
    quadAttenuation,
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
    {"reductions, -10..60", attenuationFunction, 1'000'000,
     [](auto& g) { return uniform(g, -10, 60); }, 0.51},
    {"the whole short way", attenuationFunction, 500'000,
     [](auto& g) { return uniform(g, -5999.99, 5999.99); }, 0.51},
    {"near 0", attenuationFunction, 200'000,
     [](auto& g) { return eitherSign(g, uniformExponent(g, -60, -6)); }, 0.51},
    {"beside the interval steps", attenuationFunction, 300'000,
     [](auto& g) {
         const long step = std::uniform_int_distribution<long>(-3000, 3000)(g);
         return beside(g, stepStart(attenuationFunction, step), 40);
     },
     0.51},
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

TEST(Exp10, AttenuationExactAtZeroAndAtTheMultiplesOfMinus20UpTo440) {
    std::vector<double> arguments = {0.0, -0.0};
    for (int k = 1; k <= 22; ++k) {
        arguments.push_back(-20.0 * k);
    }
    const Evaluated ours = evaluate(attenuationFunction.paths, arguments);
    EXPECT_EQ(ours.pathMismatches, 0u);
    EXPECT_EQ(ours.values[0], 1.0);
    EXPECT_EQ(ours.values[1], 1.0);
    for (int k = 1; k <= 22; ++k) {
        EXPECT_EQ(ours.values[k + 1], std::stod("1e" + std::to_string(k))) << "10^" << k;
    }
}

// Beyond the short way (and for NaN) the attenuation is exp10 of the quotient.
TEST(Exp10, AttenuationEdgesTakeTheQuotient) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double edges[] = {6000.0, -6000.0, 6100.0,   -6100.0,   7000.0, -7000.0,
                            1e300,  -1e300,  infinity, -infinity, nan,    -nan};
    std::vector<double> arguments;
    for (double g : edges) {
        arguments.push_back(g);
        arguments.push_back(12.5); // an ordinary lane beside it changes nothing
    }
    const Evaluated ours = evaluate(attenuationFunction.paths, arguments);
    EXPECT_EQ(ours.pathMismatches, 0u); // NaN included
    for (std::size_t i = 0; i < std::size(edges); ++i) {
        const double expected = classic::exp10Scalar(edges[i] / -20.0);
        if (std::isnan(expected)) {
            EXPECT_TRUE(std::isnan(ours.values[2 * i])) << edges[i];
        } else {
            EXPECT_EQ(bitsOf(ours.values[2 * i]), bitsOf(expected)) << edges[i];
        }
    }
    EXPECT_EQ(classic::attenuationScalar(infinity), 0.0);
    EXPECT_EQ(classic::attenuationScalar(-infinity), infinity);
    // Just inside the short way: its own reduction, still within half an ulp or so.
    const double inside = std::nextafter(6000.0, 0.0);
    EXPECT_LE(ulpsOff(classic::attenuationScalar(inside),
                      static_cast<long double>(quadAttenuation(inside))),
              0.51);
}

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
    for (double& g : pool) {
        g *= 20;
    }
    EXPECT_EQ(batchTailMismatches(attenuationFunction.paths, pool), 0u);
}

// Runs of consecutive doubles across every interval step in the working ranges (where the rows
// and thus the roundings change), at 0 and the integers, at the switch to subnormal results,
// long runs at random places, and a dense sweep of each working range.
TEST(Exp10, MonotoneAcrossEveryIntervalStepAndAlongTheWorkingRanges) {
    struct Range {
        const Function& f;
        double low, high;
        bool falling; // 10^(g/-20) falls as g rises
    };
    const Range ranges[] = {{ten, -3.0, 3.0, false},
                            {natural, -20.0, 0.0, false},
                            {attenuationFunction, -10, 60, true}};
    unsigned wrongTurns = 0;
    for (const Range& range : ranges) {
        const Function& f = range.f;
        auto turnsBack = [&](double y, double last) { return range.falling ? y > last : y < last; };
        auto run = [&](double from, unsigned length) {
            double x = from, last = f.paths.scalar(from);
            for (unsigned i = 0; i < length; ++i) {
                x = std::nextafter(x, infinity);
                const double y = f.paths.scalar(x);
                if (turnsBack(y, last) && wrongTurns++ < 10) {
                    ADD_FAILURE() << f.name << std::hexfloat << "(" << x << ") = " << y << " after "
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
        const long atLow = std::lround(range.low * f.base.inverseInterval);
        const long atHigh = std::lround(range.high * f.base.inverseInterval);
        for (long step = std::min(atLow, atHigh) - 1; step <= std::max(atLow, atHigh) + 1; ++step) {
            around(stepStart(f, step), 512);
        }
        for (int k = -20; k <= 22; ++k) {
            around(k, 4096);
        }
        if (!range.falling) {
            around(f.base.normalAbove, 4096);
        }
        std::mt19937_64 random(13);
        for (unsigned i = 0; i < 64; ++i) {
            run(uniform(random, range.low, range.high), 1u << 15);
        }
        double lastValue = range.falling ? infinity : 0;
        const unsigned steps = 5'000'000;
        for (unsigned i = 0; i <= steps; ++i) {
            const double y = f.paths.scalar(range.low + (range.high - range.low) * i / steps);
            wrongTurns += turnsBack(y, lastValue);
            lastValue = y;
        }
    }
    EXPECT_EQ(wrongTurns, 0u);
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

// attenuationFollowing and expFollowing against their pairs, bit for bit, along chains of
// arguments as the engines make them (gain reductions; a release coefficient's exponent): slow
// walks (k mostly kept, sometimes stepping), fast ones (k new at almost every step), the two
// lanes apart and together, and NaN, infinities and values off the short way now and then,
// each followed by ordinary steps again.
TEST(Exp10, FollowingGivesThePairBitForBit) {
    struct Chain {
        const char* name;
        Pair (*following)(Pair, classic::KeptRow&);
        Pair (*pair)(Pair);
        const Base& base;
        double low, high;  // where the walks stay
        double strides[4]; // the steps of the walks, from slow to fast
    };
    const Chain chains[] = {
        {"attenuation",
         classic::attenuationFollowing,
         classic::attenuationPair,
         classic::exp10_detail::attenuation,
         -1.0,
         60.0,
         {1e-5, 1e-3, 0.05, 3.0}},
        {"exp",
         classic::expFollowing,
         classic::expPair,
         classic::exp10_detail::e,
         -0.5,
         0.0,
         {1e-7, 1e-4, 0.005, 0.1}},
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double odd[] = {nan, -nan, infinity, -infinity, 6000.0, -7000.0, 1e300, 0.0, -0.0};
    for (const Chain& chain : chains) {
        std::mt19937_64 random(0xA77);
        unsigned mismatches = 0, kept = 0, steps = 0;
        for (double stride : chain.strides) {
            classic::KeptRow last;
            double x[2] = {uniform(random, chain.low, chain.high),
                           uniform(random, chain.low, chain.high)};
            double previousShifted[2] = {nan, nan};
            for (int i = 0; i < 100'000; ++i) {
                for (double& lane : x) {
                    lane =
                        std::clamp(lane + uniform(random, -stride, stride), chain.low, chain.high);
                }
                if (i % 5000 == 1) {
                    x[1] = x[0]; // the lanes together
                }
                double now[2] = {x[0], x[1]};
                if (i % 997 == 0) {
                    now[i % 2] = odd[(i / 997) % std::size(odd)];
                }
                const Pair got = chain.following(Pair{now[0], now[1]}, last);
                const Pair expected = chain.pair(Pair{now[0], now[1]});
                bool same = true;
                for (int c = 0; c < 2; ++c) {
                    same = same && bitsOf(got[c]) == bitsOf(expected[c]);
                }
                if (!same && ++mismatches <= 5) {
                    ADD_FAILURE() << chain.name << std::hexfloat << " of " << now[0] << ", "
                                  << now[1] << " stride " << stride;
                }
                // How often k stayed in both lanes, so that the kept row was used.
                bool bothKept = true;
                for (int c = 0; c < 2; ++c) {
                    const double shifted = now[c] * chain.base.inverseInterval + shifter;
                    bothKept = bothKept && bitsOf(shifted) == bitsOf(previousShifted[c]);
                    previousShifted[c] = shifted;
                }
                kept += bothKept;
                ++steps;
            }
        }
        EXPECT_EQ(mismatches, 0u) << chain.name;
        EXPECT_GT(kept, steps / 4) << chain.name << ": the kept row was seldom used";
        EXPECT_LT(kept, steps * 3 / 4) << chain.name << ": k seldom changed";
    }
}
