// The Vantor engine: its coefficient block by step, the knee per Ratio, the Auto release
// floor, the detector-only Sidechain HP, Stereo Link, a quiet signal passing nearly unchanged,
// and the attack and release of a stepped sine.

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

TEST(VantorEngine, AttackAndReleaseSteps) {
    const double attack[6] = {0.1e-3, 0.3e-3, 1e-3, 3e-3, 10e-3, 30e-3};
    const double release[5] = {0.1, 0.3, 0.6, 1.2, 0.1};
    for (unsigned a = 0; a < 6; ++a) {
        auto engine = engineWith({{Engine::attack, float(a)}});
        EXPECT_DOUBLE_EQ(engine->settings().attack, c(attack[a])) << a;
    }
    for (unsigned r = 0; r < 5; ++r) {
        auto engine = engineWith({{Engine::release, float(r)}});
        EXPECT_DOUBLE_EQ(engine->settings().release, c(release[r])) << r;
        EXPECT_DOUBLE_EQ(engine->settings().fall, c(12)) << r;
    }
}

TEST(VantorEngine, RatioSetsRatioAndKnee) {
    struct Case {
        float step;
        double ratio, knee, over, target;
    };
    const Case cases[] = {
        {2, 10, 2, 10, 9},     // 10:1, 10 dB over: 9 dB
        {0, 2, 12, 10, 5},     // 2:1, 10 dB over: 5 dB
        {0, 2, 12, 3, 1.6875}, // 2:1, 3 dB over, inside the knee: (3 + 6)^2 / 24 / 2
        {1, 4, 6, 3, 2.25},    // 4:1 at its upper knee edge
    };
    for (const Case& k : cases) {
        auto engine = engineWith({{Engine::ratio, k.step}});
        EXPECT_EQ(engine->settings().ratio, k.ratio);
        EXPECT_EQ(engine->settings().knee, k.knee);
        EXPECT_DOUBLE_EQ(targetReduction(RatioLaw::fixed, engine->settings(), k.over, false),
                         k.target);
    }
}

TEST(VantorEngine, FrameValues) {
    auto engine =
        engineWith({{Engine::makeup, 6}, {Engine::inputTrim, -6}, {Engine::threshold, -30}});
    EXPECT_DOUBLE_EQ(engine->frame.outputGain, std::pow(10.0, 6 / 20.0));
    EXPECT_DOUBLE_EQ(engine->frame.inputGain, std::pow(10.0, -6 / 20.0));
    EXPECT_EQ(engine->settings().threshold, -30.0);
    EXPECT_EQ(engine->frame.input.drive, 0.12);
    EXPECT_EQ(engine->frame.input.tanhBias, 0.0);
    EXPECT_EQ(engine->frame.output.drive, 0.1);
    EXPECT_EQ(engine->frame.output.denominator, 0.1);
    auto hp = engineWith({{Engine::sidechainHighPass, 4}});
    EXPECT_DOUBLE_EQ(hp->settings().highPass, std::exp(-2 * M_PI * 300 / fos));
}

TEST(VantorEngine, ThresholdAtTheTopLeavesFullScaleUnreduced) {
    auto engine = std::make_unique<Engine>();
    engine->prepare(sampleRate, factoryPresets()[8].values.data()); // Subtle Shimmer, +20 dB
    for (std::size_t i = 0; i < 24000; ++i) {
        const double x = dynamicstest::sine(0, 1000, i);
        engine->tick(x, x, 2);
        ASSERT_EQ(engine->frame.gainReduction[0], 0.0) << i;
    }
}

TEST(VantorEngine, AutoReleaseLingersOverTheSlowMemory) {
    auto automatic = engineWith({});                 // Release Auto
    auto fixed = engineWith({{Engine::release, 0}}); // 100 ms, no floor
    for (auto* engine : {automatic.get(), fixed.get()}) {
        std::size_t i = play(*engine, -3, 1000, 2.0);
        play(*engine, -120, 1000, 1.0, i);
    }
    EXPECT_LT(fixed->frame.gainReduction[0], 1e-3);
    EXPECT_GT(fixed->programMemory(0), 1) << "the memory runs, but has no effect";
    EXPECT_GE(automatic->frame.gainReduction[0], 0.35 * automatic->programMemory(0));
    EXPECT_GT(automatic->frame.gainReduction[0], 0.5);
    play(*automatic, -120, 1000, 4.0);
    EXPECT_GT(automatic->frame.gainReduction[0], 0.3) << "still there after 5 s";
}

TEST(VantorEngine, SidechainHighPassFiltersTheDetectorOnly) {
    auto off = engineWith({{Engine::threshold, -24}});
    auto at300 = engineWith({{Engine::threshold, -24}, {Engine::sidechainHighPass, 4}});
    double sumOff = 0, sum300 = 0;
    for (std::size_t i = 0; i < 48000; ++i) {
        const double x = dynamicstest::sine(-6, 40, i);
        const double a = off->tick(x, x, 2).first;
        const double b = at300->tick(x, x, 2).first;
        if (i >= 24000) {
            sumOff += a * a;
            sum300 += b * b;
        }
    }
    EXPECT_GT(off->frame.gainReduction[0], 6);
    EXPECT_LT(at300->frame.gainReduction[0], 1);
    EXPECT_GT(sum300, 2 * sumOff); // the audio keeps its low end
}

TEST(VantorEngine, StereoLinkZeroAndFull) {
    auto apart = engineWith({{Engine::stereoLink, 0}});
    auto joined = engineWith({});
    play(*apart, -3, 1000, 0.5, 0, true);
    play(*joined, -3, 1000, 0.5, 0, true);
    EXPECT_GT(apart->frame.gainReduction[0], 1);
    EXPECT_EQ(apart->frame.gainReduction[1], 0.0);
    EXPECT_EQ(joined->frame.gainReduction[1], joined->frame.gainReduction[0]);
}

TEST(VantorEngine, QuietSignalPassesNearlyUnchangedSixteenFramesLate) {
    auto engine = engineWith({});
    double worst = 0;
    for (std::size_t i = 0; i < 48000; ++i) {
        const double x = dynamicstest::sine(-40, 1000, i);
        const double y = engine->tick(x, x, 2).first;
        if (i >= 4800) {
            worst = std::fmax(worst, std::fabs(y - dynamicstest::sine(-40, 1000, i - 16)));
        }
    }
    EXPECT_EQ(engine->frame.gainReduction[0], 0.0);
    EXPECT_LT(worst, 0.01 * dynamicstest::amplitude(-40));
}

TEST(VantorEngine, SineStepAttacksWith10msAndAutoReleases) {
    auto engine = engineWith({}); // Attack 10 ms, Release Auto
    const auto trace = dynamicstest::stepTrace(*engine, 0.2, 1.0, 3.0);
    dynamicstest::expectStepResponse(trace, {0.010, 0.8, 2.0, 0.1, 0.35, 12});
}

TEST(VantorEngine, SineStepWithAFixedReleaseHasNoFloor) {
    auto engine = engineWith({{Engine::attack, 5}, {Engine::release, 1}}); // 30 ms, 300 ms
    const auto trace = dynamicstest::stepTrace(*engine, 0.2, 1.0, 4.0);
    dynamicstest::expectStepResponse(trace, {0.030, 0.8, 2.0, 0.3, 0, 12});
}

} // namespace
} // namespace classic
