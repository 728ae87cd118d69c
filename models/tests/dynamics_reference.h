#pragma once
// A second, deliberately plain transcription of the four dynamics engines (Opalin, Mireth,
// Vantor, Elvane) on the plain oversampled frame of reference_frame.h (full 65-term filter
// sums over modulo-indexed lines, the interpolation line really holding the zero-stuffed
// samples): each model's coefficient block written out from its laws, and the leveling gain
// cell's eleven steps in their written order, recomputing every power of ten where the steps
// name one. Nothing here is shared with the engines but the functions of
// reference_functions.h; an engine under test must match it sample for sample.

#include "reference_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace reference {

enum class Model { opalin, mireth, vantor, elvane };

inline constexpr Row opalinRows[10] = {
    {0, 100, 50, false}, {0, 100, 25, false},  {0, 1, 0, true},      {-24, 24, 0, false},
    {-24, 12, 0, false}, {0, 100, 100, false}, {0, 100, 100, false}, {0, 1, 0, true},
    {0, 1, 0, true},     {0, 100, 0, false},
};
inline constexpr Row mirethRows[10] = {
    {0, 36, 10, false}, {-36, 12, 0, false},  {0, 5, 2, true},      {0, 2, 1, true},
    {0, 3, 0, true},    {0, 100, 100, false}, {0, 100, 100, false}, {0, 1, 0, true},
    {0, 1, 0, true},    {0, 100, 0, false},
};
inline constexpr Row vantorRows[12] = {
    {-40, 20, -12, false}, {0, 24, 0, false},   {0, 5, 4, true},      {0, 4, 4, true},
    {0, 2, 1, true},       {0, 4, 0, true},     {0, 100, 100, false}, {0, 100, 100, false},
    {0, 1, 0, true},       {-24, 24, 0, false}, {0, 1, 0, true},      {0, 100, 0, false},
};
inline constexpr Row elvaneRows[9] = {
    {0, 36, 10, false}, {-36, 12, 0, false},  {0, 1, 1, true},
    {0, 3, 0, true},    {0, 100, 100, false}, {0, 100, 100, false},
    {0, 1, 0, true},    {0, 1, 0, true},      {0, 100, 0, false},
};

class Dynamics {
public:
    static constexpr unsigned maxN = 12;

    explicit Dynamics(Model m) : model(m) {
        switch (m) {
        case Model::opalin:
            N = 10, rows = opalinRows, mixId = 5, bypassId = 8, shimmerId = 9;
            break;
        case Model::mireth:
            N = 10, rows = mirethRows, mixId = 5, bypassId = 8, shimmerId = 9;
            break;
        case Model::vantor:
            N = 12, rows = vantorRows, mixId = 6, bypassId = 10, shimmerId = 11;
            break;
        case Model::elvane:
            N = 9, rows = elvaneRows, mixId = 4, bypassId = 7, shimmerId = 8;
            break;
        }
    }

    void prepare(double sampleRate, const float* values) {
        frame = FrameState(sampleRate);
        fos = frame.fos;
        cDetector = c(0.00015);
        cMemoryRise = c(0.45);
        reset(values);
    }

    void reset(const float* values) {
        for (unsigned i = 0; i < N; ++i) {
            target[i] = normalise(rows[i], values[i]);
            current[i] = target[i];
        }
        frame.reset(target[mixId] * 0.01, target[bypassId]);
        for (int ch = 0; ch < 2; ++ch) {
            level[ch] = memory[ch] = G[ch] = 0;
            hpIn[ch] = hpOut[ch] = 0;
        }
        counter = 0;
        coefficientBlock();
    }

    void setTargets(const float* values) {
        for (unsigned i = 0; i < N; ++i)
            target[i] = normalise(rows[i], values[i]);
    }

