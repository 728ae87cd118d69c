// The real-time path as the host drives it: snapshots applied once per serial, the transport
// continuity kept in the private block, what the unit's host callbacks report, and how the
// process procedure copes with whatever the host lays out.

#include "model/context.h"
#include "support/bridge_host.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace bridgetest;
using kelvoaax::ParameterSnapshot;
using kelvoaax::RenderState;

constexpr int32_t frames = 64;

class RealTime : public ::testing::Test {
protected:
    void SetUp() override {
        configureProbe({});
        effect = instance(module(probeBundle()), 2, 48000.0, false);
    }

    void initialise(bool withTransport = true) {
        ASSERT_EQ(effect->initialize(withTransport), AAX_SUCCESS);
    }
    const probe::Report& block(int32_t length = frames) {
        effect->process(input.input(), output.output(), length);
        return probeReport();
    }
    // A block whose context the test alters before the process procedure runs.
    template <typename Alter> void alteredBlock(Alter&& alter, int32_t length = frames) {
        void** context =
            static_cast<void**>(effect->prepareContext(input.input(), output.output(), length));
        alter(context);
        void* const contexts[] = {context};
        effect->component().processProc()(contexts, contexts + 1);
    }
    RenderState& state() {
        return *static_cast<RenderState*>(effect->privateBlock(kelvoaax::field::renderState));
    }
    aaxhost::ScriptedTransport::State& transport() { return effect->transport().state; }

    std::unique_ptr<aaxhost::Instance> effect;
    Block input = tone(2, 70000);
    Block output{2, 70000, 7.0f};
};

TEST_F(RealTime, TheFirstBlockAfterAResetAppliesTheSnapshotAndReportsNoChange) {
    initialise();
    AudioUnitSetParameter(unitOf(*effect), probe::level, kAudioUnitScope_Global, 0, 10.0f, 0);
    transport().playing = true;
    const probe::Report& first = block();
    EXPECT_EQ(unitValue(*effect, probe::level), 50.0f) << "the snapshot's value, applied";
    EXPECT_TRUE(first.playing);
    EXPECT_FALSE(first.changed);
    EXPECT_EQ(state().lastSerial, 1);

    AudioUnitSetParameter(unitOf(*effect), probe::level, kAudioUnitScope_Global, 0, 10.0f, 0);
    block();
    EXPECT_EQ(unitValue(*effect, probe::level), 10.0f) << "a snapshot is applied once";

    ASSERT_EQ(effect->resetPrivateData(), AAX_SUCCESS);
    EXPECT_EQ(state().lastSerial, -1);
    block();
    EXPECT_EQ(unitValue(*effect, probe::level), 50.0f) << "again after the reset";
}

TEST_F(RealTime, StartStopAndJumpsAreChanges) {
    initialise();
    struct Step {
        bool playing;
        int64_t sample;
        bool changed;
    };
    const Step steps[] = {
        {false, 0, false},      // first block
        {false, 100000, false}, // stopped, the clock jumps: no change
        {true, 0, true},        // starts
        {true, frames, false},  // plays on where it ended
        {true, 48000, true},    // jumps
        {true, 48000 + frames, false},
        {false, 48000 + 2 * frames, true}, // stops
        {false, 0, false},
    };
    for (const Step& step : steps) {
        transport().playing = step.playing;
        transport().sample = step.sample;
        const probe::Report& report = block();
        EXPECT_EQ(report.changed, step.changed) << step.playing << " at " << step.sample;
        EXPECT_EQ(report.playing, step.playing);
        if (step.playing) {
            EXPECT_EQ(report.position, static_cast<double>(step.sample));
        }
    }
}

TEST_F(RealTime, WithoutAHostClockThePositionAdvancesByTheBlocks) {
    initialise(false);
    const auto noClock = [](void** context) { context[kelvoaax::field::clock] = nullptr; };
    const double expected[] = {0.0, 64.0, 96.0};
    const int32_t lengths[] = {64, 32, 16};
    for (int i = 0; i < 3; ++i) {
        alteredBlock(noClock, lengths[i]);
        EXPECT_EQ(probeReport().sampleTime, expected[i]) << i;
        EXPECT_EQ(probeReport().transportStatus, kAudioUnitErr_CannotDoInCurrentContext)
            << "no transport to report";
    }
    effect->resetPrivateData();
    alteredBlock(noClock);
    EXPECT_EQ(probeReport().sampleTime, 0.0) << "from 0 after each reset";
}

TEST_F(RealTime, BeatTempoAndLoopComeFromTicks) {
    initialise();
    transport().tempo = 90.0;
    transport().ticksPerQuarter = 960;
    transport().ticks = 1920;
    transport().looping = true;
    transport().loopStartTicks = 960;
    transport().loopEndTicks = 3840;
    const probe::Report& report = block();
    EXPECT_EQ(report.tempoStatus, noErr);
    EXPECT_EQ(report.beat, 2.0);
    EXPECT_EQ(report.tempo, 90.0);
    EXPECT_TRUE(report.cycling);
    EXPECT_EQ(report.cycleStart, 1.0);
    EXPECT_EQ(report.cycleEnd, 4.0);

    transport().ticksPerQuarter = 0;
    const probe::Report& none = block();
    EXPECT_EQ(none.tempoStatus, kAudioUnitErr_CannotDoInCurrentContext);
    EXPECT_EQ(none.cycleStart, 0.0);
    EXPECT_EQ(none.cycleEnd, 0.0);

    transport().ticksPerQuarter = 960;
    effect->transport().failures.ticks = true;
    EXPECT_EQ(block().tempoStatus, kAudioUnitErr_CannotDoInCurrentContext);
    EXPECT_EQ(probeReport().cycleEnd, 4.0) << "the loop needs only ticks per quarter";
}

