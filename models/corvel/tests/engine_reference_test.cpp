// The Corvel engine against an independent, literal transcription of its tick, sample for
// sample, through every selector, the "OFF" step, EQ In, polarity and high-pass fades.

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

// Per channel and section the coefficients and their targets, as written; no sharing.
struct Section {
    double b[5] = {1, 0, 0, 0, 0}; // b0 b1 b2 a1 a2, current
    double t[5] = {1, 0, 0, 0, 0}; // targets
    double s1 = 0, s2 = 0;
    double process(double in, double glide) {
        for (int i = 0; i < 5; ++i) {
            b[i] = b[i] + glide * (t[i] - b[i]);
        }
        const double out = b[0] * in + s1;
        s1 = s2 + b[1] * in - b[3] * out;
        s2 = b[2] * in - b[4] * out;
        return out;
    }
};

class ReferenceCorvel {
public:
    ReferenceCorvel(double sampleRate, const Values& values) : frame(sampleRate), fos(frame.fos) {
        reset(values);
    }

    void reset(const Values& values) {
        target = values;
        current = values;
        frame.reset(values[param::mix] * 0.01, values[param::bypass]);
        for (unsigned c = 0; c < 2; ++c) {
            hpIn[c] = hpOut[c] = 0;
            for (Section& s : eq[c]) {
                s = Section{};
            }
        }
        counter = 0;
        eqIn = values[param::eqIn];
        hpOn = values[param::highPass] > 0 ? 1 : 0;
        const unsigned step = static_cast<unsigned>(values[param::inputGain]);
        level = levels[step];
        mute = step == 7 ? 0 : 1;
        polarity = values[param::polarity] > 0.5 ? -1 : 1;
        configure();
        for (unsigned c = 0; c < 2; ++c) {
            for (Section& s : eq[c]) {
                std::copy(std::begin(s.t), std::end(s.t), std::begin(s.b));
            }
        }
    }

    void setTargets(const Values& values) { target = values; }

    classic::Stereo tick(double left, double right, unsigned channels) {
        double in[2], dry[2], wet[2] = {};
        frame.begin(left, right, in, dry);
        const double cs = 1.0 - std::exp(-1.0 / (fos * 0.008));
        const double c2 = 1.0 - std::exp(-1.0 / (fos * 0.002));
        const reference::StageLaw outputStage(0.36, 0.025);
        for (unsigned k = 0; k < 4; ++k) {
            frame.smooth(current, target, param::mix, param::bypass);
            double u[2];
            for (unsigned c = 0; c < 2; ++c) {
                u[c] = frame.interpolate(c, k, in[c]);
            }
            if (counter % 128 == 0) {
                configure();
            }
            ++counter;
            const unsigned step = static_cast<unsigned>(target[param::inputGain]);
            level = level + cs * (levels[step] - level);
            const double gi = std::pow(10.0, level / 20.0);
            const double go = std::pow(10.0, current[param::outputTrim] / 20.0);
            mute = mute + c2 * ((step == 7 ? 0.0 : 1.0) - mute);
            polarity = polarity + c2 * ((target[param::polarity] > 0.5 ? -1.0 : 1.0) - polarity);
            eqIn = eqIn + c2 * (target[param::eqIn] - eqIn);
            hpOn = hpOn + c2 * ((target[param::highPass] > 0 ? 1.0 : 0.0) - hpOn);
            const double drive = step > 7 ? 0.85 : 0.5;
            const unsigned hpStep = static_cast<unsigned>(target[param::highPass]);
            const double fhp = hpStep == 0 ? 50.0 : hpCorners[hpStep];
            const double rhp = std::exp(-2.0 * M_PI * fhp / fos);
            const double post = mute * polarity;
            const reference::StageLaw preamp(drive, 0.014);
            for (unsigned c = 0; c < 2; ++c) {
                const double x = 4 * u[c] * gi;
                const double w = frame.bias(c, x, 0.025, 1.8 * drive);
                const double y = preamp(x + w) - w;
                const double e =
                    eq[c][2].process(eq[c][1].process(eq[c][0].process(y, c2), c2), c2);
                hpOut[c] = rhp * (hpOut[c] + e - hpIn[c]);
                hpIn[c] = e;
                const double hp = eq[c][3].process(hpOut[c], c2);
                const double eqOut = e + hpOn * (hp - e);
                const double z = y + eqIn * (eqOut - y);
                const double o = frame.shimmer(c, outputStage(z), 0.01 * current[param::shimmer]);
                const double dec = frame.blockAndDecimate(c, o * go * post, 3.0);
                if (k == 0) {
                    wet[c] = dec;
                }
            }
        }
        return frame.end(in, dry, wet, channels);
    }