    void tick(double left, double right, unsigned channels, double& outLeft, double& outRight) {
        double in[2], drySample[2];
        frame.begin(left, right, in, drySample);

        double wet[2] = {0, 0};
        for (unsigned k = 0; k < 4; ++k) {
            frame.smooth(current, target, N, mixId, bypassId);

            if (counter % 64 == 0)
                coefficientBlock();
            counter = counter + 1;

            const double u = 0.01 * current[shimmerId];

            // First half: interpolation, input stage, detector (cell steps 1 to 3).
            double y[2];
            for (unsigned ch = 0; ch < 2; ++ch) {
                const double x = 4 * frame.interpolate(ch, k, in[ch]) * inputGain;
                const double w = frame.bias(ch, x, 0.015, 1.6);
                y[ch] = StageLaw(k1, a1)(x + w) - w;

                double s = y[ch];
                if (hasHighPass() && h != 0) {
                    s = h * (hpOut[ch] + y[ch] - hpIn[ch]);
                    hpIn[ch] = y[ch];
                    hpOut[ch] = s;
                }
                if (feedback())
                    s = s * reference::attenuation(G[ch]);
                level[ch] = level[ch] + cDetector * (std::fabs(s) - level[ch]);
            }

            // Between the halves: cell steps 4 to 11, left in full, then right.
            double g[2];
            for (int ch = 0; ch < 2; ++ch) {
                const double m = std::max(level[0], level[1]);
                double l = std::fabs(level[ch] + link * (m - level[ch]));
                if (l < 1e-12)
                    l = 1e-12;
                const double over = 20 * reference::log10(l) - threshold;
                double kn;
                if (over <= -W / 2) {
                    kn = 0;
                } else if (over >= W / 2) {
                    kn = over;
                } else {
                    kn = (over + W / 2) * (over + W / 2) / (2 * W);
                }
                double t;
                if (feedback()) {
                    const double r = std::min(0.22 * kn, 8.0) + 2;
                    t = kn * (r - 1);
                } else {
                    t = kn * (1 - 1 / R);
                }
                if (model == Model::opalin && target[1] <= 0)
                    t = 0;
                if (t > 48)
                    t = 48;
                if (t < 0)
                    t = 0;
                const double a = t > memory[ch] ? cMemoryRise : fall;
                memory[ch] = memory[ch] + a * (t - memory[ch]);
                if (floorHolds() && t < floorFactor() * memory[ch])
                    t = floorFactor() * memory[ch];
                const double b = t > G[ch] ? attack : release;
                G[ch] = G[ch] + b * (t - G[ch]);
                g[ch] = reference::attenuation(G[ch]);
            }

            // Second half: gain, output stage, Shimmer, gains, DC blocker, decimation.
            for (unsigned ch = 0; ch < 2; ++ch) {
                const double A = frame.shimmer(ch, StageLaw(k2, a2)(y[ch] * g[ch]), u);
                const double f = frame.blockAndDecimate(ch, A * outputGain * 1.0, 3.0);
                if (k == 0)
                    wet[ch] = f;
            }
        }

        const std::pair<double, double> out = frame.end(in, drySample, wet, channels);
        outLeft = out.first;
        outRight = out.second;
    }

    FrameState frame;
    double level[2], memory[2], G[2];

private:
    double c(double T) const { return 1 - std::exp(-1 / (fos * T)); }

    bool feedback() const { return model == Model::mireth || model == Model::elvane; }
    bool hasHighPass() const { return model != Model::opalin; }
    bool floorHolds() const {
        switch (model) {
        case Model::opalin:
            return true;
        case Model::mireth:
            return target[3] == 1;
        case Model::vantor:
            return target[3] == 4;
        case Model::elvane:
            return target[2] > 0.5;
        }
        return false;
    }
    double floorFactor() const {
        switch (model) {
        case Model::opalin:
            return 0.65;
        case Model::mireth:
            return 0.70;
        case Model::vantor:
            return 0.35;
        case Model::elvane:
            return 0.65;
        }
        return 0;
    }

