#pragma once
// A second, deliberately plain transcription of the Tolvar engine on the oversampled frame:
// full 65-term filter sums over modulo-indexed lines (the interpolation line really holds the
// zero-stuffed samples), one shelf coefficient set per channel, every step in the written
// order. The engine under test must match it sample for sample.

#include "../../tests/reference_functions.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace reference {

struct Row {
    float minimum, maximum, defaultValue;
    bool stepped;
};

// Tolvar: min, max, default, switch-or-indexed.
inline constexpr Row rows[14] = {
    {0, 4, 2, true},     {0, 10, 5, false},   {0, 10, 5, true},     {0, 10, 5, true},
    {0, 2, 1, true},     {0, 2, 1, true},     {0, 1, 0, true},      {0, 1, 0, true},
    {-24, 24, 0, false}, {-36, 12, 0, false}, {0, 100, 100, false}, {0, 1, 1, true},
    {0, 1, 0, true},     {0, 100, 0, false},
};

inline float normalise(unsigned id, float v) {
    const Row& r = rows[id];
    if (std::isnan(v) || std::isinf(v))
        return r.defaultValue;
    if (v < r.minimum)
        v = r.minimum;
    if (v > r.maximum)
        v = r.maximum;
    if (r.stepped)
        v = std::round(v);
    return v;
}

class Tolvar {
public:
    static constexpr unsigned N = 14;

    void prepare(double sampleRate, const float* values) {
        fs = sampleRate;
        fos = 4 * fs;
        cSmooth = 1 - std::exp(-1 / (fos * 0.008));
        cGlide = 1 - std::exp(-1 / (fos * 0.003));
        cBias = 1 - std::exp(-2 * M_PI * 35 / fos);
        cAir = 1 - std::exp(-2 * M_PI * 7000 / fos);
        cNoiseHigh = 1 - std::exp(-2 * M_PI * 4800 / fos);
        cNoiseLow = 1 - std::exp(-2 * M_PI * 60 / fos);
        dcPole = std::exp(-2 * M_PI * 3 / fos);
        cMeanSquare = 1 - std::exp(-1 / (0.15 * fs));
        peakDecay = std::exp(-1 / (0.6 * fs));
        double sum = 0;
        for (int i = 0; i <= 64; ++i) {
            const int d = i - 32;
            const double sinc = d == 0 ? 0.225 : std::sin(0.225 * M_PI * d) / (M_PI * d);
            const double window = 0.54 - 0.46 * std::cos(2 * M_PI * i / 64);
            tap[i] = sinc * window;
            sum += tap[i];
        }
        for (int i = 0; i <= 64; ++i)
            tap[i] = tap[i] / sum;
        reset(values);
    }

    void reset(const float* values) {
        for (int c = 0; c < 2; ++c) {
            lp[c] = nh[c] = nl[c] = 0;
        }
        noise[0] = 0x3728AC51u;
        noise[1] = 0x98E16B43u;
        for (unsigned i = 0; i < N; ++i) {
            target[i] = normalise(i, values[i]);
            current[i] = target[i];
        }
        for (int c = 0; c < 2; ++c) {
            for (int j = 0; j < 65; ++j)
                interp[c][j] = decim[c][j] = 0;
            interpIndex[c] = decimIndex[c] = 0;
            for (int j = 0; j < 17; ++j)
                dry[c][j] = 0;
            follower[c] = 0;
            dcIn[c] = dcOut[c] = 0;
            msIn[c] = msOut[c] = peak[c] = 0;
            for (int s = 0; s < 2; ++s) {
                state[c][s][0] = state[c][s][1] = 0;
            }
        }
        dryIndex = 0;
        counter = 0;
        mix = target[10] * 0.01;
        bypass = target[12];
        coefficientBlock();
        for (int c = 0; c < 2; ++c)
            for (int s = 0; s < 2; ++s)
                for (int q = 0; q < 5; ++q)
                    coef[c][s][q] = targetCoef[c][s][q];
    }

    void setTargets(const float* values) {
        for (unsigned i = 0; i < N; ++i)
            target[i] = normalise(i, values[i]);
    }

