// Corvel's preamp steps ("OFF", line and microphone drive), EQ In, the high-pass fade and the
// polarity crossfade, and its bounds under hostile input.

#include "engine.h"
#include "engine_checks.h"
#include "presets/factory_preset.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace {

using checks::prepared;
using classic::Engine;
using classic::Values;
namespace param = classic::param;
using checks::with;

std::vector<double> left(Engine& engine, const std::vector<double>& x) {
    std::vector<double> out;
    for (double s : x) {
        out.push_back(engine.tick(s, s, 2).first);
    }
    return out;
}

TEST(CorvelEngine, DefaultsPassAQuietSineAtUnitySixteenFramesLate) {
    auto engine = prepared<Engine>(classic::defaultValues());
    const std::vector<double> x = checks::sine(9600, 0.01, 1000, 48000);
    const std::vector<double> out = left(*engine, x);
    for (std::size_t i = 4800; i < x.size(); ++i) {
        EXPECT_NEAR(out[i], x[i - 16], 2e-4);
    }
    EXPECT_EQ(engine->highPassOn(), 0.0);
    EXPECT_EQ(engine->eqIn(), 1.0);
}

// "OFF": the wet path fades out with the 2 ms mute while the input level glides to 0 dB; the
// delayed dry signal stays at Mix below 100, and at Mix 100 the output falls silent.
TEST(CorvelEngine, OffStepMutesTheWetPathWithATwoMillisecondFade) {
    const double fs = 48000;
    const std::vector<double> x = checks::sine(24000, 0.1, 440, fs);
    for (float mix : {100.0f, 50.0f}) {
        SCOPED_TRACE(mix);
        const Values start = with({{param::inputGain, 4}, {param::mix, mix}}); // "LINE +10"
        auto engine = prepared<Engine>(start);
        std::vector<double> out;
        for (std::size_t i = 0; i < 4800; ++i) {
            engine->tick(x[i], x[i], 2);
        }
        const Values off = with({{param::inputGain, 7}, {param::mix, mix}});
        engine->frame.setTargets(off.data());
        for (std::size_t i = 4800; i < x.size(); ++i) {
            out.push_back(engine->tick(x[i], x[i], 2).first);
            if (i == 4800 + 96) { // 2 ms: one time constant of the mute
                EXPECT_NEAR(engine->mute(), std::exp(-1.0), 0.01);
            }
        }
        EXPECT_LT(engine->mute(), 1e-12);
        EXPECT_NEAR(engine->inputLevel(), 0.0, 1e-6); // 8 ms glide from +10 dB
        // Long after the fade the output is the dry part; what is left of the wet path is the
        // DC blocker's 3 Hz memory of the fade, below -85 dBFS.
        for (std::size_t j = 9600; j < out.size(); ++j) {
            const double dry = x[4800 + j - 16];
            const double expected = dry * (1.0 - mix / 100.0);
            ASSERT_NEAR(out[j], expected, 5e-5) << j;
        }
    }
}

// From "LINE +20" to "MIC +20" the level stays +20 dB but the drive rises from 0.5 to 0.85: the
// same signal saturates more.
TEST(CorvelEngine, LineToMicKeepsTheLevelAndRaisesTheDrive) {
    const double fs = 48000;
    const std::vector<double> x = checks::sine(19200, 0.05, 500, fs);
    auto distortion = [&](float step) {
        auto engine = prepared<Engine>(with({{param::inputGain, step}, {param::outputTrim, -20}}));
        EXPECT_EQ(engine->inputLevel(), 20.0);
        const std::vector<double> out = left(*engine, x);
        const double h1 = checks::sineAmplitude(out, 9600, 9600, 500, fs);
        const double h2 = checks::sineAmplitude(out, 9600, 9600, 1000, fs);
        const double h3 = checks::sineAmplitude(out, 9600, 9600, 1500, fs);
        return std::make_pair(h1, std::hypot(h2, h3) / h1);
    };
    const auto line = distortion(6);
    const auto mic = distortion(8);
    EXPECT_GT(mic.second, 1.5 * line.second);
    // Both are +20 dB in, -20 dB out: near unity, the mic path a little more compressed.
    EXPECT_NEAR(checks::decibels(line.first / 0.05), 0.0, 1.5);
    EXPECT_NEAR(checks::decibels(mic.first / 0.05), 0.0, 3.0);
    EXPECT_LT(mic.first, line.first);
}

