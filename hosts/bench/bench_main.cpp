// kelvo-bench: how fast each unit bundle renders through AudioUnitRender.
//
//     BM_Render/<model>/<rate>/<channels>/<block>   a loud signal, rates 44100, 48000, 96000
//     BM_RenderSilence/<model>                      silence after a loud second, 48000 Hz stereo
//     BM_RenderFile/<model>                         the host's whole road, file to file
//
// x_realtime is seconds of audio rendered per second of CPU time. The silence case should run
// within about 20 % of the loud one: decaying filters must not fall into subnormal arithmetic.

#include "bench_signal.h"
#include "bundle_discovery.h"
#include "component_loader.h"
#include "file_bench.h"
#include "host_error.h"
#include "hosted_unit.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace kelvohost {
namespace {

constexpr std::array<double, 3> rates{44100.0, 48000.0, 96000.0};
constexpr std::array<unsigned, 2> channelCounts{1, 2};
constexpr std::array<UInt32, 2> blocks{32, 512};

// A unit ready to render, with its input and output buffers.
struct Rig {
    HostedUnit unit;
    std::vector<std::vector<float>> input;
    std::vector<std::vector<float>> output;
    std::size_t position = 0;

    Rig(const LoadedComponent& component, double rate, unsigned channels, UInt32 block)
        : unit(component), input(loudSecond(rate, channels)),
          output(channels, std::vector<float>(block)) {
        if (const OSStatus s = unit.configure(rate, channels, block); s != noErr) {
            throw UnitError("configure", s);
        }
        if (const OSStatus s = unit.initialize(); s != noErr) {
            throw UnitError("AudioUnitInitialize", s);
        }
    }

    // [render thread] One block from the looping input (or silence); false on failure.
    bool render(UInt32 block, bool silent) noexcept {
        std::array<const float*, 2> in{};
        std::array<float*, 2> out{};
        const std::size_t length = input.front().size();
        if (position + block > length) {
            position = 0;
        }
        for (unsigned c = 0; c < unit.channels(); ++c) {
            in[c] = silent ? nullptr : input[c].data() + position;
            out[c] = output[c].data();
        }
        position += block;
        return unit.render(silent ? nullptr : in.data(), out.data(), block) == noErr;
    }
};

// Times one render call per iteration; silent renders feed the unit silence.
void timeRenders(benchmark::State& state, Rig& rig, double rate, UInt32 block, bool silent) {
    for (auto _ : state) {
        if (!rig.render(block, silent)) {
            state.SkipWithError("AudioUnitRender failed");
            break;
        }
        benchmark::DoNotOptimize(rig.output.front().data());
    }
    const double seconds = static_cast<double>(state.iterations()) * block / rate;
    state.counters["x_realtime"] = benchmark::Counter(seconds, benchmark::Counter::kIsRate);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * block);
}

void renderLoud(benchmark::State& state, const LoadedComponent* component, double rate,
                unsigned channels, UInt32 block) {
    try {
        Rig rig(*component, rate, channels, block);
        timeRenders(state, rig, rate, block, false);
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

void renderSilenceAfterLoud(benchmark::State& state, const LoadedComponent* component) {
    constexpr double rate = 48000.0;
    constexpr UInt32 block = 512;
    try {
        Rig rig(*component, rate, 2, block);
        for (std::size_t done = 0; done < static_cast<std::size_t>(rate); done += block) {
            rig.render(block, false);
        }
        timeRenders(state, rig, rate, block, true);
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
    const std::vector<BundleLocation> bundles = findBundles(folders);
    if (bundles.empty()) {
        std::fprintf(stderr, "kelvo-bench: no unit bundles found in");
        for (const auto& folder : folders) {
            std::fprintf(stderr, " %s", folder.c_str());
        }
        std::fprintf(stderr, "\n");
        return exitBadInput;
    }

    // The components stay registered and loaded for the whole run.
    static std::vector<std::unique_ptr<LoadedComponent>> components;
    for (const auto& bundle : bundles) {
        try {
            components.push_back(loadComponent(bundle));
        } catch (const std::exception& error) {
            std::fprintf(stderr, "kelvo-bench: skipping %s: %s\n", bundle.model.c_str(),
                         error.what());
            continue;
        }
        const LoadedComponent* component = components.back().get();
        for (const double rate : rates) {
            for (const unsigned channels : channelCounts) {
                for (const UInt32 block : blocks) {
                    const std::string name = "BM_Render/" + bundle.model + "/" +
                                             std::to_string(static_cast<int>(rate)) + "/" +
                                             std::to_string(channels) + "/" + std::to_string(block);
                    benchmark::RegisterBenchmark(name.c_str(), renderLoud, component, rate,
                                                 channels, block)
                        ->Unit(benchmark::kMicrosecond);
                }
            }
        }
        benchmark::RegisterBenchmark(("BM_RenderSilence/" + bundle.model).c_str(),
                                     renderSilenceAfterLoud, component)
            ->Unit(benchmark::kMicrosecond);
        registerFileBenchmark(bundle.model, component);
    }

    const std::size_t ran = benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return ran > 0 ? exitSuccess : exitBadInput;
}
