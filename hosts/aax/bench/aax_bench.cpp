// kelvo-aax-bench: what the AAX bridge costs. Each bridged model is rendered two ways in one
// run, on the benchmark's own thread, from the same loud input in the same blocks:
//
//     BM_Direct/<model>/<rate>/<channels>/<block>   the unit through AudioUnitRender, as
//                                                   kelvo-render renders it
//     BM_Bridge/<model>/<rate>/<channels>/<block>   the unit inside its AAX bundle, through the
//                                                   bridge's process procedure as kelvo-aax does
//
// x_realtime is seconds of audio rendered per second of CPU time; the bridge's overhead is
// the ratio of the two.

#include "bench_signal.h"
#include "bundle_discovery.h"
#include "component_loader.h"
#include "host_error.h"
#include "hosted_unit.h"
#include "plugin_session.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>

namespace kelvohost {
namespace {

constexpr double rates[] = {48000.0, 96000.0};
constexpr unsigned channelCounts[] = {1, 2};
constexpr UInt32 blocks[] = {64, 512};

// Loops through the input block by block, calling render(inputs, outputs, frames).
template <typename Render>
void timeBlocks(benchmark::State& state, double rate, unsigned channels, UInt32 block,
                Render&& render) {
    const auto input = loudSecond(rate, channels);
    std::vector<std::vector<float>> output(channels, std::vector<float>(block));
    std::array<const float*, 2> in{};
    std::array<float*, 2> out{};
    std::size_t position = 0;
    for (auto _ : state) {
        if (position + block > input.front().size()) {
            position = 0;
        }
        for (unsigned c = 0; c < channels; ++c) {
            in[c] = input[c].data() + position;
            out[c] = output[c].data();
        }
        position += block;
        if (!render(in.data(), out.data(), block)) {
            state.SkipWithError("the render failed");
            break;
        }
        benchmark::DoNotOptimize(output.front().data());
    }
    const double seconds = static_cast<double>(state.iterations()) * block / rate;
    state.counters["x_realtime"] = benchmark::Counter(seconds, benchmark::Counter::kIsRate);
}

void direct(benchmark::State& state, const LoadedComponent* component, double rate,
            unsigned channels, UInt32 block) {
    try {
        HostedUnit unit(*component);
        if (unit.configure(rate, channels, block) != noErr || unit.initialize() != noErr) {
            state.SkipWithError("the unit refused the format");
            return;
        }
        timeBlocks(state, rate, channels, block,
                   [&](const float* const* in, float* const* out, UInt32 frames) {
                       return unit.render(in, out, frames) == noErr;
                   });
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

void bridge(benchmark::State& state, const PluginSession* session, double rate, unsigned channels,
            UInt32 block) {
    try {
        const aaxhost::ComponentDescription* component = session->componentFor(channels);
        const auto instance = startInstance(*session, *component, rate);
        timeBlocks(state, rate, channels, block,
                   [&](const float* const* in, float* const* out, UInt32 frames) {
                       instance->process(in, out, static_cast<int32_t>(frames));
                       return true;
                   });
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

} // namespace
} // namespace kelvohost

int main(int argc, char** argv) {
    using namespace kelvohost;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return exitBadInput;
    }
    const auto folders = defaultSearchFolders();
    static std::vector<std::unique_ptr<LoadedComponent>> units;
    static std::vector<std::unique_ptr<PluginSession>> plugins;
    for (const BundleLocation& location : findBundles(folders, aaxBundles)) {
        try {
            plugins.push_back(std::make_unique<PluginSession>(openPlugin(location.path, folders)));
            units.push_back(loadComponent(resolveModel(location.model, folders)));
        } catch (const std::exception& error) {
            std::fprintf(stderr, "kelvo-aax-bench: skipping %s: %s\n", location.model.c_str(),
                         error.what());
            continue;
        }
        for (const double rate : rates) {
            for (const unsigned channels : channelCounts) {
                for (const UInt32 block : blocks) {
                    const std::string shape =
                        location.model + "/" + std::to_string(static_cast<int>(rate)) + "/" +
                        std::to_string(channels) + "/" + std::to_string(block);
                    benchmark::RegisterBenchmark(("BM_Direct/" + shape).c_str(), direct,
                                                 units.back().get(), rate, channels, block)
                        ->Unit(benchmark::kMicrosecond);
                    benchmark::RegisterBenchmark(("BM_Bridge/" + shape).c_str(), bridge,
                                                 plugins.back().get(), rate, channels, block)
                        ->Unit(benchmark::kMicrosecond);
                }
            }
        }
    }
    if (plugins.empty()) {
        std::fprintf(stderr, "kelvo-aax-bench: no AAX plug-ins with their units found\n");
        return exitBadInput;
    }
    const std::size_t ran = benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return ran > 0 ? exitSuccess : exitBadInput;
}
