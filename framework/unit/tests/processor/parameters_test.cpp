// Parameter info, value strings and the host's set-parameter call, from the model's table.

#include "model.h"
#include "support/tolvar_unit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using unittest::TolvarUnit;

std::string text(CFStringRef s) {
    char buffer[256] = {};
    CFStringGetCString(s, buffer, sizeof buffer, kCFStringEncodingUTF8);
    return buffer;
}

OSStatus info(TolvarUnit& unit, AudioUnitScope scope, UInt32 id, AudioUnitParameterInfo& out) {
    UInt32 size = sizeof out;
    return AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_ParameterInfo, scope, id, &out,
                                &size);
}

TEST(UnitParameters, InfoFollowsTheTable) {
    TolvarUnit unit(48000, 2, false);
    constexpr UInt32 common =
        kAudioUnitParameterFlag_IsReadable | kAudioUnitParameterFlag_IsWritable |
        kAudioUnitParameterFlag_HasCFNameString | kAudioUnitParameterFlag_CFNameRelease;
    struct Row {
        UInt32 id;
        AudioUnitParameterUnit unit;
        bool ramps;
    } const rows[] = {
        {0, kAudioUnitParameterUnit_Indexed, false},  {1, kAudioUnitParameterUnit_Generic, true},
        {6, kAudioUnitParameterUnit_Boolean, false},  {8, kAudioUnitParameterUnit_Decibels, true},
        {9, kAudioUnitParameterUnit_Decibels, true},  {10, kAudioUnitParameterUnit_Percent, true},
        {11, kAudioUnitParameterUnit_Indexed, false}, {12, kAudioUnitParameterUnit_Boolean, false},
        {13, kAudioUnitParameterUnit_Percent, true},
    };
    for (const Row& row : rows) {
        AudioUnitParameterInfo p{};
        ASSERT_EQ(info(unit, kAudioUnitScope_Global, row.id, p), noErr) << row.id;
        const classic::Definition& d = classic::definitions[row.id];
        EXPECT_EQ(text(p.cfNameString), d.name);
        EXPECT_EQ(p.name[0], '\0');
        EXPECT_EQ(p.unitName, nullptr);
        EXPECT_EQ(p.clumpID, 0u);
        EXPECT_EQ(p.unit, row.unit) << d.name;
        EXPECT_EQ(p.minValue, d.minimum);
        EXPECT_EQ(p.maxValue, d.maximum);
        EXPECT_EQ(p.defaultValue, d.defaultValue);
        EXPECT_EQ(p.flags, common | (row.ramps ? kAudioUnitParameterFlag_CanRamp : 0u)) << d.name;
        CFRelease(p.cfNameString);
    }
    AudioUnitParameterInfo p{};
    EXPECT_NE(info(unit, kAudioUnitScope_Global, 14, p), noErr);
    EXPECT_NE(info(unit, kAudioUnitScope_Input, 1, p), noErr);
}

TEST(UnitParameters, ValueStrings) {
    TolvarUnit unit(48000, 2, false);
    CFArrayRef strings = nullptr;
    UInt32 size = sizeof strings;
    ASSERT_EQ(AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_ParameterValueStrings,
                                   kAudioUnitScope_Global, 2, &strings, &size),
              noErr);
    ASSERT_EQ(CFArrayGetCount(strings), 11);
    EXPECT_EQ(text(static_cast<CFStringRef>(CFArrayGetValueAtIndex(strings, 5))), "0 dB");
    EXPECT_EQ(text(static_cast<CFStringRef>(CFArrayGetValueAtIndex(strings, 0))), "\u22129 dB");
    CFRelease(strings);
    // Continuous rows have none: refused whether or not the caller wants the array.
    EXPECT_NE(AudioUnitGetPropertyInfo(unit.unit(), kAudioUnitProperty_ParameterValueStrings,
                                       kAudioUnitScope_Global, 1, nullptr, nullptr),
              noErr);
    size = sizeof strings;
    EXPECT_NE(AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_ParameterValueStrings,
                                   kAudioUnitScope_Global, 1, &strings, &size),
              noErr);
    EXPECT_EQ(AudioUnitGetPropertyInfo(unit.unit(), kAudioUnitProperty_ParameterValueStrings,
                                       kAudioUnitScope_Global, 11, nullptr, nullptr),
              noErr);
}

TEST(UnitParameters, SetParameterNormalisesAndRefuses) {
    TolvarUnit unit(48000, 2, false);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Row {
        UInt32 id;
        AudioUnitScope scope;
        AudioUnitElement element;
        float value;
        OSStatus status;
        float stored;
    } const rows[] = {
        {0, kAudioUnitScope_Global, 0, 2.6f, noErr, 3},
        {0, kAudioUnitScope_Global, 0, -0.5f, noErr, 0},
        {1, kAudioUnitScope_Global, 0, 2.5f, noErr, 2.5f},
        {8, kAudioUnitScope_Global, 0, 30, noErr, 24},
        {6, kAudioUnitScope_Global, 0, 0.7f, noErr, 1},
        {13, kAudioUnitScope_Global, 0, nan, kAudioUnitErr_InvalidParameterValue, 0},
        {9, kAudioUnitScope_Global, 0, std::numeric_limits<float>::infinity(),
         kAudioUnitErr_InvalidParameterValue, 0},
        {14, kAudioUnitScope_Global, 0, 1, kAudioUnitErr_InvalidParameter, 0},
        {1, kAudioUnitScope_Input, 0, 1, kAudioUnitErr_InvalidParameter, 2.5f},
        {1, kAudioUnitScope_Global, 1, 1, kAudioUnitErr_InvalidParameter, 2.5f},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(AudioUnitSetParameter(unit.unit(), row.id, row.scope, row.element, row.value, 0),
                  row.status)
            << row.id;
        if (row.id < classic::parameterCount) {
            EXPECT_EQ(unit.parameter(row.id), row.stored) << row.id;
        }
    }
}

} // namespace
