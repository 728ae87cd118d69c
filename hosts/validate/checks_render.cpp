// Rendering across sample rates, block sizes and test signals, and the maximum-frames
// contract.

#include "parameter_lookup.h"
#include "render_thread.h"
#include "validation.h"

#include <cmath>

namespace kelvohost {
namespace {

constexpr double rates[] = {8000.0, 11025.0, 44100.0, 48000.0, 96000.0, 192000.0};
constexpr UInt32 blocks[] = {1, 64, 137, 512, 4096};
constexpr UInt32 largestBlock = 4096;

std::string channelsWord(unsigned channels) {
    return channels == 1 ? "mono" : channels == 2 ? "stereo" : std::to_string(channels) + " ch";
}

// Renders frames of samples through the unit on the calling thread with one call into
// buffers of the given size; returns the status.
OSStatus renderOnce(HostedUnit& unit, UInt32 frames) {
    const unsigned channels = unit.channels();
    const auto input = makeSignal(Signal::noise, channels, frames, unit.sampleRate());
    std::vector<std::vector<float>> output(channels, std::vector<float>(frames, 0.0f));
    std::vector<const float*> in;
    std::vector<float*> out;
    for (unsigned c = 0; c < channels; ++c) {
        in.push_back(input[c].data());
        out.push_back(output[c].data());
    }
    OSStatus status = noErr;
    runOnRenderThread([&]() noexcept { status = unit.render(in.data(), out.data(), frames); });
    return status;
}

} // namespace

void checkRatesAndBlocks(Validation& validation) {
    Report& report = validation.report;
    report.section("Sample rates, block sizes and signals");
    std::vector<unsigned> channelCounts;
    try {
        HostedUnit probe(validation.component);
        for (const auto& [in, out] : declaredConfigurations(probe)) {
            if (in == out && in <= 2) {
                channelCounts.push_back(in);
            }
        }
    } catch (const std::exception& error) {
        report.check(false, "an instance opens", error.what());
        return;
    }
    if (channelCounts.empty()) {
        report.check(false, "the unit declares mono or stereo processing");
        return;
    }

    std::string blockList;
    for (const UInt32 block : blocks) {
        blockList += (blockList.empty() ? "" : ", ") + std::to_string(block);
    }
    for (const double rate : rates) {
        std::string failure;
        std::string latencyFailure;
        for (const unsigned channels : channelCounts) {
            std::string reason;
            const auto unit = openUnit(validation, rate, channels, largestBlock, &reason);
            if (!unit) {
                failure = channelsWord(channels) + ": " + reason;
                break;
            }
            const double latency = unit->latencySeconds();
            // A unit without a tail need not answer TailTime.
            double tail = 0.0;
            try {
                tail = unit->tailSeconds();
            } catch (const UnitError&) {
            }
            if (!std::isfinite(latency) || latency < 0.0 || !std::isfinite(tail) || tail < 0.0) {
                latencyFailure =
                    "latency " + formatNumber(latency) + " s, tail " + formatNumber(tail) + " s";
            }
            for (const UInt32 block : blocks) {
                const std::size_t frames = std::max<std::size_t>(4096, 2 * block);
                for (const Signal signal : allSignals) {
                    const RenderResult result =
                        renderOnThread(*unit, makeSignal(signal, channels, frames, rate), block);
                    if (!result.ok() && failure.empty()) {
                        failure = channelsWord(channels) + ", block " + std::to_string(block) +
                                  ", " + signalName(signal) + ": " + result.describe();
                    }
                }
            }
        }
        report.check(failure.empty(),
                     formatNumber(rate) + " Hz: blocks " + blockList +
                         "; noise, full-scale, DC, then silence: output finite, no subnormals",
                     failure);
        report.check(latencyFailure.empty(),
                     formatNumber(rate) + " Hz: latency and tail time are finite and not negative",
                     latencyFailure);
    }
}

void checkMaximumFrames(Validation& validation) {
    Report& report = validation.report;
    report.section("Maximum frames per slice");
    std::string reason;
    const auto unit = openUnit(validation, 48000.0, 2, 512, &reason);
    if (!unit) {
        report.check(false, "a stereo instance at 48000 Hz initialises", reason);
        return;
    }
    for (const UInt32 maximum : {512u, 4096u, 64u, 1u, 1000u}) {
        std::string failure;
        if (unit->maximumFrames() != maximum) {
            unit->uninitialize();
            if (const OSStatus s = unit->setMaximumFrames(maximum); s != noErr) {
                failure = "setting it failed with " + statusText(s);
            } else if (const OSStatus i = unit->initialize(); i != noErr) {
                failure = "AudioUnitInitialize failed with " + statusText(i);
            }
        }
        UInt32 readBack = 0;
        UInt32 size = sizeof readBack;
        AudioUnitGetProperty(unit->handle(), kAudioUnitProperty_MaximumFramesPerSlice,
                             kAudioUnitScope_Global, 0, &readBack, &size);
        if (failure.empty() && readBack != maximum) {
            failure = "the property reads back " + std::to_string(readBack);
        }
        if (failure.empty()) {
            if (const OSStatus s = renderOnce(*unit, maximum); s != noErr) {
                failure = "a render of " + std::to_string(maximum) + " frames failed with " +
                          statusText(s);
            } else if (renderOnce(*unit, maximum + 1) == noErr) {
                failure = "a render of " + std::to_string(maximum + 1) + " frames succeeded";
            } else if (const OSStatus again = renderOnce(*unit, maximum); again != noErr) {
                failure = "after the refused render, a render of the maximum failed with " +
                          statusText(again);
            }
        }
        report.check(failure.empty(),
                     "maximum " + std::to_string(maximum) + ": a render of " +
                         std::to_string(maximum) + " frames succeeds, " +
                         std::to_string(maximum + 1) + " is refused",
                     failure);
    }

    // Setting the maximum while initialised: refused, or in effect at once.
    {
        const UInt32 frames = 2048;
        const OSStatus set =
            AudioUnitSetProperty(unit->handle(), kAudioUnitProperty_MaximumFramesPerSlice,
                                 kAudioUnitScope_Global, 0, &frames, sizeof frames);
        std::string failure;
        if (set == noErr) {
            unit->setMaximumFrames(frames); // keeps the driver's silence buffer in step
            if (const OSStatus s = renderOnce(*unit, frames); s != noErr) {
                failure = "accepted while initialised, but a render of 2048 frames failed with " +
                          statusText(s);
            }
        }
        report.check(
            failure.empty(),
            std::string("changing the maximum while initialised is ") +
                (set == noErr ? "accepted and in effect" : "refused (" + statusText(set) + ")"),
            failure);
    }

    // Output buffers with mData NULL receive the unit's own buffers.
    {
        unit->uninitialize();
        unit->setMaximumFrames(512);
        unit->initialize();
        BufferList list(2);
        list.point(2, nullptr, 512);
        const auto input = makeSignal(Signal::noise, 2, 512, 48000.0);
        const float* in[] = {input[0].data(), input[1].data()};
        AudioUnitRenderActionFlags flags = kAudioUnitRenderAction_OutputIsSilence;
        const OSStatus status = unit->renderInto(in, list.get(), 512, &flags);
        SampleScan scan;
        bool filled = status == noErr;
        for (unsigned c = 0; c < 2 && filled; ++c) {
            filled = list[c].mData != nullptr && list[c].mDataByteSize >= 512 * sizeof(float);
            if (filled) {
                scan.scan(static_cast<const float*>(list[c].mData), 512);
            }
        }
        report.check(filled && scan.clean(),
                     "output buffers with mData NULL get the unit's own samples",
                     status != noErr ? statusText(status)
                     : filled        ? scan.describe()
                                     : "mData left NULL");
        report.check(status == noErr && (flags & kAudioUnitRenderAction_OutputIsSilence) == 0,
                     "a render clears the output-is-silence flag");

        // Buffer lists that do not match the format are refused.
        std::vector<float> one(512);
        float* single[] = {one.data()};
        BufferList wrong(2);
        wrong.point(1, single, 512);
        report.check(unit->renderInto(in, wrong.get(), 512) != noErr,
                     "a stereo render into a one-buffer list is refused");
        std::vector<float> left(512), right(512);
        float* both[] = {left.data(), right.data()};
        BufferList shortList(2);
        shortList.point(2, both, 512);
        shortList[1].mDataByteSize = 100;
        report.check(unit->renderInto(in, shortList.get(), 512) != noErr,
                     "a render into a buffer smaller than the frames is refused");
    }
}

} // namespace kelvohost
