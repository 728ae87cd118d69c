#pragma once
// The probe unit: an Audio Unit effect on ausdk that echoes its input and reports what its
// host gave it (the transport through its host callbacks, the pulled input, how often its
// parameters were set), with parameters of every kind the bridge maps, and faults that a test
// switches on before the instance is made.

#include "probe_interface.h"

#include <AudioUnitSDK/AUEffectBase.h>

#include <vector>

class ProbeUnit final : public ausdk::AUEffectBase {
public:
    // [main thread] Built with the configuration current at that moment.
    explicit ProbeUnit(AudioComponentInstance instance);

    OSStatus Initialize() override;
    OSStatus GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                             UInt32& size, bool& writable) override;
    OSStatus GetProperty(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
                         void* data) override;
    OSStatus GetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                          AudioUnitParameterValue& value) override;
    OSStatus SetParameter(AudioUnitParameterID id, AudioUnitScope scope, AudioUnitElement element,
                          AudioUnitParameterValue value, UInt32 bufferOffset) override;
    OSStatus GetParameterInfo(AudioUnitScope scope, AudioUnitParameterID id,
                              AudioUnitParameterInfo& info) override;
    OSStatus GetParameterValueStrings(AudioUnitScope scope, AudioUnitParameterID id,
                                      CFArrayRef* strings) override;
    Float64 GetLatency() override { return probe::latencySeconds; }
    UInt32 SupportedNumChannels(const AUChannelInfo** info) override;

    // [render thread]
    OSStatus Render(AudioUnitRenderActionFlags& flags, const AudioTimeStamp& time,
                    UInt32 frames) override;
    OSStatus ProcessBufferLists(AudioUnitRenderActionFlags& flags, const AudioBufferList& in,
                                AudioBufferList& out, UInt32 frames) override;

private:
    void observeHost(const AudioTimeStamp& time, UInt32 frames) noexcept;

    OSStatus cocoaViewInfo(UInt32& size);
    OSStatus cocoaView(void* data);

    probe::Configuration configuration_;
    std::vector<float> own_;   // two channels of the maximum frames, for ownOutputBuffers
    bool listSized_ = false;   // the parameter list's size was asked for
    unsigned viewQueries_ = 0; // size queries of the Cocoa view property: a read asks again
};

// The configuration the probe's next instance takes, for its view factory.
const probe::Configuration& probeConfiguration();
