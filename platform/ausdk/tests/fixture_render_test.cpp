// The fixture bundle's life cycle and render through the Audio Unit calls.

#include "fixture_support.h"

#include "testing/allocation_counter.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace testsupport;

namespace {

class FixtureRender : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gainFixture().status, noErr);
        instance = std::make_unique<Instance>(gainFixture().component);
        ASSERT_EQ(instance->status, noErr);
    }
    AudioUnit unit() const { return instance->unit; }

    std::unique_ptr<Instance> instance;
};

TEST_F(FixtureRender, InitialisesOnlyAtTheUnitsRates) {
    const struct {
        Float64 rate;
        OSStatus expected;
    } cases[] = {{7999, kAudioUnitErr_FormatNotSupported},
                 {8000, noErr},
                 {44100, noErr},
                 {192000, noErr},
                 {192001, kAudioUnitErr_FormatNotSupported}};
    for (const auto& c : cases) {
        ASSERT_EQ(instance->setFormats(c.rate, 2), noErr) << c.rate;
        EXPECT_EQ(AudioUnitInitialize(unit()), c.expected) << c.rate;
        EXPECT_EQ(AudioUnitUninitialize(unit()), noErr);
    }
}

TEST_F(FixtureRender, RefusesAFormatChangeWhileInitialised) {
    ASSERT_EQ(instance->setFormats(8000, 2), noErr);
    ASSERT_EQ(AudioUnitInitialize(unit()), noErr);
    EXPECT_EQ(instance->setFormats(192000, 2), kAudioUnitErr_FormatNotSupported);
    EXPECT_EQ(instance->setFormats(8000, 1), kAudioUnitErr_FormatNotSupported);
    ASSERT_EQ(AudioUnitUninitialize(unit()), noErr);
    EXPECT_EQ(instance->setFormats(192000, 2), noErr);
    EXPECT_EQ(AudioUnitInitialize(unit()), noErr);
}

TEST_F(FixtureRender, RendersTheInputPulledThroughTheCallback) {
    for (UInt32 channels : {1u, 2u}) {
        for (bool hostBuffers : {true, false}) {
            SCOPED_TRACE(testing::Message()
                         << channels << " channels, host buffers " << hostBuffers);
            ASSERT_EQ(AudioUnitUninitialize(unit()), noErr);
            ASSERT_EQ(instance->setFormats(48000, channels), noErr);
            Source source;
            for (UInt32 c = 0; c < channels; ++c) {
                std::vector<Float32> samples(64);
                for (UInt32 i = 0; i < 64; ++i) {
                    samples[i] = 0.01f * static_cast<Float32>(i) - 0.3f * static_cast<Float32>(c);
                }
                source.channels.push_back(samples);
            }
            ASSERT_EQ(connect(unit(), source), noErr);
            ASSERT_EQ(AudioUnitInitialize(unit()), noErr);
            ASSERT_EQ(AudioUnitSetParameter(unit(), kGain, kAudioUnitScope_Global, 0, 0.5f, 0),
                      noErr);
            ASSERT_EQ(AudioUnitSetParameter(unit(), kMode, kAudioUnitScope_Global, 0, 1.0f, 0),
                      noErr); // Inverted

            std::vector<std::vector<Float32>> host(channels, std::vector<Float32>(64, 7.0f));
            Output output;
            output.mNumberBuffers = channels;
            for (UInt32 c = 0; c < channels; ++c) {
                output.mBuffers[c] = {1, hostBuffers ? 256u : 0u,
                                      hostBuffers ? host[c].data() : nullptr};
            }
            AudioUnitRenderActionFlags flags = kAudioUnitRenderAction_OutputIsSilence;
            const AudioTimeStamp time = sampleTime(512);
            ASSERT_EQ(AudioUnitRender(unit(), &flags, &time, 0, 64, output.list()), noErr);
            EXPECT_EQ(source.calls, 1u);
            EXPECT_EQ(flags & kAudioUnitRenderAction_OutputIsSilence, 0u);
            for (UInt32 c = 0; c < channels; ++c) {
                const auto* out = static_cast<const Float32*>(output.mBuffers[c].mData);
                ASSERT_NE(out, nullptr);
                EXPECT_EQ(out == host[c].data(), hostBuffers);
                for (UInt32 i = 0; i < 64; ++i) {
                    ASSERT_EQ(out[i], source.channels[c][i] * -0.5f) << "frame " << i;
                }
            }
        }
    }
}