    void tick(double left, double right, unsigned channels, double& outLeft, double& outRight) {
        double in[2] = {left, right};
        for (int c = 0; c < 2; ++c)
            if (!std::isfinite(in[c]))
                in[c] = 0;

        double drySample[2];
        for (int c = 0; c < 2; ++c) {
            dry[c][dryIndex] = in[c];
            drySample[c] = dry[c][(dryIndex + 1) % 17];
        }
        dryIndex = (dryIndex + 1) % 17;

        double wet[2] = {0, 0};
        for (int k = 0; k < 4; ++k) {
            for (unsigned i = 0; i < N; ++i) {
                current[i] = (float)((double)current[i] +
                                     cSmooth * ((double)target[i] - (double)current[i]));
            }
            mix = mix + cSmooth * (0.01 * target[10] - mix);
            bypass = bypass + cSmooth * (target[12] - bypass);

            if (counter % 64 == 0)
                coefficientBlock();
            counter = counter + 1;

            const double u = 0.01 * current[13];
            const double G = 0.025 * u;
            const double D = 0.45 + 1.45 * u;
            const double M = D * (1 - reference::tanh(G) * reference::tanh(G));

            double y[2];
            for (int c = 0; c < 2; ++c) {
                interp[c][interpIndex[c]] = k == 0 ? in[c] : 0.0;
                double f = 0;
                for (unsigned j = 0; j < 65; ++j) {
                    f += tap[j] * interp[c][(interpIndex[c] + 65 - j) % 65];
                }
                interpIndex[c] = (interpIndex[c] + 1) % 65;
                const double x = 4 * f * inputGain;
                follower[c] = follower[c] + cBias * (x - follower[c]);
                const double w = 0.015 * reference::tanh(1.6 * follower[c]);
                double v = stage(x + w, k1, 0.065, tanhA1, den1) - w;
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
            for (int c = 0; c < 2; ++c) {
                double a = stage(y[c], k2, 0.035, tanhA2, den2);
                lp[c] = lp[c] + cAir * (a - lp[c]);
                noise[c] ^= noise[c] << 13;
                noise[c] ^= noise[c] >> 17;
                noise[c] ^= noise[c] << 5;
                const double n = noise[c] * std::ldexp(1.0, -31) - 1;
                nh[c] = nh[c] + cNoiseHigh * (n - nh[c]);
                nl[c] = nl[c] + cNoiseLow * (nh[c] - nl[c]);
                if (u > 0) {
                    a = a + 0.22 * u * ((reference::tanh(D * a + G) - reference::tanh(G)) / M - a) +
                        0.065 * u * (a - lp[c]) + 0.000075 * u * (nh[c] - nl[c]);
                }
                double z = a * outputGain * postGain;
                const double blocked = z - dcIn[c] + dcPole * dcOut[c];
                dcIn[c] = z;
                dcOut[c] = blocked;
                decim[c][decimIndex[c]] = blocked;
                double f = 0;
                for (unsigned j = 0; j < 65; ++j) {
                    f += tap[j] * decim[c][(decimIndex[c] + 65 - j) % 65];
                }
                decimIndex[c] = (decimIndex[c] + 1) % 65;
                if (k == 0)
                    wet[c] = f;
            }
        }

        double out[2];
        for (int c = 0; c < 2; ++c) {
            const double m = drySample[c] + (wet[c] - drySample[c]) * mix;
            out[c] = bypass == 1.0 ? drySample[c] : m + bypass * (drySample[c] - m);
            if (!std::isfinite(out[c]))
                out[c] = 0;
            msIn[c] = msIn[c] + cMeanSquare * (in[c] * in[c] - msIn[c]);
            msOut[c] = msOut[c] + cMeanSquare * (out[c] * out[c] - msOut[c]);
            peak[c] = std::max(std::fabs(out[c]), peak[c] * peakDecay);
        }
        outLeft = out[0];
        outRight = channels == 1 ? out[0] : out[1];
    }

    double msIn[2], msOut[2], peak[2];

private:
    // S(x; k, a) = (tanh(k x + a) - tanh(a)) / (k (1 - tanh^2 a))
    static double stage(double x, double k, double a, double tanhA, double den) {
        return (reference::tanh(k * x + a) - tanhA) / den;
    }

    void coefficientBlock() {
        const double gainDB = 5 * (double)current[0] - 10;
        inputGain = std::pow(10.0, ((double)current[8] + gainDB - 15 * (double)current[6]) / 20);
        outputGain =
            std::max((double)current[1], 0.0) / 5 * std::pow(10.0, (double)current[9] / 20);
        postGain = 1 - 2 * (double)current[7];
        k1 = 0.5 + 0.045 * (gainDB + 10);
        tanhA1 = reference::tanh(0.065);
        den1 = k1 * (1 - tanhA1 * tanhA1);
        k2 = 0.43;
        tanhA2 = reference::tanh(0.035);
        den2 = k2 * (1 - tanhA2 * tanhA2);
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

    double fs = 0, fos = 0;
    double cSmooth = 0, cGlide = 0, cBias = 0, cAir = 0, cNoiseHigh = 0, cNoiseLow = 0;
    double dcPole = 0, cMeanSquare = 0, peakDecay = 0;
    double tap[65] = {};
    float target[N] = {}, current[N] = {};
    double interp[2][65] = {}, decim[2][65] = {};
    std::uint32_t interpIndex[2] = {}, decimIndex[2] = {};
    double dry[2][17] = {};
    std::uint32_t dryIndex = 0, counter = 0;
    double follower[2] = {};
    double lp[2] = {}, nh[2] = {}, nl[2] = {};
    std::uint32_t noise[2] = {};
    double dcIn[2] = {}, dcOut[2] = {};
    double inputGain = 1, outputGain = 1, postGain = 1;
    double k1 = 1, tanhA1 = 0, den1 = 1, k2 = 1, tanhA2 = 0, den2 = 1;
    double mix = 1, bypass = 0;
    double coef[2][2][5] = {}, targetCoef[2][2][5] = {};
    double state[2][2][2] = {};
};

} // namespace reference
