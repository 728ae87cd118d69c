// Immediate and ramped parameter changes during render: sample-offset values and scheduled
// events between renders, then control calls racing a running render thread.

#include "parameter_lookup.h"
#include "render_thread.h"
#include "validation.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>

namespace kelvohost {
namespace {

constexpr UInt32 block = 512;

AudioUnitParameterEvent immediateEvent(AudioUnitParameterID id, UInt32 offset, float value) {
    AudioUnitParameterEvent event{};
    event.scope = kAudioUnitScope_Global;
    event.element = 0;
    event.parameter = id;
    event.eventType = kParameterEvent_Immediate;
    event.eventValues.immediate.bufferOffset = offset;
    event.eventValues.immediate.value = value;
    return event;
}

AudioUnitParameterEvent rampEvent(AudioUnitParameterID id, SInt32 offset, UInt32 duration,
                                  float start, float end) {
    AudioUnitParameterEvent event{};
    event.scope = kAudioUnitScope_Global;
    event.element = 0;
    event.parameter = id;
    event.eventType = kParameterEvent_Ramped;
    event.eventValues.ramp.startBufferOffset = offset;
    event.eventValues.ramp.durationInFrames = duration;
    event.eventValues.ramp.startValue = start;
    event.eventValues.ramp.endValue = end;
    return event;
}

// A value of the parameter other than its current one: its maximum, or its minimum when it
// already stands at the maximum.
float otherValue(const ParameterDescription& p, float current) {
    return current == p.maximum ? p.minimum : p.maximum;
}

float read(HostedUnit& unit, AudioUnitParameterID id) {
    float value = NAN;
    unit.getParameter(id, value);
    return value;
}

} // namespace

void checkAutomation(Validation& validation) {
    Report& report = validation.report;
    report.section("Parameter changes during render");
    std::string reason;
    const auto unit = openUnit(validation, 48000.0, 2, block, &reason);
    if (!unit) {
        report.check(false, "a stereo instance at 48000 Hz initialises", reason);
        return;
    }
    std::vector<ParameterDescription> parameters;
    try {
        parameters = unit->parameters();
    } catch (const std::exception& error) {
        report.check(false, "the parameters are listed", error.what());
        return;
    }
    if (parameters.empty()) {
        report.skip("parameter changes during render", "the unit has no parameters");
        return;
    }
    const auto noise = makeSignal(Signal::noise, 2, block, 48000.0);
    const auto renderBlock = [&] { return renderOnThread(*unit, noise, block); };

    // Immediate values at a sample offset, through both calls.
    {
        std::string failure;
        for (const auto& p : parameters) {
            const float scheduled = otherValue(p, read(*unit, p.id));
            const AudioUnitParameterEvent event = immediateEvent(p.id, 100, scheduled);
            const OSStatus status = AudioUnitScheduleParameters(unit->handle(), &event, 1);
            const RenderResult result = renderBlock();
            if (status != noErr || !result.ok() || read(*unit, p.id) != scheduled) {
                failure += p.name + " (" + statusText(status) + ", reads " +
                           formatNumber(read(*unit, p.id)) + ") ";
            }
        }
        report.check(failure.empty(),
                     "an immediate event at offset 100 is applied by the next render, for every "
                     "parameter",
                     failure);

        failure.clear();
        for (const auto& p : parameters) {
            const float value = otherValue(p, read(*unit, p.id));
            const OSStatus status = unit->setParameter(p.id, value, 100);
            const RenderResult result = renderBlock();
            if (status != noErr || !result.ok() || read(*unit, p.id) != value) {
                failure += p.name + " (" + statusText(status) + ", reads " +
                           formatNumber(read(*unit, p.id)) + ") ";
            }
        }
        report.check(failure.empty(),
                     "AudioUnitSetParameter with buffer offset 100 is applied by the next render",
                     failure);
    }

    // Ramps over two buffers for every parameter that can ramp.
    {
        std::string failure;
        int ramped = 0;
        for (const auto& p : parameters) {
            if (!p.canRamp) {
                continue;
            }
            ++ramped;
            // 1000 frames from offset 0: under way after one 512-frame buffer, at its end
            // (frame 1000) within the second.
            const AudioUnitParameterEvent event = rampEvent(p.id, 0, 1000, p.minimum, p.maximum);
            const OSStatus status = AudioUnitScheduleParameters(unit->handle(), &event, 1);
            const RenderResult first = renderBlock();
            const float midway = read(*unit, p.id);
            const RenderResult second = renderBlock();
            const float end = read(*unit, p.id);
            // The platform promises a ramp is accepted and rendered; the suite's units also
            // publish every ramp step, so the value reads back under way and then at its end.
            const bool published =
                !validation.kelvo || (midway > p.minimum && midway < p.maximum && end == p.maximum);
            if (status != noErr || !first.ok() || !second.ok() || !(midway >= p.minimum) ||
                !(midway <= p.maximum) || !(end >= p.minimum) || !(end <= p.maximum) ||
                !published) {
                failure += p.name + " (" + statusText(status) + ", " + formatNumber(midway) +
                           " after one buffer, " + formatNumber(end) + " after two) ";
            }
        }
        if (ramped == 0) {
            report.skip("ramped parameters", "no parameter can ramp");
        } else {
            report.check(failure.empty(),
                         std::to_string(ramped) + " rampable parameters: a ramp over 1000 frames " +
                             (validation.kelvo ? "is under way after one buffer and at its end "
                                                 "value after two"
                                               : "renders cleanly and keeps values in range"),
                         failure);
        }
    }

    // Bad events are refused.
    {
        const AudioUnitParameterEvent badElement = [&] {
            AudioUnitParameterEvent e = immediateEvent(parameters.front().id, 0, 0.0f);
            e.element = 1;
            return e;
        }();
        const AudioUnitParameterEvent notFinite =
            immediateEvent(parameters.front().id, 0, std::numeric_limits<float>::quiet_NaN());
        report.check(AudioUnitScheduleParameters(unit->handle(), &badElement, 1) != noErr &&
                         AudioUnitScheduleParameters(unit->handle(), &notFinite, 1) != noErr,
                     "scheduled events with a bad element or a NaN value are refused");
    }

    // Control calls from the main thread while a render thread runs.
    {
        for (const auto& p : parameters) {
            unit->setParameter(p.id, p.defaultValue);
        }
        constexpr std::size_t blocksToRender = 600;
        std::atomic<std::size_t> rendered{0};
        OSStatus renderStatus = noErr;
        SampleScan scan;
        std::vector<float> left(block), right(block);
        const auto job = [&]() noexcept {
            const float* in[] = {noise[0].data(), noise[1].data()};
            float* out[] = {left.data(), right.data()};
            for (std::size_t i = 0; i < blocksToRender; ++i) {
                const OSStatus status = unit->render(in, out, block);
                if (status != noErr) {
                    renderStatus = status;
                    return;
                }
                scan.scan(left.data(), block);
                scan.scan(right.data(), block);
                rendered.store(i + 1, std::memory_order_release);
            }
        };

        std::size_t calls = 0;
        std::size_t queueFull = 0;
        std::string callFailure;
        std::uint32_t step = 0;
        const auto control = [&] {
            // One round: for each parameter a direct set, a set at an offset, a scheduled
            // immediate value and, where it can ramp, a ramp crossing the buffer boundary.
            for (const auto& p : parameters) {
                ++step;
                const float span = p.maximum - p.minimum;
                float value = p.minimum + span * static_cast<float>(step % 7) / 6.0f;
                if (p.isStepped()) {
                    value = std::round(value);
                }
                std::vector<OSStatus> statuses;
                statuses.push_back(unit->setParameter(p.id, value, 0));
                statuses.push_back(unit->setParameter(p.id, value, step % block));
                const AudioUnitParameterEvent events[] = {
                    immediateEvent(p.id, (step * 37) % block, value),
                    rampEvent(p.id, -static_cast<SInt32>(step % 64), 300, p.minimum, p.maximum),
                };
                statuses.push_back(
                    AudioUnitScheduleParameters(unit->handle(), events, p.canRamp ? 2 : 1));
                for (const OSStatus status : statuses) {
                    ++calls;
                    if (status == kAudioUnitErr_CannotDoInCurrentContext) {
                        ++queueFull; // a full queue is refused, which is allowed
                    } else if (status != noErr && callFailure.empty()) {
                        callFailure = p.name + ": " + statusText(status);
                    }
                }
            }
        };
        runOnRenderThread(job, control, std::chrono::milliseconds(1));

        std::string outOfRange;
        for (const auto& p : parameters) {
            const float value = read(*unit, p.id);
            if (!(value >= p.minimum && value <= p.maximum)) {
                outOfRange += p.name + "=" + formatNumber(value) + " ";
            }
        }
        report.check(renderStatus == noErr && scan.clean() && callFailure.empty(),
                     "while a render thread renders " + std::to_string(blocksToRender) +
                         " buffers, " + std::to_string(calls) +
                         " set and schedule calls from the main thread succeed and the output "
                         "stays finite",
                     renderStatus != noErr ? "render failed with " + statusText(renderStatus)
                     : !scan.clean()       ? scan.describe()
                                           : callFailure);
        if (queueFull > 0) {
            report.note(std::to_string(queueFull) + " calls found the automation queue full");
        }
        report.check(outOfRange.empty(), "afterwards every parameter reads within its range",
                     outOfRange);
        const RenderResult after = renderBlock();
        report.check(after.ok(), "the unit renders cleanly after the concurrent changes",
                     after.describe());
    }
}

} // namespace kelvohost
