// The unit class built into the test itself, for what no host call can reach: buffer lists the
// base would refuse first, a stream format before any rate is known, a unit whose own bundle
// was never loaded, and preset records handed in directly.

#include "processor/processor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

namespace {

std::string text(CFStringRef s) {
    char buffer[8192] = {};
    CFStringGetCString(s, buffer, sizeof buffer, kCFStringEncodingUTF8);
    return buffer;
}

AudioStreamBasicDescription format(double rate, UInt32 channels) {
    AudioStreamBasicDescription f{};
    f.mSampleRate = rate;
    f.mFormatID = kAudioFormatLinearPCM;
    f.mFormatFlags = kAudioFormatFlagsNativeFloatPacked | kAudioFormatFlagIsNonInterleaved;
    f.mBytesPerPacket = f.mBytesPerFrame = 4;
    f.mFramesPerPacket = 1;
    f.mChannelsPerFrame = channels;
    f.mBitsPerChannel = 32;
    return f;
}

struct List {
    UInt32 mNumberBuffers;
    AudioBuffer mBuffers[2];
    AudioBufferList& get() { return reinterpret_cast<AudioBufferList&>(*this); }
};

class DirectUnit : public ::testing::Test {
protected:
    void SetUp() override {
        unit = std::make_unique<Processor>(nullptr);
        unit->PostConstructor();
    }
    std::unique_ptr<Processor> unit;
};

TEST_F(DirectUnit, RenderRefusesBuffersTooShortForTheFrames) {
    ASSERT_EQ(unit->DoInitialize(), noErr);
    float in[2][64] = {}, out[2][64] = {};
    List input{2, {{1, sizeof in[0], in[0]}, {1, sizeof in[1], in[1]}}};
    List output{2, {{1, sizeof out[0], out[0]}, {1, sizeof out[1], out[1]}}};
    AudioUnitRenderActionFlags flags = 0;
    EXPECT_EQ(unit->ProcessBufferLists(flags, input.get(), output.get(), 64), noErr);
    output.mBuffers[1].mDataByteSize = 63 * sizeof(float);
    EXPECT_EQ(unit->ProcessBufferLists(flags, input.get(), output.get(), 64),
              kAudioUnitErr_InvalidPropertyValue);
    output.mBuffers[1].mDataByteSize = sizeof out[1];
    input.mBuffers[0].mDataByteSize = 4;
    EXPECT_EQ(unit->ProcessBufferLists(flags, input.get(), output.get(), 64),
              kAudioUnitErr_InvalidPropertyValue);
    input.mBuffers[0].mDataByteSize = sizeof in[0];
    output.mBuffers[0].mData = nullptr;
    EXPECT_EQ(unit->ProcessBufferLists(flags, input.get(), output.get(), 64),
              kAudioUnitErr_InvalidPropertyValue);
    output.mBuffers[0].mData = out[0];
    flags = kAudioUnitRenderAction_OutputIsSilence;
    EXPECT_EQ(unit->ProcessBufferLists(flags, input.get(), output.get(), 64), noErr);
    EXPECT_EQ(flags & kAudioUnitRenderAction_OutputIsSilence, 0u);
}

TEST_F(DirectUnit, LatencyIsZeroUntilARateIsKnown) {
    for (const double rate :
         {0.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        unit->Output(0).SetStreamFormat(format(rate, 2));
        EXPECT_EQ(unit->GetLatency(), 0.0) << rate;
    }
    unit->Output(0).SetStreamFormat(format(96000, 2));
    EXPECT_DOUBLE_EQ(unit->GetLatency(), 16.0 / 96000);
}

TEST_F(DirectUnit, CocoaViewWithoutItsOwnBundle) {
    AudioUnitCocoaViewInfo info{};
    EXPECT_EQ(unit->GetProperty(kAudioUnitProperty_CocoaUI, kAudioUnitScope_Global, 0, &info),
              kAudioUnitErr_InvalidProperty);
}

TEST_F(DirectUnit, FactoryPresetRecords) {
    EXPECT_EQ(unit->NewFactoryPresetSet({-1, nullptr}), kAudioUnitErr_InvalidPropertyValue);
    EXPECT_EQ(unit->NewFactoryPresetSet({9, nullptr}), kAudioUnitErr_InvalidPropertyValue);
    ASSERT_EQ(unit->NewFactoryPresetSet({2, nullptr}), noErr);
    EXPECT_EQ(unit->GetPresentPreset().presetNumber, 2);
    EXPECT_EQ(text(unit->GetPresentPreset().presetName), "Soft Air");
    const std::string longName(4100, 'z');
    const CFStringRef name =
        CFStringCreateWithCString(nullptr, longName.c_str(), kCFStringEncodingUTF8);
    ASSERT_EQ(unit->NewFactoryPresetSet({3, name}), noErr);
    CFRelease(name);
    EXPECT_EQ(CFStringGetLength(unit->GetPresentPreset().presetName), 4096);
    CFArrayRef none = nullptr;
    EXPECT_EQ(unit->GetPresets(nullptr), noErr);
    EXPECT_EQ(none, nullptr);
}

TEST_F(DirectUnit, NormaliseIsTheTablesRule) {
    EXPECT_EQ(Processor::normalize(0, 2.5f), 3);
    EXPECT_EQ(Processor::normalize(0, -0.5f), 0);
    EXPECT_EQ(Processor::normalize(1, 2.5f), 2.5f);
    EXPECT_EQ(Processor::normalize(8, 30), 24);
    EXPECT_EQ(Processor::normalize(10, std::numeric_limits<float>::quiet_NaN()), 100);
}

} // namespace
