// Checks every dynamics engine must pass, compiled into each dynamics model's test program
// against that model's engine, table and presets (its tests/test_model.h names the model for
// the plain reference and the parameter moves of the reference run).
//
// - sample for sample equal to the plain reference, at every factory preset, through
//   parameter moves, a reset, hostile samples and both channel counts;
// - bounded, finite output and a reduction within [0, 48] dB for full-scale, DC, NaN and
//   infinite inputs at every factory preset;
// - mono gives equal reductions; silence gives silence and no reduction; the tick allocates
//   nothing; two resets leave the same state.

#include "dynamics_reference.h"
#include "dynamics_signals.h"
#include "engine.h"
#include "presets/factory_preset.h"
#include "test_model.h"
#include "testing/allocation_counter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace {

using classic::Engine;
using classic::factoryPresets;
using classic::parameterCount;
using classic::Values;
using dynamicstest::sampleRate;

// A program that exercises the cell: a sine whose level walks from -50 to +3 dBFS, a burst of
// low-frequency content for the detector high-pass, silence, a click, and different material
// on the right channel so the link has work.
void programme(std::size_t i, double& left, double& right) {
    const double t = static_cast<double>(i) / sampleRate;
    const double walk = -50.0 + 53.0 * std::fabs(std::sin(2.0 * M_PI * 0.7 * t));
    left = dynamicstest::amplitude(walk) * std::sin(2.0 * M_PI * 997.0 * t) +
           (i % 9000 < 3000 ? 0.4 * std::sin(2.0 * M_PI * 45.0 * t) : 0.0);
    right = 0.6 * std::sin(2.0 * M_PI * 220.0 * t) * (i % 12000 < 5000 ? 1.0 : 0.05);
    if (i % 20000 > 17000) {
        left = right = 0.0;
    }
    if (i % 20000 == 18500) {
        left = 1.0;
    }
}

std::unique_ptr<Engine> preparedEngine(const Values& values) {
    auto engine = std::make_unique<Engine>();
    engine->prepare(sampleRate, values.data());
    return engine;
}

TEST(DynamicsEngine, MatchesThePlainReferenceSampleBySample) {
    const std::size_t frames = 24000;
    for (unsigned p = 0; p < classic::factoryPresetCount; ++p) {
        for (const unsigned channels : {2u, 1u}) {
            const auto& preset = factoryPresets()[p];
            Values values = preset.values;
            auto engine = preparedEngine(values);
            auto plain = std::make_unique<reference::Dynamics>(testmodel::referenceModel);
            plain->prepare(sampleRate, values.data());
            std::size_t nextChange = 0;
            for (std::size_t i = 0; i < frames; ++i) {
                // The unit hands over targets per segment; move some mid-run.
                bool moved = false;
                while (nextChange < std::size(testmodel::changes) &&
                       testmodel::changes[nextChange].frame == i) {
                    values[testmodel::changes[nextChange].id] =
                        testmodel::changes[nextChange].value;
                    ++nextChange;
                    moved = true;
                }
                if (moved) {
                    engine->frame.setTargets(values.data());
                    plain->setTargets(values.data());
                }
                if (i == 15000) {
                    engine->reset(values.data());
                    plain->reset(values.data());
                }
                double l, r;
                programme(i, l, r);
                if (i == 7001) {
                    l = std::numeric_limits<double>::quiet_NaN();
                    r = std::numeric_limits<double>::infinity();
                }
                if (channels == 1) {
                    r = l;
                }
                const classic::Stereo got = engine->tick(l, r, channels);
                double wantLeft, wantRight;
                plain->tick(l, r, channels, wantLeft, wantRight);
                ASSERT_EQ(got.first, wantLeft)
                    << preset.name << " ch " << channels << " frame " << i;
                ASSERT_EQ(got.second, wantRight)
                    << preset.name << " ch " << channels << " frame " << i;
                for (unsigned c = 0; c < 2; ++c) {
                    ASSERT_EQ(engine->frame.gainReduction[c], plain->G[c])
                        << preset.name << " frame " << i << " channel " << c;
                    ASSERT_EQ(engine->cellChannel(c).memory, plain->memory[c])
                        << preset.name << " frame " << i << " channel " << c;
                }
            }
            for (unsigned c = 0; c < 2; ++c) {
                EXPECT_EQ(engine->frame.inputMeanSquare[c], plain->frame.meters.inMs[c]);
                EXPECT_EQ(engine->frame.outputMeanSquare[c], plain->frame.meters.outMs[c]);
                EXPECT_EQ(engine->frame.outputPeak[c], plain->frame.meters.peak[c]);
            }
        }
    }
}

