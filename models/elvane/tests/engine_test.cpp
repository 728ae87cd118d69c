// The Elvane engine: its fixed coefficients, the Dual floor and its per-substep Mode read, the
// detector-only Sidechain HP, the trims, and the attack and release of a stepped sine.

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

constexpr double fos = 4 * sampleRate;

std::unique_ptr<Engine> engineWith(std::initializer_list<std::pair<unsigned, float>> overrides) {
    auto engine = std::make_unique<Engine>();
    const Values values = makePreset("Test", "Test", overrides).values;
    engine->prepare(sampleRate, values.data());
    return engine;
}

TEST(ElvaneEngine, FixedCoefficientsAtTheOversampledRate) {
    auto engine = engineWith({});
    const LevelingSettings& s = engine->settings();
    EXPECT_DOUBLE_EQ(s.attack, 1 - std::exp(-1 / (4 * sampleRate * 0.0007)));
    EXPECT_DOUBLE_EQ(s.release, 1 - std::exp(-1 / (fos * 0.1)));
    EXPECT_DOUBLE_EQ(s.fall, 1 - std::exp(-1 / (fos * 2)));
    EXPECT_EQ(s.threshold, -18.0);
    EXPECT_EQ(s.knee, 14.0);
    EXPECT_EQ(s.highPass, 0.0);
    EXPECT_DOUBLE_EQ(engine->frame.inputGain, std::pow(10.0, 10 / 20.0));
    EXPECT_EQ(engine->frame.input.drive, 0.7);
    EXPECT_EQ(engine->frame.input.bias, 0.018);
    EXPECT_EQ(engine->frame.output.drive, 0.48);
    EXPECT_EQ(engine->frame.output.bias, -0.015);
    for (unsigned step = 1; step < 4; ++step) {
        auto hp = engineWith({{Engine::sidechainHighPass, float(step)}});
        EXPECT_DOUBLE_EQ(hp->settings().highPass,
                         std::exp(-2 * M_PI * sidechainHighPassHz[step] / fos));
    }
    EXPECT_NEAR(targetReduction(RatioLaw::programDependent, s, 10, false), 32, 1e-12);
}

TEST(ElvaneEngine, SingleReleasesToNothingDualHoldsTheFloor) {
    auto single = engineWith({{Engine::mode, 0}});
    auto dual = engineWith({});
    for (auto* engine : {single.get(), dual.get()}) {
        std::size_t i = play(*engine, -6, 1000, 1.0);
        play(*engine, -120, 1000, 1.5, i);
    }
    EXPECT_LT(single->frame.gainReduction[0], 1e-4);
    EXPECT_GT(single->programMemory(0), 1);
    EXPECT_GE(dual->frame.gainReduction[0], 0.65 * dual->programMemory(0));
    EXPECT_LE(dual->frame.gainReduction[0], 0.65 * dual->programMemory(0) / (1 - 0.1 / 2) * 1.01);
}

TEST(ElvaneEngine, ModeChangeActsAtTheNextSubstep) {
    auto engine = engineWith({});
    std::size_t i = play(*engine, -6, 1000, 1.0);
    i = play(*engine, -120, 1000, 1.0 + 3.0 / sampleRate, i); // on the floor, mid-block
    const double held = engine->frame.gainReduction[0];
    i = play(*engine, -120, 1000, 1.0 / sampleRate, i);
    const double heldStep = held - engine->frame.gainReduction[0];
    Values values = makePreset("Test", "Test", {{Engine::mode, 0}}).values;
    engine->frame.setTargets(values.data());
    const double before = engine->frame.gainReduction[0];
    play(*engine, -120, 1000, 1.0 / sampleRate, i);
    // Free 100 ms release instead of following the 2 s memory: many times as fast.
    EXPECT_GT(before - engine->frame.gainReduction[0], 10 * heldStep);
}

TEST(ElvaneEngine, SidechainHighPassFiltersTheDetectorOnly) {
    auto off = engineWith({});
    auto at120 = engineWith({{Engine::sidechainHighPass, 2}}); // as in Gentle Iron
    double sumOff = 0, sum120 = 0;
    for (std::size_t i = 0; i < 48000; ++i) {
        const double x = dynamicstest::sine(-12, 30, i);
        const double a = off->tick(x, x, 2).first;
        const double b = at120->tick(x, x, 2).first;
        if (i >= 24000) {
            sumOff += a * a;
            sum120 += b * b;
        }
    }
    EXPECT_GT(off->frame.gainReduction[0], 3);
    EXPECT_LT(at120->frame.gainReduction[0], 0.5 * off->frame.gainReduction[0]);
    EXPECT_GT(sum120, sumOff); // the audio keeps its low end
}

TEST(ElvaneEngine, OutputTrimActsAfterTheCellAndInputTrimDrivesIt) {
    auto plain = engineWith({});
    auto quieter = engineWith({{Engine::outputTrim, -12}});
    auto hotter = engineWith({{Engine::inputTrim, 20}});
    for (std::size_t i = 0; i < 24000; ++i) {
        const double x = dynamicstest::sine(-12, 1000, i);
        plain->tick(x, x, 2);
        quieter->tick(x, x, 2);
        hotter->tick(x, x, 2);
        ASSERT_EQ(plain->frame.gainReduction[0], quieter->frame.gainReduction[0]) << i;
    }
    EXPECT_GT(hotter->frame.gainReduction[0], plain->frame.gainReduction[0] + 3);
}

TEST(ElvaneEngine, StereoLinkZeroAndFull) {
    auto apart = engineWith({{Engine::stereoLink, 0}});
    auto joined = engineWith({});
    play(*apart, -6, 1000, 0.5, 0, true);
    play(*joined, -6, 1000, 0.5, 0, true);
    EXPECT_GT(apart->frame.gainReduction[0], 1);
    EXPECT_EQ(apart->frame.gainReduction[1], 0.0);
    EXPECT_EQ(joined->frame.gainReduction[1], joined->frame.gainReduction[0]);
}

TEST(ElvaneEngine, SineStepDualAttacksFastAndRecoversOverTheMemory) {
    auto engine = engineWith({});
    const auto trace = dynamicstest::stepTrace(*engine, 0.2, 1.0, 3.0);
    dynamicstest::expectStepResponse(trace, {0.0007, 0.1, 1.5, 0.1, 0.65, 2});
}

TEST(ElvaneEngine, SineStepSingleReleasesFreely) {
    auto engine = engineWith({{Engine::mode, 0}});
    const auto trace = dynamicstest::stepTrace(*engine, 0.2, 1.0, 3.0);
    dynamicstest::expectStepResponse(trace, {0.0007, 0.1, 1.5, 0.1, 0, 2});
}

} // namespace
} // namespace classic
