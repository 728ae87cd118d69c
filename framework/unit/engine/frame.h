#pragma once
// The oversampled frame every model's engine is built on: four-times oversampling behind one
// 65-tap linear-phase filter (interpolation and decimation), per-substep parameter smoothing,
// the biased input stage, the output stage, Analog Shimmer, the DC blocker, the 16-frame dry
// path with the Parallel Mix and Bypass crossfades, and the level meters.
//
// A model's `classic::Engine` holds a `Frame<N>` and fills its slots: the coefficient block
// (`configure`) and its period, the stage constants, the model section, the gains. Most models
// let `tickFrame` drive the substeps through hooks on their engine:
//
//     void configure();                          // coefficient block
//     double firstHalf(unsigned channel, double y);   // after the input stage
//     void between();                            // shared work of both channels
//     double secondHalf(unsigned channel, double y);  // before the output stage
//
// A model whose substep differs (its own detector placement, its own input law) writes its own
// tick from the same pieces, in the same order. A model may also offer
//
//     void render(const float* const in[2], float* const out[2], unsigned frames,
//                 unsigned channels);   // the same results as tick, frame by frame
//
// which the unit then calls per segment instead of tick; render_frames.h has two shapes of it.
//
// Nothing here allocates, locks or calls the system; all state is fixed-size.

#include "engine/coefficients.h"
#include "engine/meters.h"
#include "engine/oversampling.h"
#include "engine/simd/dispatch.h"
#include "engine/simd/pair.h"
#include "engine/tanh.h"
#include "engine/wet_filters.h"
#include "parameters/definition.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <utility>

