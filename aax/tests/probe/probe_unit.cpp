#include "probe_unit.h"

#include <AudioUnitSDK/AUPlugInDispatch.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

probe::Configuration configuration;
probe::Report report;

struct Row {
    const char* name; // null: the fixed-field name of `time`
    AudioUnitParameterUnit unit;
    float minimum;
    float maximum;
    float defaultValue;
    AudioUnitParameterOptions extraFlags;
    bool writable;
};

constexpr AudioUnitParameterOptions logarithmic = kAudioUnitParameterFlag_DisplayLogarithmic;

constexpr Row rows[probe::parameterCount] = {
    {"Bypass", kAudioUnitParameterUnit_Boolean, 0, 1, 0, 0, true},
    {"Mode", kAudioUnitParameterUnit_Indexed, 0, 3, 0, 0, true},
    {"Level", kAudioUnitParameterUnit_Percent, 0, 100, 50, 0, true},
    {"Gain", kAudioUnitParameterUnit_Decibels, -24, 24, -3.5f, 0, true},
    {"Frequency", kAudioUnitParameterUnit_Hertz, 20, 20000, 1000, logarithmic, true},
    {"Width", kAudioUnitParameterUnit_Generic, 0, 10, 2, logarithmic, true},
    {"Choice", kAudioUnitParameterUnit_Indexed, 1, 4, 1, 0, true},
    {nullptr, kAudioUnitParameterUnit_Milliseconds, 1, 500, 20, 0, true},
    {"Meter", kAudioUnitParameterUnit_Generic, -100, 0, -100, 0, false},
};

constexpr const char* modeNames[] = {"Clean", "Warm", "Hot", "Fried"};
constexpr const char* choiceNames[] = {"One", "Two", "Three", "Four"};

// The wide probe: 257 writable parameters (IDs 0..256) and a read-only one (257), beyond the
// base element's capacity, so it lists and describes them itself.
constexpr UInt32 wideCount = 258;

constexpr AUChannelInfo exactPairs[] = {{1, 1}, {2, 2}};
constexpr AUChannelInfo wildcardPairs[] = {{-1, -1}};

CFArrayRef makeStrings(const char* const* names, std::size_t count) {
    CFStringRef items[8];
    for (std::size_t i = 0; i < count; ++i) {
        items[i] = CFStringCreateWithCString(nullptr, names[i], kCFStringEncodingUTF8);
    }
    CFArrayRef array = CFArrayCreate(nullptr, reinterpret_cast<const void**>(items),
                                     static_cast<CFIndex>(count), &kCFTypeArrayCallBacks);
    for (std::size_t i = 0; i < count; ++i) {
        CFRelease(items[i]);
    }
    return array;
}

} // namespace

ProbeUnit::ProbeUnit(AudioComponentInstance instance)
    : AUEffectBase(instance, false), configuration_(configuration) {
    CreateElements();
    for (UInt32 id = 0; id < probe::parameterCount; ++id) {
        Globals()->SetParameter(id, rows[id].defaultValue);
    }
    report = probe::Report{};
}

OSStatus ProbeUnit::Initialize() {
    const OSStatus status = AUEffectBase::Initialize();
    if (status == noErr) {
        own_.assign(2 * static_cast<std::size_t>(GetMaxFramesPerSlice()), 0.0f);
    }
    return status;
}

const probe::Configuration& probeConfiguration() {
    return configuration;
}

OSStatus ProbeUnit::cocoaViewInfo(UInt32& size) {
    if (!configuration_.cocoaView) {
        return kAudioUnitErr_InvalidProperty;
    }
    // The host's query announces every name; the read, which asks again, writes fewer.
    const bool announcing = viewQueries_++ % 2 == 0;
    const UInt32 names = announcing
                             ? configuration_.viewNames
                             : std::min(configuration_.viewNames, configuration_.viewNamesWritten);
    size = static_cast<UInt32>(sizeof(CFURLRef) + names * sizeof(CFStringRef));
    return noErr;
}

OSStatus ProbeUnit::cocoaView(void* data) {
    CFURLRef location = nullptr;
    if (!configuration_.nullViewURL) {
        const CFStringRef identifier =
            CFStringCreateWithCString(nullptr, "com.kelvo.tests.KelvoProbe", kCFStringEncodingUTF8);
        const CFBundleRef bundle = CFBundleGetBundleWithIdentifier(identifier);
        CFRelease(identifier);
        location = bundle != nullptr ? CFBundleCopyBundleURL(bundle) : nullptr;
    }
    auto* bytes = static_cast<uint8_t*>(data);
    std::memcpy(bytes, &location, sizeof location);
    const UInt32 names = std::min(configuration_.viewNames, configuration_.viewNamesWritten);
    for (UInt32 i = 0; i < names; ++i) {
        const CFStringRef name = CFStringCreateWithCString(
            nullptr, i == 0 ? configuration_.viewClass : "KelvoProbeViewFactory",
            kCFStringEncodingUTF8);
        std::memcpy(bytes + sizeof location + i * sizeof name, &name, sizeof name);
    }
    return noErr;
}

