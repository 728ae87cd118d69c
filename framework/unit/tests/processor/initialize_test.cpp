// Initialisation: the sample rates and channel configurations the unit accepts, and its
// latency at each.

#include "support/tolvar_unit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using unittest::TolvarUnit;

TEST(UnitInitialize, SampleRatesWithinEightToOneNinetyTwoKilohertz) {
    struct Row {
        double rate;
        OSStatus status;
    } const rows[] = {
        {7999, kAudioUnitErr_FormatNotSupported},
        {8000, noErr},
        {44100, noErr},
        {192000, noErr},
        {192001, kAudioUnitErr_FormatNotSupported},
        {7999.999, kAudioUnitErr_FormatNotSupported},
    };
    for (const Row& row : rows) {
        TolvarUnit unit(row.rate, 2, false);
        EXPECT_EQ(unit.initialize(), row.status) << row.rate;
        if (row.status == noErr) {
            Float64 latency = -1;
            UInt32 size = sizeof latency;
            ASSERT_EQ(AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_Latency,
                                           kAudioUnitScope_Global, 0, &latency, &size),
                      noErr);
            EXPECT_DOUBLE_EQ(latency, 16.0 / row.rate);
        }
    }
}

TEST(UnitInitialize, ChannelConfigurations) {
    struct Row {
        UInt32 in, out;
        OSStatus status;
    } const rows[] = {
        {1, 1, noErr},
        {2, 2, noErr},
        {1, 2, kAudioUnitErr_FormatNotSupported},
        {2, 1, kAudioUnitErr_FormatNotSupported},
    };
    for (const Row& row : rows) {
        TolvarUnit unit(48000, 2, false);
        AudioStreamBasicDescription format{};
        UInt32 size = sizeof format;
        ASSERT_EQ(AudioUnitGetProperty(unit.unit(), kAudioUnitProperty_StreamFormat,
                                       kAudioUnitScope_Output, 0, &format, &size),
                  noErr);
        format.mChannelsPerFrame = row.in;
        ASSERT_EQ(AudioUnitSetProperty(unit.unit(), kAudioUnitProperty_StreamFormat,
                                       kAudioUnitScope_Input, 0, &format, sizeof format),
                  noErr);
        format.mChannelsPerFrame = row.out;
        ASSERT_EQ(AudioUnitSetProperty(unit.unit(), kAudioUnitProperty_StreamFormat,
                                       kAudioUnitScope_Output, 0, &format, sizeof format),
                  noErr);
        EXPECT_EQ(unit.initialize(), row.status) << row.in << " in " << row.out << " out";
    }
}

TEST(UnitInitialize, InitialiseUninitialiseRepeatedly) {
    TolvarUnit unit(96000, 1, false);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(unit.initialize(), noErr);
        unithost::Channels out;
        ASSERT_EQ(unit.renderOnce(unithost::signal(1, 64, [](auto, auto) { return 0.0; }), out),
                  noErr);
        ASSERT_EQ(AudioUnitUninitialize(unit.unit()), noErr);
    }
}

} // namespace
