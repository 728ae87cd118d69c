#pragma once
// A unit opened from its bundle through the Audio Unit calls, as a host opens it: the bundle
// registered from its Info.plist, one instance, float non-interleaved formats, an input
// callback that hands the unit the test's samples, AudioUnitRender in blocks or into a list
// the test shapes itself (hostile ones included). Any model's bundle, any subtype.

#include "processor/telemetry.h"

#include <AudioToolbox/AudioToolbox.h>

#include <string>
#include <vector>

namespace unithost {

using Channels = std::vector<std::vector<float>>;

// A buffer list with room for two buffers, as hosts declare them.
struct BufferList {
    UInt32 mNumberBuffers;
    AudioBuffer mBuffers[2];
    AudioBufferList& list() { return *reinterpret_cast<AudioBufferList*>(this); }
};

// [main thread] The component of the bundle at path with the given subtype, registered on
// first use (type 'aufx', manufacturer 'Kvlo'); null when the bundle does not register.
AudioComponent component(const std::string& bundlePath, OSType subtype);

class Unit {
public:
    // Formats set for rate and channels; initialised unless told otherwise. Throws when the
    // component cannot be instantiated.
    Unit(AudioComponent component, double rate, UInt32 channels, bool initialise = true);
    ~Unit();
    Unit(const Unit&) = delete;
    Unit& operator=(const Unit&) = delete;

    AudioUnit unit() const { return instance; }
    OSStatus initialize() { return AudioUnitInitialize(instance); }
    OSStatus setFormat(double rate, UInt32 channelCount);

    // Renders input (one vector per channel, all of one length) in calls of block frames; a
    // refused call fails the test and ends the render (lastStatus tells which status).
    Channels render(const Channels& input, UInt32 block = 512);
    // The same into output, already shaped like the input (allocates nothing).
    void renderInto(const Channels& input, Channels& output, UInt32 block = 512);
    // The status of the last render in blocks.
    OSStatus lastStatus() const { return status; }
    // Renders input in one call, whatever its length (none included), into output, which it
    // shapes and fills with a marker first.
    OSStatus renderOnce(const Channels& input, Channels& output);
    // Renders frames in one call with output as the host's list (for hostile lists).
    OSStatus renderInto(UInt32 frames, AudioBufferList& output);

    float parameter(AudioUnitParameterID id) const;
    OSStatus setParameter(AudioUnitParameterID id, float value, UInt32 offset = 0);
    OSStatus schedule(const std::vector<AudioUnitParameterEvent>& events);
    // The meter block through the given property (the model's meter property).
    TelemetryBlock meters(AudioUnitPropertyID property) const;
    OSStatus getProperty(AudioUnitPropertyID id, void* data, UInt32 size,
                         AudioUnitScope scope = kAudioUnitScope_Global,
                         AudioUnitElement element = 0) const;
    OSStatus setProperty(AudioUnitPropertyID id, const void* data, UInt32 size);
    UInt32 getUInt32(AudioUnitPropertyID id) const;
    OSStatus setUInt32(AudioUnitPropertyID id, UInt32 value);

    // What the input callback hands the unit next; it may spoil the list on purpose.
    enum class InputFault { none, nullData, twoChannelBuffer };
    InputFault inputFault = InputFault::none;

private:
    static OSStatus supplyInput(void* self, AudioUnitRenderActionFlags* flags,
                                const AudioTimeStamp* time, UInt32 bus, UInt32 frames,
                                AudioBufferList* data);

    AudioUnit instance = nullptr;
    UInt32 channels = 2;
    const Channels* pending = nullptr;
    UInt32 inputStart = 0;
    Float64 sampleTime = 0;
    OSStatus status = noErr;
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

// A CFString's text as UTF-8 ("" for null).
std::string text(CFStringRef string);

} // namespace unithost
