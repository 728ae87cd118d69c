#pragma once
// ausdk::AUBase: the Audio Unit base class. It answers the host's calls (dispatched by
// AUPlugInDispatch.h) and hands the unit-specific parts to virtual functions a unit overrides.
//
// Promises:
// - Elements: CreateElements (callable in the subclass constructor) makes the global element
//   (parameters, see AUScopeElement.h) and the input and output buses given to the constructor.
// - Stream formats (input and output scope): 32-bit float, non-interleaved, 1 or 2 channels,
//   finite positive sample rate; any other format is refused with
//   kAudioUnitErr_FormatNotSupported. Changing a format while initialised is refused with the
//   same status (setting the current format again succeeds).
// - MaximumFramesPerSlice: default 4096; changing it while initialised reallocates the buffers
//   (main thread, never during a render). A render of more frames is refused with
//   kAudioUnitErr_TooManyFramesToProcess; a render while uninitialised with
//   kAudioUnitErr_Uninitialized.
// - Initialize allocates every bus's own buffers, then calls the Initialize override; the unit
//   is initialised only when that returns noErr. Nothing is allocated while rendering.
// - Properties served (GetPropertyInfo / GetProperty / SetProperty, overridable as a whole so a
//   unit can take over any of them; a unit's override passes the others on to the base):
//     ClassInfo          get: SaveState (+1, caller releases); set: RestoreState
//     SampleRate         input/output scope, Float64; writable as the stream format is
//     ParameterList      UInt32 IDs of the scope's element 0, ascending
//     ParameterInfo      element = parameter ID; GetParameterInfo with a zeroed record
//     StreamFormat       input/output scope
//     ElementCount       UInt32 per scope
//     Latency, TailTime  Float64 (TailTime only when SupportsTail)
//     SupportedNumChannels  AUChannelInfo[] from SupportedNumChannels (none: InvalidProperty)
//     MaximumFramesPerSlice UInt32
//     ParameterValueStrings element = parameter ID; the info call probes with a NULL pointer
//     LastRenderError    the last failing render status (OSStatus), or noErr
//     SetRenderCallback  input scope, AURenderCallbackStruct
//     FactoryPresets     GetPresets (+1 array, caller releases)
//     HostCallbacks      HostCallbackInfo, stored (shorter records are zero-extended)
//     PresentPreset      get: a copy whose name the caller releases; set with number >= 0:
//                        NewFactoryPresetSet, then PropertyChanged; number < 0: the name (not
//                        NULL) becomes the present preset's
//     BypassEffect       AUEffectBase
//   Anything else: kAudioUnitErr_InvalidProperty. Wrong scope: kAudioUnitErr_InvalidScope;
//   missing element: kAudioUnitErr_InvalidElement; a set with the wrong data size:
//   kAudioUnitErr_InvalidPropertyValue; a get whose room is too small: kAudio_ParamError.
// - Class info (SaveState): "version" 0, "type", "subtype", "manufacturer" (32-bit integer
//   numbers from the component description), "data" (big-endian: scope 0, element 0, count n,
//   then n (ID, Float32) pairs of the global element in ascending ID order), "name" (the
//   present preset's name). RestoreState checks "version" (0) and the codes when present,
//   validates the whole "data" blob before applying any of it, stores every entry, makes
//   "name" ("Untitled" when absent) the present preset with number -1 and announces
//   PresentPreset. A dictionary it cannot apply: kAudioUnitErr_InvalidPropertyValue, nothing
//   changed.
// - SetParameter stores into the element and notifies nobody (AUParameterSet notifies).
// - PropertyChanged calls the property listeners added through AudioUnitAddPropertyListener,
//   synchronously, on the calling thread.
// - Status codes are the platform's (AUComponent.h).

#include <AudioUnitSDK/AUScopeElement.h>
#include <AudioUnitSDK/ComponentBase.h>

#include <atomic>
#include <vector>

namespace ausdk {

class AUBase : public ComponentBase {
public:
    static constexpr UInt32 kDefaultMaxFramesPerSlice = 4096;
    static constexpr UInt32 kMaxFramesPerSliceLimit = 1U << 20; // 1 048 576 frames
    static constexpr UInt32 kGlobalParameterCapacity = 256;     // parameter IDs 0..255

    // [main thread]
    AUBase(AudioComponentInstance inInstance, UInt32 numInputElements, UInt32 numOutputElements,
           UInt32 numGroupElements = 0);
    ~AUBase() override;

    // [main thread] Makes the elements; idempotent. Call it in the subclass constructor before
    // setting parameter defaults.
    void CreateElements();

    // ---- Overridable behaviour -------------------------------------------------------------

    // [main thread] Buffers are allocated before this is called.
    virtual OSStatus Initialize();
    // [main thread] Undoes Initialize.
    virtual void Cleanup();
    // [main thread]
    virtual OSStatus Reset(AudioUnitScope inScope, AudioUnitElement inElement);

