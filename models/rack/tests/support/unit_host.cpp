#include "support/unit_host.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace unithost {

namespace {

constexpr OSType effect = 0x61756678;       // 'aufx'
constexpr OSType manufacturer = 0x4B766C6F; // 'Kvlo'

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

// A list with room for two buffers.
struct TwoBufferList {
    UInt32 mNumberBuffers;
    AudioBuffer mBuffers[2];
    AudioBufferList& list() { return *reinterpret_cast<AudioBufferList*>(this); }
};

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
    const AudioStreamBasicDescription format = floatFormat(rate, channelCount);
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
            return kAudio_ParamError;
        }
        for (UInt32 i = 0; i < frames; ++i) {
            samples[i] = unit.pending != nullptr && b < unit.pending->size()
                             ? (*unit.pending)[b][unit.inputStart + i]
                             : 0.0f;
        }
        data->mBuffers[b].mDataByteSize = frames * sizeof(float);
    }
    return noErr;
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
        TwoBufferList list{channels, {}};
        for (UInt32 c = 0; c < channels; ++c) {
            list.mBuffers[c] = {1, n * static_cast<UInt32>(sizeof(float)),
                                output[c].data() + start};
        }
        pending = &input;
        inputStart = start;
        AudioTimeStamp time{};
        time.mSampleTime = sampleTime;
        time.mFlags = kAudioTimeStampSampleTimeValid;
        AudioUnitRenderActionFlags flags = 0;
        status = AudioUnitRender(instance, &flags, &time, 0, n, &list.list());
        sampleTime += n;
    }
    pending = nullptr;
}

float Unit::parameter(AudioUnitParameterID id) const {
    AudioUnitParameterValue value = -12345;
    AudioUnitGetParameter(instance, id, kAudioUnitScope_Global, 0, &value);
    return value;
}

OSStatus Unit::setParameter(AudioUnitParameterID id, float value, UInt32 offset) {
    return AudioUnitSetParameter(instance, id, kAudioUnitScope_Global, 0, value, offset);
}

TelemetryBlock Unit::meters(AudioUnitPropertyID property) const {
    TelemetryBlock block{};
    getProperty(property, &block, sizeof block);
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

std::string text(CFStringRef string) {
    if (string == nullptr) {
        return "";
    }
    char buffer[4096];
    return CFStringGetCString(string, buffer, sizeof buffer, kCFStringEncodingUTF8) ? buffer : "";
}

} // namespace unithost
