// The Quorin engine against a plain transcription of its frame, and its gain staging, pad,
// output tap and polarity.

#include "../../tests/reference_frame.h"
#include "engine.h"
#include "engine_checks.h"
#include "presets/factory_preset.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

namespace {

using classic::Engine;
using classic::Values;
namespace param = classic::param;
using checks::with;

// The whole Quorin tick written out from the model's laws, nothing shared with the engine.
class ReferenceQuorin {
public:
    ReferenceQuorin(double sampleRate, const Values& values) : frame(sampleRate) { reset(values); }

    void reset(const Values& values) {
        setTargets(values);
        current = target;
        frame.reset(target[param::parallelMix] * 0.01, target[param::bypass]);
        counter = 0;
        block();
    }

    void setTargets(const Values& values) {
        for (unsigned i = 0; i < classic::parameterCount; ++i) {
            const classic::Definition& row = classic::definitions[i];
            float v = values[i];
            if (!std::isfinite(v)) {
                v = row.defaultValue;
            }
            v = std::fmin(std::fmax(v, row.minimum), row.maximum);
            if (row.isSwitch || row.isIndexed) {
                v = std::round(v);
            }
            target[i] = v;
        }
    }

    classic::Stereo tick(double left, double right, unsigned channels) {
        double in[2], dry[2], wet[2] = {};
        frame.begin(left, right, in, dry);
        for (unsigned k = 0; k < 4; ++k) {
            frame.smooth(current, target, param::parallelMix, param::bypass);
            if (counter % 64 == 0) {
                block();
            }
            ++counter;
            double y[2];
            for (unsigned c = 0; c < 2; ++c) {
                const double x = 4.0 * frame.interpolate(c, k, in[c]) * inputGain;
                const double w = frame.bias(c, x, 0.015, 1.6);
                y[c] = stage1(x + w) - w;
            }
            for (unsigned c = 0; c < 2; ++c) {
                double z = frame.shimmer(c, stage2(y[c]), 0.01 * current[param::shimmer]);
                z = z * outputGain * postGain;
                const double o = frame.blockAndDecimate(c, z, 3.0);
                if (k == 0) {
                    wet[c] = o;
                }
            }
        }
        return frame.end(in, dry, wet, channels);
    }

    reference::FrameState frame;

private:
    void block() {
        const float sum =
            current[param::gain] + current[param::inputTrim] - 20.0f * current[param::pad];
        inputGain = std::pow(10.0, sum / 20.0);
        outputGain =
            std::pow(10.0, (current[param::outputTrim] - 9.542425 * current[param::tap]) / 20.0);
        postGain = static_cast<float>(1.0f - 2.0f * current[param::polarity]);
        stage1 = reference::StageLaw(0.65 + 0.8 * (current[param::gain] - 34.0) / 35.0, 0.004);
    }