    // [main thread] The property interface as a whole; see the list above.
    virtual OSStatus GetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                     AudioUnitElement inElement, UInt32& outDataSize,
                                     bool& outWritable);
    virtual OSStatus GetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                 AudioUnitElement inElement, void* outData);
    virtual OSStatus SetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                 AudioUnitElement inElement, const void* inData, UInt32 inDataSize);

    // [any thread] Real-time safe in the base.
    virtual OSStatus GetParameter(AudioUnitParameterID inID, AudioUnitScope inScope,
                                  AudioUnitElement inElement, AudioUnitParameterValue& outValue);
    // [any thread] Stores into the element (defining the ID if new); the offset is ignored by
    // the base. Real-time safe in the base.
    virtual OSStatus SetParameter(AudioUnitParameterID inID, AudioUnitScope inScope,
                                  AudioUnitElement inElement, AudioUnitParameterValue inValue,
                                  UInt32 inBufferOffsetInFrames);
    // [any thread] Base: each immediate event through SetParameter with its offset, each ramp
    // as its end value at offset 0.
    virtual OSStatus ScheduleParameter(const AudioUnitParameterEvent* inParameterEvent,
                                       UInt32 inNumEvents);
    // [any thread]
    virtual bool CanScheduleParameters() const { return false; }

    // [render thread] Called with the output bus's buffer list set up (Output(0)
    // .GetBufferList()); the base answers kAudio_UnimplementedError.
    virtual OSStatus Render(AudioUnitRenderActionFlags& ioActionFlags,
                            const AudioTimeStamp& inTimeStamp, UInt32 inNumberFrames);

    // [main thread] outParameterInfo arrives zeroed. Base: kAudioUnitErr_InvalidParameter.
    virtual OSStatus GetParameterInfo(AudioUnitScope inScope, AudioUnitParameterID inParameterID,
                                      AudioUnitParameterInfo& outParameterInfo);
    // [main thread] outStrings NULL: only say whether there are strings. Base:
    // kAudioUnitErr_InvalidProperty.
    virtual OSStatus GetParameterValueStrings(AudioUnitScope inScope,
                                              AudioUnitParameterID inParameterID,
                                              CFArrayRef* outStrings);
    // [main thread] *outData: a new dictionary, the caller releases it.
    virtual OSStatus SaveState(CFPropertyListRef* outData);
    // [main thread]
    virtual OSStatus RestoreState(CFPropertyListRef inData);
    // [main thread] outData NULL: only say whether there are presets. Base:
    // kAudioUnitErr_InvalidProperty.
    virtual OSStatus GetPresets(CFArrayRef* outData) const;
    // [main thread] Base: kAudioUnitErr_InvalidPropertyValue.
    virtual OSStatus NewFactoryPresetSet(const AUPreset& inNewFactoryPreset);
    // [main thread] Seconds.
    virtual Float64 GetLatency() { return 0.0; }
    virtual Float64 GetTailTime() { return 0.0; }
    virtual bool SupportsTail() { return false; }
    // [any thread] The channel configurations the unit accepts; 0 means "any, as long as input
    // and output match" for an effect.
    virtual UInt32 SupportedNumChannels(const AUChannelInfo** outInfo);
    // [main thread] The formats this base accepts (see above); a unit may narrow them.
    virtual bool ValidFormat(AudioUnitScope inScope, AudioUnitElement inElement,
                             const AudioStreamBasicDescription& inFormat);
    // [main thread] Base: writable while uninitialised.
    virtual bool StreamFormatWritable(AudioUnitScope inScope, AudioUnitElement inElement);

    // ---- Entry points for the plug-in dispatch ---------------------------------------------

    // [main thread] Already initialised: noErr.
    OSStatus DoInitialize();
    // [main thread]
    void DoCleanup();
    // [main thread]
    OSStatus DoReset(AudioUnitScope inScope, AudioUnitElement inElement);
    // [main thread] The C-level property calls: sizes, NULL pointers, listeners.
    OSStatus DispatchGetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                     AudioUnitElement inElement, UInt32* outDataSize,
                                     Boolean* outWritable);
    OSStatus DispatchGetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                 AudioUnitElement inElement, void* outData, UInt32* ioDataSize);
    OSStatus DispatchSetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                 AudioUnitElement inElement, const void* inData, UInt32 inDataSize);
    // [main thread]
    OSStatus AddPropertyListener(AudioUnitPropertyID inID, AudioUnitPropertyListenerProc inProc,
                                 void* inProcRefCon);
    // [main thread] inUserDataMatters false: every registration of inProc for inID goes.
    OSStatus RemovePropertyListener(AudioUnitPropertyID inID, AudioUnitPropertyListenerProc inProc,
                                    void* inProcRefCon, bool inUserDataMatters);
    // [render thread] Checks, output buffers (the caller's, or the bus's own where mData is
    // NULL), then Render. Allocates nothing, locks nothing.
    OSStatus DoRender(AudioUnitRenderActionFlags& ioActionFlags, const AudioTimeStamp& inTimeStamp,
                      UInt32 inBusNumber, UInt32 inNumberFrames, AudioBufferList& ioData) noexcept;

    // ---- Helpers for units -----------------------------------------------------------------

    // [any thread]
    bool IsInitialized() const noexcept { return mInitialized.load(std::memory_order_acquire); }
    // [any thread]
    UInt32 GetMaxFramesPerSlice() const noexcept { return mMaxFramesPerSlice; }
    // [main thread] Reallocates the buffers when initialised.
    void SetMaxFramesPerSlice(UInt32 inFrames);

    // [any thread] Throws AUException(kAudioUnitErr_InvalidScope) for another scope.
    AUScope& GetScope(AudioUnitScope inScope);
    AUScope& GlobalScope() noexcept { return mGlobalScope; }
    AUScope& Inputs() noexcept { return mInputs; }
    AUScope& Outputs() noexcept { return mOutputs; }
    // [any thread] The global element (after CreateElements).
    AUElement* Globals() noexcept { return mGlobalScope.GetElement(0); }
    // [any thread] Throws AUException (InvalidScope or InvalidElement) when missing.
    AUElement& Element(AudioUnitScope inScope, AudioUnitElement inElement);
    // [any thread] NULL when missing.
    AUElement* GetElement(AudioUnitScope inScope, AudioUnitElement inElement) noexcept;
    // [any thread] Throws AUException(kAudioUnitErr_InvalidElement) when missing.
    AUInputElement& Input(UInt32 inElement);
    AUOutputElement& Output(UInt32 inElement);
    // [any thread] Throws for a scope other than input and output or a missing element.
    AUIOElement& IOElement(AudioUnitScope inScope, AudioUnitElement inElement);

    // [main thread] Tells the property listeners.
    void PropertyChanged(AudioUnitPropertyID inID, AudioUnitScope inScope,
                         AudioUnitElement inElement);

    // [main thread] The present preset; the name is borrowed (valid until the next change).
    AUPreset GetPresentPreset() const noexcept {
        return {mPresentPresetNumber, mPresentPresetName};
    }
    // [main thread] Makes {number, name} the present preset, retaining the name (NULL:
    // "Untitled"). Announces nothing.
    void SetAFactoryPresetAsCurrent(const AUPreset& inPreset);
    // [main thread] Number -1 with the given name (NULL: "Untitled"). Announces nothing.
    void SetPresentPresetName(CFStringRef inName) { SetAFactoryPresetAsCurrent({-1, inName}); }

    // [any thread] The record set through HostCallbacks (all NULL until then). Set by the host
    // before rendering, not during.
    const HostCallbackInfo& GetHostCallbackInfo() const noexcept { return mHostCallbackInfo; }
    // [render thread] kAudioUnitErr_CannotDoInCurrentContext without the callback.
    OSStatus CallHostBeatAndTempo(Float64* outCurrentBeat, Float64* outCurrentTempo) const noexcept;
    OSStatus CallHostTransportState(Boolean* outIsPlaying, Boolean* outTransportStateChanged,
                                    Float64* outCurrentSampleInTimeLine, Boolean* outIsCycling,
                                    Float64* outCycleStartBeat,
                                    Float64* outCycleEndBeat) const noexcept;

    // [any thread] The last failing render status, noErr when none failed.
    OSStatus GetLastRenderError() const noexcept {
        return mLastRenderError.load(std::memory_order_relaxed);
    }

private:
    OSStatus SetStreamFormatProperty(AudioUnitScope inScope, AudioUnitElement inElement,
                                     const AudioStreamBasicDescription& inFormat);
    void ReallocateBuffers();
    void DeallocateBuffers() noexcept;

    struct PropertyListener {
        AudioUnitPropertyID propertyID;
        AudioUnitPropertyListenerProc proc;
        void* refCon;
    };

    UInt32 mNumInputElements;
    UInt32 mNumOutputElements;
    UInt32 mNumGroupElements;
    bool mElementsCreated = false;
    std::atomic<bool> mInitialized{false};
    UInt32 mMaxFramesPerSlice = kDefaultMaxFramesPerSlice;
    AUScope mGlobalScope{kAudioUnitScope_Global};
    AUScope mInputs{kAudioUnitScope_Input};
    AUScope mOutputs{kAudioUnitScope_Output};
    AUScope mGroups{kAudioUnitScope_Group};
    SInt32 mPresentPresetNumber = -1;
    CFStringRef mPresentPresetName = nullptr; // retained
    HostCallbackInfo mHostCallbackInfo{};
    std::vector<PropertyListener> mPropertyListeners;
    std::atomic<OSStatus> mLastRenderError{noErr};
};

} // namespace ausdk
