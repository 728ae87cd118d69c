#pragma once
// The frame's coefficients: the one-pole laws c(T) and c(f), the saturating stage with the
// constants its coefficient block sets, the values a model's substep sets for the frame's
// stages, and the coefficients fixed by the sample rate.
//
// Nothing here allocates, locks or calls the system.

#include "engine/tanh.h"

#include <cmath>

namespace classic {

// c(T) = 1 - exp(-1/(fos*T)): one-pole coefficient for a time constant at the oversampled rate.
inline double timeCoefficient(double fos, double seconds) {
    return 1.0 - std::exp(-1.0 / (fos * seconds));
}
// c(f) = 1 - exp(-2*pi*f/fos): one-pole coefficient for a corner frequency.
inline double cornerCoefficient(double fos, double hertz) {
    return 1.0 - std::exp(-2.0 * M_PI * hertz / fos);
}

// The saturating stage S(x; k, a) = (tanh(k*x + a) - tanh(a)) / (k*(1 - tanh^2(a))): unity
// slope and zero output at x = 0. tanh(a) and the denominator are set per coefficient block.
struct Stage {
    double drive = 1.0;       // k
    double bias = 0.0;        // a
    double tanhBias = 0.0;    // tanh(a)
    double denominator = 1.0; // k*(1 - tanh^2(a))

    // [render thread]
    void set(double k, double a) noexcept {
        drive = k;
        bias = a;
        // tanh(a) is exactly what tanh(k*0 + a) gives per sample, so silence stays silent:
        // the same function on the same argument, never a folded constant.
        tanhBias = tanhScalar(a);
        denominator = k * (1.0 - tanhBias * tanhBias);
    }
    // [render thread]
    double operator()(double x) const noexcept {
        return (tanhScalar(drive * x + bias) - tanhBias) / denominator;
    }
};

// The frame's values that a model's substep values set: what the frame's stages take per
// substep, for models whose gains and input stage move on every substep.
struct StageValues {
    double inputGain = 1;
    Stage input;
    double biasDrive = 1.6;
    double outputGain = 1;
    double postGain = 1;
};

// Coefficients fixed by the sample rate, computed once in prepare.
struct FrameCoefficients {
    double smoothing = 0;    // c(8 ms): parameter values, mix and bypass
    double glide = 0;        // c(3 ms): model filter coefficients toward their targets
    double biasFollower = 0; // c(35 Hz)
    double air = 0;          // c(7 kHz): Shimmer air low-pass
    double noiseHigh = 0;    // c(4.8 kHz): Shimmer noise shaping
    double noiseLow = 0;     // c(60 Hz)
    double dcPole = 0;       // exp(-2*pi*3/fos)
    double meanSquare = 0;   // 1 - exp(-1/(0.15*fs)): meters, host rate
    double peakDecay = 0;    // exp(-1/(0.6*fs)): meters, host rate
};

} // namespace classic
