#pragma once
// Scopes and elements: where a unit's parameters, stream formats, buffers and input
// connection live.
//
// Promises:
// - An element's parameters are 32-bit floats in a fixed array of atomics sized when the element
//   is made (the global element: AUBase::kGlobalParameterCapacity IDs, 0 to 255; input and
//   output elements hold none). Getting and setting is lock-free, allocation-free and safe from
//   any thread; setting an ID that is not yet defined defines it. IDs at or above the capacity
//   are refused with kAudioUnitErr_InvalidParameter. The parameter list is ascending by ID.
// - An input or output element has a stream format (default: 44100 Hz, 32-bit float,
//   non-interleaved, 2 channels) and, once the unit is initialised, its own buffers of
//   MaximumFramesPerSlice frames per channel, allocated on the main thread.
// - An input element holds the render callback through which the unit pulls its input.

#include <AudioUnitSDK/AUUtility.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <vector>

namespace ausdk {

class AUBase;

class AUElement {
public:
    // [main thread]
    AUElement(AUBase& audioUnit, UInt32 parameterCapacity);
    virtual ~AUElement();
    AUElement(const AUElement&) = delete;
    AUElement& operator=(const AUElement&) = delete;

    AUBase& GetAudioUnit() const noexcept { return mAudioUnit; }

    // [any thread]
    UInt32 GetParameterCapacity() const noexcept { return mCapacity; }
    // [any thread]
    UInt32 GetNumberOfParameters() const noexcept;
    // [any thread]
    bool HasParameterID(AudioUnitParameterID inParameterID) const noexcept;
    // [main thread] Writes the defined IDs, ascending; outList has room for
    // GetNumberOfParameters() entries. Returns how many were written.
    UInt32 GetParameterList(AudioUnitParameterID* outList, UInt32 inCapacity) const noexcept;

    // [any thread] Throws AUException(kAudioUnitErr_InvalidParameter) for an undefined ID.
    AudioUnitParameterValue GetParameter(AudioUnitParameterID inParameterID) const;
    // [any thread] Real-time safe.
    OSStatus GetParameterOrError(AudioUnitParameterID inParameterID,
                                 AudioUnitParameterValue& outValue) const noexcept;
    // [any thread] Real-time safe.
    Expected<AudioUnitParameterValue>
    GetParameterOrError(AudioUnitParameterID inParameterID) const noexcept;

    // [any thread] Throws AUException on failure. okWhenInitialized is accepted for the
    // platform's signature; storing is always allowed.
    void SetParameter(AudioUnitParameterID inParameterID, AudioUnitParameterValue inValue,
                      bool okWhenInitialized = false);
    // [any thread] Real-time safe: noErr or kAudioUnitErr_InvalidParameter.
    OSStatus SetParameterOrError(AudioUnitParameterID inParameterID,
                                 AudioUnitParameterValue inValue) noexcept;

private:
    AUBase& mAudioUnit;
    UInt32 mCapacity;
    std::unique_ptr<std::atomic<AudioUnitParameterValue>[]> mValues;
    std::unique_ptr<std::atomic<bool>[]> mDefined;
    std::atomic<UInt32> mCount{0};
};

// An input or output bus: a stream format and its own buffers.
class AUIOElement : public AUElement {
public:
    static constexpr UInt32 kMaxChannels = 2;

    // [main thread]
    explicit AUIOElement(AUBase& audioUnit);

    // [any thread] Read on the render thread; changed only while the unit is uninitialised.
    const AudioStreamBasicDescription& GetStreamFormat() const noexcept { return mStreamFormat; }
    // [main thread] The caller (AUBase) has validated the format.
    void SetStreamFormat(const AudioStreamBasicDescription& inFormat) noexcept;
    // [any thread]
    UInt32 NumberChannels() const noexcept { return mStreamFormat.mChannelsPerFrame; }

