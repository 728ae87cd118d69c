// The host's transport while kelvo-aax renders: stopped, playing from a sample, looping.

#include "transport_script.h"

#include <gtest/gtest.h>

namespace {

using kelvohost::TransportOptions;
using kelvohost::TransportRun;
using State = aaxhost::ScriptedTransport::State;

TEST(TransportRun, StoppedItStaysAtTheStart) {
    TransportRun run(TransportOptions{}, 48000.0);
    State state;
    run.advance(512);
    run.describe(state);
    EXPECT_FALSE(state.playing);
    EXPECT_EQ(state.sample, 0);
    EXPECT_EQ(run.limit(512), 512u);
}

TEST(TransportRun, PlayingItAdvancesInTicksOfTheTempo) {
    TransportOptions options;
    options.playFrom = 24000;
    options.tempo = 120.0;
    options.ticksPerQuarter = 960;
    TransportRun run(options, 48000.0);
    State state;
    run.describe(state);
    EXPECT_TRUE(state.playing);
    EXPECT_EQ(state.sample, 24000);
    EXPECT_EQ(state.ticks, 960) << "half a second at 120 bpm: one quarter";
    run.advance(24000);
    run.describe(state);
    EXPECT_EQ(state.ticks, 1920);
    EXPECT_FALSE(state.looping);
}

TEST(TransportRun, ALoopCutsTheBlockAtItsEndAndJumpsBack) {
    TransportOptions options;
    options.playFrom = 900;
    options.loop = std::pair<int64_t, int64_t>{0, 1000};
    options.ticksPerQuarter = 960;
    TransportRun run(options, 48000.0);
    EXPECT_EQ(run.limit(512), 100u);
    run.advance(100);
    EXPECT_EQ(run.playhead(), 0) << "the end jumps to the start";
    EXPECT_EQ(run.limit(512), 512u);
    State state;
    run.describe(state);
    EXPECT_TRUE(state.looping);
    EXPECT_EQ(state.loopStartTicks, 0);
    EXPECT_EQ(state.loopEndTicks, 40) << "1000 samples at 48 kHz, 120 bpm, 960 per quarter";

    TransportOptions after = options;
    after.playFrom = 5000;
    TransportRun past(after, 48000.0);
    past.advance(512);
    EXPECT_EQ(past.playhead(), 5512) << "a playhead beyond the loop does not jump";
}

} // namespace
