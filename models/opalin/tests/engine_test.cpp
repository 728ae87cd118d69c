// The Opalin engine: its frame values and coefficient block, Peak Reduction and Limit, the
// two-stage recovery, Stereo Link, and the attack and release of a stepped sine.

#include "dynamics_step_checks.h"
#include "engine.h"
#include "presets/factory_preset.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace classic {
namespace {

using dynamicstest::play;
using dynamicstest::sampleRate;

std::unique_ptr<Engine> engineWith(std::initializer_list<std::pair<unsigned, float>> overrides) {
    auto engine = std::make_unique<Engine>();
    const Values values = makePreset("Test", "Test", overrides).values;
    engine->prepare(sampleRate, values.data());
    return engine;
}

TEST(OpalinEngine, DefaultsGiveUnityGainAndTheirThreshold) {
    auto engine = engineWith({});
    const double fos = 4 * sampleRate;
    EXPECT_EQ(engine->frame.inputGain, 1.0);
    EXPECT_EQ(engine->frame.outputGain, 1.0);
    EXPECT_EQ(engine->frame.postGain, 1.0);
    const LevelingSettings& s = engine->settings();
    EXPECT_DOUBLE_EQ(s.threshold, -11.25);
    EXPECT_EQ(s.ratio, 3.0);
    EXPECT_EQ(s.knee, 12.0);
    EXPECT_EQ(s.link, 1.0);
    EXPECT_EQ(s.highPass, 0.0);
    EXPECT_DOUBLE_EQ(s.attack, 1 - std::exp(-1 / (fos * 0.010)));
    EXPECT_DOUBLE_EQ(s.release, 1 - std::exp(-1 / (fos * 0.060)));
    EXPECT_DOUBLE_EQ(s.fall, 1 - std::exp(-1 / (fos * 2.5)));
    EXPECT_DOUBLE_EQ(s.detector, 1 - std::exp(-1 / (fos * 0.00015)));
    EXPECT_DOUBLE_EQ(s.memoryRise, 1 - std::exp(-1 / (fos * 0.45)));
    EXPECT_EQ(engine->frame.input.drive, 0.62);
    EXPECT_EQ(engine->frame.input.bias, 0.035);
    EXPECT_EQ(engine->frame.output.drive, 0.4);
    EXPECT_EQ(engine->frame.output.bias, 0.018);
}

TEST(OpalinEngine, GainAndPeakReductionLaws) {
    struct Case {
        float gain, peakReduction, outputTrim;
        double outputGain, threshold;
    };
    const Case cases[] = {
        {100, 0, 0, 32, 5},          // +30.1 dB; threshold +5 dB
        {25, 100, 0, 1.0 / 32, -60}, // -30.1 dB; -60 dB
        {50, 25, -6, std::pow(10.0, -6 / 20.0), -11.25},
        {0, 50, 12, 0, -27.5}, // Gain 0 mutes the processed path
    };
    for (const Case& c : cases) {
        auto engine = engineWith({{Engine::gain, c.gain},
                                  {Engine::peakReduction, c.peakReduction},
                                  {Engine::outputTrim, c.outputTrim}});
        EXPECT_DOUBLE_EQ(engine->frame.outputGain, c.outputGain) << c.gain;
        EXPECT_DOUBLE_EQ(engine->settings().threshold, c.threshold) << c.peakReduction;
    }
}

TEST(OpalinEngine, GainZeroLeavesOnlyTheDryShare) {
    for (const float mix : {100.0f, 50.0f}) {
        auto engine = engineWith({{Engine::gain, 0}, {model.mixId, mix}});
        for (std::size_t i = 0; i < 4800; ++i) {
            const double x = dynamicstest::sine(-6, 440, i);
            const Stereo out = engine->tick(x, x, 2);
            const double dry = i >= 16 ? dynamicstest::sine(-6, 440, i - 16) : 0.0;
            ASSERT_DOUBLE_EQ(out.first, (1 - mix / 100.0) * dry) << mix << " frame " << i;
        }
    }
}

TEST(OpalinEngine, PeakReductionZeroNeverReduces) {
    for (const float input : {0.0f, 24.0f}) {
        auto engine = engineWith({{Engine::peakReduction, 0}, {Engine::inputTrim, input}});
        for (std::size_t i = 0; i < 24000; ++i) {
            const double x = dynamicstest::sine(0, 1000, i);
            engine->tick(x, x, 2);
            ASSERT_EQ(engine->frame.gainReduction[0], 0.0) << i;
            ASSERT_EQ(engine->frame.gainReduction[1], 0.0) << i;
        }
    }
}

TEST(OpalinEngine, PeakReductionAtZeroStopsNewReductionAtTheNextSubstep) {
    auto engine = engineWith({{Engine::peakReduction, 70}});
    std::size_t i = play(*engine, -6, 1000, 0.5);
    i = play(*engine, -6, 1000, 3.0 / sampleRate, i); // off a coefficient-block boundary
    const double before = engine->frame.gainReduction[0];
    ASSERT_GT(before, 3);
    Values values = makePreset("Test", "Test", {{Engine::peakReduction, 0}}).values;
    engine->frame.setTargets(values.data());
    // The threshold still reads the smoothed value, but the target test reads the target now:
    // within one frame the reduction only releases, toward 65 % of the memory.
    play(*engine, -6, 1000, 1.0 / sampleRate, i);
    EXPECT_LT(engine->frame.gainReduction[0], before);
    EXPECT_DOUBLE_EQ(engine->settings().threshold, 5.0 - 0.65 * 70) << "no block ran";
    i = play(*engine, -6, 1000, 1.0, i + 1);
    EXPECT_GE(engine->frame.gainReduction[0], 0.65 * engine->opticalMemory(0));
    EXPECT_LT(engine->frame.gainReduction[0], 0.7 * engine->opticalMemory(0));
}

TEST(OpalinEngine, LimitRaisesRatioAndNarrowsKneeAtTheNextBlock) {
    auto engine = engineWith({});
    EXPECT_NEAR(targetReduction(RatioLaw::fixed, engine->settings(), 20, false), 13.33, 0.005);
    play(*engine, -20, 1000, 5.0 / sampleRate); // 20 substeps into the first block
    Values values = makePreset("Test", "Test", {{Engine::limit, 1}}).values;
    engine->frame.setTargets(values.data());
    for (std::size_t frame = 5; frame < 16; ++frame) {
        engine->tick(0, 0, 2);
        ASSERT_EQ(engine->settings().ratio, 3.0) << "not before the block, frame " << frame;
    }
    engine->tick(0, 0, 2); // substep 64: the block runs
    EXPECT_EQ(engine->settings().ratio, 15.0);
    EXPECT_EQ(engine->settings().knee, 5.0);
    // A level 20 dB above the threshold: 20 (1 - 1/15) instead of 20 (1 - 1/3).
    EXPECT_NEAR(targetReduction(RatioLaw::fixed, engine->settings(), 20, false), 18.67, 0.005);
}

TEST(OpalinEngine, LimitReducesMoreOfTheSameLoudSignal) {
    auto off = engineWith({{Engine::peakReduction, 60}});
    auto on = engineWith({{Engine::peakReduction, 60}, {Engine::limit, 1}});
    play(*off, -3, 1000, 0.3);
    play(*on, -3, 1000, 0.3);
    EXPECT_GT(on->frame.gainReduction[0], off->frame.gainReduction[0] + 3);
}

TEST(OpalinEngine, StereoLinkZeroAndFullOnOneLoudChannel) {
    auto apart = engineWith({{Engine::stereoLink, 0}});
    auto joined = engineWith({{Engine::stereoLink, 100}});
    for (std::size_t i = 0; i < 24000; ++i) {
        const double x = dynamicstest::sine(-3, 1000, i);
        apart->tick(x, 0, 2);
        joined->tick(x, 0, 2);
        ASSERT_EQ(apart->frame.gainReduction[1], 0.0) << i;
        ASSERT_EQ(joined->frame.gainReduction[1], joined->frame.gainReduction[0]) << i;
    }
    EXPECT_GT(apart->frame.gainReduction[0], 1);
    EXPECT_DOUBLE_EQ(apart->frame.gainReduction[0], joined->frame.gainReduction[0]);
}

TEST(OpalinEngine, SineStepAttacksWith10msAndRecoversInTwoStages) {
    auto engine = engineWith({});
    const auto trace = dynamicstest::stepTrace(*engine, 0.2, 1.0, 3.0);
    dynamicstest::expectStepResponse(trace, {0.010, 0.8, 2.0, 0.060, 0.65, 2.5});
}

TEST(OpalinEngine, LimitKeepsTheSameRecovery) {
    auto engine = engineWith({{Engine::limit, 1}});
    const auto trace = dynamicstest::stepTrace(*engine, 0.2, 1.0, 3.0);
    dynamicstest::expectStepResponse(trace, {0.010, 0.8, 2.0, 0.060, 0.65, 2.5});
}

} // namespace
} // namespace classic
