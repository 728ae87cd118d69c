#pragma once
// A second, deliberately plain transcription of the Tolvar engine on the plain oversampled
// frame of reference_frame.h (full 65-term filter sums over modulo-indexed lines, the
// interpolation line really holding the zero-stuffed samples): Tolvar's own coefficient block,
// stages and shelves, one shelf coefficient set per channel, every step in the written order.
// The engine under test must match it sample for sample.

#include "../../tests/reference_frame.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace reference {

// Tolvar: min, max, default, switch-or-indexed.
inline constexpr Row rows[14] = {
    {0, 4, 2, true},     {0, 10, 5, false},   {0, 10, 5, true},     {0, 10, 5, true},
    {0, 2, 1, true},     {0, 2, 1, true},     {0, 1, 0, true},      {0, 1, 0, true},
    {-24, 24, 0, false}, {-36, 12, 0, false}, {0, 100, 100, false}, {0, 1, 1, true},
    {0, 1, 0, true},     {0, 100, 0, false},
};

class Tolvar {
public:
    static constexpr unsigned N = 14;

    void prepare(double sampleRate, const float* values) {
        frame = FrameState(sampleRate);
        fos = frame.fos;
        cGlide = timeCoefficient(fos, 0.003);
        reset(values);
    }

    void reset(const float* values) {
        for (unsigned i = 0; i < N; ++i) {
            target[i] = normalise(rows[i], values[i]);
            current[i] = target[i];
        }
        frame.reset(target[10] * 0.01, target[12]);
        for (int c = 0; c < 2; ++c) {
            for (int s = 0; s < 2; ++s) {
                state[c][s][0] = state[c][s][1] = 0;
            }
        }
        counter = 0;
        coefficientBlock();
        for (int c = 0; c < 2; ++c)
            for (int s = 0; s < 2; ++s)
                for (int q = 0; q < 5; ++q)
                    coef[c][s][q] = targetCoef[c][s][q];
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
            frame.smooth(current, target, N, 10, 12);

            if (counter % 64 == 0)
                coefficientBlock();
            counter = counter + 1;

            const double u = 0.01 * current[13];

            double y[2];
            for (unsigned c = 0; c < 2; ++c) {
                const double x = 4 * frame.interpolate(c, k, in[c]) * inputGain;
                const double w = frame.bias(c, x, 0.015, 1.6);
                double v = stage1(x + w) - w;
                for (int s = 0; s < 2; ++s) {
                    for (int q = 0; q < 5; ++q)
                        coef[c][s][q] =
                            coef[c][s][q] + cGlide * (targetCoef[c][s][q] - coef[c][s][q]);
                    const double b0 = coef[c][s][0], b1 = coef[c][s][1], b2 = coef[c][s][2];
                    const double a1 = coef[c][s][3], a2 = coef[c][s][4];
                    const double out = b0 * v + state[c][s][0];
                    state[c][s][0] = state[c][s][1] + b1 * v - a1 * out;
                    state[c][s][1] = b2 * v - a2 * out;
                    v = out;
                }
                y[c] = v;
            }
            for (unsigned c = 0; c < 2; ++c) {
                const double a = frame.shimmer(c, stage2(y[c]), u);
                const double f = frame.blockAndDecimate(c, a * outputGain * postGain, 3.0);
                if (k == 0)
                    wet[c] = f;
            }
        }

        const std::pair<double, double> out = frame.end(in, drySample, wet, channels);
        outLeft = out.first;
        outRight = out.second;
    }

    FrameState frame;

private:
    void coefficientBlock() {
        const double gainDB = 5 * (double)current[0] - 10;
        inputGain = std::pow(10.0, ((double)current[8] + gainDB - 15 * (double)current[6]) / 20);
        outputGain =
            std::max((double)current[1], 0.0) / 5 * std::pow(10.0, (double)current[9] / 20);
        postGain = 1 - 2 * (double)current[7];
        stage1 = StageLaw(0.5 + 0.045 * (gainDB + 10), 0.065);
        stage2 = StageLaw(0.43, 0.035);
        static constexpr double db[11] = {-9, -6, -4.5, -3, -1.5, 0, 1.5, 3, 4.5, 6, 9};
        static constexpr double lowHz[3] = {70, 100, 200};
        static constexpr double highHz[3] = {4500, 7000, 10000};
        const double fLow = std::min(lowHz[(int)target[4]], 0.43 * fos);
        const double fHigh = std::min(highHz[(int)target[5]], 0.43 * fos);
        for (int c = 0; c < 2; ++c) {
            shelf(true, fLow, db[(int)target[2]], targetCoef[c][0]);
            shelf(false, fHigh, db[(int)target[3]], targetCoef[c][1]);
        }
    }

    void shelf(bool low, double f, double g, double* out) const {
        const double A = std::pow(10.0, g / 40);
        const double w0 = 2 * M_PI * f / fos;
        const double cs = std::cos(w0);
        const double alpha = std::sin(w0) / std::sqrt(2.0);
        const double beta = 2 * std::sqrt(A) * alpha;
        double b0, b1, b2, a0, a1, a2;
        if (low) {
            b0 = A * ((A + 1) - (A - 1) * cs + beta);
            b1 = 2 * A * ((A - 1) - (A + 1) * cs);
            b2 = A * ((A + 1) - (A - 1) * cs - beta);
            a0 = (A + 1) + (A - 1) * cs + beta;
            a1 = -2 * ((A - 1) + (A + 1) * cs);
            a2 = (A + 1) + (A - 1) * cs - beta;
        } else {
            b0 = A * ((A + 1) + (A - 1) * cs + beta);
            b1 = -2 * A * ((A - 1) + (A + 1) * cs);
            b2 = A * ((A + 1) + (A - 1) * cs - beta);
            a0 = (A + 1) - (A - 1) * cs + beta;
            a1 = 2 * ((A - 1) - (A + 1) * cs);
            a2 = (A + 1) - (A - 1) * cs - beta;
        }
        out[0] = b0 / a0;
        out[1] = b1 / a0;
        out[2] = b2 / a0;
        out[3] = a1 / a0;
        out[4] = a2 / a0;
    }

    double fos = 0, cGlide = 0;
    float target[N] = {}, current[N] = {};
    std::uint32_t counter = 0;
    double inputGain = 1, outputGain = 1, postGain = 1;
    StageLaw stage1{1, 0}, stage2{1, 0};
    double coef[2][2][5] = {}, targetCoef[2][2][5] = {};
    double state[2][2][2] = {};
};

} // namespace reference
