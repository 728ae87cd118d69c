#pragma once
// ausdk::AUEffectBase: an effect with one input and one output bus.
//
// Promises:
// - Initialize refuses a channel configuration that SupportedNumChannels does not list
//   (kAudioUnitErr_FormatNotSupported). A listed count of -1 matches any count on its side;
//   -1 on both sides means "input equals output". No list: input must equal output.
// - Render pulls the input through the input bus's render callback into the bus's own buffers
//   (allocated at Initialize), then calls ProcessBufferLists with separate input and output
//   lists (the output is the caller's list, its NULL buffers replaced by the output bus's own).
//   Processing in place (constructor flag) pulls straight into the output buffers and passes
//   the same list twice. With ShouldBypassEffect true the input is copied to the output instead.
// - BypassEffect property (global, UInt32, writable): get reports IsBypassEffect; set with a
//   value that differs from IsBypassEffect calls Reset first when switching off while
//   initialised, then SetBypassEffect, then announces the change. A unit that keeps its bypass
//   state elsewhere overrides SetProperty/GetProperty for kAudioUnitProperty_BypassEffect.
// - CanScheduleParameters is true.

#include <AudioUnitSDK/AUBase.h>

namespace ausdk {

class AUEffectBase : public AUBase {
public:
    // [main thread]
    explicit AUEffectBase(AudioComponentInstance inInstance, bool inProcessesInPlace = true);

    OSStatus Initialize() override;
    void Cleanup() override;
    OSStatus Reset(AudioUnitScope inScope, AudioUnitElement inElement) override;
    OSStatus GetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope,
                             AudioUnitElement inElement, UInt32& outDataSize,
                             bool& outWritable) override;
    OSStatus GetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                         AudioUnitElement inElement, void* outData) override;
    OSStatus SetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                         AudioUnitElement inElement, const void* inData,
                         UInt32 inDataSize) override;
    bool CanScheduleParameters() const override { return true; }

    // [render thread]
    OSStatus Render(AudioUnitRenderActionFlags& ioActionFlags, const AudioTimeStamp& inTimeStamp,
                    UInt32 inNumberFrames) override;

    // [render thread] The unit's processing: inBuffer holds the pulled input, outBuffer the
    // buffers to fill (both one buffer per channel).
    virtual OSStatus ProcessBufferLists(AudioUnitRenderActionFlags& ioActionFlags,
                                        const AudioBufferList& inBuffer, AudioBufferList& outBuffer,
                                        UInt32 inFramesToProcess) = 0;

    // [any thread] The flag SetBypassEffect recorded.
    bool IsBypassEffect() const noexcept { return mBypassEffect.load(std::memory_order_relaxed); }
    // [main thread] Records the flag.
    virtual void SetBypassEffect(bool inFlag) {
        mBypassEffect.store(inFlag, std::memory_order_relaxed);
    }
    // [render thread] Whether Render copies input to output instead of processing.
    virtual bool ShouldBypassEffect() { return IsBypassEffect(); }

    bool ProcessesInPlace() const noexcept { return mProcessesInPlace; }
    // [main thread] While uninitialised.
    void SetProcessesInPlace(bool inProcessesInPlace) noexcept {
        mProcessesInPlace = inProcessesInPlace;
    }

    // [any thread] Of the output bus.
    Float64 GetSampleRate() noexcept { return Output(0).GetStreamFormat().mSampleRate; }
    UInt32 GetNumberOfChannels() noexcept { return Output(0).NumberChannels(); }

private:
    std::atomic<bool> mBypassEffect{false};
    bool mProcessesInPlace;
};

} // namespace ausdk