TEST(CorvelEngine, StepsAboveOffSwitchTheDriveAtOnce) {
    auto engine = prepared<Engine>(with({{param::inputGain, 6}}));
    const Values mic = with({{param::inputGain, 8}});
    engine->frame.setTargets(mic.data());
    engine->tick(0, 0, 2);
    EXPECT_EQ(engine->inputLevel(), 20.0); // +20 dB either way
    EXPECT_EQ(engine->mute(), 1.0);
}

// EQ In 0 takes the three filters and the high pass out of the path; High Pass "Off" keeps
// the high-pass filters running at 50 Hz but weighted 0.
TEST(CorvelEngine, EqInZeroRemovesTheHighPassToo) {
    const double fs = 48000;
    const std::vector<double> x = checks::sine(48000, 0.01, 60, fs);
    auto level = [&](const Values& v) {
        auto engine = prepared<Engine>(v);
        return checks::sineAmplitude(left(*engine, x), 24000, 24000, 60, fs) / 0.01;
    };
    const double flat = level(classic::defaultValues());
    const double filtered = level(with({{param::highPass, 4}, {param::lowShelf, -16}}));
    const double bypassedEq =
        level(with({{param::highPass, 4}, {param::lowShelf, -16}, {param::eqIn, 0}}));
    EXPECT_LT(checks::decibels(filtered / flat), -30.0);
    EXPECT_NEAR(checks::decibels(bypassedEq / flat), 0.0, 0.01);
    EXPECT_NEAR(checks::decibels(flat), 0.0, 0.05);
    // "Off": the high-pass filters still run at 50 Hz, with weight 0.
    auto engine = prepared<Engine>(classic::defaultValues());
    EXPECT_EQ(engine->highPassOn(), 0.0);
    const classic::Biquad& hp = engine->current(Engine::highPass);
    EXPECT_EQ(hp, classic::highPassDesign(engine->frame.fos, 1)); // the 50 Hz design
}

// Polarity: the wet path crosses through 0 with the 2 ms glide; the dry part keeps its sign.
TEST(CorvelEngine, PolarityCrossfadesThroughZero) {
    auto engine = prepared<Engine>(classic::defaultValues());
    const Values on = with({{param::polarity, 1}});
    engine->frame.setTargets(on.data());
    double previous = engine->polarity();
    bool seenHalf = false;
    for (unsigned frame = 0; frame < 4800; ++frame) {
        engine->tick(0, 0, 2);
        EXPECT_LE(engine->polarity(), previous);
        if (frame == 95) { // 2 ms = 384 substeps: 1 - 2(1 - e^-1) from +1
            EXPECT_NEAR(engine->polarity(), 1 - 2 * (1 - std::exp(-1.0)), 0.01);
            seenHalf = true;
        }
        previous = engine->polarity();
    }
    EXPECT_TRUE(seenHalf);
    EXPECT_LT(previous, -0.999999);

    const double fs = 48000;
    const std::vector<double> x = checks::sine(9600, 0.01, 700, fs);
    const auto straight = left(*prepared<Engine>(with({{param::mix, 70}})), x);
    const auto inverted =
        left(*prepared<Engine>(with({{param::mix, 70}, {param::polarity, 1}})), x);
    // out = 0.3 dry + 0.7 wet, wet close to dry: 1.0 straight, -0.4 inverted.
    const double a = checks::sineAmplitude(straight, 4800, 4800, 700, fs) / 0.01;
    const double b = checks::sineAmplitude(inverted, 4800, 4800, 700, fs) / 0.01;
    EXPECT_NEAR(a, 1.0, 0.005);
    EXPECT_NEAR(b, 0.4, 0.005);
}

