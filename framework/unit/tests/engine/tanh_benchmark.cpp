// Speed of classic::tanhScalar, tanh2, tanh4 and tanhMany beside the C library's std::tanh:
// throughput over a block of drive-like arguments (normal, sigma 1.5), and latency along a chain
// where each result feeds the next argument, as a saturator inside a feedback loop would. Each
// reports time_per_value (the inverse of the rate). No timing is asserted.

#include "engine/tanh.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr unsigned blockLength = 4096;

std::vector<double> arguments() {
    std::vector<double> values(blockLength);
    std::mt19937_64 random(3);
    std::normal_distribution<double> drive(0.0, 1.5);
    for (double& v : values) {
        v = drive(random);
    }
    return values;
}

void perValue(benchmark::State& state, double valuesPerIteration) {
    state.counters["time_per_value"] =
        benchmark::Counter(valuesPerIteration, benchmark::Counter::kIsIterationInvariantRate |
                                                   benchmark::Counter::kInvert);
}

enum class Path { library, scalar, two, four, fourBaseline, many, manyBaseline };

template <Path path> void throughput(benchmark::State& state) {
    const std::vector<double> in = arguments();
    std::vector<double> out(in.size());
    for (auto _ : state) {
        if constexpr (path == Path::many) {
            classic::tanhMany(in.data(), out.data(), in.size());
        } else if constexpr (path == Path::manyBaseline) {
            classic::tanhMany(in.data(), out.data(), in.size(), classic::simd::Path::baseline);
        }
        for (std::size_t i = 0; path < Path::many && i < in.size(); i += 4) {
            const double* x = &in[i];
            double* y = &out[i];
            if constexpr (path == Path::library) {
                for (unsigned k = 0; k < 4; ++k) {
                    y[k] = std::tanh(x[k]);
                }
            } else if constexpr (path == Path::scalar) {
                for (unsigned k = 0; k < 4; ++k) {
                    y[k] = classic::tanhScalar(x[k]);
                }
            } else if constexpr (path == Path::two) {
                classic::tanh2(x, y);
                classic::tanh2(x + 2, y + 2);
            } else if constexpr (path == Path::four) {
                classic::tanh4(x, y);
            } else {
                classic::tanh4(x, y, classic::simd::Path::baseline);
            }
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    perValue(state, blockLength);
}

constexpr unsigned chainLength = 1000;

template <Path path> void latency(benchmark::State& state) {
    double x[2] = {0.3, -0.4};
    for (auto _ : state) {
        for (unsigned i = 0; i < chainLength; ++i) {
            const double in[2] = {1.7 * x[0] + 0.1, 1.7 * x[1] + 0.1};
            if constexpr (path == Path::library) {
                x[0] = std::tanh(in[0]);
                x[1] = std::tanh(in[1]);
            } else if constexpr (path == Path::scalar) {
                x[0] = classic::tanhScalar(in[0]);
                x[1] = classic::tanhScalar(in[1]);
            } else {
                classic::tanh2(in, x);
            }
        }
        benchmark::DoNotOptimize(x);
    }
    perValue(state, 2.0 * chainLength);
}

BENCHMARK(throughput<Path::library>)->Name("Throughput/std::tanh");
BENCHMARK(throughput<Path::scalar>)->Name("Throughput/tanhScalar");
BENCHMARK(throughput<Path::two>)->Name("Throughput/tanh2");
BENCHMARK(throughput<Path::four>)->Name("Throughput/tanh4");
BENCHMARK(throughput<Path::fourBaseline>)->Name("Throughput/tanh4_without_avx2");
BENCHMARK(throughput<Path::many>)->Name("Throughput/tanhMany");
BENCHMARK(throughput<Path::manyBaseline>)->Name("Throughput/tanhMany_without_avx2");
BENCHMARK(latency<Path::library>)->Name("Latency/std::tanh");
BENCHMARK(latency<Path::scalar>)->Name("Latency/tanhScalar");
BENCHMARK(latency<Path::two>)->Name("Latency/tanh2");

} // namespace

BENCHMARK_MAIN();
