#pragma once
// A plain transcription of the oversampled frame for tests: full 65-tap lines fed with the
// zero-stuffed signal and indexed with a modulo, a literal Shimmer, stage law, bias follower
// and DC blocker, the dry ring, smoothing, mix, bypass and the meters. The reference
// transcriptions of the models (Tolvar's, the four dynamics models', Fennic's, Corvel's and
// Quorin's) build their ticks on it and keep their own coefficient blocks, gain cells, EQ and
// stages. It shares no code with the engines but tanh, log10, 10^x and e^x
// (reference_functions.h), so an engine that drifts from the written order of operations
// shows up as a sample that differs.

#include "reference_functions.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>

namespace reference {

// A parameter's row: min, max, default, switch-or-indexed.
struct Row {
    float minimum, maximum, defaultValue;
    bool stepped;
};

// A value as the host may send it, brought into its row: non-finite to the default, clamped,
// rounded where stepped.
inline float normalise(const Row& r, float v) {
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

inline double timeCoefficient(double fos, double seconds) {
    return 1.0 - std::exp(-1.0 / (fos * seconds));
}
inline double cornerCoefficient(double fos, double hertz) {
    return 1.0 - std::exp(-2.0 * M_PI * hertz / fos);
}

// S(x; k, a) with tanh(a) and the denominator worked out once, as the engines do.
struct StageLaw {
    double k, a, t, d;
    StageLaw(double drive, double bias)
        : k(drive), a(bias), t(reference::tanh(bias)), d(drive * (1.0 - t * t)) {}
    double operator()(double x) const { return (reference::tanh(k * x + a) - t) / d; }
};

struct Taps {
    double tap[65];
    Taps() {
        double sum = 0;
        for (int i = 0; i < 65; ++i) {
            const int d = i - 32;
            const double sinc = d == 0 ? 0.225 : std::sin(0.225 * M_PI * d) / (M_PI * d);
            tap[i] = sinc * (0.54 - 0.46 * std::cos(2.0 * M_PI * i / 64.0));
            sum += tap[i];
        }
        for (double& t : tap) {
            t /= sum;
        }
    }
};

// Write, sum with the newest sample against tap 0, advance.
struct Line {
    double x[65] = {};
    std::uint32_t index = 0;
    double feed(const Taps& taps, double sample) {
        x[index] = sample;
        double sum = 0;
        for (std::uint32_t j = 0; j < 65; ++j) {
            sum += taps.tap[j] * x[(index + 65 - j) % 65];
        }
        index = (index + 1) % 65;
        return sum;
    }
};

struct ShimmerChannel {
    double lp = 0, nh = 0, nl = 0;
    std::uint32_t s;
};

// The Shimmer law of one substep: u from the smoothed Shimmer value.
inline double shimmer(ShimmerChannel& st, double a, double u, double cAir, double cHigh,
                      double cLow) {
    st.lp = st.lp + cAir * (a - st.lp);
    st.s ^= st.s << 13;
    st.s ^= st.s >> 17;
    st.s ^= st.s << 5;
    const double n = st.s * std::pow(2.0, -31) - 1.0;
    st.nh = st.nh + cHigh * (n - st.nh);
    st.nl = st.nl + cLow * (st.nh - st.nl);
    if (u > 0) {
        const double g = 0.025 * u;
        const double d = 0.45 + 1.45 * u;
        const double m = d * (1.0 - reference::tanh(g) * reference::tanh(g));
        a = a + 0.22 * u * ((reference::tanh(d * a + g) - reference::tanh(g)) / m - a) +
            0.065 * u * (a - st.lp) + 0.000075 * u * (st.nh - st.nl);
    }
    return a;
}

// The host-rate end of a frame: mix, bypass, sanitising and the meters.
struct Meters {
    double inMs[2] = {}, outMs[2] = {}, peak[2] = {};
};
inline double finish(Meters& meters, unsigned c, double in, double dry, double wet, double mix,
                     double bypass, double fs) {
    const double m = dry + (wet - dry) * mix;
    double out = bypass == 1.0 ? dry : m + bypass * (dry - m);
    if (!std::isfinite(out)) {
        out = 0;
    }
    const double ms = 1.0 - std::exp(-1.0 / (0.15 * fs));
    meters.inMs[c] = meters.inMs[c] + ms * (in * in - meters.inMs[c]);
    meters.outMs[c] = meters.outMs[c] + ms * (out * out - meters.outMs[c]);
    meters.peak[c] = std::fmax(std::fabs(out), meters.peak[c] * std::exp(-1.0 / (0.6 * fs)));
    return out;
}

// The frame's state around a model's transcription, both channels: the dry ring, the lines,
// the bias followers, Shimmer, the DC blockers, mix, bypass and the meters.
struct FrameState {
    double fs = 0, fos = 0;
    Taps taps;
    Line up[2], down[2];
    double dry[2][17] = {};
    unsigned ring = 0;
    double follower[2] = {}, dcIn[2] = {}, dcOut[2] = {};
    ShimmerChannel shim[2];
    Meters meters;
    double mix = 1, bypass = 0;

    FrameState() = default;
    explicit FrameState(double sampleRate) : fs(sampleRate), fos(4 * sampleRate) {}

    void reset(double mixValue, double bypassValue) {
        for (unsigned c = 0; c < 2; ++c) {
            up[c] = down[c] = Line{};
            std::fill(std::begin(dry[c]), std::end(dry[c]), 0.0);
            follower[c] = dcIn[c] = dcOut[c] = 0;
        }
        shim[0] = {0, 0, 0, 0x3728AC51u};
        shim[1] = {0, 0, 0, 0x98E16B43u};
        ring = 0;
        meters = {};
        mix = mixValue;
        bypass = bypassValue;
    }

    // Non-finite inputs as silence, and the dry samples of 16 frames earlier.
    void begin(double left, double right, double in[2], double dryOut[2]) {
        in[0] = std::isfinite(left) ? left : 0.0;
        in[1] = std::isfinite(right) ? right : 0.0;
        for (unsigned c = 0; c < 2; ++c) {
            dry[c][ring] = in[c];
            dryOut[c] = dry[c][(ring + 1) % 17];
        }
        ring = (ring + 1) % 17;
    }

    // Values (computed in double, stored as float), mix and bypass toward their targets.
    void smooth(float* current, const float* target, std::size_t count, unsigned mixId,
                unsigned bypassId) {
        const double c = timeCoefficient(fos, 0.008);
        for (std::size_t i = 0; i < count; ++i) {
            current[i] = static_cast<float>(current[i] + c * (double(target[i]) - current[i]));
        }
        mix = mix + c * (0.01 * target[mixId] - mix);
        bypass = bypass + c * (target[bypassId] - bypass);
    }
    template <class Values>
    void smooth(Values& current, const Values& target, unsigned mixId, unsigned bypassId) {
        smooth(current.data(), target.data(), current.size(), mixId, bypassId);
    }

    // The zero-stuffed interpolation line's output at substep k.
    double interpolate(unsigned c, unsigned k, double input) {
        return up[c].feed(taps, k == 0 ? input : 0.0);
    }

    // The 35 Hz bias follower fed with the stage's input x, and the bias it gives:
    // depth tanh(scale follower).
    double bias(unsigned c, double x, double depth, double scale) {
        follower[c] = follower[c] + cornerCoefficient(fos, 35) * (x - follower[c]);
        return depth * reference::tanh(scale * follower[c]);
    }

    double shimmer(unsigned c, double a, double u) {
        return reference::shimmer(shim[c], a, u, cornerCoefficient(fos, 7000),
                                  cornerCoefficient(fos, 4800), cornerCoefficient(fos, 60));
    }

    // DC blocker with the given corner, then the decimation line.
    double blockAndDecimate(unsigned c, double z, double dcHertz) {
        const double r = std::exp(-2.0 * M_PI * dcHertz / fos);
        const double d = z - dcIn[c] + r * dcOut[c];
        dcIn[c] = z;
        dcOut[c] = d;
        return down[c].feed(taps, d);
    }

    std::pair<double, double> end(const double in[2], const double dryOut[2], const double wet[2],
                                  unsigned channels) {
        const double l = finish(meters, 0, in[0], dryOut[0], wet[0], mix, bypass, fs);
        const double r = finish(meters, 1, in[1], dryOut[1], wet[1], mix, bypass, fs);
        return {l, channels == 1 ? l : r};
    }
};

} // namespace reference
