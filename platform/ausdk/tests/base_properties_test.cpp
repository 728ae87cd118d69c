// The base's properties and life cycle, through the Audio Unit calls on an in-process unit.

#include "probe_unit.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using namespace testsupport;

namespace {

class BaseTest : public ::testing::Test {
protected:
    BaseTest() : instance(probeComponent()) {}

    ProbeUnit& unit() { return ProbeUnit::of(instance.unit); }

    OSStatus get(AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element, void* data,
                 UInt32 size) {
        return AudioUnitGetProperty(instance.unit, id, scope, element, data, &size);
    }
    template <typename T>
    OSStatus set(AudioUnitPropertyID id, const T& value,
                 AudioUnitScope scope = kAudioUnitScope_Global) {
        return AudioUnitSetProperty(instance.unit, id, scope, 0, &value, sizeof(value));
    }

    static void listener(void* refCon, AudioUnit, AudioUnitPropertyID id, AudioUnitScope,
                         AudioUnitElement) {
        static_cast<std::vector<AudioUnitPropertyID>*>(refCon)->push_back(id);
    }

    Instance instance;
};

TEST_F(BaseTest, ParameterListIsAscendingWhateverTheDefinitionOrder) {
    UInt32 size = 0;
    ASSERT_EQ(AudioUnitGetPropertyInfo(instance.unit, kAudioUnitProperty_ParameterList,
                                       kAudioUnitScope_Global, 0, &size, nullptr),
              noErr);
    ASSERT_EQ(size, 12u);
    AudioUnitParameterID ids[3] = {};
    ASSERT_EQ(get(kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, ids, size), noErr);
    EXPECT_EQ(ids[0], 0u);
    EXPECT_EQ(ids[1], 1u);
    EXPECT_EQ(ids[2], 5u);

    ASSERT_EQ(AudioUnitGetPropertyInfo(instance.unit, kAudioUnitProperty_ParameterList,
                                       kAudioUnitScope_Input, 0, &size, nullptr),
              noErr);
    EXPECT_EQ(size, 0u); // buses hold no parameters
}

TEST_F(BaseTest, ParameterInfoAndValueStringsAreAskedOfTheUnitWithTheIDAsElement) {
    AudioUnitParameterInfo info;
    std::memset(&info, 0xAB, sizeof(info));
    UInt32 size = sizeof(info);
    ASSERT_EQ(AudioUnitGetProperty(instance.unit, kAudioUnitProperty_ParameterInfo,
                                   kAudioUnitScope_Global, ProbeUnit::kSparse, &info, &size),
              noErr);
    EXPECT_EQ(size, 104u);
    EXPECT_EQ(utf8(info.cfNameString), "Sparse");
    EXPECT_EQ(info.name[0], '\0'); // the record arrives zeroed
    EXPECT_EQ(info.unitName, nullptr);
    EXPECT_TRUE(info.flags & kAudioUnitParameterFlag_CFNameRelease);
    CFRelease(info.cfNameString);
    EXPECT_EQ(get(kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, 3, &info, sizeof(info)),
              kAudioUnitErr_InvalidParameter);

    // The info call probes the unit; a parameter without strings is refused there.
    size = 0;
    EXPECT_EQ(AudioUnitGetPropertyInfo(instance.unit, kAudioUnitProperty_ParameterValueStrings,
                                       kAudioUnitScope_Global, ProbeUnit::kChoice, &size, nullptr),
              noErr);
    EXPECT_EQ(size, sizeof(CFArrayRef));
    EXPECT_EQ(AudioUnitGetPropertyInfo(instance.unit, kAudioUnitProperty_ParameterValueStrings,
                                       kAudioUnitScope_Global, ProbeUnit::kLevel, &size, nullptr),
              kAudioUnitErr_InvalidParameter);
    CFArrayRef strings = nullptr;
    ASSERT_EQ(get(kAudioUnitProperty_ParameterValueStrings, kAudioUnitScope_Global,
                  ProbeUnit::kChoice, &strings, sizeof(strings)),
              noErr);
    ASSERT_NE(strings, nullptr);
    ASSERT_EQ(CFArrayGetCount(strings), 2);
    EXPECT_EQ(utf8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(strings, 1))), "On");
    CFRelease(strings);
}

