// Construction, initialisation, parameters and rendering of the unit class.

#include "processor/processor.h"

#include "engine/simd/flush_denormals.h"
#include "presets/factory_preset.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr AudioUnitElement globalElement = 0;

// Level in dB with a floor of -100; x below 1e-12 (-240 dB) never reaches log10.
float decibels(double x) noexcept {
    return static_cast<float>(std::max(20.0 * std::log10(std::max(x, 1e-12)), -100.0));
}

// Frames [begin, end) through the engine: its many-frame render where it offers one (the same
// results as tick frame by frame), else tick by tick. Mono passes the sample twice.
template <class Engine>
void renderSegment(Engine& engine, const float* const in[2], float* const out[2], unsigned begin,
                   unsigned end, UInt32 channels) noexcept {
    if constexpr (requires(const float* const* i, float* const* o) {
                      engine.render(i, o, 0u, 2u);
                  }) {
        const float* segmentIn[2] = {in[0] + begin, channels == 2 ? in[1] + begin : nullptr};
        float* segmentOut[2] = {out[0] + begin, channels == 2 ? out[1] + begin : nullptr};
        engine.render(segmentIn, segmentOut, end - begin, channels);
    } else if (channels == 2) {
        for (unsigned i = begin; i < end; ++i) {
            const classic::Stereo y = engine.tick(in[0][i], in[1][i], 2);
            out[0][i] = static_cast<float>(y.first);
            out[1][i] = static_cast<float>(y.second);
        }
    } else {
        for (unsigned i = begin; i < end; ++i) {
            out[0][i] = static_cast<float>(engine.tick(in[0][i], in[0][i], 1).first);
        }
    }
}

} // namespace

Processor::Processor(AudioComponentInstance instance)
    : ausdk::AUEffectBase(instance, /*inProcessesInPlace=*/false) {
    CreateElements();
    for (unsigned id = 0; id < parameterCount; ++id) {
        const OSStatus status =
            Globals()->SetParameterOrError(id, classic::definitions[id].defaultValue);
        ausdk::ThrowExceptionIf(status != noErr, status);
    }
    const CFStringRef name = CFStringCreateWithCString(nullptr, classic::factoryPresets()[0].name,
                                                       kCFStringEncodingUTF8);
    SetAFactoryPresetAsCurrent({0, name});
    if (name != nullptr) {
        CFRelease(name);
    }
}

Processor::~Processor() = default;

float Processor::normalize(unsigned id, float value) noexcept {
    return classic::normalize(classic::definitions[id], value);
}

OSStatus Processor::Initialize() {
    const Float64 rate = GetSampleRate();
    if (!std::isfinite(rate) || rate < minimumSampleRate || rate > maximumSampleRate) {
        return kAudioUnitErr_FormatNotSupported;
    }
    if (const OSStatus status = AUEffectBase::Initialize(); status != noErr) {
        return status;
    }
    float values[parameterCount];
    snapshot(values);
    engine.prepare(rate, values);
    automation.bumpGeneration();
    engineResetPending.store(false, std::memory_order_release);
    return noErr;
}

OSStatus Processor::Reset(AudioUnitScope, AudioUnitElement) {
    automation.bumpGeneration();
    engineResetPending.store(true, std::memory_order_release);
    return noErr;
}

OSStatus Processor::SetParameter(AudioUnitParameterID id, AudioUnitScope scope,
                                 AudioUnitElement element, AudioUnitParameterValue value,
                                 UInt32 bufferOffset) {
    if (id >= parameterCount || scope != kAudioUnitScope_Global || element != globalElement) {
        return kAudioUnitErr_InvalidParameter;
    }
    if (!std::isfinite(value)) {
        return kAudioUnitErr_InvalidParameterValue;
    }
    value = normalize(id, value);
    if (bufferOffset == 0) {
        return AUBase::SetParameter(id, scope, element, value, 0);
    }
    return automation.push(kelvostrip::eventImmediate, bufferOffset, id, 0, value, 0);
}

OSStatus Processor::ScheduleParameter(const AudioUnitParameterEvent* events, UInt32 count) {
    return automation.schedule(events, count, &Processor::normalize);
}

void Processor::snapshot(float* values) noexcept {
    ausdk::AUElement* globals = Globals();
    for (unsigned id = 0; id < parameterCount; ++id) {
        AudioUnitParameterValue value = classic::definitions[id].defaultValue;
        globals->GetParameterOrError(id, value);
        values[id] = value;
    }
}

OSStatus Processor::ProcessBufferLists(AudioUnitRenderActionFlags& flags,
                                       const AudioBufferList& input, AudioBufferList& output,
                                       UInt32 frames) noexcept {
    const classic::simd::FlushDenormals flushDenormals;
    const UInt32 channels = GetNumberOfChannels();
    if ((channels != 1 && channels != 2) || input.mNumberBuffers != channels ||
        output.mNumberBuffers != channels) {
        return kAudioUnitErr_FormatNotSupported;
    }

    float values[parameterCount];
    snapshot(values);
    if (engineResetPending.exchange(false, std::memory_order_acq_rel)) {
        engine.reset(values);
    }
    engine.frame.setTargets(values);

    // Every buffer: one channel, a sample pointer, room for the frames.
    const float* in[2] = {nullptr, nullptr};
    float* out[2] = {nullptr, nullptr};
    const UInt32 bytes = frames * static_cast<UInt32>(sizeof(float));
    for (UInt32 c = 0; c < channels; ++c) {
        const AudioBuffer& source = input.mBuffers[c];
        const AudioBuffer& destination = output.mBuffers[c];
        if (source.mData == nullptr || destination.mData == nullptr ||
            source.mNumberChannels != 1 || destination.mNumberChannels != 1 ||
            source.mDataByteSize < bytes || destination.mDataByteSize < bytes) {
            return kAudioUnitErr_InvalidPropertyValue;
        }
        in[c] = static_cast<const float*>(source.mData);
        out[c] = static_cast<float*>(destination.mData);
    }

    ausdk::AUElement* globals = Globals();
    automation.render(
        frames, values, &Processor::normalize,
        [&](unsigned id) { globals->SetParameterOrError(id, values[id]); },
        [&](unsigned begin, unsigned end) {
            engine.frame.setTargets(values);
            renderSegment(engine, in, out, begin, end, channels);
        });

    publishMeters();
    flags &= ~static_cast<AudioUnitRenderActionFlags>(kAudioUnitRenderAction_OutputIsSilence);
    return noErr;
}

void Processor::publishMeters() noexcept {
    const auto& f = engine.frame;
    TelemetryBlock block;
    for (unsigned c = 0; c < 2; ++c) {
        block.input[c] = decibels(std::sqrt(std::max(f.inputMeanSquare[c], 0.0)));
        block.output[c] = decibels(std::sqrt(std::max(f.outputMeanSquare[c], 0.0)));
        block.gr[c] = static_cast<float>(f.gainReduction[c]);
        block.peak[c] = decibels(std::fabs(f.outputPeak[c]));
    }
    telemetry.store(block);
}

Float64 Processor::GetLatency() {
    const Float64 rate = GetSampleRate();
    // Before a rate is known there is no meaningful latency; never report infinity.
    if (!std::isfinite(rate) || rate <= 0) {
        return 0;
    }
    return latencyFrames / rate;
}

UInt32 Processor::SupportedNumChannels(const AUChannelInfo** info) {
    static const AUChannelInfo configurations[] = {{1, 1}, {2, 2}};
    if (info != nullptr) {
        *info = configurations;
    }
    return 2;
}
