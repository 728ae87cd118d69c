// AUBase: elements, life cycle, render, listeners, presets and host callbacks. Properties are in
// AUBaseProperties.cpp, the class-info state in AUBaseState.cpp.

#include <AudioUnitSDK/AUBase.h>

#include <algorithm>

namespace ausdk {

AUBase::AUBase(AudioComponentInstance inInstance, UInt32 numInputElements, UInt32 numOutputElements,
               UInt32 numGroupElements)
    : ComponentBase(inInstance), mNumInputElements(numInputElements),
      mNumOutputElements(numOutputElements), mNumGroupElements(numGroupElements) {
    mPresentPresetName = CFSTR("Untitled");
    CFRetain(mPresentPresetName);
}

AUBase::~AUBase() {
    if (mPresentPresetName != nullptr) {
        CFRelease(mPresentPresetName);
    }
}

void AUBase::CreateElements() {
    if (mElementsCreated) {
        return;
    }
    mGlobalScope.AddElement(std::make_unique<AUElement>(*this, kGlobalParameterCapacity));
    for (UInt32 i = 0; i < mNumInputElements; ++i) {
        mInputs.AddElement(std::make_unique<AUInputElement>(*this));
    }
    for (UInt32 i = 0; i < mNumOutputElements; ++i) {
        mOutputs.AddElement(std::make_unique<AUOutputElement>(*this));
    }
    for (UInt32 i = 0; i < mNumGroupElements; ++i) {
        mGroups.AddElement(std::make_unique<AUElement>(*this, 0));
    }
    mElementsCreated = true;
}

// ---- Defaults of the overridable behaviour ----------------------------------------------------

OSStatus AUBase::Initialize() {
    return noErr;
}

void AUBase::Cleanup() {}

OSStatus AUBase::Reset(AudioUnitScope /*inScope*/, AudioUnitElement /*inElement*/) {
    return noErr;
}

OSStatus AUBase::GetParameter(AudioUnitParameterID inID, AudioUnitScope inScope,
                              AudioUnitElement inElement, AudioUnitParameterValue& outValue) {
    if (inScope > kAudioUnitScope_Group) {
        return kAudioUnitErr_InvalidScope;
    }
    AUElement* element = GetElement(inScope, inElement);
    if (element == nullptr) {
        return kAudioUnitErr_InvalidElement;
    }
    return element->GetParameterOrError(inID, outValue);
}

OSStatus AUBase::SetParameter(AudioUnitParameterID inID, AudioUnitScope inScope,
                              AudioUnitElement inElement, AudioUnitParameterValue inValue,
                              UInt32 /*inBufferOffsetInFrames*/) {
    if (inScope > kAudioUnitScope_Group) {
        return kAudioUnitErr_InvalidScope;
    }
    AUElement* element = GetElement(inScope, inElement);
    if (element == nullptr) {
        return kAudioUnitErr_InvalidElement;
    }
    return element->SetParameterOrError(inID, inValue);
}

OSStatus AUBase::ScheduleParameter(const AudioUnitParameterEvent* inParameterEvent,
                                   UInt32 inNumEvents) {
    for (UInt32 i = 0; i < inNumEvents; ++i) {
        const AudioUnitParameterEvent& event = inParameterEvent[i];
        OSStatus status = noErr;
        if (event.eventType == kParameterEvent_Immediate) {
            status = SetParameter(event.parameter, event.scope, event.element,
                                  event.eventValues.immediate.value,
                                  event.eventValues.immediate.bufferOffset);
        } else if (event.eventType == kParameterEvent_Ramped) {
            status = SetParameter(event.parameter, event.scope, event.element,
                                  event.eventValues.ramp.endValue, 0);
        } else {
            status = kAudioUnitErr_InvalidParameterValue;
        }
        if (status != noErr) {
            return status;
        }
    }
    return noErr;
}

OSStatus AUBase::Render(AudioUnitRenderActionFlags& /*ioActionFlags*/,
                        const AudioTimeStamp& /*inTimeStamp*/, UInt32 /*inNumberFrames*/) {
    return kAudio_UnimplementedError;
}

OSStatus AUBase::GetParameterInfo(AudioUnitScope /*inScope*/,
                                  AudioUnitParameterID /*inParameterID*/,
                                  AudioUnitParameterInfo& /*outParameterInfo*/) {
    return kAudioUnitErr_InvalidParameter;
}

OSStatus AUBase::GetParameterValueStrings(AudioUnitScope /*inScope*/,
                                          AudioUnitParameterID /*inParameterID*/,
                                          CFArrayRef* /*outStrings*/) {
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::GetPresets(CFArrayRef* /*outData*/) const {
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::NewFactoryPresetSet(const AUPreset& /*inNewFactoryPreset*/) {
    return kAudioUnitErr_InvalidPropertyValue;
}

UInt32 AUBase::SupportedNumChannels(const AUChannelInfo** outInfo) {
    if (outInfo != nullptr) {
        *outInfo = nullptr;
    }
    return 0;
}

// ---- Life cycle -------------------------------------------------------------------------------

OSStatus AUBase::DoInitialize() {
    if (IsInitialized()) {
        return noErr;
    }
    ReallocateBuffers();
    const OSStatus status = Initialize();
    if (status != noErr) {
        DeallocateBuffers();
        return status;
    }
    mLastRenderError.store(noErr, std::memory_order_relaxed);
    mInitialized.store(true, std::memory_order_release);
    return noErr;
}

void AUBase::DoCleanup() {
    if (!IsInitialized()) {
        return;
    }
    Cleanup();
    mInitialized.store(false, std::memory_order_release);
    DeallocateBuffers();
}

OSStatus AUBase::DoReset(AudioUnitScope inScope, AudioUnitElement inElement) {
    return Reset(inScope, inElement);
}

void AUBase::SetMaxFramesPerSlice(UInt32 inFrames) {
    mMaxFramesPerSlice = inFrames;
    if (IsInitialized()) {
        ReallocateBuffers();
    }
}

void AUBase::ReallocateBuffers() {
    for (AUScope* scope : {&mInputs, &mOutputs}) {
        for (UInt32 i = 0; i < scope->GetNumberOfElements(); ++i) {
            scope->GetIOElement(i)->AllocateBuffer(mMaxFramesPerSlice);
        }
    }
}

void AUBase::DeallocateBuffers() noexcept {
    for (AUScope* scope : {&mInputs, &mOutputs}) {
        for (UInt32 i = 0; i < scope->GetNumberOfElements(); ++i) {
            scope->GetIOElement(i)->DeallocateBuffer();
        }
    }
}

// ---- Render -----------------------------------------------------------------------------------

OSStatus AUBase::DoRender(AudioUnitRenderActionFlags& ioActionFlags,
                          const AudioTimeStamp& inTimeStamp, UInt32 inBusNumber,
                          UInt32 inNumberFrames, AudioBufferList& ioData) noexcept {
    OSStatus status = noErr;
    if (!IsInitialized()) {
        status = kAudioUnitErr_Uninitialized;
    } else if (inNumberFrames > mMaxFramesPerSlice) {
        status = kAudioUnitErr_TooManyFramesToProcess;
    } else if (inBusNumber >= mOutputs.GetNumberOfElements()) {
        status = kAudioUnitErr_InvalidElement;
    } else {
        AUOutputElement& output = *static_cast<AUOutputElement*>(mOutputs.GetElement(inBusNumber));
        const UInt32 bytes = inNumberFrames * static_cast<UInt32>(sizeof(Float32));
        // The caller's buffers where it gave them, the bus's own where it gave NULL. A list
        // with more buffers than the bus has channels keeps its NULLs: the unit refuses it.
        const UInt32 own = std::min(output.NumberChannels(), AUIOElement::kMaxChannels);
        for (UInt32 b = 0; b < ioData.mNumberBuffers && status == noErr; ++b) {
            AudioBuffer& buffer = ioData.mBuffers[b];
            if (buffer.mData == nullptr) {
                if (b < own) {
                    buffer.mData = output.GetChannelData(b);
                    buffer.mDataByteSize = bytes;
                }
            } else if (buffer.mDataByteSize < bytes) {
                status = kAudio_ParamError;
            } else {
                buffer.mDataByteSize = bytes;
            }
        }
        if (status == noErr) {
            output.SetBufferList(ioData);
            try {
                status = Render(ioActionFlags, inTimeStamp, inNumberFrames);
            } catch (const AUException& exception) {
                status = exception.Error();
            } catch (...) {
                status = kUnknownErrorStatus;
            }
        }
    }
    if (status != noErr) {
        mLastRenderError.store(status, std::memory_order_relaxed);
    }
    return status;
}

// ---- Scopes and elements ----------------------------------------------------------------------

AUScope& AUBase::GetScope(AudioUnitScope inScope) {
    switch (inScope) {
    case kAudioUnitScope_Global:
        return mGlobalScope;
    case kAudioUnitScope_Input:
        return mInputs;
    case kAudioUnitScope_Output:
        return mOutputs;
    case kAudioUnitScope_Group:
        return mGroups;
    default:
        Throw(kAudioUnitErr_InvalidScope);
    }
}

AUElement& AUBase::Element(AudioUnitScope inScope, AudioUnitElement inElement) {
    return GetScope(inScope).SafeGetElement(inElement);
}

AUElement* AUBase::GetElement(AudioUnitScope inScope, AudioUnitElement inElement) noexcept {
    switch (inScope) {
    case kAudioUnitScope_Global:
        return mGlobalScope.GetElement(inElement);
    case kAudioUnitScope_Input:
        return mInputs.GetElement(inElement);
    case kAudioUnitScope_Output:
        return mOutputs.GetElement(inElement);
    case kAudioUnitScope_Group:
        return mGroups.GetElement(inElement);
    default:
        return nullptr;
    }
}

AUInputElement& AUBase::Input(UInt32 inElement) {
    return static_cast<AUInputElement&>(mInputs.SafeGetElement(inElement));
}

AUOutputElement& AUBase::Output(UInt32 inElement) {
    return static_cast<AUOutputElement&>(mOutputs.SafeGetElement(inElement));
}

AUIOElement& AUBase::IOElement(AudioUnitScope inScope, AudioUnitElement inElement) {
    ThrowExceptionIf(inScope != kAudioUnitScope_Input && inScope != kAudioUnitScope_Output,
                     kAudioUnitErr_InvalidScope);
    return static_cast<AUIOElement&>(GetScope(inScope).SafeGetElement(inElement));
}

// ---- Listeners, presets, host callbacks -------------------------------------------------------

OSStatus AUBase::AddPropertyListener(AudioUnitPropertyID inID, AudioUnitPropertyListenerProc inProc,
                                     void* inProcRefCon) {
    AUSDK_Require(inProc != nullptr, kAudio_ParamError);
    mPropertyListeners.push_back({inID, inProc, inProcRefCon});
    return noErr;
}

OSStatus AUBase::RemovePropertyListener(AudioUnitPropertyID inID,
                                        AudioUnitPropertyListenerProc inProc, void* inProcRefCon,
                                        bool inUserDataMatters) {
    std::erase_if(mPropertyListeners, [&](const PropertyListener& listener) {
        return listener.propertyID == inID && listener.proc == inProc &&
               (!inUserDataMatters || listener.refCon == inProcRefCon);
    });
    return noErr;
}

void AUBase::PropertyChanged(AudioUnitPropertyID inID, AudioUnitScope inScope,
                             AudioUnitElement inElement) {
    // A copy, so that a listener may add or remove listeners.
    const std::vector<PropertyListener> listeners = mPropertyListeners;
    for (const PropertyListener& listener : listeners) {
        if (listener.propertyID == inID) {
            listener.proc(listener.refCon, GetComponentInstance(), inID, inScope, inElement);
        }
    }
}

void AUBase::SetAFactoryPresetAsCurrent(const AUPreset& inPreset) {
    CFStringRef name = inPreset.presetName != nullptr ? inPreset.presetName : CFSTR("Untitled");
    CFRetain(name);
    if (mPresentPresetName != nullptr) {
        CFRelease(mPresentPresetName);
    }
    mPresentPresetName = name;
    mPresentPresetNumber = inPreset.presetNumber;
}

OSStatus AUBase::CallHostBeatAndTempo(Float64* outCurrentBeat,
                                      Float64* outCurrentTempo) const noexcept {
    if (mHostCallbackInfo.beatAndTempoProc == nullptr) {
        return kAudioUnitErr_CannotDoInCurrentContext;
    }
    return mHostCallbackInfo.beatAndTempoProc(mHostCallbackInfo.hostUserData, outCurrentBeat,
                                              outCurrentTempo);
}

OSStatus AUBase::CallHostTransportState(Boolean* outIsPlaying, Boolean* outTransportStateChanged,
                                        Float64* outCurrentSampleInTimeLine, Boolean* outIsCycling,
                                        Float64* outCycleStartBeat,
                                        Float64* outCycleEndBeat) const noexcept {
    if (mHostCallbackInfo.transportStateProc == nullptr) {
        return kAudioUnitErr_CannotDoInCurrentContext;
    }
    return mHostCallbackInfo.transportStateProc(
        mHostCallbackInfo.hostUserData, outIsPlaying, outTransportStateChanged,
        outCurrentSampleInTimeLine, outIsCycling, outCycleStartBeat, outCycleEndBeat);
}

} // namespace ausdk