    // [main thread] Sizes the element's own buffers: channels x maxFrames floats, zeroed.
    void AllocateBuffer(UInt32 inMaxFrames);
    // [main thread]
    void DeallocateBuffer() noexcept;
    // [any thread]
    bool HasBuffer() const noexcept { return !mStorage.empty(); }
    // [render thread] The element's own buffer of one channel (NULL before AllocateBuffer).
    Float32* GetChannelData(UInt32 inChannel) noexcept;

    // [render thread] Points the element's buffer list at its own buffers, sized for
    // inFrames (at most the allocated frames), and returns it.
    AudioBufferList& PrepareBuffer(UInt32 inFrames) noexcept;
    // [render thread] The list PrepareBuffer (or, for an output, the render call) set up.
    AudioBufferList& GetBufferList() noexcept { return *mCurrentList; }

protected:
    void SetCurrentList(AudioBufferList& inList) noexcept { mCurrentList = &inList; }

private:
    AudioStreamBasicDescription mStreamFormat;
    std::vector<Float32> mStorage;
    UInt32 mAllocatedFrames = 0;
    // An AudioBufferList with room for kMaxChannels buffers (the list's last member is the
    // first of its buffers).
    alignas(AudioBufferList) std::byte
        mOwnListStorage[sizeof(AudioBufferList) + (kMaxChannels - 1) * sizeof(AudioBuffer)]{};
    AudioBufferList* mOwnList;
    AudioBufferList* mCurrentList;
};

class AUInputElement : public AUIOElement {
public:
    explicit AUInputElement(AUBase& audioUnit) : AUIOElement(audioUnit) {}

    // [main thread] inProc NULL disconnects. Set before rendering, not during.
    void SetInputCallback(AURenderCallback inProc, void* inRefCon) noexcept;
    // [any thread]
    bool IsCallback() const noexcept { return mCallback.inputProc != nullptr; }
    const AURenderCallbackStruct& GetInputCallback() const noexcept { return mCallback; }

    // [render thread] Prepares the own buffers for inFrames and calls the render callback with
    // them (bus = inElement). No callback: kAudioUnitErr_NoConnection. A buffer the callback
    // leaves shorter than inFrames: kAudio_ParamError. Otherwise the callback's status.
    OSStatus PullInput(AudioUnitRenderActionFlags& ioActionFlags, const AudioTimeStamp& inTimeStamp,
                       AudioUnitElement inElement, UInt32 inNumberFrames) noexcept;

    // [render thread] As PullInput, but into ioBuffers (processing in place).
    OSStatus PullInputInto(AudioUnitRenderActionFlags& ioActionFlags,
                           const AudioTimeStamp& inTimeStamp, AudioUnitElement inElement,
                           UInt32 inNumberFrames, AudioBufferList& ioBuffers) noexcept;

private:
    AURenderCallbackStruct mCallback{nullptr, nullptr};
};

class AUOutputElement : public AUIOElement {
public:
    explicit AUOutputElement(AUBase& audioUnit) : AUIOElement(audioUnit) {}

    // [render thread] Makes the caller's list the element's list for this render.
    void SetBufferList(AudioBufferList& ioList) noexcept { SetCurrentList(ioList); }
};

class AUScope {
public:
    // [main thread]
    explicit AUScope(AudioUnitScope inScope) noexcept : mScope(inScope) {}

    AudioUnitScope GetScope() const noexcept { return mScope; }
    // [any thread]
    UInt32 GetNumberOfElements() const noexcept { return static_cast<UInt32>(mElements.size()); }
    // [any thread] NULL when there is no such element.
    AUElement* GetElement(UInt32 inIndex) const noexcept;
    AUIOElement* GetIOElement(UInt32 inIndex) const noexcept;
    // [any thread] Throws AUException(kAudioUnitErr_InvalidElement) when missing.
    AUElement& SafeGetElement(UInt32 inIndex) const;

    // [main thread]
    void AddElement(std::unique_ptr<AUElement> inElement);

private:
    AudioUnitScope mScope;
    std::vector<std::unique_ptr<AUElement>> mElements;
};

} // namespace ausdk