OSStatus ProbeUnit::GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope,
                                    AudioUnitElement element, UInt32& size, bool& writable) {
    if (id == kAudioUnitProperty_CocoaUI && scope == kAudioUnitScope_Global) {
        writable = false;
        return cocoaViewInfo(size);
    }
    if (configuration_.wide && id == kAudioUnitProperty_ParameterList &&
        scope == kAudioUnitScope_Global) {
        size = wideCount * sizeof(AudioUnitParameterID);
        writable = false;
        return noErr;
    }
    const OSStatus status = AUEffectBase::GetPropertyInfo(id, scope, element, size, writable);
    if (configuration_.shrinkingList && id == kAudioUnitProperty_ParameterList && !listSized_) {
        listSized_ = true;
        size += 2 * sizeof(AudioUnitParameterID); // two parameters gone before the list is read
    }
    return status;
}

OSStatus ProbeUnit::GetProperty(AudioUnitPropertyID id, AudioUnitScope scope,
                                AudioUnitElement element, void* data) {
    if (id == kAudioUnitProperty_CocoaUI && scope == kAudioUnitScope_Global) {
        return configuration_.cocoaView ? cocoaView(data) : kAudioUnitErr_InvalidProperty;
    }
    if (configuration_.wide && id == kAudioUnitProperty_ParameterList &&
        scope == kAudioUnitScope_Global) {
        auto* ids = static_cast<AudioUnitParameterID*>(data);
        for (UInt32 i = 0; i < wideCount; ++i) {
            ids[i] = i;
        }
        return noErr;
    }
    return AUEffectBase::GetProperty(id, scope, element, data);
}

OSStatus ProbeUnit::GetParameter(AudioUnitParameterID id, AudioUnitScope scope,
                                 AudioUnitElement element, AudioUnitParameterValue& value) {
    if (static_cast<int64_t>(id) == configuration_.unreadableParameter) {
        return kAudioUnitErr_InvalidParameter;
    }
    return AUEffectBase::GetParameter(id, scope, element, value);
}

OSStatus ProbeUnit::SetParameter(AudioUnitParameterID id, AudioUnitScope scope,
                                 AudioUnitElement element, AudioUnitParameterValue value,
                                 UInt32 bufferOffset) {
    ++report.setParameterCalls;
    if (id >= probe::parameterCount || !rows[id].writable || !std::isfinite(value)) {
        return kAudioUnitErr_InvalidParameter;
    }
    const Row& row = rows[id];
    value = std::clamp(value, row.minimum, row.maximum);
    return AUEffectBase::SetParameter(id, scope, element, value, bufferOffset);
}

OSStatus ProbeUnit::GetParameterInfo(AudioUnitScope scope, AudioUnitParameterID id,
                                     AudioUnitParameterInfo& info) {
    if (scope != kAudioUnitScope_Global) {
        return kAudioUnitErr_InvalidParameter;
    }
    constexpr AudioUnitParameterOptions readable = kAudioUnitParameterFlag_IsReadable;
    constexpr AudioUnitParameterOptions writable = kAudioUnitParameterFlag_IsWritable;
    constexpr AudioUnitParameterOptions cfName =
        kAudioUnitParameterFlag_HasCFNameString | kAudioUnitParameterFlag_CFNameRelease;
    if (configuration_.wide) {
        if (id >= wideCount) {
            return kAudioUnitErr_InvalidParameter;
        }
        const std::string name = std::string("P").append(std::to_string(id));
        info.cfNameString = CFStringCreateWithCString(nullptr, name.c_str(), kCFStringEncodingUTF8);
        info.maxValue = 1;
        info.flags = readable | cfName | (id + 1 < wideCount ? writable : 0u);
        return noErr;
    }
    if (id >= probe::parameterCount) {
        return kAudioUnitErr_InvalidParameter;
    }
    const Row& row = rows[id];
    info.unit = row.unit;
    info.minValue = row.minimum;
    info.maxValue = row.maximum;
    info.defaultValue = row.defaultValue;
    info.flags = readable | row.extraFlags | (row.writable ? writable : 0u);
    if (row.name != nullptr) {
        info.cfNameString = CFStringCreateWithCString(nullptr, row.name, kCFStringEncodingUTF8);
        info.flags |= cfName;
    } else {
        std::memcpy(info.name, probe::timeName, sizeof info.name);
    }
    return noErr;
}