TEST(DynamicsEngine, RenderEqualsTickFrameByFrameAcrossRunLengths) {
    const unsigned frames = 6000;
    std::vector<float> left(frames), right(frames);
    for (unsigned i = 0; i < frames; ++i) {
        double l, r;
        programme(i, l, r);
        left[i] = static_cast<float>(2 * l);
        right[i] = static_cast<float>(r);
    }
    left[1234] = std::numeric_limits<float>::quiet_NaN();
    right[2345] = std::numeric_limits<float>::infinity();
    for (const unsigned channels : {2u, 1u}) {
        for (const unsigned run : {1u, 3u, 31u, 32u, 33u, 512u, 4096u}) {
            Values values = factoryPresets()[1].values;
            auto byTick = preparedEngine(values);
            auto byRun = preparedEngine(values);
            std::vector<float> outLeft(frames), outRight(frames);
            for (unsigned start = 0, segment = 0; start < frames; start += run, ++segment) {
                // New targets every run, as the unit sets them per segment.
                const auto& changes = testmodel::changes;
                const auto& move = changes[segment % std::size(changes)];
                values[move.id] = move.value;
                byTick->frame.setTargets(values.data());
                byRun->frame.setTargets(values.data());
                const unsigned n = std::min(run, frames - start);
                const float* in[2] = {left.data() + start, right.data() + start};
                float* out[2] = {outLeft.data() + start, outRight.data() + start};
                byRun->render(in, out, n, channels);
                for (unsigned i = start; i < start + n; ++i) {
                    const classic::Stereo y =
                        byTick->tick(left[i], channels == 1 ? left[i] : right[i], channels);
                    ASSERT_EQ(outLeft[i], static_cast<float>(y.first))
                        << "run " << run << " channels " << channels << " frame " << i;
                    if (channels == 2) {
                        ASSERT_EQ(outRight[i], static_cast<float>(y.second)) << run << " " << i;
                    }
                }
                for (unsigned c = 0; c < 2; ++c) {
                    ASSERT_EQ(byRun->frame.gainReduction[c], byTick->frame.gainReduction[c]);
                }
            }
        }
    }
}

struct Hostile {
    const char* what;
    double (*sample)(std::size_t i);
};

const Hostile hostileInputs[] = {
    {"full-scale square", [](std::size_t i) { return (i / 24) % 2 ? 1.0 : -1.0; }},
    {"full-scale sine", [](std::size_t i) { return dynamicstest::sine(0, 1000, i); }},
    {"DC +1", [](std::size_t) { return 1.0; }},
    {"DC -1", [](std::size_t) { return -1.0; }},
    {"NaN", [](std::size_t) { return std::numeric_limits<double>::quiet_NaN(); }},
    {"+infinity", [](std::size_t) { return std::numeric_limits<double>::infinity(); }},
    {"-infinity", [](std::size_t) { return -std::numeric_limits<double>::infinity(); }},
    {"NaN and infinities among full scale",
     [](std::size_t i) {
         switch (i % 5) {
         case 0:
             return std::numeric_limits<double>::quiet_NaN();
         case 1:
             return std::numeric_limits<double>::infinity();
         case 2:
             return -1.0;
         case 3:
             return -std::numeric_limits<double>::infinity();
         default:
             return 1.0;
         }
     }},
    {"tiny denormals", [](std::size_t i) { return (i % 2 ? 1 : -1) * 4.9e-324; }},
};