namespace classic {

using Stereo = std::pair<double, double>;

// Substeps the frame's batched stages take at once: a stretch of 16 host frames.
inline constexpr unsigned maximumBatch = 64;

// count values, each exactly as tanhScalar: a pair straight in SSE2, more in one batch.
inline void tanhBatch(const double* in, double* out, unsigned count) noexcept {
    if (count == 2) {
        tanh2(in, out);
    } else if (count != 0) {
        tanhMany(in, out, count);
    }
}

// Which parameters the frame itself reads, and how often the coefficient block runs.
struct FrameLayout {
    const Definition* definitions; // the model's table, for the normalise rule
    unsigned mixId;                // Parallel Mix (0..100 %)
    unsigned bypassId;             // Bypass (0..1)
    unsigned shimmerId;            // Analog Shimmer (0..100 %)
    unsigned updatePeriod;         // substeps between coefficient blocks
};

// The frame composes the wet stages' states (wet_filters.h) and the meters (meters.h) with its
// own: parameters, rings, input stage and crossfades.
template <unsigned N> struct Frame : WetStates, FrameMeters {
    FrameLayout layout{};
    FrameCoefficients coefficients{};
    double fs = 0;
    double fos = 0;
    double taps[filterTaps] = {};

    float targets[N] = {};
    float current[N] = {};

    Interpolator interpolation[2];
    Decimator decimation[2];
    double dry[2][dryRingLength] = {};
    std::uint32_t dryIndex = 0;
    std::uint32_t substep = 0;
    double biasFollower[2] = {};
    // The slow bias w = biasDepth * tanh(biasDrive * follower): 0.015 and 1.6 unless the model
    // sets its own (the rack models: 0.025 and 1.8 times their input-stage drive).
    double biasDepth = 0.015;
    double biasDrive = 1.6;

    Stage input;
    Stage output;
    double inputGain = 1;
    double outputGain = 1;
    double postGain = 1;
    double mix = 1;
    double bypass = 0;
    bool settled = false; // the last smoothing pass changed nothing: see smooth

    // [main thread] Sample-rate work; the caller then runs its reset.
    void prepare(double sampleRate, const FrameLayout& frameLayout) {
        layout = frameLayout;
        fs = sampleRate;
        fos = oversampling * sampleRate;
        settled = false;
        coefficients.smoothing = timeCoefficient(fos, 0.008);
        coefficients.glide = timeCoefficient(fos, 0.003);
        coefficients.biasFollower = cornerCoefficient(fos, 35.0);
        coefficients.air = cornerCoefficient(fos, 7000.0);
        coefficients.noiseHigh = cornerCoefficient(fos, 4800.0);
        coefficients.noiseLow = cornerCoefficient(fos, 60.0);
        coefficients.dcPole = std::exp(-2.0 * M_PI * 3.0 / fos);
        coefficients.meanSquare = 1.0 - std::exp(-1.0 / (0.15 * fs));
        coefficients.peakDecay = std::exp(-1.0 / (0.6 * fs));
        resetShimmer();
        designTaps(taps);
    }

    // [render thread] Silence at the given values, no glide: targets and current values are the
    // normalised values, every filter, ring, counter and meter is zero. The model then runs its
    // coefficient block and copies its target coefficients into its current ones.
    void reset(const float* values) noexcept {
        resetShimmer();
        for (unsigned i = 0; i < N; ++i) {
            targets[i] = normalize(layout.definitions[i], values[i]);
            current[i] = targets[i];
        }
        for (unsigned c = 0; c < 2; ++c) {
            interpolation[c] = Interpolator{};
            decimation[c] = Decimator{};
            for (double& d : dry[c]) {
                d = 0;
            }
            biasFollower[c] = 0;
            dcInput[c] = dcOutput[c] = 0;
            inputMeanSquare[c] = outputMeanSquare[c] = outputPeak[c] = 0;
            gainReduction[c] = 0;
        }
        dryIndex = 0;
        substep = 0;
        settled = false;
        mix = targets[layout.mixId] * 0.01;
        bypass = targets[layout.bypassId];
    }

    // [render thread] Targets for the next segment: the unit's values under the normalise rule.
    void setTargets(const float* values) noexcept {
        for (unsigned i = 0; i < N; ++i) {
            const float target = normalize(layout.definitions[i], values[i]);
            if (std::bit_cast<std::uint32_t>(target) != std::bit_cast<std::uint32_t>(targets[i])) {
                settled = false;
            }
            targets[i] = target;
        }
    }

    // Frame step 1: a non-finite input is processed as silence.
    static double sanitize(double x) noexcept { return std::isfinite(x) ? x : 0.0; }

    // Frame step 2: the input of 16 frames earlier for both channels; one shared ring index.
    void dryPath(const double in[2], double out[2]) noexcept {
        const std::uint32_t read = dryIndex + 1 == dryRingLength ? 0 : dryIndex + 1;
        for (unsigned c = 0; c < 2; ++c) {
            dry[c][dryIndex] = in[c];
            out[c] = dry[c][read];
        }
        dryIndex = read;
    }

    // Substep 1: every value, mix and bypass glide toward their targets with c(8 ms). A pass
    // is a function of the values and the targets alone: once one leaves every value as it
    // was, bit for bit, so would every further pass toward the same targets, and they are
    // skipped until setTargets or reset brings new ones. (Parameters at rest come to that
    // within a fraction of a second.)
    void smooth() noexcept {
        if (settled) {
            return;
        }
        const double c = coefficients.smoothing;
        bool moved = false;
        for (unsigned i = 0; i < N; ++i) {
            const float before = current[i];
            const double now = before;
            current[i] = static_cast<float>(now + c * (static_cast<double>(targets[i]) - now));
            moved |=
                std::bit_cast<std::uint32_t>(current[i]) != std::bit_cast<std::uint32_t>(before);
        }
        const double mixBefore = mix, bypassBefore = bypass;
        mix += c * (0.01 * targets[layout.mixId] - mix);
        bypass += c * (static_cast<double>(targets[layout.bypassId]) - bypass);
        moved |= std::bit_cast<std::uint64_t>(mix) != std::bit_cast<std::uint64_t>(mixBefore) ||
                 std::bit_cast<std::uint64_t>(bypass) != std::bit_cast<std::uint64_t>(bypassBefore);
        settled = !moved;
        shimmerDrive.follow(0.01 * current[layout.shimmerId]);
    }

    // Substep 2: true when the coefficient block is due; the counter then advances (wrapping).
    bool updateDue() noexcept { return substep++ % layout.updatePeriod == 0; }

    // Substep 3, first part: input gain, slow bias and input stage, from the interpolation
    // filter's outputs, for `count` substeps of both channels interleaved (left, right per
    // substep, in time order). The bias followers advance substep by substep; the tanh of the
    // bias law and then of the stage are taken for all lanes at once. Each lane does exactly
    // the arithmetic of one channel's substep; the stage constants and gains hold over the
    // substeps (at most maximumBatch).
    void inputStages(const double* filtered, double* out, unsigned count) noexcept {
        StageValues now;
        keepStageValues(now);
        inputStagesStrided<0>(filtered, out, count, &now);
    }

    // Substep 5 after the model's work: output stage, Analog Shimmer (its filters and noise run
    // at 0 % too), gains and DC blocker, what enters the decimation line; for `count` substeps
    // of both channels interleaved as in inputStages, drive[s] the Shimmer law of substep s.
    // The tanh of the output stage and then of the Shimmer law are taken for all lanes at once;
    // the Shimmer filters, noise and DC blockers run substep by substep.
    void wetStages(const double* y, double* out, unsigned count,
                   const ShimmerDrive* drive) noexcept {
        StageValues now;
        keepStageValues(now);
        wetStagesStrided<0>(y, out, count, drive, &now);
    }

    // The values inputStagesEach and wetStagesEach take, as the last coefficient block left
    // them; written field by field straight into the keeper (a temporary copied whole would
    // read back stores of other widths, and stall).
    void keepStageValues(StageValues& into) const noexcept {
        into.inputGain = inputGain;
        into.input = input;
        into.biasDrive = biasDrive;
        into.outputGain = outputGain;
        into.postGain = postGain;
    }

    // inputStages with the gain, stage and bias drive of each substep from values[s] instead
    // of the frame's: lane by lane the same arithmetic, in the same order.
    void inputStagesEach(const double* filtered, double* out, unsigned count,
                         const StageValues* values) noexcept {
        inputStagesStrided<1>(filtered, out, count, values);
    }

    // wetStages with the output and post gains of each substep from values[s].
    void wetStagesEach(const double* y, double* out, unsigned count, const ShimmerDrive* drive,
                       const StageValues* values) noexcept {
        wetStagesStrided<1>(y, out, count, drive, values);
    }

    // The stages of substep s read values[s * stride]: stride 1 for values kept per substep,
    // stride 0 for the frame's own values over the whole batch (a constant, so that the
    // compiler keeps them in registers as when they were read from the frame).
    // Both channels of a substep go side by side in a pair, each lane exactly one channel's
    // arithmetic; the filters' states stay in registers through the batch.
    // On the AVX2 path the same operations in AVX2 code, where the loops over the lanes (the
    // stage's division among them) go four at a time: the same bits.
    template <unsigned stride>
    void inputStagesStrided(const double* filtered, double* out, unsigned count,
                            const StageValues* values) noexcept {
        simd::dispatch(
            simd::selectedPath,
            [](auto, Frame* f, const double* x, double* y, unsigned n, const StageValues* v)
                __attribute__((always_inline)) { f->template inputStagesOf<stride>(x, y, n, v); },
            this, filtered, out, count, values);
    }

    template <unsigned stride>
    [[gnu::always_inline]] void inputStagesOf(const double* filtered, double* out, unsigned count,
                                              const StageValues* values) noexcept {
        const unsigned lanes = 2 * count;
        double x[2 * maximumBatch], argument[2 * maximumBatch], t[2 * maximumBatch];
        const double c = coefficients.biasFollower;
        simd::Pair follower = {biasFollower[0], biasFollower[1]};
        // The followers are a chain of dependent steps and the bias law's tanh a stream of
        // independent ones: the followers of each run of substeps go ahead of the tanh of the
        // run before, so that the two overlap.
        constexpr unsigned run = 8;
        const auto followers = [&](unsigned from) noexcept {
            for (unsigned s = from; s < count && s < from + run; ++s) {
                const StageValues& v = values[s * stride];
                const simd::Pair xs = 4.0 * simd::load(filtered + 2 * s) * v.inputGain;
                follower += c * (xs - follower);
                simd::store(x + 2 * s, xs);
                simd::store(argument + 2 * s, v.biasDrive * follower);
            }
        };
        followers(0);
        for (unsigned from = 0; from < count; from += run) {
            followers(from + run);
            tanhBatch(argument + 2 * from, t + 2 * from, 2 * std::min(run, count - from));
        }
        biasFollower[0] = follower[0];
        biasFollower[1] = follower[1];
        for (unsigned i = 0; i < lanes; ++i) {
            const Stage& stage = values[i / 2 * stride].input;
            out[i] = biasDepth * t[i]; // w
            argument[i] = stage.drive * (x[i] + out[i]) + stage.bias;
        }
        tanhBatch(argument, t, lanes);
        for (unsigned i = 0; i < lanes; ++i) {
            const Stage& stage = values[i / 2 * stride].input;
            out[i] = (t[i] - stage.tanhBias) / stage.denominator - out[i]; // S(x + w) - w
        }
    }

    template <unsigned stride>
    void wetStagesStrided(const double* y, double* out, unsigned count, const ShimmerDrive* drive,
                          const StageValues* values) noexcept {
        const unsigned lanes = 2 * count;
        double a[2 * maximumBatch], argument[2 * maximumBatch], t[2 * maximumBatch];
        for (unsigned i = 0; i < lanes; ++i) {
            argument[i] = output.drive * y[i] + output.bias;
        }
        tanhBatch(argument, t, lanes);
        for (unsigned i = 0; i < lanes; ++i) {
            a[i] = (t[i] - output.tanhBias) / output.denominator;
        }
        unsigned shimmering = 0;
        for (unsigned s = 0; s < count; ++s) {
            const ShimmerDrive& v = drive[s];
            if (v.u > 0) {
                simd::store(argument + shimmering, v.d * simd::load(a + 2 * s) + v.g);
                shimmering += 2;
            }
        }
        tanhBatch(argument, t, shimmering);
        const double* shimmerTanh = t;
        WetFilters w = loadWetFilters();
        for (unsigned s = 0; s < count; ++s) {
            const StageValues& gains = values[s * stride];
            simd::store(out + 2 * s, wetFilter(coefficients, w, simd::load(a + 2 * s), drive[s],
                                               shimmerTanh, gains.outputGain, gains.postGain));
        }
        storeWetFilters(w);
    }

    // [render thread] wetStages for one substep (y: its left and right) with the filters'
    // states in w, for a caller that runs another chain of dependent steps beside it, substep
    // by substep: w from loadWetFilters before the first, back with storeWetFilters after the
    // last. tanh pair by pair gives the bits of the batch.
    simd::Pair wetStep(WetFilters& w, simd::Pair y, const ShimmerDrive& v) const noexcept {
        const simd::Pair argument = output.drive * y + output.bias;
        const simd::Pair a = (tanh2(argument) - output.tanhBias) / output.denominator;
        double shimmerTanh[2];
        if (v.u > 0) {
            simd::store(shimmerTanh, tanh2(v.d * a + v.g));
        }
        const double* next = shimmerTanh;
        return wetFilter(coefficients, w, a, v, next, outputGain, postGain);
    }

    double decimate(unsigned c, unsigned k, double z) noexcept {
        Decimator& line = decimation[c];
        line.push(z);
        const double wet = k == 0 ? line.output(taps) : 0.0;
        line.advance();
        return wet;
    }
};

// One host frame through the frame and the model's hooks (see the top of this file).
template <class Engine>
Stereo tickFrame(Engine& engine, double left, double right, unsigned channels) noexcept {
    auto& f = engine.frame;
    const double in[2] = {decltype(engine.frame)::sanitize(left),
                          decltype(engine.frame)::sanitize(right)};
    double dryValue[2];
    f.dryPath(in, dryValue);
    f.interpolation[0].push(in[0]);
    f.interpolation[1].push(in[1]);
    double wet[2] = {0, 0};
    for (unsigned k = 0; k < oversampling; ++k) {
        f.smooth();
        if (f.updateDue()) {
            engine.configure();
        }
        // Both channels' input stages side by side, then the hooks in their order: no hook
        // reads or writes an input stage's state, nor the output stages' ahead of them.
        const double filtered[2] = {f.interpolation[0].output(f.taps, k),
                                    f.interpolation[1].output(f.taps, k)};
        double y[2];
        f.inputStages(filtered, y, 1);
        for (unsigned c = 0; c < 2; ++c) {
            y[c] = engine.firstHalf(c, y[c]);
        }
        engine.between();
        for (unsigned c = 0; c < 2; ++c) {
            y[c] = engine.secondHalf(c, y[c]);
        }
        double z[2];
        f.wetStages(y, z, 1, &f.shimmerDrive);
        for (unsigned c = 0; c < 2; ++c) {
            const double out = f.decimate(c, k, z[c]);
            if (k == 0) {
                wet[c] = out;
            }
        }
    }
    const double outLeft = f.finish(0, in[0], dryValue[0], wet[0], f.mix, f.bypass, f.coefficients);
    const double outRight =
        f.finish(1, in[1], dryValue[1], wet[1], f.mix, f.bypass, f.coefficients);
    return {outLeft, channels == 1 ? outLeft : outRight};
}

} // namespace classic
