// The properties the base serves, and the C-level property dispatch (sizes, NULL pointers).

#include <AudioUnitSDK/AUBase.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace ausdk {

namespace {

bool isIOScope(AudioUnitScope scope) {
    return scope == kAudioUnitScope_Input || scope == kAudioUnitScope_Output;
}

bool sameFormat(const AudioStreamBasicDescription& a, const AudioStreamBasicDescription& b) {
    return a.mSampleRate == b.mSampleRate && a.mFormatID == b.mFormatID &&
           a.mFormatFlags == b.mFormatFlags && a.mBytesPerPacket == b.mBytesPerPacket &&
           a.mFramesPerPacket == b.mFramesPerPacket && a.mBytesPerFrame == b.mBytesPerFrame &&
           a.mChannelsPerFrame == b.mChannelsPerFrame && a.mBitsPerChannel == b.mBitsPerChannel;
}

template <typename T> void store(void* outData, const T& value) {
    std::memcpy(outData, &value, sizeof(T));
}

template <typename T> T load(const void* inData) {
    T value;
    std::memcpy(&value, inData, sizeof(T));
    return value;
}

} // namespace

bool AUBase::ValidFormat(AudioUnitScope /*inScope*/, AudioUnitElement /*inElement*/,
                         const AudioStreamBasicDescription& inFormat) {
    // 32-bit float, one channel per buffer, native endian; the packed flag is optional.
    constexpr AudioFormatFlags kRelevant = kAudioFormatFlagIsFloat | kAudioFormatFlagIsBigEndian |
                                           kAudioFormatFlagIsSignedInteger |
                                           kAudioFormatFlagIsNonInterleaved;
    constexpr AudioFormatFlags kRequired =
        kAudioFormatFlagIsFloat | kAudioFormatFlagIsNonInterleaved;
    return std::isfinite(inFormat.mSampleRate) && inFormat.mSampleRate > 0.0 &&
           inFormat.mFormatID == kAudioFormatLinearPCM &&
           (inFormat.mFormatFlags & kRelevant) == kRequired &&
           inFormat.mBytesPerPacket == sizeof(Float32) && inFormat.mFramesPerPacket == 1 &&
           inFormat.mBytesPerFrame == sizeof(Float32) && inFormat.mBitsPerChannel == 32 &&
           (inFormat.mChannelsPerFrame == 1 || inFormat.mChannelsPerFrame == 2);
}

bool AUBase::StreamFormatWritable(AudioUnitScope /*inScope*/, AudioUnitElement /*inElement*/) {
    return !IsInitialized();
}

OSStatus AUBase::SetStreamFormatProperty(AudioUnitScope inScope, AudioUnitElement inElement,
                                         const AudioStreamBasicDescription& inFormat) {
    AUSDK_Require(isIOScope(inScope), kAudioUnitErr_InvalidScope);
    AUIOElement* element = GetScope(inScope).GetIOElement(inElement);
    AUSDK_Require(element != nullptr, kAudioUnitErr_InvalidElement);
    if (sameFormat(element->GetStreamFormat(), inFormat)) {
        return noErr;
    }
    AUSDK_Require(ValidFormat(inScope, inElement, inFormat), kAudioUnitErr_FormatNotSupported);
    AUSDK_Require(StreamFormatWritable(inScope, inElement), kAudioUnitErr_FormatNotSupported);
    element->SetStreamFormat(inFormat);
    PropertyChanged(kAudioUnitProperty_StreamFormat, inScope, inElement);
    return noErr;
}

