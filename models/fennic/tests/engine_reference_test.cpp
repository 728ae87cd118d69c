// The Fennic engine against an independent, literal transcription of its tick, sample for
// sample, through ratio changes, the "All Buttons" mode, link and timing moves and hostile
// inputs.

#include "../../tests/reference_frame.h"
#include "engine.h"
#include "engine_checks.h"
#include "presets/factory_preset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

using classic::Values;
namespace param = classic::param;

// The Fennic tick as written: per frame the ratio step from the targets, then four substeps
// of smoothing, interpolation, the substep values, the first half with the detector, the
// larger envelope, and the second half with the gain computer, the gain, the optional
// saturation and the output end.
class ReferenceFennic {
public:
    ReferenceFennic(double sampleRate, const Values& values) : frame(sampleRate) { reset(values); }

    void reset(const Values& values) {
        target = values;
        current = values;
        frame.reset(values[param::mix] * 0.01, values[param::bypass]);
        G[0] = G[1] = env[0] = env[1] = 0;
    }

    void setTargets(const Values& values) { target = values; }

    classic::Stereo tick(double left, double right, unsigned channels) {
        double in[2], dry[2], wet[2] = {};
        frame.begin(left, right, in, dry);
        const double fos = frame.fos;

        const unsigned x = static_cast<unsigned>(target[param::ratio]);
        const double ratioTable[5] = {4, 8, 12, 20, 20};
        const double R = ratioTable[x];
        const double T = -20.0 + 1.1 * x;
        const double W = x == 4 ? 9 : 3;
        const double k1 = x == 4 ? 1.4 : 0.7;
        const bool enabled = target[param::attack] >= 0.5;
        const double cd = 1.0 - std::exp(-1.0 / (fos * 0.00004));
        const reference::StageLaw inputStage(k1, 0.014), allButtons(1.7, 0.08),
            outputStage(0.45, 0.012);

        for (unsigned k = 0; k < 4; ++k) {
            frame.smooth(current, target, param::mix, param::bypass);
            double u[2];
            for (unsigned c = 0; c < 2; ++c) {
                u[c] = frame.interpolate(c, k, in[c]);
            }
            const double gi = reference::exp10((current[param::input] - 24.0) / 20.0);
            const double go = reference::exp10((current[param::output] - 24.0) / 20.0);
            double a = (current[param::attack] - 1.0) / 6.0;
            a = a < 0 ? 0 : a > 1 ? 1 : a;
            const double Ta = 0.0008 * std::pow(0.025, a);
            const double Tr = 1.1 * std::pow(1.0 / 22.0, (current[param::release] - 1.0) / 6.0);
            const double link = current[param::stereoLink] * 0.01;

            double y[2];
            for (unsigned c = 0; c < 2; ++c) {
                const double xs = 4 * u[c] * gi;
                const double w = frame.bias(c, xs, 0.025, 1.8 * k1);
                y[c] = inputStage(xs + w) - w;
                env[c] = env[c] + cd * (std::fabs(y[c] * reference::attenuation(G[c])) - env[c]);
            }
            const double m = std::max(env[0], env[1]);
            for (unsigned c = 0; c < 2; ++c) {
                const double level = env[c] + link * (m - env[c]);
                const double S = 20.0 * reference::log10(std::max(std::fabs(level), 1e-12)) - T;
                double kneeValue;
                if (S <= -W / 2) {
                    kneeValue = 0;
                } else if (S >= W / 2) {
                    kneeValue = S;
                } else {
                    kneeValue = (S + W / 2) * (S + W / 2) / (2 * W);
                }
                const double tgt = enabled ? std::min((R - 1) * kneeValue, 48.0) : 0.0;
                double tau = tgt > G[c] ? Ta : Tr * (1 + 0.035 * G[c]);
                tau = std::max(tau, 0.00002);
                G[c] = G[c] + (1 - reference::exp(-1 / (R * fos * tau))) * (tgt - G[c]);
                double v = y[c] * reference::attenuation(G[c]);
                if (x == 4) {
                    v = allButtons(v);
                }
                const double o = frame.shimmer(c, outputStage(v), 0.01 * current[param::shimmer]);
                const double dec = frame.blockAndDecimate(c, o * go, 4.0);
                if (k == 0) {
                    wet[c] = dec;
                }
            }
        }
        return frame.end(in, dry, wet, channels);
    }

    double G[2] = {}, env[2] = {};
    reference::FrameState frame;

private:
    Values target{}, current{};
};

