// Sample-accurate automation through the unit's own calls: set-parameter with an offset,
// scheduled events and ramps, read back at buffer boundaries.

#include "support/tolvar_unit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

using unithost::Channels;
using unithost::signal;
using unittest::TolvarUnit;

constexpr unsigned gain = 0, level = 1, outputTrim = 9, mix = 10;

AudioUnitParameterEvent immediate(unsigned id, UInt32 offset, float value) {
    AudioUnitParameterEvent e{};
    e.parameter = id;
    e.eventType = kParameterEvent_Immediate;
    e.eventValues.immediate.bufferOffset = offset;
    e.eventValues.immediate.value = value;
    return e;
}

AudioUnitParameterEvent ramp(unsigned id, SInt32 offset, UInt32 duration, float from, float to) {
    AudioUnitParameterEvent e{};
    e.parameter = id;
    e.eventType = kParameterEvent_Ramped;
    e.eventValues.ramp.startBufferOffset = offset;
    e.eventValues.ramp.durationInFrames = duration;
    e.eventValues.ramp.startValue = from;
    e.eventValues.ramp.endValue = to;
    return e;
}

void renderFrames(TolvarUnit& unit, UInt32 frames) {
    Channels out;
    ASSERT_EQ(unit.renderOnce(signal(2, frames, [](auto, auto) { return 0.1; }), out), noErr);
}

TEST(UnitAutomation, EqualOffsetsKeepTheirOrder) {
    TolvarUnit unit;
    ASSERT_EQ(unit.setParameter(outputTrim, -1, 10), noErr); // first
    ASSERT_EQ(unit.setParameter(outputTrim, -2, 5), noErr);  // second
    ASSERT_EQ(unit.setParameter(outputTrim, -3, 10), noErr); // third
    renderFrames(unit, 7);
    EXPECT_EQ(unit.parameter(outputTrim), -2); // second, at frame 5
    renderFrames(unit, 3);                     // the others now wait at offset 3
    EXPECT_EQ(unit.parameter(outputTrim), -2);
    renderFrames(unit, 1);
    EXPECT_EQ(unit.parameter(outputTrim), -3); // first, then third
}

TEST(UnitAutomation, RampsStepFrameByFrame) {
    TolvarUnit unit;
    ASSERT_EQ(unit.schedule({ramp(mix, 2, 4, 0, 100)}), noErr);
    // Offsets count from the next buffer; each one-frame buffer brings the ramp one closer.
    std::vector<float> seen;
    for (int i = 0; i < 8; ++i) {
        renderFrames(unit, 1);
        seen.push_back(unit.parameter(mix));
    }
    const std::vector<float> want = {100, 100, 0, 25, 50, 75, 100, 100};
    EXPECT_EQ(seen, want);
}

TEST(UnitAutomation, JoinedRampsAndRampsAlreadyOver) {
    TolvarUnit unit;
    ASSERT_EQ(unit.schedule({ramp(mix, -3, 4, 0, 100)}), noErr);
    renderFrames(unit, 1);
    EXPECT_EQ(unit.parameter(mix), 75);
    renderFrames(unit, 1);
    EXPECT_EQ(unit.parameter(mix), 100);
    ASSERT_EQ(unit.schedule({ramp(level, -4, 4, 0, 7)}), noErr);
    renderFrames(unit, 1);
    EXPECT_EQ(unit.parameter(level), 7);
    ASSERT_EQ(unit.schedule({ramp(level, std::numeric_limits<SInt32>::min(), 10, 0, 3)}), noErr);
    renderFrames(unit, 1);
    EXPECT_EQ(unit.parameter(level), 3);
}

TEST(UnitAutomation, AnOffsetBeyondTheBufferTakesEffectLater) {
    TolvarUnit unit;
    ASSERT_EQ(unit.setParameter(gain, 2.6f, 100), noErr);
    EXPECT_EQ(unit.parameter(gain), 2); // not yet
    renderFrames(unit, 64);
    EXPECT_EQ(unit.parameter(gain), 2);
    renderFrames(unit, 36);
    EXPECT_EQ(unit.parameter(gain), 2); // offset 100 is frame 36 of this second buffer
    renderFrames(unit, 1);
    EXPECT_EQ(unit.parameter(gain), 3); // normalised on the way in
}

