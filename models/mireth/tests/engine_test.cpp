// The Mireth engine: its coefficient block, the feedback law, the Double floor, the
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
double c(double seconds) {
    return 1 - std::exp(-1 / (fos * seconds));
}

std::unique_ptr<Engine> engineWith(std::initializer_list<std::pair<unsigned, float>> overrides) {
    auto engine = std::make_unique<Engine>();
    const Values values = makePreset("Test", "Test", overrides).values;
    engine->prepare(sampleRate, values.data());
    return engine;
}

TEST(MirethEngine, CoefficientBlockByRecoveryModeAndSidechain) {
    struct Case {
        float recovery, mode, sidechain;
        double attack, release, fall, corner;
    };
    const Case cases[] = {
        {0, Engine::modeFast, 0, 0.001, 0.09, 1.2, 0},     // "1 · Fast" in Fast
        {5, Engine::modeSingle, 3, 0.015, 9.6, 38.4, 200}, // "6 · Slow" in Single
        {2, Engine::modeDouble, 1, 0.004, 1.2, 4.8, 60},
        {3, Engine::modeFast, 2, 0.001, 0.3 * 2.4, 9.6, 120},
    };
    for (const Case& k : cases) {
        auto engine = engineWith({{Engine::recovery, k.recovery},
                                  {Engine::mode, k.mode},
                                  {Engine::sidechainHighPass, k.sidechain}});
        const LevelingSettings& s = engine->settings();
        EXPECT_DOUBLE_EQ(s.attack, c(k.attack)) << k.recovery << "/" << k.mode;
        EXPECT_DOUBLE_EQ(s.release, c(k.release)) << k.recovery << "/" << k.mode;
        EXPECT_DOUBLE_EQ(s.fall, c(k.fall)) << k.recovery << "/" << k.mode;
        EXPECT_DOUBLE_EQ(s.highPass, k.corner == 0 ? 0.0 : std::exp(-2 * M_PI * k.corner / fos));
        EXPECT_EQ(s.threshold, -18.0);
        EXPECT_EQ(s.knee, 14.0);
    }
    auto defaults = engineWith({});
    EXPECT_DOUBLE_EQ(defaults->frame.inputGain, std::pow(10.0, 10 / 20.0));
    EXPECT_EQ(defaults->frame.outputGain, 1.0);
    EXPECT_EQ(defaults->frame.input.drive, 0.8);
    EXPECT_EQ(defaults->frame.input.bias, 0.06);
    EXPECT_EQ(defaults->frame.output.drive, 0.38);
    EXPECT_EQ(defaults->frame.output.bias, -0.025);
}

TEST(MirethEngine, FeedbackLawTenDecibelsOverTheThreshold) {
    auto engine = engineWith({});
    // A linked level 10 dB above -18 dB, beyond the 7 dB half knee: r = 4.2, t = 32 dB.
    EXPECT_NEAR(targetReduction(RatioLaw::programDependent, engine->settings(), 10, false), 32,
                1e-12);
    EXPECT_EQ(targetReduction(RatioLaw::programDependent, engine->settings(), 40, false), 48);
}

// Reduction after a loud second and `quiet` seconds of silence, with its memory.
std::pair<double, double> afterRecovery(float mode, double quiet) {
    auto engine = engineWith({{Engine::recovery, 0}, {Engine::mode, mode}});
    std::size_t i = play(*engine, -6, 1000, 1.0);
    play(*engine, -120, 1000, quiet, i);
    return {engine->frame.gainReduction[0], engine->programMemory(0)};
}

TEST(MirethEngine, OnlyDoubleHoldsSeventyPercentOfTheMemory) {
    const auto [doubled, memory] = afterRecovery(Engine::modeDouble, 3.0);
    EXPECT_GT(memory, 0.5);
    EXPECT_GE(doubled, 0.70 * memory);
    EXPECT_LT(doubled, 0.70 * memory / (1 - 0.3 / 1.2) * 1.01); // lags the falling floor
    for (const float mode : {float(Engine::modeSingle), float(Engine::modeFast)}) {
        const auto [free, memoryToo] = afterRecovery(mode, 3.0);
        EXPECT_LT(free, 0.01) << "mode " << mode << ": the memory does not reach the audio";
        EXPECT_GT(memoryToo, 0.5) << mode;
    }
}