TEST(CorvelEngine, MicPlusEightyStaysBounded) {
    auto engine = prepared<Engine>(with({{param::inputGain, 20}}));
    for (const checks::Hostile& input : checks::hostileInputs(9600)) {
        SCOPED_TRACE(input.name);
        engine->reset(with({{param::inputGain, 20}}).data());
        double peak = 0;
        for (double s : input.samples) {
            const auto [l, r] = engine->tick(s, -s, 2);
            ASSERT_TRUE(std::isfinite(l) && std::isfinite(r));
            peak = std::fmax(peak, std::fmax(std::fabs(l), std::fabs(r)));
        }
        EXPECT_LT(peak, 8.0);
    }
}

TEST(CorvelEngine, BoundedAndFiniteForHostileInputsAtEveryPreset) {
    for (const classic::FactoryPreset& preset : classic::factoryPresets()) {
        for (const checks::Hostile& input : checks::hostileInputs(4000)) {
            SCOPED_TRACE(std::string(preset.name) + ", " + input.name);
            auto engine = prepared<Engine>(preset.values, 44100);
            for (double s : input.samples) {
                const auto [l, r] = engine->tick(s, 0.5 * s, 2);
                ASSERT_TRUE(std::isfinite(l) && std::isfinite(r));
                ASSERT_LT(std::fabs(l), 16.0);
                ASSERT_LT(std::fabs(r), 16.0);
            }
        }
    }
}

TEST(CorvelEngine, FiltersRefreshEvery128Substeps) {
    auto engine = prepared<Engine>(classic::defaultValues());
    const Values bright = with({{param::midFrequency, 5}, {param::midGain, 0}});
    // A selector change reaches the targets at the next block: frame 0, then every 32 frames.
    engine->tick(0, 0, 2);
    engine->frame.setTargets(bright.data());
    const classic::Biquad before = engine->target(Engine::midBell);
    for (unsigned frame = 1; frame < 32; ++frame) {
        engine->tick(0, 0, 2);
        EXPECT_EQ(engine->target(Engine::midBell), before) << frame;
    }
    engine->tick(0, 0, 2); // frame 32: substep 128
    EXPECT_EQ(engine->target(Engine::midBell),
              classic::midBellDesign(engine->frame.fos, engine->frame.current[param::midGain], 5));
}

TEST(CorvelEngine, SilenceInSilenceOut) {
    auto engine = prepared<Engine>(classic::factoryPresets()[7].values);
    for (unsigned i = 0; i < 9600; ++i) {
        const auto [l, r] = engine->tick(0, 0, 2);
        ASSERT_EQ(l, 0.0);
        ASSERT_EQ(r, 0.0);
    }
}

// The many-frame render path gives tick's results bit for bit, block sizes around its run of
// 32 frames included, mono and stereo, with targets moving between blocks.
TEST(CorvelEngine, RenderMatchesTickBitForBit) {
    const std::vector<classic::Values> moves = {
        checks::with({{param::highShelf, 6}, {param::highPass, 3}}),
        checks::with({{param::inputGain, 7}}),
        checks::with({{param::inputGain, 14}, {param::midGain, -9}, {param::polarity, 1}}),
        checks::with({{param::eqIn, 0}, {param::shimmer, 35}, {param::mix, 60}})};
    for (unsigned block : {1u, 7u, 32u, 33u, 512u}) {
        for (unsigned channels : {1u, 2u}) {
            SCOPED_TRACE(std::to_string(block) + (channels == 1 ? " mono" : " stereo"));
            checks::expectRenderMatchesTick<classic::Engine>(moves, block, channels);
        }
    }
}

// Glides that tick started and settled between two renders: render's coefficients follow them.
TEST(CorvelEngine, RenderAfterTickFollowsTheSettledGlides) {
    checks::expectRenderAfterTickMatches<classic::Engine>(
        classic::defaultValues(), with({{param::highShelf, 6}, {param::lowShelf, -4}}), 6000);
}

} // namespace