TEST_F(BaseTest, PropertyCallsReportSizesAndRefuseWhatTheyCannotServe) {
    UInt32 size = 0;
    EXPECT_EQ(AudioUnitGetProperty(instance.unit, kAudioUnitProperty_StreamFormat,
                                   kAudioUnitScope_Output, 0, nullptr, &size),
              noErr);
    EXPECT_EQ(size, 40u);
    Boolean writable = false;
    EXPECT_EQ(AudioUnitGetPropertyInfo(instance.unit, kAudioUnitProperty_HostCallbacks,
                                       kAudioUnitScope_Global, 0, &size, &writable),
              noErr);
    EXPECT_EQ(size, 40u);
    EXPECT_TRUE(writable);
    EXPECT_EQ(AudioUnitGetPropertyInfo(instance.unit, kAudioUnitProperty_PresentPreset,
                                       kAudioUnitScope_Global, 0, &size, nullptr),
              noErr);
    EXPECT_EQ(size, 16u);

    Float64 latency = 0;
    EXPECT_EQ(get(kAudioUnitProperty_Latency, kAudioUnitScope_Global, 0, &latency, 4),
              kAudio_ParamError); // too little room
    EXPECT_EQ(get(kAudioUnitProperty_Latency, kAudioUnitScope_Global, 0, &latency, 8), noErr);
    EXPECT_EQ(latency, 0.001);
    Float64 tail = 0;
    EXPECT_EQ(get(kAudioUnitProperty_TailTime, kAudioUnitScope_Global, 0, &tail, 8), noErr);
    EXPECT_EQ(tail, 0.25);

    UInt32 anything = 0;
    EXPECT_EQ(get(0x4B49524D, kAudioUnitScope_Global, 0, &anything, 4),
              kAudioUnitErr_InvalidProperty);
    EXPECT_EQ(get(kAudioUnitProperty_CocoaUI, kAudioUnitScope_Global, 0, &anything, 4),
              kAudioUnitErr_InvalidProperty);
    EXPECT_EQ(set(kAudioUnitProperty_Latency, 0.5), kAudioUnitErr_PropertyNotWritable);
    EXPECT_EQ(get(kAudioUnitProperty_Latency, kAudioUnitScope_Input, 0, &latency, 8),
              kAudioUnitErr_InvalidScope);
    EXPECT_EQ(get(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 1, &anything, 40),
              kAudioUnitErr_InvalidElement);
    EXPECT_EQ(AudioUnitGetProperty(nullptr, kAudioUnitProperty_Latency, 0, 0, &latency, &size),
              badComponentInstance);

    AUChannelInfo channels[2] = {};
    ASSERT_EQ(get(kAudioUnitProperty_SupportedNumChannels, kAudioUnitScope_Global, 0, channels,
                  sizeof(channels)),
              noErr);
    EXPECT_EQ(channels[1].inChannels, 2);
    EXPECT_EQ(channels[1].outChannels, 2);
}

TEST_F(BaseTest, StreamFormatsAreFloatNonInterleavedMonoOrStereo) {
    struct Case {
        const char* what;
        AudioStreamBasicDescription format;
        OSStatus expected;
    };
    auto with = [](auto change) {
        AudioStreamBasicDescription format = floatFormat(48000, 2);
        change(format);
        return format;
    };
    const Case cases[] = {
        {"stereo", floatFormat(48000, 2), noErr},
        {"mono at 7999 Hz (the unit judges rates)", floatFormat(7999, 1), noErr},
        {"flags 0x29 exactly", with([](auto& f) { f.mFormatFlags = 0x29; }), noErr},
        {"not packed", with([](auto& f) { f.mFormatFlags = 0x21; }), noErr},
        {"interleaved", with([](auto& f) { f.mFormatFlags = kAudioFormatFlagsNativeFloatPacked; }),
         kAudioUnitErr_FormatNotSupported},
        {"three channels", floatFormat(48000, 3), kAudioUnitErr_FormatNotSupported},
        {"no channels", floatFormat(48000, 0), kAudioUnitErr_FormatNotSupported},
        {"integer", with([](auto& f) { f.mFormatFlags = 0x2C; }), kAudioUnitErr_FormatNotSupported},
        {"big-endian", with([](auto& f) { f.mFormatFlags |= kAudioFormatFlagIsBigEndian; }),
         kAudioUnitErr_FormatNotSupported},
        {"64-bit", with([](auto& f) {
             f.mBitsPerChannel = 64;
             f.mBytesPerFrame = f.mBytesPerPacket = 8;
         }),
         kAudioUnitErr_FormatNotSupported},
        {"not PCM", with([](auto& f) { f.mFormatID = fourCC("aac "); }),
         kAudioUnitErr_FormatNotSupported},
        {"NaN rate", floatFormat(std::numeric_limits<double>::quiet_NaN(), 2),
         kAudioUnitErr_FormatNotSupported},
        {"zero rate", floatFormat(0, 2), kAudioUnitErr_FormatNotSupported},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(set(kAudioUnitProperty_StreamFormat, c.format, kAudioUnitScope_Output),
                  c.expected)
            << c.what;
    }
    const AudioStreamBasicDescription format = floatFormat(48000, 2);
    EXPECT_EQ(set(kAudioUnitProperty_StreamFormat, format, kAudioUnitScope_Global),
              kAudioUnitErr_InvalidScope);
    EXPECT_EQ(AudioUnitSetProperty(instance.unit, kAudioUnitProperty_StreamFormat,
                                   kAudioUnitScope_Output, 0, &format, 39),
              kAudioUnitErr_InvalidPropertyValue);
}

