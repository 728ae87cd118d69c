// The Fennic gain cell: the gain computer's knee, the loop's ratios, the "All Buttons" mode,
// the attack and release scales, the stereo link, and the gain reduction the meters read.

#include "engine.h"
#include "engine_checks.h"
#include "presets/factory_preset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

namespace {

using checks::prepared;
using classic::Engine;
using classic::Values;
namespace param = classic::param;
using checks::with;

// The input stage's steady answer to a constant input x: the bias follower settles on x.
double stageAtDc(double x, double drive) {
    const double w = 0.025 * classic::tanhScalar(1.8 * drive * x);
    const double t = classic::tanhScalar(0.014);
    return (classic::tanhScalar(drive * (x + w) + 0.014) - t) / (drive * (1 - t * t)) - w;
}

TEST(FennicGainComputer, KneeAndThresholdAtTheDefaults) {
    const classic::RatioStep& fourToOne = classic::ratioSteps[0];
    EXPECT_EQ(classic::thresholdDecibels(0), -20.0);
    EXPECT_EQ(classic::reductionTarget(-1.5, fourToOne), 0.0);
    EXPECT_EQ(classic::reductionTarget(-3.0, fourToOne), 0.0);
    EXPECT_DOUBLE_EQ(classic::reductionTarget(0.0, fourToOne), 3 * 0.375); // 1.5^2 / 6
    EXPECT_DOUBLE_EQ(classic::reductionTarget(1.5, fourToOne), 3 * 1.5);
    EXPECT_DOUBLE_EQ(classic::reductionTarget(10.0, fourToOne), 30.0);
    EXPECT_EQ(classic::reductionTarget(20.0, fourToOne), 48.0); // capped
    const classic::RatioStep& allButtons = classic::ratioSteps[4];
    EXPECT_DOUBLE_EQ(classic::thresholdDecibels(4), -15.6);
    EXPECT_EQ(classic::reductionTarget(-4.5, allButtons), 0.0);
    EXPECT_DOUBLE_EQ(classic::reductionTarget(0.0, allButtons), 19 * 4.5 * 4.5 / 18);
}

// The loop's resting point for a constant input: G = target(Ly - G - T), Ly being the level
// after the input stage. Above the knee that is G = (R-1)(Ly - T)/R: every dB more in gives
// 1/R dB more out.
double restingReduction(double ly, unsigned step) {
    double low = 0, high = 48;
    for (int i = 0; i < 100; ++i) {
        const double g = 0.5 * (low + high);
        const double over = ly - g - classic::thresholdDecibels(step);
        (classic::reductionTarget(over, classic::ratioSteps[step]) > g ? low : high) = g;
    }
    return low;
}

TEST(FennicEngine, LoopRatiosAtSteadyState) {
    for (unsigned step = 0; step < 5; ++step) {
        SCOPED_TRACE(step);
        const classic::RatioStep& row = classic::ratioSteps[step];
        for (double levelDb : {-12.0, -6.0}) {
            auto engine = prepared<Engine>(with({{param::ratio, float(step)}, {param::attack, 4}}));
            const double x = std::pow(10.0, levelDb / 20.0);
            for (unsigned i = 0; i < 48000; ++i) {
                engine->tick(x, x, 2);
            }
            const double ly = checks::decibels(stageAtDc(x, row.drive));
            EXPECT_NEAR(engine->frame.gainReduction[0], restingReduction(ly, step), 0.05)
                << levelDb;
            const double over =
                ly - engine->frame.gainReduction[0] - classic::thresholdDecibels(step);
            if (over > row.kneeWidth / 2 + 0.1) {
                EXPECT_NEAR(engine->frame.gainReduction[0],
                            (row.ratio - 1) * (ly - classic::thresholdDecibels(step)) / row.ratio,
                            0.05);
            }
            EXPECT_EQ(engine->frame.gainReduction[1], engine->frame.gainReduction[0]);
        }
    }
}

// Attack below 0.5 switches the cell off: no reduction however loud, and a reduction already
// built up releases.
TEST(FennicEngine, AttackBelowHalfSwitchesTheCellOff) {
    for (float attack : {0.0f, 0.4f}) {
        auto engine = prepared<Engine>(with({{param::attack, attack}}));
        for (unsigned i = 0; i < 4800; ++i) {
            engine->tick(0.9, 0.9, 2);
        }
        EXPECT_EQ(engine->frame.gainReduction[0], 0.0);
    }
    auto engine = prepared<Engine>(with({{param::attack, 3}}));
    for (unsigned i = 0; i < 4800; ++i) {
        engine->tick(0.9, 0.9, 2);
    }
    const double built = engine->frame.gainReduction[0];
    EXPECT_GT(built, 10.0);
    const Values off = with({{param::attack, 0.4f}});
    engine->frame.setTargets(off.data());
    for (unsigned i = 0; i < 4800; ++i) {
        engine->tick(0.9, 0.9, 2);
    }
    // Released with Release 5: tau = 0.139 s * (1 + 0.035 G), times R = 4.
    EXPECT_LT(engine->frame.gainReduction[0], built - 1.0);
}

// The attack law, open loop: far above the threshold at "20:1" the target is the 48 dB cap
// for the first 17 dB of reduction, so from G = 0 one frame of attack leaves
// G = 48 (1 - (1 - c)^4) with c = 1 - exp(-1/(R fos Ta)). The cell is held off (Attack target
// below 0.5) while the detector settles, then switched on.
struct Attack {
    double seconds;  // Ta measured
    double smoothed; // the smoothed Attack value during the measured frame
};
Attack measureAttack(float attack) {
    const Values on = with({{param::attack, attack}, {param::ratio, 3}, {param::input, 48}});
    auto engine = prepared<Engine>(on);
    Values off = on;
    off[param::attack] = 0.4f;
    engine->frame.setTargets(off.data());
    for (unsigned i = 0; i < 80; ++i) {
        engine->tick(1, 1, 2);
    }
    EXPECT_EQ(engine->frame.gainReduction[0], 0.0);
    engine->frame.setTargets(on.data());
    const double before = engine->frame.current[param::attack];
    engine->tick(1, 1, 2);
    const double after = engine->frame.current[param::attack];
    const double perSubstep = std::pow((48 - engine->frame.gainReduction[0]) / 48, 0.25);
    const double fos = 4 * 48000.0;
    return {-1.0 / (fos * std::log(perSubstep)) / 20.0, 0.5 * (before + after)};
}

TEST(FennicEngine, AttackScale) {
    // 0.8 ms from the 0.5 switch up to Attack 1, then 0.8 ms * 0.025^((Attack - 1)/6): 20 us at 7.
    for (float attack : {0.5f, 1.0f, 2.5f, 4.0f, 5.5f, 7.0f}) {
        SCOPED_TRACE(attack);
        const Attack measured = measureAttack(attack);
        const double a = std::clamp((measured.smoothed - 1.0) / 6.0, 0.0, 1.0);
        EXPECT_NEAR(measured.seconds / (0.0008 * std::pow(0.025, a)), 1.0, 0.01);
    }
    EXPECT_NEAR(measureAttack(1).seconds, 0.0008, 0.0008 * 0.01);
}

// Open-loop release: the detector hears silence, the target is 0, and each substep takes
// 1 - exp(-1/(R fos tau)) of G with tau = Tr (1 + 0.035 G).
TEST(FennicEngine, ReleaseScale) {
    struct Case {
        float release;
        float ratio;
        double seconds; // Tr
    };
    for (const Case& c :
         {Case{1, 0, 1.1}, Case{7, 0, 0.05}, Case{4, 1, 1.1 / std::sqrt(22.0)}, Case{7, 3, 0.05}}) {
        SCOPED_TRACE(c.release);
        auto engine = prepared<Engine>(with({{param::release, c.release},
                                             {param::ratio, c.ratio},
                                             {param::attack, 5},
                                             {param::input, 48}}));
        const double fos = 4 * 48000.0;
        for (unsigned i = 0; i < 4800; ++i) {
            engine->tick(0.8, 0.8, 2);
        }
        // Release from above 10 dB until G passes 10 dB, then measure one frame of decay.
        double before = engine->frame.gainReduction[0];
        ASSERT_GT(before, 10.0);
        for (unsigned i = 0; i < 48000 * 30 && engine->frame.gainReduction[0] > 10.0; ++i) {
            engine->tick(0, 0, 2);
        }
        before = engine->frame.gainReduction[0];
        engine->tick(0, 0, 2);
        const double after = engine->frame.gainReduction[0];
        const double perSubstep = std::pow(after / before, 0.25);
        const double measured = -1.0 / (fos * std::log(perSubstep));
        const double ratio = classic::ratioSteps[unsigned(c.ratio)].ratio;
        EXPECT_NEAR(measured / (ratio * c.seconds * (1 + 0.035 * before)), 1.0, 1e-3);
    }
}

// Full link: a loud left channel reduces the silent right channel by the same amount; no link:
// the right channel stays unreduced; half link lies between.
TEST(FennicEngine, StereoLink) {
    double right[3];
    const float links[3] = {100, 50, 0};
    for (unsigned i = 0; i < 3; ++i) {
        auto engine = prepared<Engine>(with({{param::stereoLink, links[i]}}));
        const std::vector<double> x = checks::sine(9600, 0.7, 300, 48000);
        for (double s : x) {
            engine->tick(s, 0.001 * s, 2);
        }
        const double left = engine->frame.gainReduction[0];
        right[i] = engine->frame.gainReduction[1];
        EXPECT_GT(left, 8.0);
        if (links[i] == 100) {
            EXPECT_NEAR(right[i], left, 1e-9);
        }
    }
    EXPECT_EQ(right[2], 0.0);
    EXPECT_GT(right[1], 1.0);
    EXPECT_LT(right[1], right[0]);
}

// "All Buttons": the same unreduced signal comes out with more harmonics than at "20:1".
TEST(FennicEngine, AllButtonsAddsSaturation) {
    auto harmonics = [](float ratio) {
        auto engine = prepared<Engine>(with({{param::ratio, ratio}, {param::attack, 0}}));
        std::vector<double> out;
        for (double s : checks::sine(19200, 0.3, 500, 48000)) {
            out.push_back(engine->tick(s, s, 2).first);
        }
        const double fundamental = checks::sineAmplitude(out, 9600, 9600, 500, 48000);
        double rest = 0;
        for (double h : {1000.0, 1500.0, 2000.0}) {
            rest += std::pow(checks::sineAmplitude(out, 9600, 9600, h, 48000), 2);
        }
        return std::sqrt(rest) / fundamental;
    };
    EXPECT_GT(harmonics(4), 3.0 * harmonics(3));
}

TEST(FennicEngine, GainReductionStaysWithinItsRangeAndOutputsStayBounded) {
    for (const classic::FactoryPreset& preset : classic::factoryPresets()) {
        for (const checks::Hostile& input : checks::hostileInputs(6000)) {
            SCOPED_TRACE(std::string(preset.name) + ", " + input.name);
            Values v = preset.values;
            v[param::input] = 48; // the loudest the unit allows
            for (const Values& values : {preset.values, v}) {
                auto engine = prepared<Engine>(values, 44100);
                for (double s : input.samples) {
                    const auto [l, r] = engine->tick(s, -0.5 * s, 2);
                    ASSERT_TRUE(std::isfinite(l) && std::isfinite(r));
                    ASSERT_LT(std::fabs(l), 16.0);
                    ASSERT_LT(std::fabs(r), 16.0);
                    for (double g : engine->frame.gainReduction) {
                        ASSERT_GE(g, 0.0);
                        ASSERT_LE(g, 48.0);
                    }
                }
            }
        }
    }
}

// Bypass 1, and Mix 0 with Bypass 0, both give the input delayed by exactly 16 frames.
TEST(FennicEngine, BypassAndDryMixAreTheInputSixteenFramesLate) {
    const std::vector<double> x = checks::testSignal(2000, 0.8, 5);
    for (const Values& v : {with({{param::bypass, 1}}), with({{param::mix, 0}})}) {
        auto engine = prepared<Engine>(v);
        for (std::size_t i = 0; i < x.size(); ++i) {
            const auto [l, r] = engine->tick(x[i], -x[i], 2);
            EXPECT_EQ(l, i >= 16 ? x[i - 16] : 0.0);
            EXPECT_EQ(r, i >= 16 ? -x[i - 16] : 0.0);
        }
    }
}

TEST(FennicEngine, MeterSettingLeavesTheAudioBitIdentical) {
    const std::vector<double> x = checks::testSignal(3000, 0.8, 9);
    std::vector<classic::Stereo> first;
    for (float meter : {0.0f, 1.0f, 2.0f, 3.0f}) {
        auto engine = prepared<Engine>(with({{param::meter, meter}, {param::ratio, 2}}));
        const auto out = checks::run(*engine, x);
        if (meter == 0) {
            first = out;
        } else {
            EXPECT_EQ(out, first) << meter;
        }
    }
}

TEST(FennicEngine, SilenceInSilenceOut) {
    auto engine = prepared<Engine>(classic::defaultValues());
    for (unsigned i = 0; i < 9600; ++i) {
        const auto [l, r] = engine->tick(0, 0, 2);
        ASSERT_EQ(l, 0.0);
        ASSERT_EQ(r, 0.0);
    }
    EXPECT_EQ(engine->frame.gainReduction[0], 0.0);
}

// The many-frame render path gives tick's results bit for bit, block sizes around its run of
// 32 frames included, mono and stereo, with targets moving between blocks.
TEST(FennicEngine, RenderMatchesTickBitForBit) {
    const std::vector<classic::Values> moves = {
        checks::with({{param::input, 36}}), checks::with({{param::ratio, 4}, {param::attack, 7}}),
        checks::with({{param::attack, 0.3f}, {param::shimmer, 40}, {param::stereoLink, 20}}),
        checks::with({{param::ratio, 2}, {param::mix, 30}, {param::bypass, 1}})};
    for (unsigned block : {1u, 7u, 32u, 33u, 512u}) {
        for (unsigned channels : {1u, 2u}) {
            SCOPED_TRACE(std::to_string(block) + (channels == 1 ? " mono" : " stereo"));
            checks::expectRenderMatchesTick<classic::Engine>(moves, block, channels);
        }
    }
}

// What render remembers of the step and the times follows a ratio and timing change made
// through tick.
TEST(FennicEngine, RenderAfterTickFollowsTheChanges) {
    checks::expectRenderAfterTickMatches<classic::Engine>(
        with({{param::input, 36}}),
        with({{param::input, 36}, {param::ratio, 4}, {param::attack, 6.5f}}), 3000);
}

// Long stretches at rest take render's settled way (one update for a whole stretch); it must
// give tick's results bit for bit through the settling, at rest, when the same targets are set
// again, and after a change of step, times, link and Shimmer. Blocks of 300 frames put the
// changes in the middle of stretches.
TEST(FennicEngine, RenderMatchesTickThroughSettlingAndChanges) {
    const std::vector<classic::Values> phases = {
        with({{param::input, 36}}),
        with({{param::input, 36}, {param::ratio, 4}, {param::attack, 6}, {param::release, 7}}),
        with({{param::input, 36}, {param::ratio, 4}, {param::attack, 6}, {param::release, 7}}),
        with(
            {{param::input, 30}, {param::ratio, 1}, {param::shimmer, 30}, {param::stereoLink, 50}}),
        with({{param::input, 30},
              {param::ratio, 1},
              {param::attack, 0.2f},
              {param::shimmer, 30},
              {param::stereoLink, 50}})};
    const std::size_t phaseFrames = 15000;
    const unsigned block = 300;
    const std::vector<double> a = checks::testSignal(phaseFrames * phases.size(), 0.7, 61);
    const std::vector<double> b = checks::testSignal(phaseFrames * phases.size(), 0.4, 63);
    for (unsigned channels : {2u, 1u}) {
        SCOPED_TRACE(channels == 1 ? "mono" : "stereo");
        auto ticked = prepared<Engine>(phases.front());
        auto rendered = prepared<Engine>(phases.front());
        float in[2][block], out[2][block];
        for (std::size_t p = 0; p < phases.size(); ++p) {
            ticked->frame.setTargets(phases[p].data());
            rendered->frame.setTargets(phases[p].data());
            for (std::size_t start = p * phaseFrames; start < (p + 1) * phaseFrames;
                 start += block) {
                for (unsigned j = 0; j < block; ++j) {
                    in[0][j] = static_cast<float>(a[start + j]);
                    in[1][j] = static_cast<float>(b[start + j]);
                }
                const float* const from[2] = {in[0], in[1]};
                float* const to[2] = {out[0], out[1]};
                rendered->render(from, to, block, channels);
                for (unsigned j = 0; j < block; ++j) {
                    const float right = channels == 1 ? in[0][j] : in[1][j];
                    const classic::Stereo y = ticked->tick(in[0][j], right, channels);
                    ASSERT_EQ(out[0][j], static_cast<float>(y.first)) << "frame " << start + j;
                    if (channels == 2) {
                        ASSERT_EQ(out[1][j], static_cast<float>(y.second)) << "frame " << start + j;
                    }
                }
                ASSERT_EQ(rendered->frame.gainReduction[0], ticked->frame.gainReduction[0]);
                ASSERT_EQ(rendered->frame.gainReduction[1], ticked->frame.gainReduction[1]);
            }
            // The phase ends at rest, so its last stretches took the settled way.
            EXPECT_TRUE(rendered->frame.settled) << "phase " << p;
        }
    }
}

} // namespace
