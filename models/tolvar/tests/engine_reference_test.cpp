// The Tolvar engine against a plain transcription, sample for sample, under signals and
// parameter moves that reach every branch: Shimmer on, selector changes that make the shelves
// glide, bypass and mix moves, non-finite inputs, mono, several rates.

#include "engine.h"
#include "presets/factory_preset.h"
#include "reference_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

using classic::Engine;

struct Move {
    unsigned frame; // host frame at which the targets change
    unsigned id;
    float value;
};

struct Case {
    const char* name;
    double rate;
    unsigned channels;
    std::vector<Move> moves;
};

double signal(unsigned c, unsigned i, double rate) {
    const double t = i / rate;
    double v = 0.6 * std::sin(2 * M_PI * 220 * t + c) + 0.3 * std::sin(2 * M_PI * 3100 * t) +
               0.05 * std::sin(2 * M_PI * 9000 * t * (1 + c));
    if (i % 997 == 13)
        v = 1.4; // occasional overs drive the stages hard
    return v;
}

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class EngineReference : public ::testing::TestWithParam<Case> {};

TEST_P(EngineReference, MatchesPlainTranscriptionSampleForSample) {
    const Case& run = GetParam();
    classic::Values values = classic::defaultValues();
    auto engine = std::make_unique<Engine>();
    auto plain = std::make_unique<reference::Tolvar>();
    engine->prepare(run.rate, values.data());
    plain->prepare(run.rate, values.data());

    const unsigned frames = 6000;
    unsigned nextMove = 0;
    for (unsigned i = 0; i < frames; ++i) {
        bool moved = false;
        while (nextMove < run.moves.size() && run.moves[nextMove].frame == i) {
            values[run.moves[nextMove].id] = run.moves[nextMove].value;
            ++nextMove;
            moved = true;
        }
        if (moved) {
            engine->frame.setTargets(values.data());
            plain->setTargets(values.data());
        }
        double left = signal(0, i, run.rate);
        double right = signal(1, i, run.rate);
        if (i == 300)
            left = std::numeric_limits<double>::quiet_NaN();
        if (i == 301)
            right = std::numeric_limits<double>::infinity();
        const classic::Stereo got =
            engine->tick(left, run.channels == 1 ? left : right, run.channels);
        double wantLeft, wantRight;
        plain->tick(left, run.channels == 1 ? left : right, run.channels, wantLeft, wantRight);
        ASSERT_EQ(got.first, wantLeft) << run.name << " frame " << i;
        ASSERT_EQ(got.second, wantRight) << run.name << " frame " << i;
    }
    for (unsigned c = 0; c < 2; ++c) {
        EXPECT_EQ(engine->frame.inputMeanSquare[c], plain->frame.meters.inMs[c]);
        EXPECT_EQ(engine->frame.outputMeanSquare[c], plain->frame.meters.outMs[c]);
        EXPECT_EQ(engine->frame.outputPeak[c], plain->frame.meters.peak[c]);
    }
}

const float nan = std::numeric_limits<float>::quiet_NaN();

const std::vector<Case> cases = {
    {"defaults_48k", 48000, 2, {}},
    {"shimmer_and_drive_44k",
     44100,
     2,
     {{0, 13, 40}, {0, 0, 4}, {900, 13, 100}, {2500, 13, 0}, {3000, 8, 12}}},
    {"eq_glides_96k",
     96000,
     2,
     {{0, 2, 10},
      {0, 4, 2},
      {700, 3, 0},
      {700, 5, 0},
      {1500, 2, 3},
      {1501, 4, 0},
      {2200, 3, 9},
      {2200, 5, 2}}},
    {"gains_polarity_pad_8k",
     8000,
     2,
     {{100, 6, 1},
      {400, 7, 1},
      {800, 1, 0},
      {1200, 1, 10},
      {1600, 9, -36},
      {2000, 9, 12},
      {2400, 0, 0}}},
    {"mix_and_bypass_192k",
     192000,
     2,
     {{0, 10, 30}, {500, 12, 1}, {1500, 12, 0}, {2000, 10, 0}, {3000, 10, 100}, {3500, 13, 20}}},
    {"mono_shimmer_48k", 48000, 1, {{0, 13, 32}, {0, 3, 6}, {0, 5, 2}}},
    // At 8 kHz the shelves' glide and the smoothing come to rest (and stop running) between
    // the moves, which must start them again.
    {"moves_after_rest_8k",
     8000,
     2,
     {{0, 2, 9}, {0, 4, 2}, {1500, 2, 1}, {1500, 10, 40}, {4500, 3, 8}, {4500, 12, 1}}},
    {"hostile_targets_48k",
     48000,
     2,
     {{10, 0, 2.6f}, {20, 2, nan}, {30, 8, 1e9f}, {40, 13, -5}, {50, 4, 7.5f}}},
};

INSTANTIATE_TEST_SUITE_P(Tolvar, EngineReference, ::testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EngineReference, ResetMidStreamMatches) {
    classic::Values values = classic::factoryPresets()[8].values;
    auto engine = std::make_unique<Engine>();
    auto plain = std::make_unique<reference::Tolvar>();
    engine->prepare(48000, values.data());
    plain->prepare(48000, values.data());
    for (unsigned i = 0; i < 3000; ++i) {
        if (i == 1234) {
            values = classic::factoryPresets()[6].values;
            engine->reset(values.data());
            plain->reset(values.data());
        }
        const double x = signal(0, i, 48000);
        const classic::Stereo got = engine->tick(x, -x, 2);
        double l, r;
        plain->tick(x, -x, 2, l, r);
        ASSERT_EQ(got.first, l) << i;
        ASSERT_EQ(got.second, r) << i;
    }
}

} // namespace