OSStatus AUBase::GetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                 AudioUnitElement inElement, UInt32& outDataSize,
                                 bool& outWritable) {
    outWritable = false;
    switch (inID) {
    case kAudioUnitProperty_ClassInfo:
        AUSDK_Require(inScope == kAudioUnitScope_Global, kAudioUnitErr_InvalidScope);
        outDataSize = sizeof(CFPropertyListRef);
        outWritable = true;
        return noErr;

    case kAudioUnitProperty_SampleRate:
    case kAudioUnitProperty_StreamFormat:
        AUSDK_Require(isIOScope(inScope), kAudioUnitErr_InvalidScope);
        AUSDK_Require(GetScope(inScope).GetIOElement(inElement) != nullptr,
                      kAudioUnitErr_InvalidElement);
        outDataSize = inID == kAudioUnitProperty_SampleRate
                          ? static_cast<UInt32>(sizeof(Float64))
                          : static_cast<UInt32>(sizeof(AudioStreamBasicDescription));
        outWritable = StreamFormatWritable(inScope, inElement);
        return noErr;

    case kAudioUnitProperty_ParameterList: {
        AUElement* element = GetElement(inScope, 0);
        AUSDK_Require(inScope <= kAudioUnitScope_Group, kAudioUnitErr_InvalidScope);
        outDataSize = element != nullptr ? static_cast<UInt32>(element->GetNumberOfParameters() *
                                                               sizeof(AudioUnitParameterID))
                                         : 0;
        return noErr;
    }

    case kAudioUnitProperty_ParameterInfo:
        outDataSize = sizeof(AudioUnitParameterInfo);
        return noErr;

    case kAudioUnitProperty_ElementCount:
        AUSDK_Require(inScope <= kAudioUnitScope_Group, kAudioUnitErr_InvalidScope);
        outDataSize = sizeof(UInt32);
        return noErr;

    case kAudioUnitProperty_Latency:
        AUSDK_Require(inScope == kAudioUnitScope_Global, kAudioUnitErr_InvalidScope);
        outDataSize = sizeof(Float64);
        return noErr;

    case kAudioUnitProperty_TailTime:
        AUSDK_Require(SupportsTail(), kAudioUnitErr_InvalidProperty);
        AUSDK_Require(inScope == kAudioUnitScope_Global, kAudioUnitErr_InvalidScope);
        outDataSize = sizeof(Float64);
        return noErr;

    case kAudioUnitProperty_SupportedNumChannels: {
        AUSDK_Require(inScope == kAudioUnitScope_Global, kAudioUnitErr_InvalidScope);
        const UInt32 count = SupportedNumChannels(nullptr);
        AUSDK_Require(count > 0, kAudioUnitErr_InvalidProperty);
        outDataSize = count * static_cast<UInt32>(sizeof(AUChannelInfo));
        return noErr;
    }

    case kAudioUnitProperty_MaximumFramesPerSlice:
        AUSDK_Require(inScope == kAudioUnitScope_Global, kAudioUnitErr_InvalidScope);
        outDataSize = sizeof(UInt32);
        outWritable = true;
        return noErr;

    case kAudioUnitProperty_ParameterValueStrings: {
        const OSStatus status = GetParameterValueStrings(inScope, inElement, nullptr);
        AUSDK_Require(status == noErr, status);
        outDataSize = sizeof(CFArrayRef);
        return noErr;
    }

    case kAudioUnitProperty_LastRenderError:
        AUSDK_Require(inScope == kAudioUnitScope_Global, kAudioUnitErr_InvalidScope);
        outDataSize = sizeof(OSStatus);
        return noErr;

    case kAudioUnitProperty_SetRenderCallback:
        AUSDK_Require(inScope == kAudioUnitScope_Input, kAudioUnitErr_InvalidScope);
        AUSDK_Require(inElement < mInputs.GetNumberOfElements(), kAudioUnitErr_InvalidElement);
        outDataSize = sizeof(AURenderCallbackStruct);
        outWritable = true;
        return noErr;

    case kAudioUnitProperty_FactoryPresets:
        AUSDK_Require(inScope == kAudioUnitScope_Global, kAudioUnitErr_InvalidScope);
        AUSDK_Require(GetPresets(nullptr) == noErr, kAudioUnitErr_InvalidProperty);
        outDataSize = sizeof(CFArrayRef);
        return noErr;

    case kAudioUnitProperty_HostCallbacks:
        AUSDK_Require(inScope == kAudioUnitScope_Global, kAudioUnitErr_InvalidScope);
        outDataSize = sizeof(HostCallbackInfo);
        outWritable = true;
        return noErr;

    case kAudioUnitProperty_PresentPreset:
        AUSDK_Require(inScope == kAudioUnitScope_Global, kAudioUnitErr_InvalidScope);
        outDataSize = sizeof(AUPreset);
        outWritable = true;
        return noErr;

    default:
        return kAudioUnitErr_InvalidProperty;
    }
}

