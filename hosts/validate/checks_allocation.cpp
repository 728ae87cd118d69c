// No allocation on the render path: the allocation counter (which replaces the program's
// operator new, for the bundles too) is armed on the render thread around AudioUnitRender.

#include "render_thread.h"
#include "testing/allocation_counter.h"
#include "validation.h"

#include <array>

namespace kelvohost {
namespace {

constexpr UInt32 block = 512;

// Renders count blocks of noise on a render thread with the counter armed around the render
// calls only; returns the allocations counted, or the failing status in *failed.
std::size_t allocationsWhileRendering(HostedUnit& unit, std::size_t count, OSStatus* failed) {
    const unsigned channels = unit.channels();
    const auto input = makeSignal(Signal::noise, channels, block, unit.sampleRate());
    std::vector<std::vector<float>> output(channels, std::vector<float>(block));
    std::array<const float*, 2> in{};
    std::array<float*, 2> out{};
    for (unsigned c = 0; c < channels && c < 2; ++c) {
        in[c] = input[c].data();
        out[c] = output[c].data();
    }
    std::size_t allocations = 0;
    *failed = noErr;
    runOnRenderThread([&]() noexcept {
        kelvo::testing::AllocationScope scope;
        for (std::size_t i = 0; i < count && *failed == noErr; ++i) {
            *failed = unit.render(in.data(), out.data(), block);
        }
        allocations = scope.count();
    });
    return allocations;
}

AudioUnitParameterEvent rampOf(const ParameterDescription& p) {
    AudioUnitParameterEvent event{};
    event.scope = kAudioUnitScope_Global;
    event.parameter = p.id;
    event.eventType = kParameterEvent_Ramped;
    event.eventValues.ramp.startBufferOffset = 10;
    event.eventValues.ramp.durationInFrames = 700;
    event.eventValues.ramp.startValue = p.minimum;
    event.eventValues.ramp.endValue = p.maximum;
    return event;
}

} // namespace

void checkRenderAllocations(Validation& validation) {
    Report& report = validation.report;
    report.section("Allocation on the render path");
    for (const unsigned channels : {2u, 1u}) {
        std::string reason;
        const auto unit = openUnit(validation, 48000.0, channels, block, &reason);
        const std::string layout = channels == 2 ? "stereo" : "mono";
        if (!unit) {
            report.check(false, "a " + layout + " instance at 48000 Hz initialises", reason);
            continue;
        }
        OSStatus failed = noErr;
        const std::size_t first = allocationsWhileRendering(*unit, 64, &failed);
        report.check(failed == noErr && first == 0,
                     layout + ": the first 64 renders after AudioUnitInitialize allocate nothing",
                     failed != noErr ? statusText(failed) : std::to_string(first) + " allocations");

        // The render thread's other duties: scheduled events and ramps, a pending reset, a
        // preset's values.
        const std::vector<ParameterDescription> parameters = unit->parameters();
        for (const auto& p : parameters) {
            unit->setParameter(p.id, p.maximum, 100);
            if (p.canRamp) {
                const AudioUnitParameterEvent event = rampOf(p);
                AudioUnitScheduleParameters(unit->handle(), &event, 1);
            }
        }
        const std::size_t withEvents = allocationsWhileRendering(*unit, 8, &failed);
        report.check(failed == noErr && withEvents == 0,
                     layout + ": renders applying scheduled values and ramps allocate nothing",
                     failed != noErr ? statusText(failed)
                                     : std::to_string(withEvents) + " allocations");

        AudioUnitReset(unit->handle(), kAudioUnitScope_Global, 0);
        const auto presets = unit->factoryPresets();
        if (!presets.empty()) {
            unit->selectPreset(presets.back().number, presets.back().name);
        }
        const std::size_t afterReset = allocationsWhileRendering(*unit, 8, &failed);
        report.check(failed == noErr && afterReset == 0,
                     layout + ": renders after Reset and a preset change allocate nothing",
                     failed != noErr ? statusText(failed)
                                     : std::to_string(afterReset) + " allocations");
    }
}

} // namespace kelvohost
