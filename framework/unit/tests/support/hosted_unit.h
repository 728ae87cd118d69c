#pragma once
// The Tolvar unit opened from its bundle through the Audio Unit calls, as a host opens it:
// the bundle registered from its Info.plist, an instance made with AudioComponentInstanceNew,
// stream formats, a render callback that hands the unit the test's input, AudioUnitRender.

#include "processor/telemetry.h"

#include <AudioToolbox/AudioToolbox.h>

#include <vector>

namespace unittest {

using Channels = std::vector<std::vector<float>>;

// A buffer list with room for two buffers, as hosts declare them.
struct BufferList {
    UInt32 mNumberBuffers;
    AudioBuffer mBuffers[2];
    AudioBufferList& list() { return *reinterpret_cast<AudioBufferList*>(this); }
};

// [main thread] The registered Tolvar component (the bundle is registered on first use).
AudioComponent tolvarComponent();

class HostedUnit {
public:
    // Formats set for rate and channels; initialised unless told otherwise.
    explicit HostedUnit(double rate = 48000, UInt32 channels = 2, bool initialise = true);
    ~HostedUnit();
    HostedUnit(const HostedUnit&) = delete;
    HostedUnit& operator=(const HostedUnit&) = delete;

    AudioUnit unit() const { return instance; }
    UInt32 channelCount() const { return channels; }

    OSStatus setFormat(double rate, UInt32 channelCount);
    OSStatus initialize() { return AudioUnitInitialize(instance); }

    // Renders input (one vector per channel, all the same length) in one call.
    OSStatus render(const Channels& input, Channels& output);
    // Renders frames with the given output list as the host's (for hostile lists).
    OSStatus renderInto(UInt32 frames, AudioBufferList& output);
    // Renders input in calls of block frames, returning the concatenated output.
    Channels renderBlocks(const Channels& input, UInt32 block);

    float parameter(AudioUnitParameterID id) const;
    OSStatus setParameter(AudioUnitParameterID id, float value, UInt32 offset = 0);
    OSStatus schedule(const std::vector<AudioUnitParameterEvent>& events);
    TelemetryBlock meters() const;
    OSStatus setUInt32(AudioUnitPropertyID id, UInt32 value);
    UInt32 getUInt32(AudioUnitPropertyID id) const;

    // What the input callback hands the unit next; it may spoil the list on purpose.
    enum class InputFault { none, nullData, twoChannelBuffer };
    InputFault inputFault = InputFault::none;

private:
    static OSStatus supplyInput(void* self, AudioUnitRenderActionFlags* flags,
                                const AudioTimeStamp* time, UInt32 bus, UInt32 frames,
                                AudioBufferList* data);

    AudioUnit instance = nullptr;
    UInt32 channels = 2;
    const Channels* pendingInput = nullptr;
    UInt32 inputStart = 0;
    Float64 sampleTime = 0;
};

// Channels of the given length, every sample from f(channel, frame).
template <class F> Channels signal(UInt32 channels, UInt32 frames, F f) {
    Channels out(channels, std::vector<float>(frames));
    for (UInt32 c = 0; c < channels; ++c) {
        for (UInt32 i = 0; i < frames; ++i) {
            out[c][i] = static_cast<float>(f(c, i));
        }
    }
    return out;
}

} // namespace unittest