OSStatus AUBase::GetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                             AudioUnitElement inElement, void* outData) {
    switch (inID) {
    case kAudioUnitProperty_ClassInfo: {
        CFPropertyListRef state = nullptr;
        const OSStatus status = SaveState(&state);
        AUSDK_Require(status == noErr, status);
        store(outData, state);
        return noErr;
    }

    case kAudioUnitProperty_SampleRate:
        store(outData, IOElement(inScope, inElement).GetStreamFormat().mSampleRate);
        return noErr;

    case kAudioUnitProperty_StreamFormat:
        store(outData, IOElement(inScope, inElement).GetStreamFormat());
        return noErr;

    case kAudioUnitProperty_ParameterList: {
        AUElement* element = GetElement(inScope, 0);
        if (element != nullptr) {
            // The dispatch sized outData from GetNumberOfParameters moments ago, on this thread;
            // parameters are only defined on the main thread, so the count still holds.
            std::vector<AudioUnitParameterID> ids(element->GetNumberOfParameters());
            const UInt32 written =
                element->GetParameterList(ids.data(), static_cast<UInt32>(ids.size()));
            std::memcpy(outData, ids.data(), written * sizeof(AudioUnitParameterID));
        }
        return noErr;
    }

    case kAudioUnitProperty_ParameterInfo: {
        AudioUnitParameterInfo info{};
        const OSStatus status = GetParameterInfo(inScope, inElement, info);
        AUSDK_Require(status == noErr, status);
        store(outData, info);
        return noErr;
    }

    case kAudioUnitProperty_ElementCount:
        store(outData, GetScope(inScope).GetNumberOfElements());
        return noErr;

    case kAudioUnitProperty_Latency:
        store(outData, GetLatency());
        return noErr;

    case kAudioUnitProperty_TailTime:
        store(outData, GetTailTime());
        return noErr;

    case kAudioUnitProperty_SupportedNumChannels: {
        const AUChannelInfo* infos = nullptr;
        const UInt32 count = SupportedNumChannels(&infos);
        AUSDK_Require(count > 0 && infos != nullptr, kAudioUnitErr_InvalidProperty);
        std::memcpy(outData, infos, count * sizeof(AUChannelInfo));
        return noErr;
    }

    case kAudioUnitProperty_MaximumFramesPerSlice:
        store(outData, mMaxFramesPerSlice);
        return noErr;

    case kAudioUnitProperty_ParameterValueStrings: {
        CFArrayRef strings = nullptr;
        const OSStatus status = GetParameterValueStrings(inScope, inElement, &strings);
        AUSDK_Require(status == noErr, status);
        AUSDK_Require(strings != nullptr, kAudioUnitErr_InvalidProperty);
        store(outData, strings);
        return noErr;
    }

    case kAudioUnitProperty_LastRenderError:
        store(outData, GetLastRenderError());
        return noErr;

    case kAudioUnitProperty_SetRenderCallback:
        store(outData, Input(inElement).GetInputCallback());
        return noErr;

    case kAudioUnitProperty_FactoryPresets: {
        CFArrayRef presets = nullptr;
        const OSStatus status = GetPresets(&presets);
        AUSDK_Require(status == noErr, status);
        AUSDK_Require(presets != nullptr, kAudioUnitErr_InvalidProperty);
        store(outData, presets);
        return noErr;
    }

    case kAudioUnitProperty_HostCallbacks:
        store(outData, mHostCallbackInfo);
        return noErr;

    case kAudioUnitProperty_PresentPreset: {
        AUPreset preset = GetPresentPreset();
        CFRetain(preset.presetName); // the caller's copy
        store(outData, preset);
        return noErr;
    }

    default:
        return kAudioUnitErr_InvalidProperty;
    }
}