    Values target{}, current{};
    std::uint32_t counter = 0;
    double inputGain = 1, outputGain = 1, postGain = 1;
    reference::StageLaw stage1{0.65, 0.004};
    reference::StageLaw stage2{0.38, 0.002};
};

Values defaults() {
    return classic::defaultValues();
}

// Sample for sample against the transcription, with parameter moves between segments, at
// every factory preset, in stereo and mono.
TEST(QuorinEngine, MatchesTheTranscriptionSampleForSample) {
    const std::vector<double> signal = checks::testSignal(3000, 0.5, 7);
    for (const classic::FactoryPreset& preset : classic::factoryPresets()) {
        for (unsigned channels : {1u, 2u}) {
            SCOPED_TRACE(preset.name);
            auto engine = std::make_unique<Engine>();
            engine->prepare(44100, preset.values.data());
            ReferenceQuorin ref(44100, preset.values);
            Values moved = preset.values;
            for (std::size_t i = 0; i < signal.size(); ++i) {
                if (i == 700) {
                    moved[param::gain] = 61.3f;
                    moved[param::polarity] = 1;
                    moved[param::tap] = 1;
                    moved[param::shimmer] = 40;
                } else if (i == 1900) {
                    moved[param::pad] = 1;
                    moved[param::parallelMix] = 35;
                    moved[param::inputTrim] = -80; // clamped to -60
                    moved[param::bypass] = 1;
                }
                engine->frame.setTargets(moved.data());
                ref.setTargets(moved);
                const double right = channels == 2 ? -0.5 * signal[i] : signal[i];
                const auto a = engine->tick(signal[i], right, channels);
                const auto b = ref.tick(signal[i], right, channels);
                ASSERT_EQ(a.first, b.first) << "frame " << i;
                ASSERT_EQ(a.second, b.second) << "frame " << i;
            }
            for (unsigned c = 0; c < 2; ++c) {
                EXPECT_EQ(engine->frame.outputMeanSquare[c], ref.frame.meters.outMs[c]);
                EXPECT_EQ(engine->frame.outputPeak[c], ref.frame.meters.peak[c]);
                EXPECT_EQ(engine->frame.gainReduction[c], 0.0);
            }
        }
    }
}

struct Staging {
    const char* what;
    Values values;
    double inputDecibels; // relative to the default staging
    double drive;
    double outputDecibels;
};

TEST(QuorinEngine, GainStagingPadAndTap) {
    const Staging cases[] = {
        {"defaults", defaults(), 0.0, 0.65, 0.0},
        {"Gain 69", with({{param::gain, 69}}), 35.0, 1.45, 0.0},
        {"Pad", with({{param::pad, 1}}), -20.0, 0.65, 0.0},
        {"Gain 69 with Pad", with({{param::gain, 69}, {param::pad, 1}}), 15.0, 1.45, 0.0},
        {"3:1 Tap", with({{param::tap, 1}}), 0.0, 0.65, -9.542425},
        {"Output Trim -36", with({{param::outputTrim, -36}}), 0.0, 0.65, -36.0},
        {"Input Trim 0", with({{param::inputTrim, 0}}), 34.0, 0.65, 0.0},
    };
    for (const Staging& s : cases) {
        SCOPED_TRACE(s.what);
        auto engine = std::make_unique<Engine>();
        engine->prepare(48000, s.values.data());
        EXPECT_NEAR(checks::decibels(engine->frame.inputGain), s.inputDecibels, 1e-9);
        EXPECT_NEAR(engine->frame.input.drive, s.drive, 1e-12);
        EXPECT_NEAR(checks::decibels(engine->frame.outputGain), s.outputDecibels, 1e-9);
        EXPECT_EQ(engine->frame.output.drive, 0.38);
    }
    auto engine = std::make_unique<Engine>();
    engine->prepare(48000, defaults().data());
    EXPECT_EQ(engine->frame.inputGain, 1.0); // 34 - 34 is exactly 0 dB
    EXPECT_EQ(engine->frame.outputGain, 1.0);
}

// A quiet sine passes at unity with the defaults; the tap lowers it by 9.54 dB; the latency is
// 16 frames.
TEST(QuorinEngine, QuietSinePassesAtUnityAndTapLowersIt) {
    const double fs = 48000;
    const std::vector<double> x = checks::sine(9600, 0.01, 1000, fs);
    for (float tap : {0.0f, 1.0f}) {
        auto engine = std::make_unique<Engine>();
        const Values v = with({{param::tap, tap}});
        engine->prepare(fs, v.data());
        std::vector<double> out;
        for (double s : x) {
            out.push_back(engine->tick(s, s, 2).first);
        }
        std::vector<double> aligned(out.begin() + 16, out.end());
        const double gain = checks::sineAmplitude(aligned, 4800, 4752, 1000, fs) / 0.01;
        EXPECT_NEAR(checks::decibels(gain), tap == 0 ? 0.0 : -9.542425, 0.02);
    }
}

TEST(QuorinEngine, PolarityInvertsOnlyTheWetPath) {
    const double fs = 48000;
    const std::vector<double> x = checks::sine(4800, 0.01, 500, fs);
    auto level = [&](const Values& v) {
        auto engine = std::make_unique<Engine>();
        engine->prepare(fs, v.data());
        std::vector<double> out;
        for (double s : x) {
            out.push_back(engine->tick(s, s, 2).first);
        }
        return std::vector<double>(out.begin() + 2400, out.end());
    };
    const auto inverted = level(with({{param::polarity, 1}}));
    const auto straight = level(defaults());
    for (std::size_t i = 0; i < inverted.size(); ++i) {
        EXPECT_NEAR(inverted[i], -straight[i], 1e-5);
    }
    // Half wet, half dry: the inverted wet path cancels the dry path almost entirely.
    const auto cancelled = level(with({{param::polarity, 1}, {param::parallelMix, 50}}));
    EXPECT_LT(checks::sineAmplitude(cancelled, 0, 2400, 500, fs), 0.0005);
    // Bypass passes the dry signal uninverted, delayed by 16 frames.
    const auto bypassed = level(with({{param::polarity, 1}, {param::bypass, 1}}));
    for (std::size_t i = 0; i < bypassed.size(); ++i) {
        EXPECT_EQ(bypassed[i], x[2400 + i - 16]);
    }
}

// Toggling Polarity moves the post gain in 16-frame steps through 0, crossing it when the
// smoothed value passes 0.5.
TEST(QuorinEngine, PolarityGlidesThroughZeroInUpdateSteps) {
    auto engine = std::make_unique<Engine>();
    engine->prepare(48000, defaults().data());
    const Values on = with({{param::polarity, 1}});
    engine->frame.setTargets(on.data());
    double previous = 1.0;
    bool crossed = false;
    for (unsigned frame = 0; frame < 4800; ++frame) {
        const double before = engine->frame.postGain;
        engine->tick(0, 0, 2);
        const double after = engine->frame.postGain;
        if (after != before) {
            EXPECT_EQ(frame % 16, 0u) << "changes only at the 16-frame update";
        }
        if (previous > 0 && after <= 0) {
            crossed = true;
            EXPECT_NEAR(engine->frame.current[param::polarity], 0.5, 0.05);
        }
        EXPECT_LE(after, previous);
        previous = after;
    }
    EXPECT_TRUE(crossed);
    EXPECT_LT(previous, -0.999);
}

TEST(QuorinEngine, SilenceStaysSilentAndShimmerAddsQuietNoise) {
    for (float shimmer : {0.0f, 100.0f}) {
        auto engine = std::make_unique<Engine>();
        const Values v = with({{param::shimmer, shimmer}});
        engine->prepare(48000, v.data());
        double peak = 0;
        for (unsigned i = 0; i < 48000; ++i) {
            peak = std::fmax(peak, std::fabs(engine->tick(0, 0, 2).first));
        }
        if (shimmer == 0) {
            EXPECT_EQ(peak, 0.0);
        } else {
            EXPECT_GT(peak, 0.0);
            EXPECT_LT(peak, 1e-3);
        }
    }
}

TEST(QuorinEngine, BoundedAndFiniteForHostileInputsAtEveryPreset) {
    for (const classic::FactoryPreset& preset : classic::factoryPresets()) {
        for (const checks::Hostile& input : checks::hostileInputs(4000)) {
            SCOPED_TRACE(std::string(preset.name) + ", " + input.name);
            auto engine = std::make_unique<Engine>();
            engine->prepare(96000, preset.values.data());
            for (double s : input.samples) {
                const auto [l, r] = engine->tick(s, -s, 2);
                ASSERT_TRUE(std::isfinite(l) && std::isfinite(r));
                ASSERT_LT(std::fabs(l), 16.0);
                ASSERT_LT(std::fabs(r), 16.0);
            }
        }
    }
}

TEST(QuorinEngine, MonoReturnsTheLeftResultTwice) {
    auto engine = std::make_unique<Engine>();
    engine->prepare(48000, defaults().data());
    for (double s : checks::testSignal(500, 0.3, 3)) {
        const auto [l, r] = engine->tick(s, s, 1);
        EXPECT_EQ(l, r);
    }
}

// The many-frame render path gives tick's results bit for bit, block sizes around its run of
// 32 frames included, mono and stereo, with targets moving between blocks.
TEST(QuorinEngine, RenderMatchesTickBitForBit) {
    const std::vector<classic::Values> moves = {
        checks::with({}), checks::with({{param::gain, 60}, {param::polarity, 1}}),
        checks::with({{param::tap, 1}, {param::shimmer, 50}, {param::parallelMix, 40}})};
    for (unsigned block : {1u, 7u, 32u, 33u, 512u}) {
        for (unsigned channels : {1u, 2u}) {
            SCOPED_TRACE(std::to_string(block) + (channels == 1 ? " mono" : " stereo"));
            checks::expectRenderMatchesTick<classic::Engine>(moves, block, channels);
        }
    }
}

} // namespace
