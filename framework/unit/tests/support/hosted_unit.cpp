#include "support/hosted_unit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace unittest {

namespace {

constexpr AudioComponentDescription tolvar{kAudioUnitType_Effect, 0x546F6C76 /* 'Tolv' */,
                                           0x4B766C6F /* 'Kvlo' */, 0, 0};

AudioStreamBasicDescription floatFormat(double rate, UInt32 channels) {
    AudioStreamBasicDescription f{};
    f.mSampleRate = rate;
    f.mFormatID = kAudioFormatLinearPCM;
    f.mFormatFlags = kAudioFormatFlagsNativeFloatPacked | kAudioFormatFlagIsNonInterleaved;
    f.mBytesPerPacket = 4;
    f.mFramesPerPacket = 1;
    f.mBytesPerFrame = 4;
    f.mChannelsPerFrame = channels;
    f.mBitsPerChannel = 32;
    return f;
}

} // namespace

AudioComponent tolvarComponent() {
    static const AudioComponent component = [] {
        const std::string path = KELVO_TOLVAR_BUNDLE;
        const CFURLRef url = CFURLCreateFromFileSystemRepresentation(
            nullptr, reinterpret_cast<const UInt8*>(path.c_str()),
            static_cast<CFIndex>(path.size()), true);
        UInt32 count = 0;
        const OSStatus status = AudioComponentRegisterFromBundle(url, nullptr, &count);
        CFRelease(url);
        if (status != noErr || count != 1) {
            throw std::runtime_error("Tolvar bundle did not register: " + std::to_string(status));
        }
        return AudioComponentFindNext(nullptr, &tolvar);
    }();
    return component;
}

HostedUnit::HostedUnit(double rate, UInt32 channelCount, bool initialise) {
    const AudioComponent component = tolvarComponent();
    if (component == nullptr || AudioComponentInstanceNew(component, &instance) != noErr) {
        throw std::runtime_error("no Tolvar instance");
    }
    const AURenderCallbackStruct callback{&HostedUnit::supplyInput, this};
    AudioUnitSetProperty(instance, kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0,
                         &callback, sizeof callback);
    if (setFormat(rate, channelCount) != noErr) {
        throw std::runtime_error("format refused");
    }
    if (initialise && initialize() != noErr) {
        throw std::runtime_error("initialise refused");
    }
}

HostedUnit::~HostedUnit() {
    if (instance != nullptr) {
        AudioUnitUninitialize(instance);
        AudioComponentInstanceDispose(instance);
    }
}

OSStatus HostedUnit::setFormat(double rate, UInt32 channelCount) {
    const AudioStreamBasicDescription format = floatFormat(rate, channelCount);
    for (const AudioUnitScope scope : {kAudioUnitScope_Input, kAudioUnitScope_Output}) {
        const OSStatus status = AudioUnitSetProperty(instance, kAudioUnitProperty_StreamFormat,
                                                     scope, 0, &format, sizeof format);
        if (status != noErr) {
            return status;
        }
    }
    channels = channelCount;
    return noErr;
}

OSStatus HostedUnit::supplyInput(void* self, AudioUnitRenderActionFlags*, const AudioTimeStamp*,
                                 UInt32, UInt32 frames, AudioBufferList* data) {
    auto& unit = *static_cast<HostedUnit*>(self);
    for (UInt32 b = 0; b < data->mNumberBuffers; ++b) {
        AudioBuffer& buffer = data->mBuffers[b];
        auto* samples = static_cast<float*>(buffer.mData);
        if (samples == nullptr) {
            return kAudio_ParamError; // the unit's input bus always offers its own buffers
        }
        for (UInt32 i = 0; i < frames; ++i) {
            samples[i] = unit.pendingInput != nullptr && b < unit.pendingInput->size()
                             ? (*unit.pendingInput)[b][unit.inputStart + i]
                             : 0.0f;
        }
        buffer.mDataByteSize = frames * sizeof(float);
    }
    if (unit.inputFault == InputFault::nullData) {
        data->mBuffers[0].mData = nullptr;
    } else if (unit.inputFault == InputFault::twoChannelBuffer) {
        data->mBuffers[0].mNumberChannels = 2;
    }
    return noErr;
}

