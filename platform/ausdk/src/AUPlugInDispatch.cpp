// The plug-in interface's methods: C functions that reach the AUBase of their instance, each
// with every exception stopped at the boundary.

#include <AudioUnitSDK/AUPlugInDispatch.h>

#include <new>

namespace ausdk {

namespace {

AUPlugInInstance& instanceOf(void* self) {
    return *static_cast<AUPlugInInstance*>(self);
}

AUBase* unitOf(void* self) {
    return self != nullptr ? instanceOf(self).mUnit : nullptr;
}

// Runs a main-thread call, mapping exceptions to statuses.
template <typename Call> OSStatus guarded(void* self, Call&& call) noexcept {
    AUBase* unit = unitOf(self);
    if (unit == nullptr) {
        return badComponentInstance;
    }
    try {
        return call(*unit);
    } catch (const AUException& exception) {
        return exception.Error();
    } catch (const std::bad_alloc&) {
        return kAudio_MemFullError;
    } catch (...) {
        return kUnknownErrorStatus;
    }
}

OSStatus initialize(void* self) {
    return guarded(self, [](AUBase& unit) { return unit.DoInitialize(); });
}

OSStatus uninitialize(void* self) {
    return guarded(self, [](AUBase& unit) {
        unit.DoCleanup();
        return OSStatus{noErr};
    });
}

OSStatus getPropertyInfo(void* self, AudioUnitPropertyID inID, AudioUnitScope inScope,
                         AudioUnitElement inElement, UInt32* outDataSize, Boolean* outWritable) {
    return guarded(self, [&](AUBase& unit) {
        return unit.DispatchGetPropertyInfo(inID, inScope, inElement, outDataSize, outWritable);
    });
}

OSStatus getProperty(void* self, AudioUnitPropertyID inID, AudioUnitScope inScope,
                     AudioUnitElement inElement, void* outData, UInt32* ioDataSize) {
    return guarded(self, [&](AUBase& unit) {
        return unit.DispatchGetProperty(inID, inScope, inElement, outData, ioDataSize);
    });
}

OSStatus setProperty(void* self, AudioUnitPropertyID inID, AudioUnitScope inScope,
                     AudioUnitElement inElement, const void* inData, UInt32 inDataSize) {
    return guarded(self, [&](AUBase& unit) {
        return unit.DispatchSetProperty(inID, inScope, inElement, inData, inDataSize);
    });
}

OSStatus addPropertyListener(void* self, AudioUnitPropertyID inID,
                             AudioUnitPropertyListenerProc inProc, void* inUserData) {
    return guarded(
        self, [&](AUBase& unit) { return unit.AddPropertyListener(inID, inProc, inUserData); });
}

OSStatus removePropertyListener(void* self, AudioUnitPropertyID inID,
                                AudioUnitPropertyListenerProc inProc) {
    return guarded(self, [&](AUBase& unit) {
        return unit.RemovePropertyListener(inID, inProc, nullptr, false);
    });
}

OSStatus removePropertyListenerWithUserData(void* self, AudioUnitPropertyID inID,
                                            AudioUnitPropertyListenerProc inProc,
                                            void* inUserData) {
    return guarded(self, [&](AUBase& unit) {
        return unit.RemovePropertyListener(inID, inProc, inUserData, true);
    });
}

OSStatus reset(void* self, AudioUnitScope inScope, AudioUnitElement inElement) {
    return guarded(self, [&](AUBase& unit) { return unit.DoReset(inScope, inElement); });
}

// Parameters and render may run on the render thread: guarded() only adds a try block, which
// costs nothing unless something throws.
OSStatus getParameter(void* self, AudioUnitParameterID inID, AudioUnitScope inScope,
                      AudioUnitElement inElement, AudioUnitParameterValue* outValue) noexcept {
    if (outValue == nullptr) {
        return kAudio_ParamError;
    }
    return guarded(
        self, [&](AUBase& unit) { return unit.GetParameter(inID, inScope, inElement, *outValue); });
}

OSStatus setParameter(void* self, AudioUnitParameterID inID, AudioUnitScope inScope,
                      AudioUnitElement inElement, AudioUnitParameterValue inValue,
                      UInt32 inBufferOffsetInFrames) noexcept {
    return guarded(self, [&](AUBase& unit) {
        return unit.SetParameter(inID, inScope, inElement, inValue, inBufferOffsetInFrames);
    });
}

OSStatus scheduleParameters(void* self, const AudioUnitParameterEvent* inEvents,
                            UInt32 inNumEvents) noexcept {
    if (inEvents == nullptr && inNumEvents > 0) {
        return kAudio_ParamError;
    }
    return guarded(self,
                   [&](AUBase& unit) { return unit.ScheduleParameter(inEvents, inNumEvents); });
}

OSStatus render(void* self, AudioUnitRenderActionFlags* ioActionFlags,
                const AudioTimeStamp* inTimeStamp, UInt32 inOutputBusNumber, UInt32 inNumberFrames,
                AudioBufferList* ioData) noexcept {
    if (inTimeStamp == nullptr || ioData == nullptr) {
        return kAudio_ParamError;
    }
    AUBase* unit = unitOf(self);
    if (unit == nullptr) {
        return badComponentInstance;
    }
    AudioUnitRenderActionFlags localFlags = 0;
    AudioUnitRenderActionFlags& flags = ioActionFlags != nullptr ? *ioActionFlags : localFlags;
    return unit->DoRender(flags, *inTimeStamp, inOutputBusNumber, inNumberFrames, *ioData);
}

// The method converted first to the selector's own pointer type (the type the caller casts
// back to), then to the generic one.
template <typename Proc> AudioComponentMethod method(Proc proc) {
    return reinterpret_cast<AudioComponentMethod>(proc);
}

} // namespace

OSStatus AUPlugInOpen(void* self, AudioComponentInstance inInstance) {
    if (self == nullptr) {
        return badComponentInstance;
    }
    AUPlugInInstance& instance = instanceOf(self);
    try {
        return instance.mConstruct(instance, inInstance);
    } catch (const AUException& exception) {
        return exception.Error();
    } catch (const std::bad_alloc&) {
        return kAudio_MemFullError;
    } catch (...) {
        return kUnknownErrorStatus;
    }
}

OSStatus AUPlugInClose(void* self) {
    if (self == nullptr) {
        return badComponentInstance;
    }
    auto* instance = static_cast<AUPlugInInstance*>(self);
    OSStatus status = noErr;
    if (instance->mUnit != nullptr) {
        try {
            instance->mUnit->PreDestructor();
        } catch (...) {
            status = kUnknownErrorStatus;
        }
        delete instance->mUnit;
    }
    delete instance;
    return status;
}

AudioComponentMethod AUPlugInLookup(SInt16 selector) {
    switch (selector) {
    case kAudioUnitInitializeSelect:
        return method<AudioUnitInitializeProc>(&initialize);
    case kAudioUnitUninitializeSelect:
        return method<AudioUnitUninitializeProc>(&uninitialize);
    case kAudioUnitGetPropertyInfoSelect:
        return method<AudioUnitGetPropertyInfoProc>(&getPropertyInfo);
    case kAudioUnitGetPropertySelect:
        return method<AudioUnitGetPropertyProc>(&getProperty);
    case kAudioUnitSetPropertySelect:
        return method<AudioUnitSetPropertyProc>(&setProperty);
    case kAudioUnitGetParameterSelect:
        return method<AudioUnitGetParameterProc>(&getParameter);
    case kAudioUnitSetParameterSelect:
        return method<AudioUnitSetParameterProc>(&setParameter);
    case kAudioUnitResetSelect:
        return method<AudioUnitResetProc>(&reset);
    case kAudioUnitAddPropertyListenerSelect:
        return method<AudioUnitAddPropertyListenerProc>(&addPropertyListener);
    case kAudioUnitRemovePropertyListenerSelect:
        return method<AudioUnitRemovePropertyListenerProc>(&removePropertyListener);
    case kAudioUnitRemovePropertyListenerWithUserDataSelect:
        return method<AudioUnitRemovePropertyListenerWithUserDataProc>(
            &removePropertyListenerWithUserData);
    case kAudioUnitRenderSelect:
        return method<AudioUnitRenderProc>(&render);
    case kAudioUnitScheduleParametersSelect:
        return method<AudioUnitScheduleParametersProc>(&scheduleParameters);
    default:
        return nullptr;
    }
}

} // namespace ausdk
