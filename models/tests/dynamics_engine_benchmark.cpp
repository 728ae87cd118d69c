// Engine speed of a dynamics model, compiled once per model: 48 kHz stereo in blocks of 512
// frames, targets handed over per block as the unit does, programme material that keeps the
// gain cell reducing. Reports x_realtime, seconds of audio per second of CPU.

#include "engine.h"
#include "presets/factory_preset.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr double sampleRate = 48000;
constexpr unsigned block = 512;

void BM_Engine(benchmark::State& state) {
    const auto& preset = classic::factoryPresets()[static_cast<unsigned>(state.range(0))];
    auto engine = std::make_unique<classic::Engine>();
    engine->prepare(sampleRate, preset.values.data());

    // Ten seconds of a level-walking two-tone signal, looped.
    std::vector<float> left(10 * 48000), right(left.size());
    for (std::size_t i = 0; i < left.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double level = std::pow(10.0, (-30.0 + 28.0 * std::fabs(std::sin(1.3 * t))) / 20.0);
        left[i] = static_cast<float>(level * std::sin(2 * M_PI * 330 * t));
        right[i] = static_cast<float>(level * std::sin(2 * M_PI * 1210 * t + 0.3));
    }
    std::vector<float> outLeft(block), outRight(block);
    std::size_t position = 0;
    for (auto _ : state) {
        engine->frame.setTargets(preset.values.data());
        for (unsigned i = 0; i < block; ++i) {
            const classic::Stereo out = engine->tick(left[position], right[position], 2);
            outLeft[i] = static_cast<float>(out.first);
            outRight[i] = static_cast<float>(out.second);
            position = position + 1 == left.size() ? 0 : position + 1;
        }
        benchmark::DoNotOptimize(outLeft.data());
        benchmark::DoNotOptimize(outRight.data());
    }
    state.counters["x_realtime"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * block / sampleRate, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Engine)->DenseRange(0, 8)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
