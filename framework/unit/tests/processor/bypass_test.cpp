// The host's bypass property against the Bypass parameter.

#include "support/tolvar_unit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using unithost::Channels;
using unithost::signal;
using unittest::TolvarUnit;

constexpr unsigned bypassId = 12;

TEST(UnitBypass, PropertyAndParameterAgree) {
    TolvarUnit unit;
    EXPECT_EQ(unit.getUInt32(kAudioUnitProperty_BypassEffect), 0u);
    ASSERT_EQ(unit.setUInt32(kAudioUnitProperty_BypassEffect, 1), noErr);
    EXPECT_EQ(unit.parameter(bypassId), 1);
    EXPECT_EQ(unit.getUInt32(kAudioUnitProperty_BypassEffect), 1u);
    ASSERT_EQ(unit.setParameter(bypassId, 0), noErr); // the editor or automation turns it off
    EXPECT_EQ(unit.getUInt32(kAudioUnitProperty_BypassEffect), 0u);
}

TEST(UnitBypass, AHostRequestIsNeverIgnoredBecauseTheParameterMovedMeanwhile) {
    TolvarUnit unit;
    ASSERT_EQ(unit.setUInt32(kAudioUnitProperty_BypassEffect, 1), noErr);
    ASSERT_EQ(unit.setParameter(bypassId, 0), noErr);
    ASSERT_EQ(unit.setUInt32(kAudioUnitProperty_BypassEffect, 1), noErr); // again: on
    EXPECT_EQ(unit.parameter(bypassId), 1);
    EXPECT_EQ(unit.getUInt32(kAudioUnitProperty_BypassEffect), 1u);

    ASSERT_EQ(unit.setParameter(bypassId, 0), noErr);
    ASSERT_EQ(unit.setParameter(bypassId, 1), noErr);
    ASSERT_EQ(unit.setUInt32(kAudioUnitProperty_BypassEffect, 0), noErr);
    EXPECT_EQ(unit.parameter(bypassId), 0);
    // A preset turns it on; the host's off must still land.
    const AUPreset preset{0, nullptr};
    ASSERT_EQ(unit.setUInt32(kAudioUnitProperty_BypassEffect, 1), noErr);
    ASSERT_EQ(AudioUnitSetProperty(unit.unit(), kAudioUnitProperty_PresentPreset,
                                   kAudioUnitScope_Global, 0, &preset, sizeof preset),
              noErr);
    EXPECT_EQ(unit.parameter(bypassId), 0);
    ASSERT_EQ(unit.setUInt32(kAudioUnitProperty_BypassEffect, 1), noErr);
    EXPECT_EQ(unit.parameter(bypassId), 1);
}

TEST(UnitBypass, SwitchingOffWhileInitialisedResetsTheEngine) {
    TolvarUnit unit, fresh;
    const Channels input =
        signal(2, 2048, [](unsigned c, unsigned i) { return 0.5 * std::sin(0.05 * i + c); });
    ASSERT_EQ(unit.setUInt32(kAudioUnitProperty_BypassEffect, 1), noErr);
    unit.render(input, 512);
    ASSERT_EQ(unit.setUInt32(kAudioUnitProperty_BypassEffect, 0), noErr);
    // Reset: the engine starts again from silence at the current values, like a fresh one.
    EXPECT_EQ(unit.render(input, 512), fresh.render(input, 512));
}

} // namespace
