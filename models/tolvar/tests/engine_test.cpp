// What the Tolvar engine does to sound: latency, silence, bypass, gain laws, shelves, glides.

#include "engine.h"
#include "presets/factory_preset.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

using classic::Engine;
using classic::Values;

constexpr double rate = 48000;

struct Rendered {
    std::vector<double> left, right;
};

std::unique_ptr<Engine> prepared(const Values& values, double sampleRate = rate) {
    auto engine = std::make_unique<Engine>();
    engine->prepare(sampleRate, values.data());
    return engine;
}

template <class Input>
Rendered render(Engine& engine, unsigned frames, Input input, unsigned channels = 2) {
    Rendered out;
    for (unsigned i = 0; i < frames; ++i) {
        const double l = input(0, i);
        const double r = channels == 1 ? l : input(1, i);
        const classic::Stereo y = engine.tick(l, r, channels);
        out.left.push_back(y.first);
        out.right.push_back(y.second);
    }
    return out;
}

Values with(std::initializer_list<std::pair<unsigned, float>> overrides) {
    return classic::makePreset("", "", overrides).values;
}

// Steady-state gain in dB of a sine through the engine, measured by RMS after settling.
double sineGainDB(const Values& values, double hertz, double amplitude = 0.001) {
    auto engine = prepared(values);
    auto sine = [&](unsigned, unsigned i) {
        return amplitude * std::sin(2 * M_PI * hertz * i / rate);
    };
    const unsigned settle = 48000, measure = 48000;
    const Rendered out = render(*engine, settle + measure, sine);
    double sum = 0;
    for (unsigned i = settle; i < settle + measure; ++i) {
        sum += out.left[i] * out.left[i];
    }
    const double rms = std::sqrt(sum / measure);
    return 20 * std::log10(rms / (amplitude / std::sqrt(2.0)));
}

TEST(TolvarEngine, BypassAtResetIsTheInputDelayedBySixteenFramesExactly) {
    auto engine = prepared(with({{12, 1}, {0, 4}, {13, 80}}));
    auto input = [](unsigned c, unsigned i) {
        return std::sin(0.01 * i * (c + 1)) * 0.9 + 0.001 * i;
    };
    const Rendered out = render(*engine, 2000, input);
    for (unsigned i = 0; i < 2000; ++i) {
        const double want0 = i < 16 ? 0.0 : input(0, i - 16);
        const double want1 = i < 16 ? 0.0 : input(1, i - 16);
        ASSERT_EQ(out.left[i], want0) << i;
        ASSERT_EQ(out.right[i], want1) << i;
    }
}

TEST(TolvarEngine, SilenceGivesExactZeroWithoutShimmerAndQuietNoiseWithIt) {
    for (const unsigned presetNumber : {0u, 1u, 3u, 5u, 6u, 7u}) {
        auto engine = prepared(classic::factoryPresets()[presetNumber].values);
        const Rendered out = render(*engine, 20000, [](unsigned, unsigned) { return 0.0; });
        for (unsigned i = 0; i < out.left.size(); ++i) {
            ASSERT_EQ(out.left[i], 0.0) << presetNumber << " frame " << i;
            ASSERT_EQ(out.right[i], 0.0) << presetNumber << " frame " << i;
        }
    }
    auto engine = prepared(with({{13, 100}}));
    const Rendered out = render(*engine, 48000, [](unsigned, unsigned) { return 0.0; });
    double peak = 0;
    for (double v : out.left)
        peak = std::max(peak, std::fabs(v));
    EXPECT_GT(peak, 0.0);
    EXPECT_LT(peak, 1e-3);                        // a very quiet floor, below -60 dBFS
    EXPECT_NE(out.left[30000], out.right[30000]); // each channel has its own generator
}

TEST(TolvarEngine, ImpulseThroughTheWetPathPeaksAtFrameSixteen) {
    auto engine = prepared(classic::defaultValues());
    const Rendered out =
        render(*engine, 64, [](unsigned, unsigned i) { return i == 0 ? 0.01 : 0.0; });
    unsigned peakAt = 0;
    for (unsigned i = 0; i < out.left.size(); ++i) {
        if (std::fabs(out.left[i]) > std::fabs(out.left[peakAt]))
            peakAt = i;
    }
    EXPECT_EQ(peakAt, 16u);
    EXPECT_GT(out.left[16], 0.008); // the two half-band filters pass most of it at the centre
}

