// Speed of classic::log10*, exp10* and exp* beside the C library's log10, pow(10, x) (as the
// engines call it), exp10 and exp: throughput over a block of arguments from each function's
// working range, latency along a chain where each result feeds the next argument, and a level
// detector's feedback loop (log10, then 10^x). Each reports time_per_value (the inverse of the
// rate; per channel in the loop). No timing is asserted.

#include "engine/exp10.h"
#include "engine/log10.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr unsigned blockLength = 4096;

enum class Function { log10, exp10, exp };

// Levels from -240 to +60 dB, gains from -48 to +60 dB (x = dB / 20), exponents of one-pole
// coefficients.
std::vector<double> arguments(Function function) {
    std::vector<double> values(blockLength);
    std::mt19937_64 random(3);
    for (double& v : values) {
        switch (function) {
        case Function::log10:
            v = std::pow(10.0, std::uniform_real_distribution<double>(-12, 3)(random));
            break;
        case Function::exp10:
            v = std::uniform_real_distribution<double>(-2.4, 3)(random);
            break;
        case Function::exp:
            v = std::uniform_real_distribution<double>(-20, 0)(random);
            break;
        }
    }
    return values;
}

void perValue(benchmark::State& state, double valuesPerIteration) {
    state.counters["time_per_value"] =
        benchmark::Counter(valuesPerIteration, benchmark::Counter::kIsIterationInvariantRate |
                                                   benchmark::Counter::kInvert);
}

enum class Path { library, pow10, scalar, pair, many, manyBaseline };

double library(Function function, double x) {
    switch (function) {
    case Function::log10:
        return std::log10(x);
    case Function::exp10:
        return exp10(x);
    case Function::exp:
        return std::exp(x);
    }
    return 0;
}

template <Function function> double scalar(double x) {
    if constexpr (function == Function::log10) {
        return classic::log10Scalar(x);
    } else if constexpr (function == Function::exp10) {
        return classic::exp10Scalar(x);
    } else {
        return classic::expScalar(x);
    }
}

using classic::simd::Pair;

template <Function function> Pair pair(Pair x) {
    if constexpr (function == Function::log10) {
        return classic::log10Pair(x);
    } else if constexpr (function == Function::exp10) {
        return classic::exp10Pair(x);
    } else {
        return classic::expPair(x);
    }
}

template <Function function>
void many(const double* in, double* out, std::size_t count,
          classic::simd::Path path = classic::simd::selectedPath) {
    if constexpr (function == Function::log10) {
        classic::log10Many(in, out, count, path);
    } else if constexpr (function == Function::exp10) {
        classic::exp10Many(in, out, count, path);
    } else {
        classic::expMany(in, out, count, path);
    }
}

