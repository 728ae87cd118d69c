#include "testing/unit_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>

namespace unithost {

namespace {

constexpr OSType effect = 0x61756678;       // 'aufx'
constexpr OSType manufacturer = 0x4B766C6F; // 'Kvlo'

} // namespace

AudioComponent component(const std::string& bundlePath, OSType subtype) {
    static std::map<std::string, bool> registered;
    if (!registered[bundlePath]) {
        const CFURLRef url = CFURLCreateFromFileSystemRepresentation(
            nullptr, reinterpret_cast<const UInt8*>(bundlePath.c_str()),
            static_cast<CFIndex>(bundlePath.size()), true);
        UInt32 count = 0;
        const OSStatus result = AudioComponentRegisterFromBundle(url, nullptr, &count);
        CFRelease(url);
        if (result != noErr || count != 1) {
            return nullptr;
        }
        registered[bundlePath] = true;
    }
    const AudioComponentDescription description{effect, subtype, manufacturer, 0, 0};
    return AudioComponentFindNext(nullptr, &description);
}

Unit::Unit(AudioComponent component, double rate, UInt32 channelCount, bool initialise) {
    if (component == nullptr || AudioComponentInstanceNew(component, &instance) != noErr) {
        throw std::runtime_error("no instance of the component");
    }
    const AURenderCallbackStruct callback{&Unit::supplyInput, this};
    AudioUnitSetProperty(instance, kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0,
                         &callback, sizeof callback);
    if (setFormat(rate, channelCount) != noErr) {
        throw std::runtime_error("format refused");
    }
    if (initialise && initialize() != noErr) {
        throw std::runtime_error("initialise refused");
    }
}

Unit::~Unit() {
    if (instance != nullptr) {
        AudioUnitUninitialize(instance);
        AudioComponentInstanceDispose(instance);
    }
}

OSStatus Unit::setFormat(double rate, UInt32 channelCount) {
    // 32-bit float, packed, one buffer a channel.
    AudioStreamBasicDescription format{};
    FillOutASBDForLPCM(format, rate, channelCount, 32, 32, true, false, true);
    for (const AudioUnitScope scope : {kAudioUnitScope_Input, kAudioUnitScope_Output}) {
        const OSStatus result = AudioUnitSetProperty(instance, kAudioUnitProperty_StreamFormat,
                                                     scope, 0, &format, sizeof format);
        if (result != noErr) {
            return result;
        }
    }
    channels = channelCount;
    return noErr;
}

OSStatus Unit::supplyInput(void* self, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32,
                           UInt32 frames, AudioBufferList* data) {
    auto& unit = *static_cast<Unit*>(self);
    for (UInt32 b = 0; b < data->mNumberBuffers; ++b) {
        auto* samples = static_cast<float*>(data->mBuffers[b].mData);
        if (samples == nullptr) {
            return kAudio_ParamError; // the unit's input bus always offers its own buffers
        }
        for (UInt32 i = 0; i < frames; ++i) {
            samples[i] = unit.pending != nullptr && b < unit.pending->size()
                             ? (*unit.pending)[b][unit.inputStart + i]
                             : 0.0f;
        }
        data->mBuffers[b].mDataByteSize = frames * sizeof(float);
    }
    if (unit.inputFault == InputFault::nullData) {
        data->mBuffers[0].mData = nullptr;
    } else if (unit.inputFault == InputFault::twoChannelBuffer) {
        data->mBuffers[0].mNumberChannels = 2;
    }
    return noErr;
}

OSStatus Unit::renderInto(UInt32 frames, AudioBufferList& output) {
    AudioTimeStamp time{};
    time.mSampleTime = sampleTime;
    time.mFlags = kAudioTimeStampSampleTimeValid;
    AudioUnitRenderActionFlags flags = 0;
    const OSStatus result = AudioUnitRender(instance, &flags, &time, 0, frames, &output);
    sampleTime += frames;
    return result;
}

Channels Unit::render(const Channels& input, UInt32 block) {
    Channels output(channels, std::vector<float>(input[0].size()));
    renderInto(input, output, block);
    return output;
}

void Unit::renderInto(const Channels& input, Channels& output, UInt32 block) {
    const UInt32 frames = static_cast<UInt32>(input[0].size());
    status = noErr;
    for (UInt32 start = 0; start < frames && status == noErr; start += block) {
        const UInt32 n = std::min(block, frames - start);
        BufferList list{channels, {}};
        for (UInt32 c = 0; c < channels; ++c) {
            list.mBuffers[c] = {1, n * static_cast<UInt32>(sizeof(float)),
                                output[c].data() + start};
        }
        pending = &input;
        inputStart = start;
        status = renderInto(n, list.list());
        EXPECT_EQ(status, noErr) << "block at frame " << start;
    }
    pending = nullptr;
}

OSStatus Unit::renderOnce(const Channels& input, Channels& output) {
    const UInt32 frames = input.empty() ? 0 : static_cast<UInt32>(input[0].size());
    output.assign(channels, std::vector<float>(frames, -7.0f));
    BufferList list{channels, {}};
    // A zero-length render still needs sample pointers to look at.
    static float none[2][1];
    for (UInt32 c = 0; c < channels; ++c) {
        list.mBuffers[c] = {1, frames * static_cast<UInt32>(sizeof(float)),
                            frames > 0 ? output[c].data() : none[c]};
    }
    pending = &input;
    inputStart = 0;
    const OSStatus result = renderInto(frames, list.list());
    pending = nullptr;
    return result;
}

float Unit::parameter(AudioUnitParameterID id) const {
    AudioUnitParameterValue value = -12345;
    EXPECT_EQ(AudioUnitGetParameter(instance, id, kAudioUnitScope_Global, 0, &value), noErr) << id;
    return value;
}

OSStatus Unit::setParameter(AudioUnitParameterID id, float value, UInt32 offset) {
    return AudioUnitSetParameter(instance, id, kAudioUnitScope_Global, 0, value, offset);
}

OSStatus Unit::schedule(const std::vector<AudioUnitParameterEvent>& events) {
    return AudioUnitScheduleParameters(instance, events.data(), static_cast<UInt32>(events.size()));
}

TelemetryBlock Unit::meters(AudioUnitPropertyID property) const {
    TelemetryBlock block{};
    UInt32 size = sizeof block;
    EXPECT_EQ(AudioUnitGetProperty(instance, property, kAudioUnitScope_Global, 0, &block, &size),
              noErr);
    EXPECT_EQ(size, 32u);
    return block;
}

OSStatus Unit::getProperty(AudioUnitPropertyID id, void* data, UInt32 size, AudioUnitScope scope,
                           AudioUnitElement element) const {
    UInt32 bytes = size;
    return AudioUnitGetProperty(instance, id, scope, element, data, &bytes);
}

OSStatus Unit::setProperty(AudioUnitPropertyID id, const void* data, UInt32 size) {
    return AudioUnitSetProperty(instance, id, kAudioUnitScope_Global, 0, data, size);
}

UInt32 Unit::getUInt32(AudioUnitPropertyID id) const {
    UInt32 value = 0xFFFFFFFF;
    EXPECT_EQ(getProperty(id, &value, sizeof value), noErr);
    return value;
}

OSStatus Unit::setUInt32(AudioUnitPropertyID id, UInt32 value) {
    return setProperty(id, &value, sizeof value);
}

std::string text(CFStringRef string) {
    if (string == nullptr) {
        return "";
    }
    char buffer[4096];
    return CFStringGetCString(string, buffer, sizeof buffer, kCFStringEncodingUTF8) ? buffer : "";
}

} // namespace unithost