TEST(TolvarEngine, DefaultsPassAQuietSineAlmostUnchanged) {
    const Values defaults = classic::defaultValues();
    for (const double hertz : {100.0, 1000.0, 8000.0}) {
        EXPECT_NEAR(sineGainDB(defaults, hertz), 0.0, 0.1) << hertz;
    }
    auto engine = prepared(defaults);
    EXPECT_DOUBLE_EQ(engine->frame.inputGain, 1.0);
    EXPECT_DOUBLE_EQ(engine->frame.outputGain, 1.0);
    EXPECT_DOUBLE_EQ(engine->frame.input.drive, 0.95);
    for (const auto* q : {&engine->lowShelf(), &engine->highShelf()}) {
        EXPECT_DOUBLE_EQ(q->b0, 1.0);
        EXPECT_NEAR(q->b1, q->a1, 1e-15);
        EXPECT_NEAR(q->b2, q->a2, 1e-15);
    }
}

TEST(TolvarEngine, GainLaws) {
    struct Row {
        Values values;
        double inputGainDB, outputGain, postGain, drive;
    };
    const Row rows[] = {
        {with({{6, 1}}), -15, 1, 1, 0.95}, // Pad: 15 dB less drive, same output gain
        {with({{0, 0}}), -10, 1, 1, 0.5},
        {with({{0, 4}, {8, 6}}), 16, 1, 1, 1.4},
        {with({{1, 10}, {9, -6}}), 0, 2 * std::pow(10, -6.0 / 20), 1, 0.95},
        {with({{1, 0}}), 0, 0, 1, 0.95},
        {with({{7, 1}}), 0, 1, -1, 0.95},
    };
    for (const Row& row : rows) {
        auto engine = prepared(row.values);
        EXPECT_NEAR(20 * std::log10(engine->frame.inputGain), row.inputGainDB, 1e-9);
        EXPECT_NEAR(engine->frame.outputGain, row.outputGain, 1e-12);
        EXPECT_EQ(engine->frame.postGain, row.postGain);
        EXPECT_NEAR(engine->frame.input.drive, row.drive, 1e-12);
    }
}

TEST(TolvarEngine, ShelvesReachTheirListedGains) {
    // +9 dB well below the 200 Hz corner; -9 dB well above the 4.5 kHz corner (measured
    // against the defaults, which carry the oversampling filters' own roll-off up there).
    const classic::Values defaults = classic::defaultValues();
    EXPECT_NEAR(sineGainDB(with({{2, 10}, {4, 2}}), 20) - sineGainDB(defaults, 20), 9.0, 0.3);
    EXPECT_NEAR(sineGainDB(with({{3, 0}, {5, 0}}), 18000) - sineGainDB(defaults, 18000), -9.0, 0.3);
    // Each shelf leaves the other end of the band alone.
    EXPECT_NEAR(sineGainDB(with({{2, 10}, {4, 2}}), 10000), 0.0, 0.2);
    EXPECT_NEAR(sineGainDB(with({{3, 0}, {5, 0}}), 50), 0.0, 0.2);
}

TEST(TolvarEngine, PolarityInvertsOnlyTheWetPart) {
    auto input = [](unsigned, unsigned i) { return 0.001 * std::sin(2 * M_PI * 500 * i / rate); };
    auto straight = prepared(with({{10, 60}}));
    auto inverted = prepared(with({{10, 60}, {7, 1}}));
    auto wetOnly = prepared(classic::defaultValues());
    const Rendered a = render(*straight, 4000, input);
    const Rendered b = render(*inverted, 4000, input);
    const Rendered wet = render(*wetOnly, 4000, input);
    for (unsigned i = 3000; i < 4000; ++i) {
        const double dry = input(0, i - 16);
        // a = dry + 0.6 (wet - dry), b = dry + 0.6 (-wet - dry)
        EXPECT_NEAR(a.left[i], 0.4 * dry + 0.6 * wet.left[i], 1e-12);
        EXPECT_NEAR(b.left[i], 0.4 * dry - 0.6 * wet.left[i], 1e-12);
    }
}

