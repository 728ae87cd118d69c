// Nothing on the render path allocates: the render call, the automation producers, the meters.

#include "support/tolvar_unit.h"
#include "testing/allocation_counter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using unithost::Channels;
using unithost::signal;
using unittest::TolvarUnit;

TEST(UnitAllocation, RenderAndAutomationAllocateNothing) {
    for (const UInt32 channels : {1u, 2u}) {
        TolvarUnit unit(48000, channels);
        const Channels input = signal(
            channels, 512, [](unsigned c, unsigned i) { return 0.5 * std::sin(0.05 * i + c); });
        Channels output;
        ASSERT_EQ(unit.renderOnce(input, output), noErr); // warm: first-use statics built
        AudioUnitParameterEvent ramp{};
        ramp.parameter = 10;
        ramp.eventType = kParameterEvent_Ramped;
        ramp.eventValues.ramp.startBufferOffset = 3;
        ramp.eventValues.ramp.durationInFrames = 100;
        ramp.eventValues.ramp.endValue = 100;
        Channels prepared(output); // the output storage exists before counting
        kelvo::testing::AllocationScope scope;
        ASSERT_EQ(unit.setParameter(1, 7, 30), noErr);
        ASSERT_EQ(AudioUnitScheduleParameters(unit.unit(), &ramp, 1), noErr);
        ASSERT_EQ(AudioUnitReset(unit.unit(), kAudioUnitScope_Global, 0), noErr);
        for (int block = 0; block < 8; ++block) {
            unithost::BufferList list{channels, {}};
            for (UInt32 c = 0; c < channels; ++c) {
                list.mBuffers[c] = {1, 512 * sizeof(float), prepared[c].data()};
            }
            ASSERT_EQ(unit.renderInto(512, list.list()), noErr);
        }
        unit.meters();
        EXPECT_EQ(scope.count(), 0u) << channels << " channels";
    }
}

} // namespace
