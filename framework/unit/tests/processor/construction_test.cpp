// A freshly opened unit: defaults, present preset, meters, the properties it answers itself.

#include "model.h"
#include "support/tolvar_unit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

using unittest::TolvarUnit;

std::string text(CFStringRef s) {
    char buffer[512] = {};
    if (s == nullptr || !CFStringGetCString(s, buffer, sizeof buffer, kCFStringEncodingUTF8)) {
        return "<none>";
    }
    return buffer;
}

TEST(UnitConstruction, MeterBlockReadsTheFloorAndNoReduction) {
    TolvarUnit unit(48000, 2, /*initialise=*/false);
    const TelemetryBlock m = unit.meters();
    const float want[8] = {-100, -100, -100, -100, 0, 0, -100, -100};
    float got[8];
    std::memcpy(got, &m, sizeof got);
    for (unsigned i = 0; i < 8; ++i)
        EXPECT_EQ(got[i], want[i]) << i;

    UInt32 size = 0;
    Boolean writable = true;
    ASSERT_EQ(AudioUnitGetPropertyInfo(unit.unit(), classic::model.meterProperty,
                                       kAudioUnitScope_Global, 0, &size, &writable),
              noErr);
    EXPECT_EQ(size, 32u);
    EXPECT_FALSE(writable);
}

TEST(UnitConstruction, DefaultsAndStudioStartArePresent) {
    TolvarUnit unit(48000, 2, false);
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        EXPECT_EQ(unit.parameter(id), classic::definitions[id].defaultValue) << id;
    }
    AUPreset preset{};
    UInt32 size = sizeof preset;
    ASSERT_EQ(AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_PresentPreset,
                                   kAudioUnitScope_Global, 0, &preset, &size),
              noErr);
    EXPECT_EQ(preset.presetNumber, 0);
    EXPECT_EQ(text(preset.presetName), "Studio Start");
    CFRelease(preset.presetName);

    UInt32 listSize = 0;
    ASSERT_EQ(AudioUnitGetPropertyInfo(unit.unit(), kAudioUnitProperty_ParameterList,
                                       kAudioUnitScope_Global, 0, &listSize, nullptr),
              noErr);
    EXPECT_EQ(listSize, 4 * classic::parameterCount);
}

TEST(UnitConstruction, CocoaViewNamesTheBundleAndTheViewFactory) {
    TolvarUnit unit(48000, 2, false);
    UInt32 size = 0;
    Boolean writable = true;
    ASSERT_EQ(AudioUnitGetPropertyInfo(unit.unit(), kAudioUnitProperty_CocoaUI,
                                       kAudioUnitScope_Global, 0, &size, &writable),
              noErr);
    EXPECT_EQ(size, 16u);
    EXPECT_FALSE(writable);
    AudioUnitCocoaViewInfo info{};
    size = sizeof info;
    ASSERT_EQ(AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_CocoaUI, kAudioUnitScope_Global,
                                   0, &info, &size),
              noErr);
    ASSERT_NE(info.mCocoaAUViewBundleLocation, nullptr);
    EXPECT_EQ(text(info.mCocoaAUViewClass[0]), "KelvoTolvarViewFactory");
    UInt8 path[4096] = {};
    ASSERT_TRUE(
        CFURLGetFileSystemRepresentation(info.mCocoaAUViewBundleLocation, true, path, sizeof path));
    const std::string bundle = reinterpret_cast<const char*>(path);
    EXPECT_NE(bundle.find("KelvoTolvar.component"), std::string::npos) << bundle;
    CFRelease(info.mCocoaAUViewBundleLocation);
    CFRelease(info.mCocoaAUViewClass[0]);
}

TEST(UnitConstruction, LatencyTailAndChannelConfigurations) {
    TolvarUnit unit(44100, 2, false);
    Float64 seconds = -1;
    UInt32 size = sizeof seconds;
    ASSERT_EQ(AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_TailTime, kAudioUnitScope_Global,
                                   0, &seconds, &size),
              noErr);
    EXPECT_EQ(seconds, 0.2);
    AUChannelInfo configurations[4] = {};
    size = sizeof configurations;
    ASSERT_EQ(AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_SupportedNumChannels,
                                   kAudioUnitScope_Global, 0, configurations, &size),
              noErr);
    ASSERT_EQ(size, 2 * sizeof(AUChannelInfo));
    EXPECT_EQ(configurations[0].inChannels, 1);
    EXPECT_EQ(configurations[0].outChannels, 1);
    EXPECT_EQ(configurations[1].inChannels, 2);
    EXPECT_EQ(configurations[1].outChannels, 2);
}

} // namespace