TEST(TolvarEngine, LevelZeroMutesTheWetPathShimmerNoiseIncluded) {
    auto engine = prepared(with({{1, 0}, {13, 100}}));
    const Rendered out =
        render(*engine, 10000, [](unsigned, unsigned i) { return 0.5 * std::sin(0.05 * i); });
    for (unsigned i = 0; i < out.left.size(); ++i) {
        ASSERT_EQ(out.left[i], 0.0) << i;
    }
}

TEST(TolvarEngine, NonFiniteInputGivesFiniteOutputAndMetersAsSilence) {
    auto engine = prepared(classic::defaultValues());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Rendered out = render(*engine, 500, [&](unsigned c, unsigned i) {
        return i % 3 == 0 ? (c ? -inf : nan) : (i % 3 == 1 ? inf : 0.0);
    });
    for (unsigned i = 0; i < out.left.size(); ++i) {
        ASSERT_EQ(out.left[i], 0.0);
        ASSERT_EQ(out.right[i], 0.0);
    }
    EXPECT_EQ(engine->frame.inputMeanSquare[0], 0.0);
    EXPECT_EQ(engine->frame.inputMeanSquare[1], 0.0);
}

TEST(TolvarEngine, MonoReturnsTheLeftResultTwice) {
    auto engine = prepared(with({{13, 50}}));
    const Rendered out = render(
        *engine, 1000, [](unsigned, unsigned i) { return 0.3 * std::sin(0.02 * i); }, 1);
    for (unsigned i = 0; i < out.left.size(); ++i) {
        ASSERT_EQ(out.left[i], out.right[i]);
    }
}

TEST(TolvarEngine, ResetTwiceEqualsResetOnceAndLeavesNoGlide) {
    const Values start = classic::factoryPresets()[2].values;
    const Values next = classic::factoryPresets()[7].values;
    auto input = [](unsigned c, unsigned i) { return 0.4 * std::sin(0.013 * i + c); };
    auto once = prepared(start);
    auto twice = prepared(start);
    render(*once, 777, input);
    render(*twice, 333, input);
    once->reset(next.data());
    twice->reset(next.data());
    twice->reset(next.data());
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        EXPECT_EQ(once->frame.current[id], once->frame.targets[id]);
    }
    const Rendered a = render(*once, 2000, input);
    const Rendered b = render(*twice, 2000, input);
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.right, b.right);
}

TEST(TolvarEngine, ValuesGlideWithEightMillisecondsAndCoefficientsWithThree) {
    auto engine = prepared(classic::defaultValues());
    Values values = classic::defaultValues();
    values[8] = 10; // Input Trim step
    values[2] = 10; // Low EQ step: new shelf targets at the next block
    engine->frame.setTargets(values.data());
    const unsigned frames8ms = static_cast<unsigned>(0.008 * rate);
    auto silence = [](unsigned, unsigned) { return 0.0; };
    render(*engine, frames8ms, silence);
    EXPECT_NEAR(engine->frame.current[8], 10 * (1 - std::exp(-1.0)), 0.05);

    // The first block after the step ran at frame 0's first substep, so the shelves have been
    // gliding toward their new target since; 3 ms covers 63 % of the way.
    auto fresh = prepared(classic::defaultValues());
    const double start = fresh->lowShelf().b0;
    fresh->frame.setTargets(values.data());
    const unsigned frames3ms = static_cast<unsigned>(0.003 * rate);
    render(*fresh, frames3ms, silence);
    const double goal = fresh->lowShelfTarget().b0;
    ASSERT_NE(goal, start);
    const double progress = (fresh->lowShelf().b0 - start) / (goal - start);
    EXPECT_NEAR(progress, 1 - std::exp(-1.0), 0.01);
}

TEST(TolvarEngine, SelectorChangesTakeEffectAtTheNextBlock) {
    auto engine = prepared(classic::defaultValues());
    auto silence = [](unsigned, unsigned) { return 0.0; };
    render(*engine, 3, silence); // mid-way through a 16-frame block
    const classic::BiquadCoefficients before = engine->highShelfTarget();
    Values values = classic::defaultValues();
    values[3] = 9;
    engine->frame.setTargets(values.data());
    render(*engine, 13, silence);                       // frames 3 to 15
    EXPECT_EQ(engine->highShelfTarget().b0, before.b0); // block not yet due
    render(*engine, 1, silence);
    EXPECT_NE(engine->highShelfTarget().b0, before.b0); // frame 16 opens the next block
}

} // namespace