TEST(UnitAutomation, RefusedBatchesChangeNothing) {
    TolvarUnit unit;
    std::vector<AudioUnitParameterEvent> tooMany(513, immediate(level, 0, 1));
    EXPECT_EQ(unit.schedule(tooMany), kAudioUnitErr_CannotDoInCurrentContext);
    std::vector<AudioUnitParameterEvent> badLast = {immediate(level, 0, 1), immediate(mix, 0, 20)};
    badLast.back().element = 1;
    EXPECT_EQ(unit.schedule(badLast), kAudioUnitErr_InvalidParameter);
    std::vector<AudioUnitParameterEvent> notFinite = {
        immediate(level, 0, 1), ramp(mix, 0, 8, 0, std::numeric_limits<float>::quiet_NaN())};
    EXPECT_EQ(unit.schedule(notFinite), kAudioUnitErr_InvalidParameterValue);
    renderFrames(unit, 64);
    EXPECT_EQ(unit.parameter(level), 5);
    EXPECT_EQ(unit.parameter(mix), 100);
    EXPECT_EQ(unit.setParameter(13, std::numeric_limits<float>::quiet_NaN(), 10),
              kAudioUnitErr_InvalidParameterValue);
}

TEST(UnitAutomation, ResetInitialiseAndRestoreDropWhatWasQueued) {
    TolvarUnit unit;
    // Reset: a queued value and a running ramp.
    ASSERT_EQ(unit.schedule({ramp(mix, 0, 1000, 0, 100), immediate(level, 500, 9)}), noErr);
    renderFrames(unit, 10);
    const float midRamp = unit.parameter(mix);
    ASSERT_GT(midRamp, 0);
    ASSERT_EQ(AudioUnitReset(unit.unit(), kAudioUnitScope_Global, 0), noErr);
    renderFrames(unit, 1000);
    EXPECT_EQ(unit.parameter(mix), midRamp);
    EXPECT_EQ(unit.parameter(level), 5);

    // Initialise.
    ASSERT_EQ(unit.setParameter(level, 8, 20), noErr);
    ASSERT_EQ(AudioUnitUninitialize(unit.unit()), noErr);
    ASSERT_EQ(unit.initialize(), noErr);
    renderFrames(unit, 64);
    EXPECT_EQ(unit.parameter(level), 5);

    // A successful restore.
    CFPropertyListRef state = nullptr;
    UInt32 size = sizeof state;
    ASSERT_EQ(AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_ClassInfo,
                                   kAudioUnitScope_Global, 0, &state, &size),
              noErr);
    ASSERT_EQ(unit.setParameter(level, 8, 20), noErr);
    ASSERT_EQ(AudioUnitSetProperty(unit.unit(), kAudioUnitProperty_ClassInfo,
                                   kAudioUnitScope_Global, 0, &state, sizeof state),
              noErr);
    CFRelease(state);
    renderFrames(unit, 64);
    EXPECT_EQ(unit.parameter(level), 5);
}

TEST(UnitAutomation, AFactoryPresetKeepsQueuedAutomation) {
    TolvarUnit unit;
    ASSERT_EQ(unit.setParameter(outputTrim, -6, 20), noErr);
    const AUPreset preset{6, nullptr};
    ASSERT_EQ(AudioUnitSetProperty(unit.unit(), kAudioUnitProperty_PresentPreset,
                                   kAudioUnitScope_Global, 0, &preset, sizeof preset),
              noErr);
    renderFrames(unit, 64);
    EXPECT_EQ(unit.parameter(outputTrim), -6);
    EXPECT_EQ(unit.parameter(gain), 4); // Tube Edge
}

} // namespace