    void coefficientBlock() {
        switch (model) {
        case Model::opalin: {
            inputGain = std::pow(10.0, (double)current[3] / 20);
            outputGain = std::pow(std::max((double)current[0], 0.0) / 50, 5.0) *
                         std::pow(10.0, (double)current[4] / 20);
            threshold = 5 - 0.65 * (double)current[1];
            if (target[2] > 0.5) {
                R = 15, W = 5;
            } else {
                R = 3, W = 12;
            }
            attack = c(10e-3);
            release = c(60e-3);
            fall = c(2.5);
            link = 0.01 * (double)current[6];
            h = 0;
            k1 = 0.62, a1 = 0.035, k2 = 0.4, a2 = 0.018;
            break;
        }
        case Model::mireth: {
            static constexpr double corner[4] = {0, 60, 120, 200};
            static constexpr double recovery[6] = {0.3, 0.6, 1.2, 2.4, 4.8, 9.6};
            static constexpr double attackTime[3] = {15e-3, 4e-3, 1e-3};
            const double f = corner[(int)target[4]];
            h = f == 0 ? 0 : std::exp(-2 * M_PI * f / fos);
            inputGain = std::pow(10.0, (double)current[0] / 20);
            outputGain = std::pow(10.0, (double)current[1] / 20);
            link = 0.01 * (double)current[6];
            threshold = -18, W = 14;
            const double rec = recovery[(int)target[2]];
            const int mode = (int)target[3];
            attack = c(attackTime[mode]);
            release = c(std::max((mode == 2 ? 0.3 : 1.0) * rec, 1e-5));
            fall = c(std::max(4 * rec, 1e-5));
            k1 = 0.8, a1 = 0.06, k2 = 0.38, a2 = -0.025;
            break;
        }
        case Model::vantor: {
            static constexpr double attackTime[6] = {0.1e-3, 0.3e-3, 1e-3, 3e-3, 10e-3, 30e-3};
            static constexpr double releaseTime[5] = {100e-3, 300e-3, 600e-3, 1.2, 100e-3};
            static constexpr double ratio[3] = {2, 4, 10};
            static constexpr double knee[3] = {12, 6, 2};
            static constexpr double corner[5] = {0, 60, 90, 150, 300};
            inputGain = std::pow(10.0, (double)current[9] / 20);
            outputGain = std::pow(10.0, (double)current[1] / 20);
            threshold = (double)current[0];
            R = ratio[(int)target[4]];
            W = knee[(int)target[4]];
            attack = c(std::max(attackTime[(int)target[2]], 1e-5));
            release = c(std::max(releaseTime[(int)target[3]], 1e-5));
            fall = c(12);
            link = 0.01 * (double)current[7];
            const double f = corner[(int)target[5]];
            h = f == 0 ? 0 : std::exp(-2 * M_PI * f / fos);
            k1 = 0.12, a1 = 0, k2 = 0.1, a2 = 0;
            break;
        }
        case Model::elvane: {
            static constexpr double corner[4] = {0, 60, 120, 200};
            const double f = corner[(int)target[3]];
            h = f == 0 ? 0 : std::exp(-2 * M_PI * f / fos);
            inputGain = std::pow(10.0, (double)current[0] / 20);
            outputGain = std::pow(10.0, (double)current[1] / 20);
            link = 0.01 * (double)current[5];
            threshold = -18, W = 14;
            attack = c(0.7e-3);
            release = c(100e-3);
            fall = c(2);
            k1 = 0.7, a1 = 0.018, k2 = 0.48, a2 = -0.015;
            break;
        }
        }
    }

    Model model;
    unsigned N = 0, mixId = 0, bypassId = 0, shimmerId = 0;
    const Row* rows = nullptr;

    double fos = 0, cDetector = 0, cMemoryRise = 0;
    float target[maxN] = {}, current[maxN] = {};
    std::uint32_t counter = 0;
    double hpIn[2] = {}, hpOut[2] = {};

    double inputGain = 1, outputGain = 1;
    double k1 = 1, a1 = 0, k2 = 1, a2 = 0;
    double threshold = 0, W = 0, R = 1, link = 1, h = 0, attack = 1, release = 1, fall = 1;
};

} // namespace reference