// A stereo programme with loud and quiet passages, different in the two channels.
struct Programme {
    std::vector<double> left, right;
};
Programme programme(std::size_t frames) {
    const std::vector<double> a = checks::testSignal(frames, 1.0, 11);
    const std::vector<double> b = checks::testSignal(frames, 1.0, 23);
    Programme p{a, b};
    for (std::size_t i = 0; i < frames; ++i) {
        const double envelope = (i / 1500) % 3 == 0 ? 0.02 : (i / 1500) % 3 == 1 ? 0.9 : 0.25;
        p.left[i] *= envelope;
        p.right[i] *= (i / 1100) % 2 ? 0.6 : 0.05;
    }
    p.left[frames / 3] = NAN;
    p.right[frames * 3 / 4] = INFINITY;
    return p;
}

// Parameter moves at given frames: ratio steps (to and from "All Buttons"), Attack across the
// 0.5 switch, release, link, gains, Shimmer, Mix and Bypass, and a Meter change.
void move(Values& v, std::size_t frame) {
    switch (frame) {
    case 900:
        v[param::ratio] = 4;
        v[param::attack] = 6.5f;
        break;
    case 2100:
        v[param::stereoLink] = 30;
        v[param::input] = 40;
        v[param::release] = 1.3f;
        break;
    case 3000:
        v[param::attack] = 0.4f;
        v[param::shimmer] = 45;
        v[param::meter] = 2;
        break;
    case 3700:
        v[param::attack] = 0.5f;
        v[param::ratio] = 2;
        v[param::output] = 6;
        break;
    case 4600:
        v[param::mix] = 40;
        v[param::release] = 7;
        v[param::stereoLink] = 0;
        break;
    case 5600:
        v[param::bypass] = 1;
        v[param::ratio] = 3;
        break;
    case 6100:
        v[param::bypass] = 0;
        v[param::attack] = 7;
        break;
    default:
        break;
    }
}

TEST(FennicReference, EveryPresetSampleForSampleInStereoAndMono) {
    const Programme p = programme(7000);
    for (const classic::FactoryPreset& preset : classic::factoryPresets()) {
        for (unsigned channels : {2u, 1u}) {
            SCOPED_TRACE(std::string(preset.name) + (channels == 1 ? " mono" : " stereo"));
            for (double rate : {8000.0, 44100.0, 96000.0, 192000.0}) {
                auto engine = std::make_unique<classic::Engine>();
                engine->prepare(rate, preset.values.data());
                ReferenceFennic ref(rate, preset.values);
                Values v = preset.values;
                for (std::size_t i = 0; i < p.left.size(); ++i) {
                    move(v, i);
                    engine->frame.setTargets(v.data());
                    ref.setTargets(v);
                    const double right = channels == 2 ? p.right[i] : p.left[i];
                    const auto a = engine->tick(p.left[i], right, channels);
                    const auto b = ref.tick(p.left[i], right, channels);
                    ASSERT_EQ(a.first, b.first) << "frame " << i << " at " << rate;
                    ASSERT_EQ(a.second, b.second) << "frame " << i << " at " << rate;
                    ASSERT_EQ(engine->frame.gainReduction[0], ref.G[0]) << "frame " << i;
                    ASSERT_EQ(engine->frame.gainReduction[1], ref.G[1]) << "frame " << i;
                }
                for (unsigned c = 0; c < 2; ++c) {
                    EXPECT_EQ(engine->frame.inputMeanSquare[c], ref.frame.meters.inMs[c]);
                    EXPECT_EQ(engine->frame.outputMeanSquare[c], ref.frame.meters.outMs[c]);
                    EXPECT_EQ(engine->frame.outputPeak[c], ref.frame.meters.peak[c]);
                }
            }
        }
    }
}

// A reset in the middle of a run returns both to the same state.
TEST(FennicReference, ResetMidRunMatches) {
    const Programme p = programme(3000);
    const Values start = classic::factoryPresets()[5].values;
    auto engine = std::make_unique<classic::Engine>();
    engine->prepare(48000, start.data());
    ReferenceFennic ref(48000, start);
    for (std::size_t i = 0; i < p.left.size(); ++i) {
        if (i == 1234) {
            const Values other = classic::factoryPresets()[3].values;
            engine->reset(other.data());
            ref.reset(other);
        }
        const auto a = engine->tick(p.left[i], p.right[i], 2);
        const auto b = ref.tick(p.left[i], p.right[i], 2);
        ASSERT_EQ(a.first, b.first) << i;
        ASSERT_EQ(a.second, b.second) << i;
    }
}

} // namespace
