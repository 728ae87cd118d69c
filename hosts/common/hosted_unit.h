#pragma once
// One instance of a unit, driven as a host drives it: only through the Audio Unit calls. The
// main thread configures, initialises and queries it; one render thread at a time calls
// render(), which hands the unit its input through the render callback.
//
//     HostedUnit unit(*loaded);
//     unit.configure(48000.0, 2, 512);      // stream formats, maximum frames, input callback
//     unit.initialize();                    // AudioUnitInitialize
//     unit.render(inputs, outputs, frames); // [render thread]

#include "component_loader.h"
#include "unit_description.h"

#include "meters/meter_block.h"

#include <AudioToolbox/AudioToolbox.h>

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kelvohost {

// A call that should not fail did; the message names the call and its status.
class UnitError : public std::runtime_error {
public:
    UnitError(const std::string& call, OSStatus status);
    OSStatus status() const { return status_; }

private:
    OSStatus status_;
};

// The units' meter block and its two property codes, as the units define them.
using Meters = TelemetryBlock;
inline constexpr AudioUnitPropertyID meterProperty = classic::frameworkMeterProperty;
inline constexpr AudioUnitPropertyID rackMeterProperty = classic::rackMeterProperty;

// An AudioBufferList with room for a fixed number of buffers.
class BufferList {
public:
    explicit BufferList(unsigned buffers = 2);
    AudioBufferList* get() { return reinterpret_cast<AudioBufferList*>(storage_.data()); }
    AudioBuffer& operator[](unsigned i) { return get()->mBuffers[i]; }
    unsigned capacity() const { return capacity_; }
    // Points the buffers at samples (nullptr entries give mData NULL), frames long each.
    void point(unsigned buffers, float* const* samples, UInt32 frames) noexcept;

private:
    std::vector<std::max_align_t> storage_;
    unsigned capacity_;
};

class HostedUnit {
public:
    // [main thread] A new instance (AudioComponentInstanceNew); throws UnitError.
    explicit HostedUnit(const LoadedComponent& component);
    // [main thread] Uninitialises and disposes of the instance.
    ~HostedUnit();
    HostedUnit(const HostedUnit&) = delete;
    HostedUnit& operator=(const HostedUnit&) = delete;

    AudioUnit handle() const { return unit_; }
    unsigned channels() const { return channels_; }
    double sampleRate() const { return sampleRate_; }
    UInt32 maximumFrames() const { return maximumFrames_; }
    bool initialized() const { return initialized_; }

    // [main thread] Stream formats on input and output, MaximumFramesPerSlice and the input
    // callback. Returns the first failing status (noErr when all succeed). Uninitialised only.
    OSStatus configure(double sampleRate, unsigned channels, UInt32 maximumFrames);
    // [main thread] Different channel counts on the two sides, for configuration checks.
    OSStatus configure(double sampleRate, unsigned inputChannels, unsigned outputChannels,
                       UInt32 maximumFrames);
    // [main thread]
    OSStatus setMaximumFrames(UInt32 frames);
    OSStatus initialize();
    OSStatus uninitialize();

    // [render thread] Renders frames from input (channels() pointers, or nullptr for silence)
    // into output (channels() pointers). frames may not exceed the buffers' length.
    OSStatus render(const float* const* input, float* const* output, UInt32 frames) noexcept;
    // [render thread] The same with a caller-built output list (mData may be NULL).
    OSStatus renderInto(const float* const* input, AudioBufferList* output, UInt32 frames,
                        AudioUnitRenderActionFlags* flags = nullptr) noexcept;

    // [main thread] Queries through the Audio Unit properties; throw UnitError when a property
    // every unit must answer fails.
    std::vector<ParameterDescription> parameters() const;
    std::vector<PresetDescription> factoryPresets() const;
    std::optional<PresetDescription> presentPreset() const;
    std::vector<AUChannelInfo> supportedChannels() const;
    double latencySeconds() const;
    double tailSeconds() const;
    // The meter block through 'KIRM' or 'KCRM', whichever the unit answers.
    std::optional<Meters> meters() const;
    AudioUnitPropertyID meterPropertyID() const { return meterProperty_; }

    // [main thread]
    OSStatus selectPreset(std::int32_t number, const std::string& name);
    // +1 reference in *out on success.
    OSStatus copyClassInfo(CFPropertyListRef* out) const;
    OSStatus restoreClassInfo(CFPropertyListRef state);

    // [any thread]
    OSStatus setParameter(AudioUnitParameterID id, float value, UInt32 offset = 0) noexcept;
    OSStatus getParameter(AudioUnitParameterID id, float& value) const noexcept;

private:
    double float64Property(AudioUnitPropertyID id, const char* name) const;
    static OSStatus supplyInput(void* refCon, AudioUnitRenderActionFlags* flags,
                                const AudioTimeStamp* time, UInt32 bus, UInt32 frames,
                                AudioBufferList* data) noexcept;

    AudioUnit unit_ = nullptr;
    AudioUnitPropertyID meterProperty_ = 0;
    double sampleRate_ = 0.0;
    unsigned channels_ = 0;
    unsigned inputChannels_ = 0;
    UInt32 maximumFrames_ = 0;
    bool initialized_ = false;

    // Render-thread state: the input of the render in progress and the running sample time.
    const float* const* pendingInput_ = nullptr;
    Float64 sampleTime_ = 0.0;
    std::vector<float> silence_; // maximumFrames_ zeros, for input when none is given
    BufferList outputList_{2};
};

} // namespace kelvohost