template <Function function, Path path> void throughput(benchmark::State& state) {
    const std::vector<double> in = arguments(function);
    std::vector<double> out(in.size());
    for (auto _ : state) {
        if constexpr (path == Path::many) {
            many<function>(in.data(), out.data(), in.size());
        } else if constexpr (path == Path::manyBaseline) {
            many<function>(in.data(), out.data(), in.size(), classic::simd::Path::baseline);
        } else if constexpr (path == Path::pair) {
            for (std::size_t i = 0; i < in.size(); i += 2) {
                classic::simd::store(&out[i], pair<function>(classic::simd::load(&in[i])));
            }
        } else {
            for (std::size_t i = 0; i < in.size(); ++i) {
                if constexpr (path == Path::library) {
                    out[i] = library(function, in[i]);
                } else if constexpr (path == Path::pow10) {
                    out[i] = std::pow(10.0, in[i]);
                } else {
                    out[i] = scalar<function>(in[i]);
                }
            }
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    perValue(state, blockLength);
}

constexpr unsigned chainLength = 1000;

// The next argument from the last result, kept in the working range without a branch (on
// one double or on both lanes of a pair).
template <Function function, class V> V feed(V y) {
    if constexpr (function == Function::log10) {
        return 1e-3 + 1e-4 * y * y; // y in [-12, 3]: levels 1e-3 .. 1.5e-2
    } else if constexpr (function == Function::exp10) {
        return 0.5 * y - 2.0; // y = 10^x in [0.004, 1000): x stays in [-2, -1.5]
    } else {
        return -0.05 - 10.0 * y; // y = e^x in (0, 1]: x stays in [-10.05, -0.05]
    }
}

template <Function function, Path path> void latency(benchmark::State& state) {
    if constexpr (path == Path::pair) {
        Pair x = {feed<function>(0.3), feed<function>(0.4)};
        for (auto _ : state) {
            for (unsigned i = 0; i < chainLength; ++i) {
                x = feed<function>(pair<function>(x));
            }
            benchmark::DoNotOptimize(x);
        }
    } else {
        double x0 = feed<function>(0.3), x1 = feed<function>(0.4);
        for (auto _ : state) {
            for (unsigned i = 0; i < chainLength; ++i) {
                if constexpr (path == Path::library) {
                    x0 = feed<function>(library(function, x0));
                    x1 = feed<function>(library(function, x1));
                } else if constexpr (path == Path::pow10) {
                    x0 = feed<function>(std::pow(10.0, x0));
                    x1 = feed<function>(std::pow(10.0, x1));
                } else {
                    x0 = feed<function>(scalar<function>(x0));
                    x1 = feed<function>(scalar<function>(x1));
                }
            }
            benchmark::DoNotOptimize(x0);
            benchmark::DoNotOptimize(x1);
        }
    }
    perValue(state, 2.0 * chainLength);
}

// A level detector's loop, as the engines run it: level -> decibels -> a reduction in dB ->
// its gain factor 10^(-G/20) -> the next level. Both channels side by side.
enum class Detector { library, scalar, pair };

template <class V> V levelFromGain(V gain) {
    return 0.01 + 0.3 * gain; // gain in [0.25, 1.8]: levels 0.085 .. 0.55
}
template <class V> V reductionFromDecibels(V decibels) {
    return 0.5 * (decibels + 30.0); // -21 .. -5 dB: G in [4.5, 12.5]
}

template <Detector detector> double gainOf(double level) {
    if constexpr (detector == Detector::library) {
        return std::pow(10.0, -reductionFromDecibels(20.0 * std::log10(level)) / 20.0);
    } else {
        return classic::exp10Scalar(-reductionFromDecibels(20.0 * classic::log10Scalar(level)) /
                                    20.0);
    }
}

template <Detector detector> void detectorLoop(benchmark::State& state) {
    if constexpr (detector == Detector::pair) {
        Pair level = {0.3, 0.4};
        for (auto _ : state) {
            for (unsigned i = 0; i < chainLength; ++i) {
                const Pair decibels = 20.0 * classic::log10Pair(level);
                const Pair reduction = reductionFromDecibels(decibels);
                level = levelFromGain(classic::exp10Pair(-reduction / 20.0));
            }
            benchmark::DoNotOptimize(level);
        }
    } else {
        double left = 0.3, right = 0.4;
        for (auto _ : state) {
            for (unsigned i = 0; i < chainLength; ++i) {
                left = levelFromGain(gainOf<detector>(left));
                right = levelFromGain(gainOf<detector>(right));
            }
            benchmark::DoNotOptimize(left);
            benchmark::DoNotOptimize(right);
        }
    }
    perValue(state, 2.0 * chainLength);
}

#define KELVO_LOGEXP_BENCHMARKS(function, name, libraryName)                                       \
    BENCHMARK(throughput<Function::function, Path::library>)                                       \
        ->Name("Throughput/" name "/" libraryName);                                                \
    BENCHMARK(throughput<Function::function, Path::scalar>)->Name("Throughput/" name "/Scalar");   \
    BENCHMARK(throughput<Function::function, Path::pair>)->Name("Throughput/" name "/Pair");       \
    BENCHMARK(throughput<Function::function, Path::many>)->Name("Throughput/" name "/Many");       \
    BENCHMARK(throughput<Function::function, Path::manyBaseline>)                                  \
        ->Name("Throughput/" name "/Many_without_avx2");                                           \
    BENCHMARK(latency<Function::function, Path::library>)->Name("Latency/" name "/" libraryName);  \
    BENCHMARK(latency<Function::function, Path::scalar>)->Name("Latency/" name "/Scalar");         \
    BENCHMARK(latency<Function::function, Path::pair>)->Name("Latency/" name "/Pair")

KELVO_LOGEXP_BENCHMARKS(log10, "log10", "std::log10");
KELVO_LOGEXP_BENCHMARKS(exp10, "exp10", "glibc_exp10");
KELVO_LOGEXP_BENCHMARKS(exp, "exp", "std::exp");
BENCHMARK(throughput<Function::exp10, Path::pow10>)->Name("Throughput/exp10/std::pow(10,x)");
BENCHMARK(latency<Function::exp10, Path::pow10>)->Name("Latency/exp10/std::pow(10,x)");
BENCHMARK(detectorLoop<Detector::library>)->Name("Latency/detector/std::log10+std::pow");
BENCHMARK(detectorLoop<Detector::scalar>)->Name("Latency/detector/Scalar");
BENCHMARK(detectorLoop<Detector::pair>)->Name("Latency/detector/Pair");

} // namespace

BENCHMARK_MAIN();