    reference::FrameState frame;

private:
    void configure() {
        const double cap = 0.43 * fos;
        for (unsigned c = 0; c < 2; ++c) {
            {
                const double f = std::min(lowCorners[unsigned(target[param::lowFrequency])], cap);
                const double A = std::pow(10.0, current[param::lowShelf] / 40.0);
                const double w0 = 2 * M_PI * f / fos, cw = std::cos(w0);
                const double alpha = std::sin(w0) / std::sqrt(2.0), beta = 2 * std::sqrt(A) * alpha;
                const double a0 = (A + 1) + (A - 1) * cw + beta;
                set(eq[c][0], A * ((A + 1) - (A - 1) * cw + beta), 2 * A * ((A - 1) - (A + 1) * cw),
                    A * ((A + 1) - (A - 1) * cw - beta), a0, -2 * ((A - 1) + (A + 1) * cw),
                    (A + 1) + (A - 1) * cw - beta);
            }
            {
                const double f = std::min(midCentres[unsigned(target[param::midFrequency])], cap);
                const double A = std::pow(10.0, current[param::midGain] / 40.0);
                const double w0 = 2 * M_PI * f / fos, cw = std::cos(w0);
                const double alpha = std::sin(w0) / 2.4;
                set(eq[c][1], 1 + alpha * A, -2 * cw, 1 - alpha * A, 1 + alpha / A, -2 * cw,
                    1 - alpha / A);
            }
            {
                const double f = std::min(12000.0, cap);
                const double A = std::pow(10.0, current[param::highShelf] / 40.0);
                const double w0 = 2 * M_PI * f / fos, cw = std::cos(w0);
                const double alpha = std::sin(w0) / std::sqrt(2.0), beta = 2 * std::sqrt(A) * alpha;
                set(eq[c][2], A * ((A + 1) + (A - 1) * cw + beta),
                    -2 * A * ((A - 1) + (A + 1) * cw), A * ((A + 1) + (A - 1) * cw - beta),
                    (A + 1) - (A - 1) * cw + beta, 2 * ((A - 1) - (A + 1) * cw),
                    (A + 1) - (A - 1) * cw - beta);
            }
            {
                const unsigned step = static_cast<unsigned>(target[param::highPass]);
                double f = step == 0 ? 50.0 : hpCorners[step];
                f = std::min(std::max(f, 2.0), cap);
                const double w0 = 2 * M_PI * f / fos, cw = std::cos(w0);
                const double alpha = std::sin(w0) / 2;
                set(eq[c][3], (1 + cw) / 2, -(1 + cw), (1 + cw) / 2, 1 + alpha, -2 * cw, 1 - alpha);
            }
        }
    }
    static void set(Section& s, double b0, double b1, double b2, double a0, double a1, double a2) {
        s.t[0] = b0 / a0;
        s.t[1] = b1 / a0;
        s.t[2] = b2 / a0;
        s.t[3] = a1 / a0;
        s.t[4] = a2 / a0;
    }

    static constexpr double levels[21] = {-10, -5, 0,  5,  10, 15, 20, 0,  20, 25, 30,
                                          35,  40, 45, 50, 55, 60, 65, 70, 75, 80};
    static constexpr double lowCorners[4] = {35, 60, 110, 220};
    static constexpr double midCentres[6] = {360, 700, 1600, 3200, 4800, 7200};
    static constexpr double hpCorners[5] = {0, 50, 80, 160, 300};

    double fos;
    Values target{}, current{};
    std::uint32_t counter = 0;
    double hpIn[2] = {}, hpOut[2] = {};
    Section eq[2][4];
    double eqIn = 1, hpOn = 0, level = 0, mute = 1, polarity = 1;
};

void move(Values& v, std::size_t frame) {
    switch (frame) {
    case 500:
        v[param::highShelf] = 9;
        v[param::midGain] = -7.5f;
        v[param::midFrequency] = 5;
        break;
    case 1100:
        v[param::inputGain] = 7;
        v[param::highPass] = 4;
        break; // "OFF"
    case 1600:
        v[param::inputGain] = 12;
        v[param::lowFrequency] = 0;
        v[param::lowShelf] = 14;
        break;
    case 2300:
        v[param::polarity] = 1;
        v[param::eqIn] = 0;
        v[param::shimmer] = 60;
        break;
    case 3000:
        v[param::inputGain] = 6;
        v[param::highPass] = 0;
        v[param::mix] = 45;
        break;
    case 3400:
        v[param::inputGain] = 20;
        v[param::eqIn] = 1;
        v[param::outputTrim] = -40;
        break;
    case 4100:
        v[param::bypass] = 1;
        v[param::midFrequency] = 0;
        v[param::highPass] = 2;
        break;
    case 4500:
        v[param::bypass] = 0;
        v[param::inputGain] = 0;
        v[param::polarity] = 0;
        break;
    default:
        break;
    }
}

TEST(CorvelReference, EveryPresetSampleForSampleInStereoAndMono) {
    const std::vector<double> a = checks::testSignal(5200, 0.4, 31);
    const std::vector<double> b = checks::testSignal(5200, 0.2, 37);
    for (const classic::FactoryPreset& preset : classic::factoryPresets()) {
        for (unsigned channels : {2u, 1u}) {
            for (double rate : {8000.0, 48000.0, 88200.0, 192000.0}) {
                SCOPED_TRACE(std::string(preset.name) + (channels == 1 ? " mono " : " stereo ") +
                             std::to_string(rate));
                auto engine = std::make_unique<classic::Engine>();
                engine->prepare(rate, preset.values.data());
                auto ref = std::make_unique<ReferenceCorvel>(rate, preset.values);
                Values v = preset.values;
                for (std::size_t i = 0; i < a.size(); ++i) {
                    move(v, i);
                    engine->frame.setTargets(v.data());
                    ref->setTargets(v);
                    double l = a[i], r = channels == 2 ? b[i] : a[i];
                    if (i == 2000) {
                        l = NAN;
                        r = -INFINITY;
                    }
                    const auto x = engine->tick(l, r, channels);
                    const auto y = ref->tick(l, r, channels);
                    ASSERT_EQ(x.first, y.first) << "frame " << i;
                    ASSERT_EQ(x.second, y.second) << "frame " << i;
                }
                for (unsigned c = 0; c < 2; ++c) {
                    EXPECT_EQ(engine->frame.inputMeanSquare[c], ref->frame.meters.inMs[c]);
                    EXPECT_EQ(engine->frame.outputMeanSquare[c], ref->frame.meters.outMs[c]);
                    EXPECT_EQ(engine->frame.outputPeak[c], ref->frame.meters.peak[c]);
                    EXPECT_EQ(engine->frame.gainReduction[c], 0.0);
                }
            }
        }
    }
}

} // namespace