TEST(MirethEngine, DoubleFloorFollowsTheModeTargetAtEverySubstep) {
    auto engine = engineWith({{Engine::recovery, 0}});
    std::size_t i = play(*engine, -6, 1000, 1.0);
    i = play(*engine, -120, 1000, 2.0 + 3.0 / sampleRate, i); // held on the floor
    const double held = engine->frame.gainReduction[0];
    i = play(*engine, -120, 1000, 1.0 / sampleRate, i);
    const double heldStep = held - engine->frame.gainReduction[0];
    Values values = makePreset("Test", "Test", {{Engine::recovery, 0}, {Engine::mode, 0}}).values;
    engine->frame.setTargets(values.data());
    const double before = engine->frame.gainReduction[0];
    play(*engine, -120, 1000, 1.0 / sampleRate, i); // no coefficient block in this frame
    // Released with 0.3 s instead of following the 1.2 s memory: about four times as fast.
    EXPECT_GT(before - engine->frame.gainReduction[0], 3 * heldStep);
}

double reductionOf40Hz(float sidechain, double& outputRms) {
    auto engine = engineWith({{Engine::sidechainHighPass, sidechain}});
    std::size_t i = play(*engine, -6, 40, 1.0);
    double sum = 0;
    const std::size_t n = 24000;
    for (std::size_t k = 0; k < n; ++k, ++i) {
        const double x = dynamicstest::sine(-6, 40, i);
        const double y = engine->tick(x, x, 2).first;
        sum += y * y;
    }
    outputRms = std::sqrt(sum / n);
    return engine->frame.gainReduction[0];
}

TEST(MirethEngine, SidechainHighPassFiltersTheDetectorOnly) {
    double rmsOff, rms200;
    const double off = reductionOf40Hz(0, rmsOff);
    const double at200 = reductionOf40Hz(3, rms200);
    EXPECT_GT(off, 6);
    EXPECT_LT(at200, 0.5 * off);
    EXPECT_GT(rms200, rmsOff * std::pow(10.0, 0.25 * (off - at200) / 20)); // the lows stay
}

TEST(MirethEngine, OutputTrimActsAfterTheCellAndInputTrimDrivesIt) {
    auto plain = engineWith({});
    auto quieter = engineWith({{Engine::outputTrim, -12}});
    auto hotter = engineWith({{Engine::inputTrim, 20}});
    for (std::size_t i = 0; i < 24000; ++i) {
        const double x = dynamicstest::sine(-12, 1000, i);
        plain->tick(x, x, 2);
        quieter->tick(x, x, 2);
        hotter->tick(x, x, 2);
        ASSERT_EQ(plain->frame.gainReduction[0], quieter->frame.gainReduction[0]) << i;
        ASSERT_EQ(plain->cellChannel(0).level, quieter->cellChannel(0).level) << i;
    }
    EXPECT_GT(hotter->frame.gainReduction[0], plain->frame.gainReduction[0] + 3);
    EXPECT_NEAR(quieter->frame.outputMeanSquare[0] / plain->frame.outputMeanSquare[0],
                std::pow(10.0, -12 / 10.0), 1e-3);
}

TEST(MirethEngine, SineStepFastModeAttacksWith1msAndReleasesWith90ms) {
    // "1 · Fast" in Mode Fast: 1 ms attack, 0.3 x 0.3 s release, no floor. The feedback loop
    // reaches its plateau faster than the attack alone would.
    auto engine = engineWith({{Engine::recovery, 0}, {Engine::mode, Engine::modeFast}});
    const auto trace = dynamicstest::stepTrace(*engine, 0.2, 1.0, 3.0);
    dynamicstest::expectStepResponse(trace, {0.001, 0.1, 1.5, 0.09, 0, 1.2});
}

TEST(MirethEngine, SineStepDoubleModeHoldsTheReductionUpOverTheMemory) {
    auto engine = engineWith({}); // Recovery 3 (1.2 s), Double
    const auto trace = dynamicstest::stepTrace(*engine, 0.2, 1.0, 12.0);
    const std::size_t late = trace.drop + static_cast<std::size_t>(10 * sampleRate);
    const double ratio = trace.reduction[late] / trace.memory[late];
    EXPECT_GE(ratio, 0.70);
    EXPECT_LE(ratio, 0.70 / (1 - 1.2 / 4.8) * 1.01);
    const double fall = -1.0 / std::log(trace.memory[late + 48000] / trace.memory[late]);
    EXPECT_NEAR(fall, 4.8, 0.05);
}

} // namespace
} // namespace classic
