#pragma once
// The Audio Unit effect class of a model bundle: the object the host opens, initialises,
// renders, automates, queries and saves. Written once; each bundle compiles it with its
// model's data (model.h: parameter count, table, codes, IDs) and its model's engine.
//
// Threads: the render thread runs ProcessBufferLists (automation consumer and engine);
// SetParameter and ScheduleParameter may come from any thread and touch only the lock-free
// automation producers and the element's atomic stores; everything else is the main thread's.
// Control calls never touch the engine: they raise `engineResetPending` (and Reset and a
// restore bump the automation generation); the render thread does the reset. No mutex.
//
// The rack variant derives from this class (its own name, the model's meter property code and
// view factory come from classic::model); every override stays virtual for it.

#include "automation/automation.h"
#include "engine.h"
#include "model.h"
#include "processor/telemetry.h"

#include <AudioUnitSDK/AUEffectBase.h>

#include <atomic>

class Processor : public ausdk::AUEffectBase {
public:
    static constexpr unsigned parameterCount = classic::parameterCount;
    static constexpr Float64 latencyFrames = 16; // the two 65-tap filters: 64 substeps
    static constexpr Float64 tailSeconds = 0.2;
    static constexpr Float64 minimumSampleRate = 8000;
    static constexpr Float64 maximumSampleRate = 192000;

    // [main thread] Defaults from the table, preset 0 current, meters at the floor.
    explicit Processor(AudioComponentInstance instance);
    ~Processor() override;

    // [any thread] The normalise rule of the model's table; id < N.
    static float normalize(unsigned id, float value) noexcept;

    // [main thread]
    OSStatus Initialize() override;
    // [main thread] Any scope and element.
    OSStatus Reset(AudioUnitScope scope, AudioUnitElement element) override;
    // [main thread]
    OSStatus GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                             UInt32& size, bool& writable) override;
    // [main thread]
    OSStatus GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                         void* data) override;
    // [main thread]
    OSStatus SetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                         const void* data, UInt32 size) override;
    // [any thread]
    OSStatus SetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                          AudioUnitParameterValue value, UInt32 bufferOffset) override;
    // [any thread]
    OSStatus ScheduleParameter(const AudioUnitParameterEvent* events, UInt32 count) override;
    // [render thread]
    OSStatus ProcessBufferLists(AudioUnitRenderActionFlags& flags, const AudioBufferList& input,
                                AudioBufferList& output, UInt32 frames) noexcept override;
    // [main thread]
    OSStatus GetParameterInfo(AudioUnitScope scope, AudioUnitParameterID id,
                              AudioUnitParameterInfo& info) override;
    // [main thread]
    OSStatus RestoreState(CFPropertyListRef state) override;
    // [main thread]
    OSStatus GetParameterValueStrings(AudioUnitScope scope, AudioUnitParameterID id,
                                      CFArrayRef* strings) override;
    // [main thread]
    OSStatus GetPresets(CFArrayRef* presets) const override;
    // [main thread]
    OSStatus NewFactoryPresetSet(const AUPreset& preset) override;
    // [main thread]
    Float64 GetLatency() override;
    Float64 GetTailTime() override { return tailSeconds; }
    bool SupportsTail() override { return true; }
    // [any thread]
    UInt32 SupportedNumChannels(const AUChannelInfo** info) override;
    // [main thread] Records the flag and stores 1 or 0 into the Bypass parameter.
    void SetBypassEffect(bool bypass) override;
    // [render thread] Never: bypass is the engine's latency-aligned crossfade.
    bool ShouldBypassEffect() override { return false; }

    // [any thread] What the meter property reads.
    TelemetryBlock meters() const noexcept { return telemetry.load(); }

protected:
    // [main thread] The Bypass parameter as the host's bypass property sees it.
    bool bypassParameterOn();
    // [any thread] A present-preset name the state can always carry.
    static CFStringRef copyNameWithinLimit(CFStringRef name);
    // [render thread] The current values of the global element.
    void snapshot(float* values) noexcept;
    // [render thread] Publishes the engine's meter states.
    void publishMeters() noexcept;

    classic::Engine engine;
    kelvostrip::Automation<parameterCount> automation;
    std::atomic<bool> engineResetPending{false};
    Telemetry telemetry;
};