TEST(DynamicsEngine, BoundedAndFiniteForHostileInputsAtEveryPreset) {
    for (const auto& preset : factoryPresets()) {
        for (const Hostile& input : hostileInputs) {
            auto engine = preparedEngine(preset.values);
            double largest = 0;
            for (std::size_t i = 0; i < 9600; ++i) {
                const double x = input.sample(i);
                const classic::Stereo out = engine->tick(x, -x, 2);
                ASSERT_TRUE(std::isfinite(out.first) && std::isfinite(out.second))
                    << preset.name << ", " << input.what << ", frame " << i;
                largest =
                    std::fmax(largest, std::fmax(std::fabs(out.first), std::fabs(out.second)));
                for (unsigned c = 0; c < 2; ++c) {
                    const double g = engine->frame.gainReduction[c];
                    ASSERT_TRUE(g >= 0.0 && g <= 48.0) << preset.name << ", " << input.what;
                }
            }
            // Inputs within full scale; the stages saturate and the make-up gains of the
            // presets stay below +9 dB, so a few times full scale bounds everything.
            EXPECT_LT(largest, 8.0) << preset.name << ", " << input.what;
        }
    }
}

TEST(DynamicsEngine, MonoGivesEqualReductionsAndEqualHalves) {
    for (const auto& preset : factoryPresets()) {
        auto engine = preparedEngine(preset.values);
        double deepest = 0;
        for (std::size_t i = 0; i < 12000; ++i) {
            double l, r;
            programme(i, l, r);
            const classic::Stereo out = engine->tick(l, l, 1);
            ASSERT_EQ(out.first, out.second) << preset.name << " frame " << i;
            ASSERT_EQ(engine->frame.gainReduction[0], engine->frame.gainReduction[1])
                << preset.name << " frame " << i;
            deepest = std::fmax(deepest, engine->frame.gainReduction[0]);
        }
        EXPECT_EQ(engine->frame.gainReduction[0], engine->cellChannel(0).reduction);
    }
}

TEST(DynamicsEngine, SilenceGivesSilenceAndNoReduction) {
    for (const auto& preset : factoryPresets()) {
        if (preset.values[classic::model.shimmerId] > 0) {
            continue; // the Shimmer's noise floor is meant to be heard
        }
        auto engine = preparedEngine(preset.values);
        for (std::size_t i = 0; i < 4800; ++i) {
            const classic::Stereo out = engine->tick(0, 0, 2);
            ASSERT_EQ(out.first, 0.0) << preset.name;
            ASSERT_EQ(out.second, 0.0) << preset.name;
            ASSERT_EQ(engine->frame.gainReduction[0], 0.0) << preset.name;
            ASSERT_EQ(engine->frame.gainReduction[1], 0.0) << preset.name;
        }
    }
}

TEST(DynamicsEngine, ResetReturnsToSilenceWithoutReduction) {
    const Values values = factoryPresets()[0].values;
    auto once = preparedEngine(values);
    auto twice = preparedEngine(values);
    for (std::size_t i = 0; i < 9600; ++i) {
        double l, r;
        programme(i, l, r);
        once->tick(l * 4, r * 4, 2);
        twice->tick(l, r, 2);
    }
    once->reset(values.data());
    twice->reset(values.data());
    twice->reset(values.data());
    for (unsigned c = 0; c < 2; ++c) {
        EXPECT_EQ(once->frame.gainReduction[c], 0.0);
        EXPECT_EQ(once->cellChannel(c).memory, 0.0);
        EXPECT_EQ(once->cellChannel(c).level, 0.0);
        EXPECT_EQ(once->cellChannel(c).gain, 1.0);
    }
    for (std::size_t i = 0; i < 4800; ++i) {
        double l, r;
        programme(i, l, r);
        const classic::Stereo a = once->tick(l, r, 2);
        const classic::Stereo b = twice->tick(l, r, 2);
        ASSERT_EQ(a, b) << i;
    }
}

TEST(DynamicsEngine, TickAllocatesNothing) {
    auto engine = preparedEngine(factoryPresets()[0].values);
    kelvo::testing::AllocationScope scope;
    for (std::size_t i = 0; i < 4800; ++i) {
        double l, r;
        programme(i, l, r);
        engine->tick(l, r, 2);
        if (i % 512 == 0) {
            engine->frame.setTargets(factoryPresets()[i % 9].values.data());
        }
    }
    engine->reset(factoryPresets()[4].values.data());
    EXPECT_EQ(scope.count(), 0u);
}

} // namespace