OSStatus ProbeUnit::GetParameterValueStrings(AudioUnitScope scope, AudioUnitParameterID id,
                                             CFArrayRef* strings) {
    if (scope != kAudioUnitScope_Global || configuration_.wide ||
        (id != probe::mode && id != probe::choice)) {
        return kAudioUnitErr_InvalidParameter;
    }
    if (strings != nullptr) {
        *strings = id == probe::mode ? makeStrings(modeNames, std::size(modeNames))
                                     : makeStrings(choiceNames, std::size(choiceNames));
    }
    return noErr;
}

UInt32 ProbeUnit::SupportedNumChannels(const AUChannelInfo** info) {
    const bool wildcard = configuration_.wildcardLayouts;
    if (info != nullptr) {
        *info = wildcard ? wildcardPairs : exactPairs;
    }
    return wildcard ? std::size(wildcardPairs) : std::size(exactPairs);
}

void ProbeUnit::observeHost(const AudioTimeStamp& time, UInt32 frames) noexcept {
    ++report.renders;
    report.frames = frames;
    report.sampleTime = time.mSampleTime;
    report.beat = report.tempo = 0.0;
    report.tempoStatus = CallHostBeatAndTempo(&report.beat, &report.tempo);
    Boolean playing = false;
    Boolean changed = false;
    Boolean cycling = false;
    report.position = report.cycleStart = report.cycleEnd = 0.0;
    report.transportStatus = CallHostTransportState(&playing, &changed, &report.position, &cycling,
                                                    &report.cycleStart, &report.cycleEnd);
    report.playing = playing;
    report.changed = changed;
    report.cycling = cycling;
}

OSStatus ProbeUnit::Render(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& time,
                           UInt32 frames) {
    observeHost(time, frames);
    if (!configuration_.pullNullBuffers) {
        return AUEffectBase::Render(flags, time, frames);
    }
    // Input into buffers without data: the host points them somewhere, and the probe then
    // writes where it reads, as a unit processing in place may.
    const UInt32 channels = Input(0).NumberChannels();
    struct {
        UInt32 count;
        AudioBuffer buffers[2];
    } list{channels, {{1, 0, nullptr}, {1, 0, nullptr}}};
    AudioUnitRenderActionFlags pullFlags = 0;
    AudioBufferList* pullList = reinterpret_cast<AudioBufferList*>(&list);
    const OSStatus pulled = Input(0).PullInputInto(pullFlags, time, 0, frames, *pullList);
    if (pulled != noErr) {
        return pulled;
    }
    AudioBufferList& out = Output(0).GetBufferList();
    for (UInt32 c = 0; c < channels && c < 2; ++c) {
        auto* samples = static_cast<float*>(list.buffers[c].mData);
        report.pulled[c] = samples;
        for (UInt32 i = 0; i < frames; ++i) {
            samples[i] += 1.0f;
        }
        if (c < out.mNumberBuffers && out.mBuffers[c].mData != nullptr) {
            std::memcpy(out.mBuffers[c].mData, samples, frames * sizeof(float));
        }
    }
    return noErr;
}

OSStatus ProbeUnit::ProcessBufferLists(AudioUnitRenderActionFlags&, const AudioBufferList& in,
                                       AudioBufferList& out, UInt32 frames) {
    if (configuration_.renderStatus != noErr) {
        return configuration_.renderStatus;
    }
    const UInt32 bytes = frames * static_cast<UInt32>(sizeof(float));
    for (UInt32 c = 0; c < out.mNumberBuffers; ++c) {
        AudioBuffer& buffer = out.mBuffers[c];
        if (configuration_.ownOutputBuffers || configuration_.shortOutputBuffer) {
            buffer.mData = own_.data() + static_cast<std::size_t>(c) * GetMaxFramesPerSlice();
        }
        const void* source = c < in.mNumberBuffers ? in.mBuffers[c].mData : nullptr;
        if (source != nullptr) {
            std::memmove(buffer.mData, source, bytes);
        } else {
            std::memset(buffer.mData, 0, bytes);
        }
        buffer.mDataByteSize = configuration_.shortOutputBuffer ? bytes - 4 : bytes;
    }
    return noErr;
}

extern "C" __attribute__((visibility("default"))) void
KelvoProbeConfigure(const probe::Configuration* next) {
    configuration = next != nullptr ? *next : probe::Configuration{};
}

extern "C" __attribute__((visibility("default"))) const probe::Report* KelvoProbeReport() {
    return &report;
}

AUSDK_COMPONENT_ENTRY_NAMED(ausdk::AUBaseFactory, ProbeUnit, KelvoProbeFactory)