TEST_F(BaseTest, FormatsAndRateAreFixedWhileInitialised) {
    ASSERT_EQ(instance.setFormats(44100, 2), noErr);
    ASSERT_EQ(AudioUnitInitialize(instance.unit), noErr);
    Boolean writable = true;
    AudioUnitGetPropertyInfo(instance.unit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output,
                             0, nullptr, &writable);
    EXPECT_FALSE(writable);
    EXPECT_EQ(instance.setFormats(48000, 2), kAudioUnitErr_FormatNotSupported);
    EXPECT_EQ(set(kAudioUnitProperty_SampleRate, Float64{48000}, kAudioUnitScope_Output),
              kAudioUnitErr_FormatNotSupported);
    EXPECT_EQ(instance.setFormats(44100, 2), noErr); // the same format again is no change
    ASSERT_EQ(AudioUnitUninitialize(instance.unit), noErr);
    EXPECT_EQ(set(kAudioUnitProperty_SampleRate, Float64{48000}, kAudioUnitScope_Output), noErr);
    AudioStreamBasicDescription format{};
    ASSERT_EQ(get(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &format, 40), noErr);
    EXPECT_EQ(format.mSampleRate, 48000);
    EXPECT_EQ(format.mChannelsPerFrame, 2u);
}

TEST_F(BaseTest, InitialiseChecksTheChannelConfiguration) {
    const AudioStreamBasicDescription mono = floatFormat(48000, 1);
    const AudioStreamBasicDescription stereo = floatFormat(48000, 2);
    ASSERT_EQ(set(kAudioUnitProperty_StreamFormat, mono, kAudioUnitScope_Input), noErr);
    ASSERT_EQ(set(kAudioUnitProperty_StreamFormat, stereo, kAudioUnitScope_Output), noErr);
    EXPECT_EQ(AudioUnitInitialize(instance.unit), kAudioUnitErr_FormatNotSupported);
    // Still uninitialised: the format may change and a render is refused.
    ASSERT_EQ(set(kAudioUnitProperty_StreamFormat, stereo, kAudioUnitScope_Input), noErr);
    Output output;
    AudioUnitRenderActionFlags flags = 0;
    const AudioTimeStamp time = sampleTime(0);
    EXPECT_EQ(AudioUnitRender(instance.unit, &flags, &time, 0, 16, output.list()),
              kAudioUnitErr_Uninitialized);
    EXPECT_EQ(AudioUnitInitialize(instance.unit), noErr);
    EXPECT_EQ(AudioUnitInitialize(instance.unit), noErr); // again: nothing to do
}

