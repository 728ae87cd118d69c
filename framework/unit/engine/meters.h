#pragma once
// The frame's last steps at the host rate: the Parallel Mix and Bypass crossfades between the
// wet and the dry path, the output's sanitising, and the level meters the unit reads after
// each block (mean squares of input and output, the output's decaying peak, and the gain
// reduction a model with a gain cell writes).
//
// Nothing here allocates, locks or calls the system.

#include "engine/coefficients.h"
#include "engine/simd/mask.h"
#include "engine/simd/pair.h"

#include <cmath>

namespace classic {

struct FrameMeters {
    double inputMeanSquare[2] = {};
    double outputMeanSquare[2] = {};
    double outputPeak[2] = {};
    double gainReduction[2] = {}; // dB, written by models with a gain cell

    // [render thread] Frame steps 4 to 6 for one channel: crossfades with the smoothed mix and
    // bypass, output sanitising and meters; gives the output.
    double finish(unsigned c, double in, double dryValue, double wet, double mix, double bypass,
                  const FrameCoefficients& k) noexcept {
        const double m = dryValue + (wet - dryValue) * mix;
        double out = bypass == 1.0 ? dryValue : m + bypass * (dryValue - m);
        if (!std::isfinite(out)) {
            out = 0.0;
        }
        const double ms = k.meanSquare;
        inputMeanSquare[c] += ms * (in * in - inputMeanSquare[c]);
        outputMeanSquare[c] += ms * (out * out - outputMeanSquare[c]);
        // std::fmax without its library call: out is finite and the peak a product of such,
        // so no NaN arrives, and neither is ever -0.
        const double magnitude = std::fabs(out), decayed = outputPeak[c] * k.peakDecay;
        outputPeak[c] = magnitude >= decayed ? magnitude : decayed;
        return out;
    }

    // [render thread] finish for the n frames of a stretch, both channels side by side (each
    // lane one channel's operations, frame after frame): in, dryValue and wet per frame, mixAt
    // and bypassAt the mix and bypass its last substep left; out gets the outputs. The meters
    // stay in registers through the stretch.
    void finishStretch(const double (*in)[2], const double (*dryValue)[2], const double (*wet)[2],
                       const double* mixAt, const double* bypassAt, double (*out)[2], unsigned n,
                       const FrameCoefficients& k) noexcept {
        const double ms = k.meanSquare, decay = k.peakDecay;
        const simd::Pair infinity = simd::splat(__builtin_inf());
        simd::Pair inputPower = {inputMeanSquare[0], inputMeanSquare[1]};
        simd::Pair outputPower = {outputMeanSquare[0], outputMeanSquare[1]};
        simd::Pair peak = {outputPeak[0], outputPeak[1]};
        for (unsigned i = 0; i < n; ++i) {
            const simd::Pair dry = simd::load(dryValue[i]);
            const simd::Pair m = dry + (simd::load(wet[i]) - dry) * mixAt[i];
            simd::Pair o = bypassAt[i] == 1.0 ? dry : m + bypassAt[i] * (dry - m);
            // Not finite: 0. |o| < inf is false for NaN too.
            o = simd::select(simd::magnitude(o) < infinity, o, simd::Pair{});
            const simd::Pair x = simd::load(in[i]);
            inputPower += ms * (x * x - inputPower);
            outputPower += ms * (o * o - outputPower);
            // The peak's maximum as in finish: no NaN and no -0 arrive.
            const simd::Pair size = simd::magnitude(o), decayed = peak * decay;
            peak = simd::select(size >= decayed, size, decayed);
            simd::store(out[i], o);
        }
        for (unsigned c = 0; c < 2; ++c) {
            inputMeanSquare[c] = inputPower[c];
            outputMeanSquare[c] = outputPower[c];
            outputPeak[c] = peak[c];
        }
    }
};

} // namespace classic