OSStatus AUBase::SetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                             AudioUnitElement inElement, const void* inData, UInt32 inDataSize) {
    switch (inID) {
    case kAudioUnitProperty_ClassInfo: {
        AUSDK_Require(inScope == kAudioUnitScope_Global, kAudioUnitErr_InvalidScope);
        AUSDK_Require(inDataSize == sizeof(CFPropertyListRef), kAudioUnitErr_InvalidPropertyValue);
        const auto state = load<CFPropertyListRef>(inData);
        AUSDK_Require(state != nullptr, kAudioUnitErr_InvalidPropertyValue);
        return RestoreState(state);
    }

    case kAudioUnitProperty_SampleRate: {
        AUSDK_Require(inDataSize == sizeof(Float64), kAudioUnitErr_InvalidPropertyValue);
        AudioStreamBasicDescription format = IOElement(inScope, inElement).GetStreamFormat();
        format.mSampleRate = load<Float64>(inData);
        return SetStreamFormatProperty(inScope, inElement, format);
    }

    case kAudioUnitProperty_StreamFormat:
        AUSDK_Require(inDataSize == sizeof(AudioStreamBasicDescription),
                      kAudioUnitErr_InvalidPropertyValue);
        return SetStreamFormatProperty(inScope, inElement,
                                       load<AudioStreamBasicDescription>(inData));

    case kAudioUnitProperty_MaximumFramesPerSlice: {
        AUSDK_Require(inScope == kAudioUnitScope_Global, kAudioUnitErr_InvalidScope);
        AUSDK_Require(inDataSize == sizeof(UInt32), kAudioUnitErr_InvalidPropertyValue);
        const auto frames = load<UInt32>(inData);
        AUSDK_Require(frames >= 1 && frames <= kMaxFramesPerSliceLimit,
                      kAudioUnitErr_InvalidPropertyValue);
        if (frames != mMaxFramesPerSlice) {
            SetMaxFramesPerSlice(frames);
            PropertyChanged(kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0);
        }
        return noErr;
    }

    case kAudioUnitProperty_SetRenderCallback: {
        AUSDK_Require(inScope == kAudioUnitScope_Input, kAudioUnitErr_InvalidScope);
        AUSDK_Require(inElement < mInputs.GetNumberOfElements(), kAudioUnitErr_InvalidElement);
        AUSDK_Require(inDataSize == sizeof(AURenderCallbackStruct),
                      kAudioUnitErr_InvalidPropertyValue);
        const auto callback = load<AURenderCallbackStruct>(inData);
        Input(inElement).SetInputCallback(callback.inputProc, callback.inputProcRefCon);
        PropertyChanged(kAudioUnitProperty_SetRenderCallback, inScope, inElement);
        return noErr;
    }

    case kAudioUnitProperty_HostCallbacks: {
        AUSDK_Require(inScope == kAudioUnitScope_Global, kAudioUnitErr_InvalidScope);
        AUSDK_Require(inDataSize <= sizeof(HostCallbackInfo), kAudioUnitErr_InvalidPropertyValue);
        // Hosts built for older versions of the record pass fewer callbacks.
        HostCallbackInfo info{};
        std::memcpy(&info, inData, inDataSize);
        mHostCallbackInfo = info;
        PropertyChanged(kAudioUnitProperty_HostCallbacks, inScope, inElement);
        return noErr;
    }

    case kAudioUnitProperty_PresentPreset: {
        AUSDK_Require(inScope == kAudioUnitScope_Global, kAudioUnitErr_InvalidScope);
        AUSDK_Require(inDataSize == sizeof(AUPreset), kAudioUnitErr_InvalidPropertyValue);
        const auto preset = load<AUPreset>(inData);
        if (preset.presetNumber >= 0) {
            const OSStatus status = NewFactoryPresetSet(preset);
            AUSDK_Require(status == noErr, status);
            PropertyChanged(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0);
            return noErr;
        }
        AUSDK_Require(preset.presetName != nullptr, kAudioUnitErr_InvalidPropertyValue);
        SetAFactoryPresetAsCurrent(preset);
        return noErr;
    }

    case kAudioUnitProperty_ParameterList:
    case kAudioUnitProperty_ParameterInfo:
    case kAudioUnitProperty_ElementCount:
    case kAudioUnitProperty_Latency:
    case kAudioUnitProperty_TailTime:
    case kAudioUnitProperty_SupportedNumChannels:
    case kAudioUnitProperty_ParameterValueStrings:
    case kAudioUnitProperty_LastRenderError:
    case kAudioUnitProperty_FactoryPresets:
        return kAudioUnitErr_PropertyNotWritable;

    default:
        return kAudioUnitErr_InvalidProperty;
    }
}

// ---- C-level dispatch -------------------------------------------------------------------------

OSStatus AUBase::DispatchGetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                         AudioUnitElement inElement, UInt32* outDataSize,
                                         Boolean* outWritable) {
    UInt32 size = 0;
    bool writable = false;
    const OSStatus status = GetPropertyInfo(inID, inScope, inElement, size, writable);
    AUSDK_Require(status == noErr, status);
    if (outDataSize != nullptr) {
        *outDataSize = size;
    }
    if (outWritable != nullptr) {
        *outWritable = writable;
    }
    return noErr;
}

OSStatus AUBase::DispatchGetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                     AudioUnitElement inElement, void* outData,
                                     UInt32* ioDataSize) {
    AUSDK_Require(ioDataSize != nullptr, kAudio_ParamError);
    UInt32 size = 0;
    bool writable = false;
    const OSStatus status = GetPropertyInfo(inID, inScope, inElement, size, writable);
    AUSDK_Require(status == noErr, status);
    if (outData == nullptr) {
        *ioDataSize = size;
        return noErr;
    }
    // Too little room would have the unit write past the caller's buffer.
    AUSDK_Require(*ioDataSize >= size, kAudio_ParamError);
    const OSStatus got = GetProperty(inID, inScope, inElement, outData);
    AUSDK_Require(got == noErr, got);
    *ioDataSize = size;
    return noErr;
}

OSStatus AUBase::DispatchSetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                     AudioUnitElement inElement, const void* inData,
                                     UInt32 inDataSize) {
    AUSDK_Require(inData != nullptr || inDataSize == 0, kAudio_ParamError);
    AUSDK_Require(inData != nullptr, kAudioUnitErr_InvalidPropertyValue);
    return SetProperty(inID, inScope, inElement, inData, inDataSize);
}

} // namespace ausdk