TEST_F(RealTime, ANegativeBlockRendersNothingAndStillAdvances) {
    initialise();
    effect->setSampleClock(4800);
    const uint64_t renders = probeReport().renders;
    block(-5);
    EXPECT_EQ(probeReport().renders, renders);
    EXPECT_TRUE(state().valid);
    EXPECT_EQ(state().nextSample, 4800.0);
    EXPECT_EQ(output.samples[0][0], 7.0f) << "no frames, nothing written";
}

TEST_F(RealTime, ASnapshotOfAnotherBindingCountIsIgnored) {
    initialise();
    block();
    ParameterSnapshot stale{};
    stale.serial = 99;
    stale.count = 3;
    stale.values[probe::level - 0] = 1.0f;
    effect->mailbox(kelvoaax::field::snapshot)->post(&stale, sizeof stale);
    AudioUnitSetParameter(unitOf(*effect), probe::level, kAudioUnitScope_Global, 0, 30.0f, 0);
    block();
    EXPECT_EQ(state().lastSerial, 1) << "not applied; the next block tries again";
    EXPECT_EQ(unitValue(*effect, probe::level), 30.0f);
}

// The private block: a refused reset leaves a block that names no model, whatever the host
// had put there.
TEST_F(RealTime, ARefusedResetEmptiesTheBlock) {
    initialise();
    unsigned char block16[16];
    std::memset(block16, 0xAB, sizeof block16);
    EXPECT_EQ(effect->effect().ResetFieldData(kelvoaax::field::renderState, block16, 16),
              AAX_ERROR_UNSPECIFIED);
    EXPECT_EQ(block16[0], 0);
    EXPECT_EQ(block16[15], 0);
    EXPECT_EQ(effect->effect().ResetFieldData(kelvoaax::field::renderState, nullptr, 32),
              AAX_ERROR_NULL_ARGUMENT);

    RenderState& rendered = state();
    std::memset(&rendered, 0xAB, sizeof rendered);
    EXPECT_EQ(effect->effect().ResetFieldData(kelvoaax::field::clock, &rendered, 32), AAX_SUCCESS);
    EXPECT_EQ(rendered.model, nullptr) << "another field: zero-filled";

    // Uninitialised, the model has no backend to render with.
    effect->effect().Uninitialize();
    std::memset(&rendered, 0xAB, sizeof rendered);
    EXPECT_EQ(effect->effect().ResetFieldData(kelvoaax::field::renderState, &rendered, 32),
              AAX_ERROR_UNSPECIFIED);
    EXPECT_EQ(rendered.model, nullptr);
    block();
    EXPECT_EQ(output.samples[0][0], 7.0f) << "an instance without a model is not processed";
}

TEST_F(RealTime, TheProcedureSkipsWhatNamesNoInstance) {
    initialise();
    auto other = instance(module(probeBundle()), 2);
    Block otherOutput(2, frames, 7.0f);
    void* const first = effect->prepareContext(input.input(), output.output(), frames);
    void* const second = other->prepareContext(input.input(), otherOutput.output(), frames);
    void* const contexts[] = {nullptr, first, nullptr, second};
    static_cast<void**>(second)[kelvoaax::field::renderState] = nullptr;
    effect->component().processProc()(contexts, contexts + 4);
    EXPECT_EQ(output.samples[0][0], input.samples[0][0]);
    EXPECT_EQ(otherOutput.samples[0][0], 7.0f) << "no render state: skipped";
}

// A block the model cannot render is silence, whatever its length, never stale audio.
TEST_F(RealTime, UnrenderedBlocksAreSilence) {
    initialise();
    const auto silent = [&](int32_t length) {
        for (const auto& channel : output.samples) {
            for (int32_t i = 0; i < length; ++i) {
                if (channel[static_cast<std::size_t>(i)] != 0.0f) {
                    return false;
                }
            }
        }
        return true;
    };
    block(65537);
    EXPECT_TRUE(silent(65537)) << "longer than the model renders";

    std::fill(output.samples[0].begin(), output.samples[0].end(), 7.0f);
    std::fill(output.samples[1].begin(), output.samples[1].end(), 7.0f);
    alteredBlock([](void** context) { context[kelvoaax::field::snapshot] = nullptr; });
    EXPECT_TRUE(silent(frames)) << "no snapshot yet";

    alteredBlock([](void** context) { context[kelvoaax::field::audioOut] = nullptr; });
    alteredBlock([](void** context) { context[kelvoaax::field::bufferLength] = nullptr; });
}

} // namespace
