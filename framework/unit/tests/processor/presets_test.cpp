// Factory presets as the host lists and selects them.

#include "model.h"
#include "presets/factory_preset.h"
#include "support/tolvar_unit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using unithost::Channels;
using unithost::signal;
using unittest::TolvarUnit;

std::string text(CFStringRef s) {
    char buffer[256] = {};
    CFStringGetCString(s, buffer, sizeof buffer, kCFStringEncodingUTF8);
    return buffer;
}

CFArrayRef listing(TolvarUnit& unit) {
    CFArrayRef presets = nullptr;
    UInt32 size = sizeof presets;
    EXPECT_EQ(AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_FactoryPresets,
                                   kAudioUnitScope_Global, 0, &presets, &size),
              noErr);
    return presets;
}

OSStatus select(TolvarUnit& unit, SInt32 number, CFStringRef name) {
    const AUPreset preset{number, name};
    return AudioUnitSetProperty(unit.unit(), kAudioUnitProperty_PresentPreset,
                                kAudioUnitScope_Global, 0, &preset, sizeof preset);
}

TEST(UnitPresets, ListingNamesGroupAndName) {
    TolvarUnit unit(48000, 2, false);
    const CFArrayRef first = listing(unit);
    const CFArrayRef second = listing(unit);
    const std::vector<std::string> names = {
        "Start / Studio Start",   "Vocals / Warm Body",       "Vocals / Soft Air",
        "Bass / Rounded Low End", "Acoustic / Open Acoustic", "Drums / Drum Weight",
        "Color / Tube Edge",      "Color / Dark Velvet",      "Color / Analog Shimmer"};
    ASSERT_EQ(CFArrayGetCount(first), 9);
    EXPECT_NE(first, second);
    for (CFIndex i = 0; i < 9; ++i) {
        const auto* preset = static_cast<const AUPreset*>(CFArrayGetValueAtIndex(first, i));
        EXPECT_EQ(preset->presetNumber, i);
        EXPECT_EQ(text(preset->presetName), names[i]);
        EXPECT_EQ(CFArrayGetValueAtIndex(second, i), preset); // the same records
    }
    CFRelease(first);
    CFRelease(second);
}

TEST(UnitPresets, SelectingAPresetSetsItsValuesAndResetsTheEngine) {
    TolvarUnit unit;
    const Channels input =
        signal(2, 1024, [](unsigned c, unsigned i) { return 0.5 * std::sin(0.03 * i + c); });
    unit.render(input, 256);
    ASSERT_EQ(unit.setParameter(8, 6), noErr);
    const CFStringRef name = CFStringCreateWithCString(nullptr, "Chosen", kCFStringEncodingUTF8);
    ASSERT_EQ(select(unit, 7, name), noErr);
    CFRelease(name);
    EXPECT_EQ(unit.parameter(5), 0); // High Frequency
    EXPECT_EQ(unit.parameter(3), 2); // High EQ
    EXPECT_EQ(unit.parameter(8), 0); // Input Trim back at its default
    EXPECT_EQ(unit.parameter(9), 0);
    EXPECT_EQ(unit.parameter(12), 0);

    // The next render starts from silence at the preset's values, as a fresh unit would.
    TolvarUnit fresh(48000, 2, false);
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        ASSERT_EQ(fresh.setParameter(id, classic::factoryPresets()[7].values[id]), noErr);
    }
    ASSERT_EQ(fresh.initialize(), noErr);
    EXPECT_EQ(unit.render(input, 256), fresh.render(input, 256));

    AUPreset present{};
    UInt32 size = sizeof present;
    ASSERT_EQ(AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_PresentPreset,
                                   kAudioUnitScope_Global, 0, &present, &size),
              noErr);
    EXPECT_EQ(present.presetNumber, 7);
    EXPECT_EQ(text(present.presetName), "Chosen"); // the caller's name stands
    CFRelease(present.presetName);
}

TEST(UnitPresets, APresetWithoutANameKeepsItsOwn) {
    TolvarUnit unit(48000, 2, false);
    ASSERT_EQ(select(unit, 6, nullptr), noErr);
    AUPreset present{};
    UInt32 size = sizeof present;
    ASSERT_EQ(AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_PresentPreset,
                                   kAudioUnitScope_Global, 0, &present, &size),
              noErr);
    EXPECT_EQ(present.presetNumber, 6);
    EXPECT_EQ(text(present.presetName), "Tube Edge");
    CFRelease(present.presetName);
}

TEST(UnitPresets, NumbersOutsideTheListAreRefused) {
    TolvarUnit unit(48000, 2, false);
    ASSERT_EQ(unit.setParameter(1, 3), noErr);
    EXPECT_EQ(select(unit, 9, nullptr), kAudioUnitErr_InvalidPropertyValue);
    EXPECT_EQ(unit.parameter(1), 3);
}

} // namespace