TEST_F(BaseTest, MaximumFramesPerSlice) {
    UInt32 frames = 0;
    ASSERT_EQ(get(kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &frames, 4),
              noErr);
    EXPECT_EQ(frames, 4096u);
    EXPECT_EQ(set(kAudioUnitProperty_MaximumFramesPerSlice, UInt32{0}),
              kAudioUnitErr_InvalidPropertyValue);
    ASSERT_EQ(set(kAudioUnitProperty_MaximumFramesPerSlice, UInt32{64}), noErr);

    ASSERT_EQ(instance.setFormats(48000, 1), noErr);
    Source source{{std::vector<Float32>(8192, 1.0f)}};
    ASSERT_EQ(connect(instance.unit, source), noErr);
    ASSERT_EQ(AudioUnitInitialize(instance.unit), noErr);
    Output output;
    output.mNumberBuffers = 1;
    AudioUnitRenderActionFlags flags = 0;
    const AudioTimeStamp time = sampleTime(0);
    EXPECT_EQ(AudioUnitRender(instance.unit, &flags, &time, 0, 65, output.list()),
              kAudioUnitErr_TooManyFramesToProcess);
    // Changing the limit between renders reallocates the unit's buffers.
    ASSERT_EQ(set(kAudioUnitProperty_MaximumFramesPerSlice, UInt32{8192}), noErr);
    output.mBuffers[0] = {1, 0, nullptr};
    EXPECT_EQ(AudioUnitRender(instance.unit, &flags, &time, 0, 8192, output.list()), noErr);
    EXPECT_EQ(static_cast<const Float32*>(output.mBuffers[0].mData)[8191], 2.0f);
}

TEST_F(BaseTest, PresentPreset) {
    AUPreset preset{};
    ASSERT_EQ(get(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &preset, 16), noErr);
    EXPECT_EQ(preset.presetNumber, 0);
    EXPECT_EQ(utf8(preset.presetName), "First");
    CFRelease(preset.presetName); // the caller's copy

    std::vector<AudioUnitPropertyID> heard;
    ASSERT_EQ(AudioUnitAddPropertyListener(instance.unit, kAudioUnitProperty_PresentPreset,
                                           &listener, &heard),
              noErr);
    EXPECT_EQ(set(kAudioUnitProperty_PresentPreset, AUPreset{2, CFSTR("Third")}), noErr);
    EXPECT_EQ(unit().presetsSet, 1);
    EXPECT_EQ(heard.size(), 1u);
    EXPECT_EQ(set(kAudioUnitProperty_PresentPreset, AUPreset{3, CFSTR("None")}),
              kAudioUnitErr_InvalidPropertyValue);
    EXPECT_EQ(heard.size(), 1u); // a refused preset is not announced

    // A negative number only names the present state.
    EXPECT_EQ(set(kAudioUnitProperty_PresentPreset, AUPreset{-1, CFSTR("My Sound")}), noErr);
    EXPECT_EQ(unit().presetsSet, 1);
    EXPECT_EQ(set(kAudioUnitProperty_PresentPreset, AUPreset{-1, nullptr}),
              kAudioUnitErr_InvalidPropertyValue);
    ASSERT_EQ(get(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &preset, 16), noErr);
    EXPECT_EQ(preset.presetNumber, -1);
    EXPECT_EQ(utf8(preset.presetName), "My Sound");
    CFRelease(preset.presetName);

    CFArrayRef presets = nullptr;
    ASSERT_EQ(get(kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0, &presets, 8),
              noErr);
    ASSERT_EQ(CFArrayGetCount(presets), 3);
    const auto* second = static_cast<const AUPreset*>(CFArrayGetValueAtIndex(presets, 1));
    EXPECT_EQ(second->presetNumber, 1);
    EXPECT_EQ(utf8(second->presetName), "Second");
    CFRelease(presets);

    ASSERT_EQ(AudioUnitRemovePropertyListenerWithUserData(
                  instance.unit, kAudioUnitProperty_PresentPreset, &listener, &heard),
              noErr);
    EXPECT_EQ(set(kAudioUnitProperty_PresentPreset, AUPreset{1, CFSTR("Second")}), noErr);
    EXPECT_EQ(heard.size(), 1u);
}