TEST_F(FixtureRender, EveryRefusalHasThePlatformsStatus) {
    ASSERT_EQ(instance->setFormats(48000, 2), noErr);
    Output output;
    output.mNumberBuffers = 2;
    AudioUnitRenderActionFlags flags = 0;
    const AudioTimeStamp time = sampleTime(0);
    EXPECT_EQ(AudioUnitRender(unit(), &flags, &time, 0, 16, output.list()),
              kAudioUnitErr_Uninitialized);
    ASSERT_EQ(AudioUnitInitialize(unit()), noErr);
    EXPECT_EQ(AudioUnitRender(unit(), &flags, &time, 0, 16, output.list()),
              kAudioUnitErr_NoConnection);
    Source source{{std::vector<Float32>(4097, 0.0f), std::vector<Float32>(4097, 0.0f)}};
    ASSERT_EQ(connect(unit(), source), noErr);
    EXPECT_EQ(AudioUnitRender(unit(), &flags, &time, 0, 4097, output.list()),
              kAudioUnitErr_TooManyFramesToProcess);
    output.mBuffers[0] = output.mBuffers[1] = {1, 0, nullptr}; // the last render filled them
    EXPECT_EQ(AudioUnitRender(unit(), &flags, &time, 0, 4096, output.list()), noErr);
    // The list now points at the unit's buffers, sized for 4096 frames; a longer render into
    // the same list would overrun them.
    EXPECT_EQ(output.mBuffers[0].mDataByteSize, 4096u * 4);
    output.mNumberBuffers = 1; // one buffer for two channels: the unit refuses
    output.mBuffers[0] = {1, 0, nullptr};
    EXPECT_EQ(AudioUnitRender(unit(), &flags, &time, 0, 16, output.list()),
              kAudioUnitErr_FormatNotSupported);

    EXPECT_EQ(AudioUnitSetParameter(unit(), 2, kAudioUnitScope_Global, 0, 1.0f, 0),
              kAudioUnitErr_InvalidParameter);
    EXPECT_EQ(AudioUnitSetParameter(unit(), kGain, kAudioUnitScope_Global, 0, NAN, 0),
              kAudioUnitErr_InvalidParameterValue);
    EXPECT_EQ(AudioUnitSetParameter(unit(), kGain, kAudioUnitScope_Global, 0, 5.0f, 0), noErr);
    EXPECT_EQ(parameter(unit(), kGain), 2.0f); // clamped by the unit

    ASSERT_EQ(AudioUnitUninitialize(unit()), noErr);
    const AudioStreamBasicDescription mono = floatFormat(48000, 1);
    ASSERT_EQ(AudioUnitSetProperty(unit(), kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input,
                                   0, &mono, sizeof(mono)),
              noErr);
    EXPECT_EQ(AudioUnitInitialize(unit()), kAudioUnitErr_FormatNotSupported); // 1 in, 2 out
    ASSERT_EQ(AudioComponentInstanceDispose(instance->unit), noErr);
    instance->unit = nullptr;
}

TEST_F(FixtureRender, ParameterInfoAndValueStringsComeFromTheUnit) {
    UInt32 size = 0;
    ASSERT_EQ(AudioUnitGetPropertyInfo(unit(), kAudioUnitProperty_ParameterList,
                                       kAudioUnitScope_Global, 0, &size, nullptr),
              noErr);
    EXPECT_EQ(size, 8u);
    AudioUnitParameterInfo info{};
    size = sizeof(info);
    ASSERT_EQ(AudioUnitGetProperty(unit(), kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global,
                                   kGain, &info, &size),
              noErr);
    EXPECT_EQ(utf8(info.cfNameString), "Gain");
    EXPECT_EQ(info.minValue, 0.0f);
    EXPECT_EQ(info.maxValue, 2.0f);
    EXPECT_EQ(info.defaultValue, 1.0f);
    EXPECT_TRUE(info.flags & kAudioUnitParameterFlag_CanRamp);
    CFRelease(info.cfNameString);

    CFArrayRef strings = nullptr;
    size = sizeof(strings);
    ASSERT_EQ(AudioUnitGetProperty(unit(), kAudioUnitProperty_ParameterValueStrings,
                                   kAudioUnitScope_Global, kMode, &strings, &size),
              noErr);
    ASSERT_EQ(CFArrayGetCount(strings), 3);
    EXPECT_EQ(utf8(static_cast<CFStringRef>(CFArrayGetValueAtIndex(strings, 2))), "Muted");
    CFRelease(strings);
    EXPECT_EQ(AudioUnitGetPropertyInfo(unit(), kAudioUnitProperty_ParameterValueStrings,
                                       kAudioUnitScope_Global, kGain, &size, nullptr),
              kAudioUnitErr_InvalidParameter);
}

TEST_F(FixtureRender, RenderAllocatesNothing) {
    ASSERT_EQ(instance->setFormats(48000, 2), noErr);
    Source source{{std::vector<Float32>(512, 0.25f), std::vector<Float32>(512, -0.25f)}};
    ASSERT_EQ(connect(unit(), source), noErr);
    ASSERT_EQ(AudioUnitInitialize(unit()), noErr);
    std::vector<Float32> left(512);
    std::vector<Float32> right(512);
    Output output;
    AudioUnitRenderActionFlags flags = 0;
    AudioTimeStamp time = sampleTime(0);
    std::size_t allocations = 0;
    {
        kelvo::testing::AllocationScope scope;
        for (int block = 0; block < 64; ++block) {
            output.mNumberBuffers = 2;
            const bool own = block % 2 == 1;
            output.mBuffers[0] = {1, own ? 0u : 2048u, own ? nullptr : left.data()};
            output.mBuffers[1] = {1, own ? 0u : 2048u, own ? nullptr : right.data()};
            ASSERT_EQ(AudioUnitRender(unit(), &flags, &time, 0, 512, output.list()), noErr);
            AudioUnitSetParameter(unit(), kGain, kAudioUnitScope_Global, 0,
                                  0.01f * static_cast<Float32>(block), 0);
            AudioUnitParameterValue value = 0;
            AudioUnitGetParameter(unit(), kGain, kAudioUnitScope_Global, 0, &value);
            time.mSampleTime += 512;
        }
        allocations = scope.count();
    }
    EXPECT_EQ(allocations, 0u);
}

} // namespace
