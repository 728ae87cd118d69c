#include "hosted_unit.h"

#include "cf_handle.h"

#include <algorithm>
#include <cstring>

namespace kelvohost {
namespace {

ParameterUnit unitKind(AudioUnitParameterUnit unit) {
    switch (unit) {
    case kAudioUnitParameterUnit_Generic:
        return ParameterUnit::generic;
    case kAudioUnitParameterUnit_Indexed:
        return ParameterUnit::indexed;
    case kAudioUnitParameterUnit_Boolean:
        return ParameterUnit::boolean;
    case kAudioUnitParameterUnit_Percent:
        return ParameterUnit::percent;
    case kAudioUnitParameterUnit_Decibels:
        return ParameterUnit::decibels;
    case kAudioUnitParameterUnit_Hertz:
        return ParameterUnit::hertz;
    case kAudioUnitParameterUnit_Milliseconds:
        return ParameterUnit::milliseconds;
    default:
        return ParameterUnit::other;
    }
}

std::vector<std::string> stringsOf(CFArrayRef array) {
    std::vector<std::string> strings;
    const CFIndex count = CFArrayGetCount(array);
    for (CFIndex i = 0; i < count; ++i) {
        const CFTypeRef item = CFArrayGetValueAtIndex(array, i);
        strings.push_back(item != nullptr && CFGetTypeID(item) == CFStringGetTypeID()
                              ? toStdString(static_cast<CFStringRef>(item))
                              : std::string());
    }
    return strings;
}

} // namespace

UnitError::UnitError(const std::string& call, OSStatus status)
    : std::runtime_error(call + " failed (status " + std::to_string(status) + ")"),
      status_(status) {}

BufferList::BufferList(unsigned buffers) : capacity_(std::max(buffers, 1u)) {
    const std::size_t bytes = offsetof(AudioBufferList, mBuffers) + capacity_ * sizeof(AudioBuffer);
    storage_.resize((bytes + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t));
    get()->mNumberBuffers = 0;
}

void BufferList::point(unsigned buffers, float* const* samples, UInt32 frames) noexcept {
    AudioBufferList* list = get();
    list->mNumberBuffers = buffers;
    for (unsigned i = 0; i < buffers && i < capacity_; ++i) {
        list->mBuffers[i].mNumberChannels = 1;
        list->mBuffers[i].mDataByteSize = frames * static_cast<UInt32>(sizeof(float));
        list->mBuffers[i].mData = samples != nullptr ? samples[i] : nullptr;
    }
}

HostedUnit::HostedUnit(const LoadedComponent& component) {
    const OSStatus status = AudioComponentInstanceNew(component.component, &unit_);
    if (status != noErr || unit_ == nullptr) {
        unit_ = nullptr;
        throw UnitError("AudioComponentInstanceNew", status);
    }
    for (const AudioUnitPropertyID id : {meterProperty, rackMeterProperty}) {
        UInt32 size = 0;
        if (AudioUnitGetPropertyInfo(unit_, id, kAudioUnitScope_Global, 0, &size, nullptr) ==
                noErr &&
            size == sizeof(Meters)) {
            meterProperty_ = id;
            break;
        }
    }
}

HostedUnit::~HostedUnit() {
    if (unit_ != nullptr) {
        if (initialized_) {
            AudioUnitUninitialize(unit_);
        }
        AudioComponentInstanceDispose(unit_);
    }
}

OSStatus HostedUnit::configure(double sampleRate, unsigned channels, UInt32 maximumFrames) {
    return configure(sampleRate, channels, channels, maximumFrames);
}

OSStatus HostedUnit::configure(double sampleRate, unsigned inputChannels, unsigned outputChannels,
                               UInt32 maximumFrames) {
    // The units take 32-bit float, packed, one buffer a channel.
    AudioStreamBasicDescription input{};
    FillOutASBDForLPCM(input, sampleRate, inputChannels, 32, 32, true, false, true);
    AudioStreamBasicDescription output{};
    FillOutASBDForLPCM(output, sampleRate, outputChannels, 32, 32, true, false, true);
    OSStatus status = AudioUnitSetProperty(unit_, kAudioUnitProperty_StreamFormat,
                                           kAudioUnitScope_Input, 0, &input, sizeof input);
    if (status == noErr) {
        status = AudioUnitSetProperty(unit_, kAudioUnitProperty_StreamFormat,
                                      kAudioUnitScope_Output, 0, &output, sizeof output);
    }
    if (status == noErr) {
        status = setMaximumFrames(maximumFrames);
    }
    if (status == noErr) {
        AURenderCallbackStruct callback{&HostedUnit::supplyInput, this};
        status = AudioUnitSetProperty(unit_, kAudioUnitProperty_SetRenderCallback,
                                      kAudioUnitScope_Input, 0, &callback, sizeof callback);
    }
    if (status == noErr) {
        sampleRate_ = sampleRate;
        channels_ = outputChannels;
        inputChannels_ = inputChannels;
        if (outputList_.capacity() < std::max(outputChannels, inputChannels)) {
            outputList_ = BufferList(std::max(outputChannels, inputChannels));
        }
    }
    return status;
}

OSStatus HostedUnit::setMaximumFrames(UInt32 frames) {
    const OSStatus status = AudioUnitSetProperty(unit_, kAudioUnitProperty_MaximumFramesPerSlice,
                                                 kAudioUnitScope_Global, 0, &frames, sizeof frames);
    if (status == noErr) {
        maximumFrames_ = frames;
        silence_.assign(frames, 0.0f);
    }
    return status;
}

OSStatus HostedUnit::initialize() {
    const OSStatus status = AudioUnitInitialize(unit_);
    if (status == noErr) {
        initialized_ = true;
        sampleTime_ = 0.0;
    }
    return status;
}

OSStatus HostedUnit::uninitialize() {
    const OSStatus status = AudioUnitUninitialize(unit_);
    initialized_ = false;
    return status;
}

OSStatus HostedUnit::render(const float* const* input, float* const* output,
                            UInt32 frames) noexcept {
    outputList_.point(channels_, output, frames);
    return renderInto(input, outputList_.get(), frames, nullptr);
}

OSStatus HostedUnit::renderInto(const float* const* input, AudioBufferList* output, UInt32 frames,
                                AudioUnitRenderActionFlags* flags) noexcept {
    AudioTimeStamp time{};
    time.mSampleTime = sampleTime_;
    time.mFlags = kAudioTimeStampSampleTimeValid;
    AudioUnitRenderActionFlags ownFlags = 0;
    pendingInput_ = input;
    const OSStatus status =
        AudioUnitRender(unit_, flags != nullptr ? flags : &ownFlags, &time, 0, frames, output);
    pendingInput_ = nullptr;
    if (status == noErr) {
        sampleTime_ += frames;
    }
    return status;
}

OSStatus HostedUnit::supplyInput(void* refCon, AudioUnitRenderActionFlags*, const AudioTimeStamp*,
                                 UInt32, UInt32 frames, AudioBufferList* data) noexcept {
    auto* self = static_cast<HostedUnit*>(refCon);
    if (data == nullptr) {
        return kAudio_ParamError;
    }
    const UInt32 bytes = frames * static_cast<UInt32>(sizeof(float));
    for (UInt32 i = 0; i < data->mNumberBuffers; ++i) {
        AudioBuffer& buffer = data->mBuffers[i];
        const bool haveInput = self->pendingInput_ != nullptr && i < self->inputChannels_ &&
                               self->pendingInput_[i] != nullptr;
        const float* source = haveInput ? self->pendingInput_[i] : self->silence_.data();
        if (!haveInput && frames > self->silence_.size()) {
            return kAudio_ParamError;
        }
        if (buffer.mData == nullptr) {
            // The unit asks for our own samples; it only reads them.
            buffer.mData = const_cast<float*>(source);
            buffer.mDataByteSize = bytes;
        } else {
            std::memcpy(buffer.mData, source, std::min(bytes, buffer.mDataByteSize));
        }
    }
    return noErr;
}

std::vector<ParameterDescription> HostedUnit::parameters() const {
    UInt32 size = 0;
    OSStatus status = AudioUnitGetPropertyInfo(unit_, kAudioUnitProperty_ParameterList,
                                               kAudioUnitScope_Global, 0, &size, nullptr);
    if (status != noErr) {
        throw UnitError("ParameterList", status);
    }
    std::vector<AudioUnitParameterID> ids(size / sizeof(AudioUnitParameterID));
    if (!ids.empty()) {
        status = AudioUnitGetProperty(unit_, kAudioUnitProperty_ParameterList,
                                      kAudioUnitScope_Global, 0, ids.data(), &size);
        if (status != noErr) {
            throw UnitError("ParameterList", status);
        }
        ids.resize(size / sizeof(AudioUnitParameterID));
    }

    std::vector<ParameterDescription> parameters;
    for (const AudioUnitParameterID id : ids) {
        AudioUnitParameterInfo info{};
        UInt32 infoSize = sizeof info;
        status = AudioUnitGetProperty(unit_, kAudioUnitProperty_ParameterInfo,
                                      kAudioUnitScope_Global, id, &info, &infoSize);
        if (status != noErr) {
            throw UnitError("ParameterInfo " + std::to_string(id), status);
        }
        ParameterDescription parameter;
        parameter.id = id;
        if ((info.flags & kAudioUnitParameterFlag_HasCFNameString) != 0 &&
            info.cfNameString != nullptr) {
            parameter.name = toStdString(info.cfNameString);
            if ((info.flags & kAudioUnitParameterFlag_CFNameRelease) != 0) {
                CFRelease(info.cfNameString);
            }
        } else {
            parameter.name.assign(info.name, strnlen(info.name, sizeof info.name));
        }
        if (info.unitName != nullptr && (info.flags & kAudioUnitParameterFlag_CFNameRelease) != 0) {
            CFRelease(info.unitName);
        }
        parameter.minimum = info.minValue;
        parameter.maximum = info.maxValue;
        parameter.defaultValue = info.defaultValue;
        parameter.unitCode = info.unit;
        parameter.unit = unitKind(info.unit);
        parameter.flags = info.flags;
        parameter.canRamp = (info.flags & kAudioUnitParameterFlag_CanRamp) != 0;

        CFArrayRef strings = nullptr;
        UInt32 stringsSize = sizeof strings;
        if (AudioUnitGetProperty(unit_, kAudioUnitProperty_ParameterValueStrings,
                                 kAudioUnitScope_Global, id, &strings, &stringsSize) == noErr &&
            strings != nullptr) {
            parameter.valueStrings = stringsOf(strings);
            CFRelease(strings);
        }
        parameters.push_back(std::move(parameter));
    }
    return parameters;
}

std::vector<PresetDescription> HostedUnit::factoryPresets() const {
    CFArrayRef array = nullptr;
    UInt32 size = sizeof array;
    const OSStatus status = AudioUnitGetProperty(unit_, kAudioUnitProperty_FactoryPresets,
                                                 kAudioUnitScope_Global, 0, &array, &size);
    std::vector<PresetDescription> presets;
    if (status != noErr || array == nullptr) {
        return presets; // a unit without factory presets
    }
    const CFIndex count = CFArrayGetCount(array);
    for (CFIndex i = 0; i < count; ++i) {
        const auto* preset = static_cast<const AUPreset*>(CFArrayGetValueAtIndex(array, i));
        if (preset != nullptr) {
            presets.push_back({preset->presetNumber, toStdString(preset->presetName)});
        }
    }
    CFRelease(array); // the records belong to the unit
    return presets;
}

std::optional<PresetDescription> HostedUnit::presentPreset() const {
    AUPreset preset{};
    UInt32 size = sizeof preset;
    if (AudioUnitGetProperty(unit_, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0,
                             &preset, &size) != noErr) {
        return std::nullopt;
    }
    PresetDescription description{preset.presetNumber, toStdString(preset.presetName)};
    if (preset.presetName != nullptr) {
        CFRelease(preset.presetName);
    }
    return description;
}

std::vector<AUChannelInfo> HostedUnit::supportedChannels() const {
    UInt32 size = 0;
    if (AudioUnitGetPropertyInfo(unit_, kAudioUnitProperty_SupportedNumChannels,
                                 kAudioUnitScope_Global, 0, &size, nullptr) != noErr) {
        return {};
    }
    std::vector<AUChannelInfo> configurations(size / sizeof(AUChannelInfo));
    if (configurations.empty() ||
        AudioUnitGetProperty(unit_, kAudioUnitProperty_SupportedNumChannels, kAudioUnitScope_Global,
                             0, configurations.data(), &size) != noErr) {
        return {};
    }
    configurations.resize(size / sizeof(AUChannelInfo));
    return configurations;
}

double HostedUnit::float64Property(AudioUnitPropertyID id, const char* name) const {
    Float64 value = 0.0;
    UInt32 size = sizeof value;
    const OSStatus status =
        AudioUnitGetProperty(unit_, id, kAudioUnitScope_Global, 0, &value, &size);
    if (status != noErr) {
        throw UnitError(name, status);
    }
    return value;
}

double HostedUnit::latencySeconds() const {
    return float64Property(kAudioUnitProperty_Latency, "Latency");
}

double HostedUnit::tailSeconds() const {
    return float64Property(kAudioUnitProperty_TailTime, "TailTime");
}

std::optional<Meters> HostedUnit::meters() const {
    if (meterProperty_ == 0) {
        return std::nullopt;
    }
    Meters meters{};
    UInt32 size = sizeof meters;
    if (AudioUnitGetProperty(unit_, meterProperty_, kAudioUnitScope_Global, 0, &meters, &size) !=
            noErr ||
        size != sizeof meters) {
        return std::nullopt;
    }
    return meters;
}

OSStatus HostedUnit::selectPreset(std::int32_t number, const std::string& name) {
    const CFHandle<CFStringRef> presetName = makeCFString(name);
    const AUPreset preset{number, presetName.get()};
    return AudioUnitSetProperty(unit_, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0,
                                &preset, sizeof preset);
}

OSStatus HostedUnit::copyClassInfo(CFPropertyListRef* out) const {
    *out = nullptr;
    UInt32 size = sizeof(CFPropertyListRef);
    return AudioUnitGetProperty(unit_, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, out,
                                &size);
}

OSStatus HostedUnit::restoreClassInfo(CFPropertyListRef state) {
    return AudioUnitSetProperty(unit_, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0,
                                &state, sizeof state);
}

OSStatus HostedUnit::setParameter(AudioUnitParameterID id, float value, UInt32 offset) noexcept {
    return AudioUnitSetParameter(unit_, id, kAudioUnitScope_Global, 0, value, offset);
}

OSStatus HostedUnit::getParameter(AudioUnitParameterID id, float& value) const noexcept {
    return AudioUnitGetParameter(unit_, id, kAudioUnitScope_Global, 0, &value);
}

} // namespace kelvohost
