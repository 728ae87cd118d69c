#pragma once
// An in-process unit for testing the base: it records what the base calls and can be told to
// fail. Registered through AudioComponentRegister with the SDK's factory, so every test goes
// through the Audio Unit calls as a host would.

#include <AudioUnitSDK/AUEffectBase.h>

#include <atomic>
#include <stdexcept>

class ProbeUnit final : public ausdk::AUEffectBase {
public:
    // Parameter IDs, defined out of order to show the list comes back ascending.
    enum : AudioUnitParameterID { kLevel = 0, kChoice = 1, kSparse = 5 };

    // Process-wide knobs and counters (tests run one at a time).
    static inline std::atomic<int> constructed{0};
    static inline std::atomic<int> destroyed{0};
    static inline OSStatus failConstruction = noErr; // thrown as AUException when not noErr
    static inline bool throwFromGetProperty = false; // a std::runtime_error

    explicit ProbeUnit(AudioComponentInstance instance);
    ~ProbeUnit() override;

    OSStatus Reset(AudioUnitScope scope, AudioUnitElement element) override;
    OSStatus GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                         void* data) override;
    OSStatus GetParameterInfo(AudioUnitScope scope, AudioUnitParameterID id,
                              AudioUnitParameterInfo& info) override;
    OSStatus GetParameterValueStrings(AudioUnitScope scope, AudioUnitParameterID id,
                                      CFArrayRef* strings) override;
    OSStatus GetPresets(CFArrayRef* presets) const override;
    OSStatus NewFactoryPresetSet(const AUPreset& preset) override;
    Float64 GetLatency() override { return 0.001; }
    Float64 GetTailTime() override { return 0.25; }
    bool SupportsTail() override { return true; }
    UInt32 SupportedNumChannels(const AUChannelInfo** info) override;
    OSStatus ProcessBufferLists(AudioUnitRenderActionFlags& flags, const AudioBufferList& in,
                                AudioBufferList& out, UInt32 frames) override;

    // What the base called.
    int resets = 0;
    int presetsSet = 0;
    UInt32 processed = 0;
    const void* lastInput = nullptr;
    const void* lastOutput = nullptr;

    // The unit behind an instance made from the probe component.
    static ProbeUnit& of(AudioUnit unit);
};

// The probe's component (registered once per process).
AudioComponent probeComponent();