TEST_F(BaseTest, BypassResetsOnlyWhenSwitchedOffWhileInitialised) {
    std::vector<AudioUnitPropertyID> heard;
    AudioUnitAddPropertyListener(instance.unit, kAudioUnitProperty_BypassEffect, &listener, &heard);
    ASSERT_EQ(instance.setFormats(48000, 1), noErr);
    ASSERT_EQ(AudioUnitInitialize(instance.unit), noErr);

    EXPECT_EQ(set(kAudioUnitProperty_BypassEffect, UInt32{1}), noErr);
    EXPECT_EQ(unit().resets, 0);
    UInt32 bypass = 0;
    ASSERT_EQ(get(kAudioUnitProperty_BypassEffect, kAudioUnitScope_Global, 0, &bypass, 4), noErr);
    EXPECT_EQ(bypass, 1u);
    EXPECT_EQ(set(kAudioUnitProperty_BypassEffect, UInt32{1}), noErr); // no change
    EXPECT_EQ(heard.size(), 1u);

    // Bypassed, the base copies the input instead of processing.
    Source source{{std::vector<Float32>(32, 0.5f)}};
    ASSERT_EQ(connect(instance.unit, source), noErr);
    Output output;
    output.mNumberBuffers = 1;
    AudioUnitRenderActionFlags flags = 0;
    const AudioTimeStamp time = sampleTime(0);
    ASSERT_EQ(AudioUnitRender(instance.unit, &flags, &time, 0, 32, output.list()), noErr);
    EXPECT_EQ(static_cast<const Float32*>(output.mBuffers[0].mData)[31], 0.5f);
    EXPECT_EQ(unit().processed, 0u);

    EXPECT_EQ(set(kAudioUnitProperty_BypassEffect, UInt32{0}), noErr);
    EXPECT_EQ(unit().resets, 1);
    EXPECT_EQ(heard.size(), 2u);
    ASSERT_EQ(AudioUnitUninitialize(instance.unit), noErr);
    EXPECT_EQ(set(kAudioUnitProperty_BypassEffect, UInt32{1}), noErr);
    EXPECT_EQ(set(kAudioUnitProperty_BypassEffect, UInt32{0}), noErr);
    EXPECT_EQ(unit().resets, 1); // not initialised: no reset
    EXPECT_EQ(AudioUnitReset(instance.unit, kAudioUnitScope_Global, 0), noErr);
    EXPECT_EQ(unit().resets, 2);
}

namespace host {
Float64 beat = 0;
OSStatus beatAndTempo(void* userData, Float64* outBeat, Float64* outTempo) {
    *static_cast<int*>(userData) += 1;
    if (outBeat != nullptr) {
        *outBeat = beat;
    }
    if (outTempo != nullptr) {
        *outTempo = 120;
    }
    return noErr;
}
} // namespace host

