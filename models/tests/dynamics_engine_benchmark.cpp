// Engine speed of a dynamics model, compiled once per model: 48 kHz stereo in blocks of 512
// frames, targets handed over per block as the unit does, programme material that keeps the
// gain cell reducing, through tick frame by frame and through the many-frame render. Reports
// x_realtime, seconds of audio per second of CPU.

#include "engine.h"
#include "presets/factory_preset.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr double sampleRate = 48000;
constexpr unsigned block = 512;

template <bool byRender> void engineSpeed(benchmark::State& state) {
    const auto& preset = classic::factoryPresets()[static_cast<unsigned>(state.range(0))];
    auto engine = std::make_unique<classic::Engine>();
    engine->prepare(sampleRate, preset.values.data());

    // Ten seconds of a level-walking two-tone signal, looped.
    std::vector<float> left(block * 940), right(left.size()); // about ten seconds
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
        if constexpr (byRender) {
            const float* in[2] = {left.data() + position, right.data() + position};
            float* out[2] = {outLeft.data(), outRight.data()};
            engine->render(in, out, block, 2);
        } else {
            for (unsigned i = 0; i < block; ++i) {
                const classic::Stereo out =
                    engine->tick(left[position + i], right[position + i], 2);
                outLeft[i] = static_cast<float>(out.first);
                outRight[i] = static_cast<float>(out.second);
            }
        }
        position = position + block == left.size() ? 0 : position + block;
        benchmark::DoNotOptimize(outLeft.data());
        benchmark::DoNotOptimize(outRight.data());
    }
    state.counters["x_realtime"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * block / sampleRate, benchmark::Counter::kIsRate);
}
void BM_Tick(benchmark::State& state) {
    engineSpeed<false>(state);
}
void BM_Render(benchmark::State& state) {
    engineSpeed<true>(state);
}
BENCHMARK(BM_Tick)->DenseRange(0, 8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Render)->DenseRange(0, 8)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
