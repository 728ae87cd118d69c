// Speed of classic::log10*, exp10* and exp* beside the C library's log10, pow(10, x) (as the
// engines call it), exp10 and exp: throughput over a block of arguments from each function's
// working range, and latency along a chain where each result feeds the next argument, as in a
// level detector's feedback loop. Each reports time_per_value (the inverse of the rate). No
// timing is asserted.

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

enum class Path { library, pow10, scalar, pair, many, manySse2 };

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

template <Function function> __m128d pair(__m128d x) {
    if constexpr (function == Function::log10) {
        return classic::log10Pair(x);
    } else if constexpr (function == Function::exp10) {
        return classic::exp10Pair(x);
    } else {
        return classic::expPair(x);
    }
}

template <Function function> void many(const double* in, double* out, std::size_t count) {
    if constexpr (function == Function::log10) {
        classic::log10Many(in, out, count);
    } else if constexpr (function == Function::exp10) {
        classic::exp10Many(in, out, count);
    } else {
        classic::expMany(in, out, count);
    }
}

template <Function function> void manySse2(const double* in, double* out, std::size_t count) {
    using namespace classic;
    if constexpr (function == Function::log10) {
        logexp_detail::manySse2<log10_detail::Log10>(in, out, count);
    } else if constexpr (function == Function::exp10) {
        logexp_detail::manySse2<exp10_detail::Exp10>(in, out, count);
    } else {
        logexp_detail::manySse2<exp10_detail::Exp>(in, out, count);
    }
}

template <Function function, Path path> void throughput(benchmark::State& state) {
    const std::vector<double> in = arguments(function);
    std::vector<double> out(in.size());
    for (auto _ : state) {
        if constexpr (path == Path::many) {
            many<function>(in.data(), out.data(), in.size());
        } else if constexpr (path == Path::manySse2) {
            manySse2<function>(in.data(), out.data(), in.size());
        } else if constexpr (path == Path::pair) {
            for (std::size_t i = 0; i < in.size(); i += 2) {
                _mm_storeu_pd(&out[i], pair<function>(_mm_loadu_pd(&in[i])));
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

// The next argument from the last result, kept in the working range without a branch: for
// log10 a level from the last log (x in [-12, 3] gives 10^(x/4 - 3)... approximately, by a
// cheap affine map of the result into a level), for exp10 and exp the result scaled back.
template <Function function> double feed(double y) {
    if constexpr (function == Function::log10) {
        return 1e-3 + 1e-4 * y * y; // y in [-12, 3]: levels 1e-3 .. 1.5e-2
    } else if constexpr (function == Function::exp10) {
        return 0.5 * y - 2.0; // y = 10^x in [0.004, 1000): x stays in [-2, -1.5]
    } else {
        return -0.05 - 10.0 * y; // y = e^x in (0, 1]: x stays in [-10.05, -0.05]
    }
}

template <Function function, Path path> void latency(benchmark::State& state) {
    double x[2] = {feed<function>(0.3), feed<function>(0.4)};
    for (auto _ : state) {
        for (unsigned i = 0; i < chainLength; ++i) {
            double y[2];
            if constexpr (path == Path::library) {
                y[0] = library(function, x[0]);
                y[1] = library(function, x[1]);
            } else if constexpr (path == Path::pow10) {
                y[0] = std::pow(10.0, x[0]);
                y[1] = std::pow(10.0, x[1]);
            } else if constexpr (path == Path::scalar) {
                y[0] = scalar<function>(x[0]);
                y[1] = scalar<function>(x[1]);
            } else {
                _mm_storeu_pd(y, pair<function>(_mm_loadu_pd(x)));
            }
            x[0] = feed<function>(y[0]);
            x[1] = feed<function>(y[1]);
        }
        benchmark::DoNotOptimize(x);
    }
    perValue(state, 2.0 * chainLength);
}

#define KELVO_LOGEXP_BENCHMARKS(function, name, libraryName)                                       \
    BENCHMARK(throughput<Function::function, Path::library>)                                       \
        ->Name("Throughput/" name "/" libraryName);                                                \
    BENCHMARK(throughput<Function::function, Path::scalar>)->Name("Throughput/" name "/Scalar");   \
    BENCHMARK(throughput<Function::function, Path::pair>)->Name("Throughput/" name "/Pair");       \
    BENCHMARK(throughput<Function::function, Path::many>)->Name("Throughput/" name "/Many");       \
    BENCHMARK(throughput<Function::function, Path::manySse2>)                                      \
        ->Name("Throughput/" name "/Many_without_avx2");                                           \
    BENCHMARK(latency<Function::function, Path::library>)->Name("Latency/" name "/" libraryName);  \
    BENCHMARK(latency<Function::function, Path::scalar>)->Name("Latency/" name "/Scalar");         \
    BENCHMARK(latency<Function::function, Path::pair>)->Name("Latency/" name "/Pair")

KELVO_LOGEXP_BENCHMARKS(log10, "log10", "std::log10");
KELVO_LOGEXP_BENCHMARKS(exp10, "exp10", "glibc_exp10");
KELVO_LOGEXP_BENCHMARKS(exp, "exp", "std::exp");
BENCHMARK(throughput<Function::exp10, Path::pow10>)->Name("Throughput/exp10/std::pow(10,x)");
BENCHMARK(latency<Function::exp10, Path::pow10>)->Name("Latency/exp10/std::pow(10,x)");

} // namespace

BENCHMARK_MAIN();