TEST_F(BaseTest, HostCallbacksAreStoredForTheUnit) {
    int calls = 0;
    EXPECT_EQ(unit().CallHostBeatAndTempo(nullptr, nullptr),
              kAudioUnitErr_CannotDoInCurrentContext);
    HostCallbackInfo info{};
    info.hostUserData = &calls;
    info.beatAndTempoProc = &host::beatAndTempo;
    ASSERT_EQ(set(kAudioUnitProperty_HostCallbacks, info), noErr);
    host::beat = 3.5;
    Float64 beat = 0;
    Float64 tempo = 0;
    EXPECT_EQ(unit().CallHostBeatAndTempo(&beat, &tempo), noErr);
    EXPECT_EQ(beat, 3.5);
    EXPECT_EQ(tempo, 120);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(unit().CallHostTransportState(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
              kAudioUnitErr_CannotDoInCurrentContext);

    HostCallbackInfo back{};
    ASSERT_EQ(get(kAudioUnitProperty_HostCallbacks, kAudioUnitScope_Global, 0, &back, 40), noErr);
    EXPECT_EQ(back.hostUserData, &calls);
    EXPECT_EQ(back.beatAndTempoProc, &host::beatAndTempo);

    // An older host's shorter record: the missing callbacks are none.
    ASSERT_EQ(AudioUnitSetProperty(instance.unit, kAudioUnitProperty_HostCallbacks,
                                   kAudioUnitScope_Global, 0, &info, 8),
              noErr);
    EXPECT_EQ(unit().GetHostCallbackInfo().beatAndTempoProc, nullptr);
    EXPECT_EQ(unit().GetHostCallbackInfo().hostUserData, &calls);
    UInt8 tooLong[48] = {};
    EXPECT_EQ(AudioUnitSetProperty(instance.unit, kAudioUnitProperty_HostCallbacks,
                                   kAudioUnitScope_Global, 0, tooLong, sizeof(tooLong)),
              kAudioUnitErr_InvalidPropertyValue);
}

TEST_F(BaseTest, RenderPullsIntoOwnBuffersAndFillsOnlyMissingOutputs) {
    ASSERT_EQ(instance.setFormats(48000, 2), noErr);
    ASSERT_EQ(AudioUnitInitialize(instance.unit), noErr);
    Output output;
    output.mNumberBuffers = 2;
    AudioUnitRenderActionFlags flags = kAudioUnitRenderAction_OutputIsSilence;
    const AudioTimeStamp time = sampleTime(0);
    EXPECT_EQ(AudioUnitRender(instance.unit, &flags, &time, 0, 16, output.list()),
              kAudioUnitErr_NoConnection);

    Source source{{std::vector<Float32>(16, 0.25f), std::vector<Float32>(16, -0.5f)}};
    ASSERT_EQ(connect(instance.unit, source), noErr);
    std::vector<Float32> hostLeft(16, 9.0f);
    output.mBuffers[0] = {1, 64, hostLeft.data()};
    output.mBuffers[1] = {1, 0, nullptr};
    ASSERT_EQ(AudioUnitRender(instance.unit, &flags, &time, 0, 16, output.list()), noErr);
    EXPECT_EQ(source.lastBus, 0u);
    EXPECT_EQ(output.mBuffers[0].mData, hostLeft.data());
    EXPECT_EQ(hostLeft[15], 0.5f);
    ASSERT_NE(output.mBuffers[1].mData, nullptr); // the unit's own
    EXPECT_EQ(output.mBuffers[1].mDataByteSize, 64u);
    EXPECT_EQ(static_cast<const Float32*>(output.mBuffers[1].mData)[0], -1.0f);
    // Separate lists: the input was pulled into the unit's own input buffers.
    EXPECT_NE(unit().lastInput, source.channels[0].data());
    EXPECT_NE(unit().lastInput, unit().lastOutput);
    EXPECT_EQ(flags, 0u);

    // A source that points the buffers at its own samples is fine too.
    source.pointAtOwnSamples = true;
    ASSERT_EQ(AudioUnitRender(instance.unit, &flags, &time, 0, 16, output.list()), noErr);
    EXPECT_EQ(unit().lastInput, source.channels[0].data());

    struct Case {
        const char* what;
        UInt32 bus;
        UInt32 frames;
        UInt32 hostBytes;
        OSStatus sourceStatus;
        OSStatus expected;
    };
    const Case cases[] = {
        {"output bus 1", 1, 16, 64, noErr, kAudioUnitErr_InvalidElement},
        {"host buffer too short", 0, 16, 60, noErr, kAudio_ParamError},
        {"source fails", 0, 16, 64, -1234, -1234},
        {"zero frames", 0, 0, 64, noErr, noErr},
    };
    for (const Case& c : cases) {
        source.status = c.sourceStatus;
        output.mBuffers[0] = {1, c.hostBytes, hostLeft.data()};
        output.mBuffers[1] = {1, 0, nullptr};
        EXPECT_EQ(AudioUnitRender(instance.unit, &flags, &time, c.bus, c.frames, output.list()),
                  c.expected)
            << c.what;
    }
    OSStatus last = noErr;
    get(kAudioUnitProperty_LastRenderError, kAudioUnitScope_Global, 0, &last, 4);
    EXPECT_EQ(last, -1234);
    EXPECT_EQ(AudioUnitRender(instance.unit, &flags, nullptr, 0, 16, output.list()),
              kAudio_ParamError);
    EXPECT_EQ(AudioUnitRender(instance.unit, &flags, &time, 0, 16, nullptr), kAudio_ParamError);
}

TEST_F(BaseTest, ProcessingInPlacePullsStraightIntoTheOutput) {
    unit().SetProcessesInPlace(true);
    ASSERT_EQ(instance.setFormats(48000, 1), noErr);
    ASSERT_EQ(AudioUnitInitialize(instance.unit), noErr);
    Source source{{std::vector<Float32>(16, 0.25f)}};
    ASSERT_EQ(connect(instance.unit, source), noErr);
    std::vector<Float32> host(16, 0.0f);
    Output output;
    output.mNumberBuffers = 1;
    output.mBuffers[0] = {1, 64, host.data()};
    AudioUnitRenderActionFlags flags = 0;
    const AudioTimeStamp time = sampleTime(0);
    ASSERT_EQ(AudioUnitRender(instance.unit, &flags, &time, 0, 16, output.list()), noErr);
    EXPECT_EQ(unit().lastInput, host.data());
    EXPECT_EQ(unit().lastOutput, host.data());
    EXPECT_EQ(host[15], 0.5f);
}

TEST_F(BaseTest, ParameterCallsCheckScopeElementAndID) {
    AudioUnitParameterValue value = 0;
    EXPECT_EQ(
        AudioUnitGetParameter(instance.unit, ProbeUnit::kLevel, kAudioUnitScope_Global, 0, &value),
        noErr);
    EXPECT_EQ(value, 0.25f);
    EXPECT_EQ(AudioUnitGetParameter(instance.unit, 2, kAudioUnitScope_Global, 0, &value),
              kAudioUnitErr_InvalidParameter);
    EXPECT_EQ(AudioUnitGetParameter(instance.unit, 0, kAudioUnitScope_Global, 1, &value),
              kAudioUnitErr_InvalidElement);
    EXPECT_EQ(AudioUnitGetParameter(instance.unit, 0, 9, 0, &value), kAudioUnitErr_InvalidScope);
    EXPECT_EQ(AudioUnitGetParameter(instance.unit, 0, 0, 0, nullptr), kAudio_ParamError);
    EXPECT_EQ(AudioUnitSetParameter(instance.unit, 300, kAudioUnitScope_Global, 0, 1, 0),
              kAudioUnitErr_InvalidParameter); // beyond the element's fixed capacity

    // The base's schedule: immediate values as given, ramps as their end value.
    AudioUnitParameterEvent events[2] = {};
    events[0].parameter = ProbeUnit::kLevel;
    events[0].eventType = kParameterEvent_Immediate;
    events[0].eventValues.immediate.value = 0.75f;
    events[1].parameter = ProbeUnit::kSparse;
    events[1].eventType = kParameterEvent_Ramped;
    events[1].eventValues.ramp = {-10, 100, 0.0f, 0.125f};
    ASSERT_EQ(AudioUnitScheduleParameters(instance.unit, events, 2), noErr);
    AudioUnitGetParameter(instance.unit, ProbeUnit::kLevel, 0, 0, &value);
    EXPECT_EQ(value, 0.75f);
    AudioUnitGetParameter(instance.unit, ProbeUnit::kSparse, 0, 0, &value);
    EXPECT_EQ(value, 0.125f);
}

TEST(BaseLifecycle, ExceptionsStopAtTheBoundary) {
    {
        Instance instance(probeComponent());
        ProbeUnit::throwFromGetProperty = true;
        Float64 latency = 0;
        UInt32 size = 8;
        EXPECT_EQ(AudioUnitGetProperty(instance.unit, kAudioUnitProperty_Latency,
                                       kAudioUnitScope_Global, 0, &latency, &size),
                  ausdk::kUnknownErrorStatus);
        ProbeUnit::throwFromGetProperty = false;
    }
    const int constructed = ProbeUnit::constructed;
    const int destroyed = ProbeUnit::destroyed;
    ProbeUnit::failConstruction = kAudioUnitErr_FailedInitialization;
    AudioComponentInstance unit = nullptr;
    EXPECT_EQ(AudioComponentInstanceNew(probeComponent(), &unit),
              kAudioUnitErr_FailedInitialization);
    EXPECT_EQ(unit, nullptr);
    ProbeUnit::failConstruction = noErr;
    EXPECT_EQ(ProbeUnit::constructed - constructed, ProbeUnit::destroyed - destroyed);
    {
        Instance instance(probeComponent());
        ASSERT_EQ(instance.status, noErr);
        EXPECT_EQ(AudioComponentInstanceGetComponent(instance.unit), probeComponent());
        EXPECT_TRUE(AudioComponentInstanceCanDo(instance.unit, kAudioUnitRenderSelect));
        EXPECT_FALSE(AudioComponentInstanceCanDo(instance.unit, 0x0100));
    }
    EXPECT_EQ(ProbeUnit::constructed, ProbeUnit::destroyed);
}

} // namespace