OSStatus HostedUnit::renderInto(UInt32 frames, AudioBufferList& output) {
    AudioTimeStamp time{};
    time.mSampleTime = sampleTime;
    time.mFlags = kAudioTimeStampSampleTimeValid;
    AudioUnitRenderActionFlags flags = 0;
    const OSStatus status = AudioUnitRender(instance, &flags, &time, 0, frames, &output);
    sampleTime += frames;
    return status;
}

OSStatus HostedUnit::render(const Channels& input, Channels& output) {
    const UInt32 frames = input.empty() ? 0 : static_cast<UInt32>(input[0].size());
    output.assign(channels, std::vector<float>(frames, -7.0f));
    BufferList list{channels, {}};
    for (UInt32 c = 0; c < channels; ++c) {
        list.mBuffers[c] = {1, frames * static_cast<UInt32>(sizeof(float)),
                            frames > 0 ? output[c].data() : nullptr};
    }
    pendingInput = &input;
    inputStart = 0;
    if (frames == 0) {
        // A zero-length render still needs sample pointers to look at.
        static float none[2][1];
        for (UInt32 c = 0; c < channels; ++c)
            list.mBuffers[c].mData = none[c];
    }
    const OSStatus status = renderInto(frames, list.list());
    pendingInput = nullptr;
    return status;
}

Channels HostedUnit::renderBlocks(const Channels& input, UInt32 block) {
    const UInt32 frames = static_cast<UInt32>(input[0].size());
    Channels output(channels, std::vector<float>(frames));
    for (UInt32 start = 0; start < frames; start += block) {
        const UInt32 n = std::min(block, frames - start);
        BufferList list{channels, {}};
        for (UInt32 c = 0; c < channels; ++c) {
            list.mBuffers[c] = {1, n * static_cast<UInt32>(sizeof(float)),
                                output[c].data() + start};
        }
        pendingInput = &input;
        inputStart = start;
        EXPECT_EQ(renderInto(n, list.list()), noErr);
    }
    pendingInput = nullptr;
    return output;
}

float HostedUnit::parameter(AudioUnitParameterID id) const {
    AudioUnitParameterValue value = -12345;
    EXPECT_EQ(AudioUnitGetParameter(instance, id, kAudioUnitScope_Global, 0, &value), noErr);
    return value;
}

OSStatus HostedUnit::setParameter(AudioUnitParameterID id, float value, UInt32 offset) {
    return AudioUnitSetParameter(instance, id, kAudioUnitScope_Global, 0, value, offset);
}

OSStatus HostedUnit::schedule(const std::vector<AudioUnitParameterEvent>& events) {
    return AudioUnitScheduleParameters(instance, events.data(), static_cast<UInt32>(events.size()));
}

TelemetryBlock HostedUnit::meters() const {
    TelemetryBlock block{};
    UInt32 size = sizeof block;
    EXPECT_EQ(AudioUnitGetProperty(instance, 0x4B49524D /* 'KIRM' */, kAudioUnitScope_Global, 0,
                                   &block, &size),
              noErr);
    EXPECT_EQ(size, 32u);
    return block;
}

OSStatus HostedUnit::setUInt32(AudioUnitPropertyID id, UInt32 value) {
    return AudioUnitSetProperty(instance, id, kAudioUnitScope_Global, 0, &value, sizeof value);
}

UInt32 HostedUnit::getUInt32(AudioUnitPropertyID id) const {
    UInt32 value = 0xFFFFFFFF;
    UInt32 size = sizeof value;
    EXPECT_EQ(AudioUnitGetProperty(instance, id, kAudioUnitScope_Global, 0, &value, &size), noErr);
    return value;
}

} // namespace unittest
