#pragma once
// What the log10 and exp10 tests share: the error in ulps against an exact value, and the
// evaluation of every path (scalar, the kernel without its short way, pair, pair with its lanes
// swapped, the batch forms with and without AVX2) for a set of arguments, counting lanes whose
// bits differ from the scalar.

#include "engine/log10_exp10_lanes.h"
#include "engine/simd/flush_denormals.h"
#include "ulp.h"

#include <bit>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace kelvo_test {

constexpr double infinity = std::numeric_limits<double>::infinity();

inline std::uint64_t bitsOf(double x) {
    return std::bit_cast<std::uint64_t>(x);
}

// Error of `got` in ulps of `exact` (a long double standing in for the exact value; its own
// error is a few units of its 64th bit, about 2^-10 ulp of a double).
inline double ulpsOff(double got, long double exact) {
    return static_cast<double>(fabsl(static_cast<long double>(got) - exact) / ulpAt(exact));
}

using classic::simd::Pair;
using classic::simd::Path;

// One function's paths. `whole` is the kernel without its short way, which every lane of a
// one, two or four takes when all of them have ordinary arguments. `many` takes a path; called
// without one it takes the processor's.
struct Paths {
    double (*scalar)(double);
    double (*whole)(double);
    Pair (*pair)(Pair);
    void (*many)(const double*, double*, std::size_t, Path);
};

template <class F>
Paths pathsOf(double (*scalar)(double), Pair (*pair)(Pair),
              void (*many)(const double*, double*, std::size_t, Path)) {
    return {scalar, [](double x) { return F::any(x); }, pair, many};
}

// The batch forms' paths: the processor's, the baseline, and AVX2 where the processor has it
// (the baseline again where it does not).
inline const Path batchPaths[3] = {
    classic::simd::selectedPath, Path::baseline,
    classic::simd::available(Path::avx2) ? Path::avx2 : Path::baseline};

struct Evaluated {
    std::vector<double> values; // the scalar path's
    unsigned pathMismatches = 0;
};

inline Evaluated evaluate(const Paths& paths, const std::vector<double>& arguments) {
    const std::size_t n = arguments.size();
    Evaluated result;
    result.values.resize(n);
    // The batch forms over all but the last argument, so that their odd tails run too.
    std::vector<double> many[std::size(batchPaths)];
    for (std::size_t p = 0; p < std::size(batchPaths); ++p) {
        many[p].resize(n);
        paths.many(arguments.data(), many[p].data(), n - 1, batchPaths[p]);
    }
    for (std::size_t i = 0; i < n; ++i) {
        const double x = arguments[i];
        const double neighbour = arguments[(i + 1) % n];
        const double scalar = paths.scalar(x);
        const std::uint64_t expected = bitsOf(scalar);
        // Either lane, beside another argument: a lane's result must not depend on either.
        const Pair low = paths.pair(Pair{x, neighbour});
        const Pair high = paths.pair(Pair{neighbour, x});
        bool same = bitsOf(paths.whole(x)) == expected && bitsOf(low[0]) == expected &&
                    bitsOf(high[1]) == expected;
        for (std::size_t p = 0; p < std::size(batchPaths) && i + 1 < n; ++p) {
            same = same && bitsOf(many[p][i]) == expected;
        }
        if (!same) {
            ++result.pathMismatches;
        }
        result.values[i] = scalar;
    }
    return result;
}

inline double uniform(std::mt19937_64& random, double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
}

// A random mantissa at a random exponent in [low, high).
inline double uniformExponent(std::mt19937_64& random, int low, int high) {
    const int exponent = std::uniform_int_distribution<int>(low, high - 1)(random);
    return std::ldexp(uniform(random, 1.0, 2.0), exponent);
}

// A few ulps either side of a given positive point (stepping the bits steps through
// consecutive doubles).
inline double beside(std::mt19937_64& random, double point, int ulps) {
    const int steps = std::uniform_int_distribution<int>(-ulps, ulps)(random);
    return std::bit_cast<double>(std::bit_cast<std::int64_t>(point) + steps);
}

// Turns a sweep's name into a test name: letters and digits, each other run one underscore.
inline std::string testName(const char* text) {
    std::string name;
    for (const char* c = text; *c; ++c) {
        if (std::isalnum(static_cast<unsigned char>(*c))) {
            name += *c;
        } else if (!name.empty() && name.back() != '_') {
            name += '_';
        }
    }
    while (!name.empty() && name.back() == '_') {
        name.pop_back();
    }
    return name;
}

// The batch forms for every count up to 9, each from every start offset 0..3 (so the AVX2
// loop, the pairs and the odd one each meet every alignment): the same bits as the scalar
// path, also in place, and nothing written past the count.
inline unsigned batchTailMismatches(const Paths& paths, const std::vector<double>& pool) {
    unsigned mismatches = 0;
    for (const Path path : batchPaths) {
        for (std::size_t count = 0; count <= 9; ++count) {
            for (std::size_t offset = 0; offset < 4; ++offset) {
                std::vector<double> out(16, -123.0);
                paths.many(pool.data() + offset, out.data() + offset, count, path);
                std::vector<double> inPlace(pool.begin(), pool.begin() + 16);
                paths.many(inPlace.data() + offset, inPlace.data() + offset, count, path);
                for (std::size_t i = 0; i < out.size(); ++i) {
                    const bool inside = i >= offset && i < offset + count;
                    const double expected = inside ? paths.scalar(pool[i]) : -123.0;
                    mismatches += bitsOf(out[i]) != bitsOf(expected);
                    mismatches += bitsOf(inPlace[i]) != bitsOf(inside ? expected : pool[i]);
                }
            }
        }
    }
    return mismatches;
}

// Subnormals flushed for a scope, as the engines run.
using classic::simd::FlushDenormals;

} // namespace kelvo_test
