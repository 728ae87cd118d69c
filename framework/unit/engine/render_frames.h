#pragma once
// Many host frames through the frame and the model's hooks, with the results of tickFrame
// frame by frame, bit for bit, in shapes that keep the processor busy. A model opts in by
// offering render() and calling one of these; its hooks and configure must be reachable here.
// The rings end exactly as tickFrame leaves them, so either can be mixed with tick freely.
//
// renderFrames: for every model on the hooks. The filter sums, long chains of dependent
// additions, are taken out of the substep loop and summed for a run of frames side by side:
//   1. the run's inputs are sanitised, fed to the dry path and the interpolation rings;
//   2. every interpolation output of the run (4 per frame and channel) is summed, in the
//      filter's own order, from a straight copy of the input history;
//   3. the substeps run in order as in tickFrame, the decimation line fed as usual but not
//      summed, its inputs also kept in a straight copy;
//   4. the decimation output of every frame is summed from that copy, in the filter's order;
//   5. mix, bypass (as the frame's last substep left them), sanitising and meters, in order.
//
// renderStretches: further, for models whose substep allows it. Per substep the frame is a
// chain of dependent steps (three tanh evaluations among them); run for a whole stretch one
// step at a time, the steps of different substeps overlap. A stretch ends where the
// coefficient block is due, so the block runs at most at its first substep and the gains and
// stage constants hold through it. Over a stretch: inputs and interpolation as above; then
// smoothing and the coefficient block substep by substep (they never see the audio); the input
// stage of every substep (its bias follower is its only chain); the model's hooks substep by
// substep in their order; output stage, Shimmer, gains and DC blocker of every substep; then
// decimation, crossfades and meters. Each state variable sees exactly the operations tickFrame
// gives it, in the same order. What a model must allow: its hooks read only targets and what
// its coefficient block computed, never the smoothed values (the smoothing of a stretch runs
// ahead of the audio), and its update period is a multiple of the oversampling (otherwise the
// frames go through tick).

#include "engine/frame.h"

#include <algorithm>

namespace classic {

// Both channels of one sample, side by side: each lane does exactly the scalar arithmetic.
using ChannelPair = double __attribute__((vector_size(16)));

inline constexpr unsigned renderRun = 32; // frames summed side by side

// [render thread] frames host frames from in[0], in[1] into out[0], out[1] (channels 1: in[1]
// and out[1] are ignored and may be null).
template <class Engine>
void renderFrames(Engine& engine, const float* const in[2], float* const out[2], unsigned frames,
                  unsigned channels) noexcept {
    auto& f = engine.frame;
    constexpr unsigned inputHistory = 16;    // host frames a substep's sum reaches back
    constexpr unsigned lineHistory = 64;     // substeps the decimation sum reaches back
    ChannelPair x[inputHistory + renderRun]; // sanitised inputs, oldest first
    ChannelPair filtered[renderRun][oversampling];
    ChannelPair line[lineHistory + oversampling * renderRun];
    double dryValue[renderRun][2];
    double mixAt[renderRun], bypassAt[renderRun];

    for (unsigned start = 0; start < frames; start += renderRun) {
        const unsigned n = std::min(renderRun, frames - start);

        // 1. Histories as straight arrays, then the run's inputs.
        for (unsigned c = 0; c < 2; ++c) {
            const Interpolator& ring = f.interpolation[c];
            for (unsigned m = 0; m < inputHistory; ++m) {
                x[inputHistory - 1 - m][c] = ring.history[ring.index + dryRingLength - m];
            }
            const Decimator& decimator = f.decimation[c];
            for (unsigned j = 1; j <= lineHistory; ++j) {
                line[lineHistory - j][c] = decimator.line[decimator.index + filterTaps - j];
            }
        }
        for (unsigned i = 0; i < n; ++i) {
            const double left = f.sanitize(in[0][start + i]);
            const double sample[2] = {left, channels == 1 ? left : f.sanitize(in[1][start + i])};
            f.dryPath(sample, dryValue[i]);
            for (unsigned c = 0; c < 2; ++c) {
                f.interpolation[c].push(sample[c]);
                x[inputHistory + i][c] = sample[c];
            }
        }

        // 2. Interpolation: substep k meets taps k, k + 4, ... against the last host inputs.
        for (unsigned i = 0; i < n; ++i) {
            for (unsigned k = 0; k < oversampling; ++k) {
                ChannelPair sum = {0.0, 0.0};
                for (unsigned j = k, m = 0; j < filterTaps; j += oversampling, ++m) {
                    sum += f.taps[j] * x[inputHistory + i - m];
                }
                filtered[i][k] = sum;
            }
        }

        // 3. The substeps, in order.
        for (unsigned i = 0; i < n; ++i) {
            for (unsigned k = 0; k < oversampling; ++k) {
                f.smooth();
                if (f.updateDue()) {
                    engine.configure();
                }
                // Both channels' stages side by side, the hooks in their order between.
                const double pair[2] = {filtered[i][k][0], filtered[i][k][1]};
                double y[2];
                f.inputStages(pair, y, 1);
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
                    f.decimation[c].push(z[c]);
                    f.decimation[c].advance();
                    line[lineHistory + oversampling * i + k][c] = z[c];
                }
            }
            mixAt[i] = f.mix;
            bypassAt[i] = f.bypass;
        }

        // 4 and 5. Decimation at each frame's first substep, then the crossfades and meters.
        for (unsigned i = 0; i < n; ++i) {
            ChannelPair wet = {0.0, 0.0};
            const unsigned newest = lineHistory + oversampling * i;
            for (unsigned j = 0; j < filterTaps; ++j) {
                wet += f.taps[j] * line[newest - j];
            }
            const double outLeft = f.finishWith(0, x[inputHistory + i][0], dryValue[i][0], wet[0],
                                                mixAt[i], bypassAt[i]);
            const double outRight = f.finishWith(1, x[inputHistory + i][1], dryValue[i][1], wet[1],
                                                 mixAt[i], bypassAt[i]);
            out[0][start + i] = static_cast<float>(outLeft);
            if (channels == 2) {
                out[1][start + i] = static_cast<float>(outRight);
            }
        }
    }
}

// [render thread] frames host frames from in[0], in[1] into out[0], out[1] (channels 1: in[1]
// and out[1] are ignored and may be null).
template <class Engine>
void renderStretches(Engine& engine, const float* const in[2], float* const out[2], unsigned frames,
                     unsigned channels) noexcept {
    auto& f = engine.frame;
    const unsigned period = f.layout.updatePeriod;
    constexpr unsigned maximumRun = 16; // frames in one stretch
    constexpr unsigned maximumSteps = oversampling * maximumRun;
    static_assert(maximumSteps <= maximumBatch, "a stretch's stages go through in one batch");
    constexpr unsigned inputHistory = 16;            // host frames an input sum reaches
    constexpr unsigned lineHistory = filterTaps - 1; // substeps a decimation sum reaches
    ChannelPair x[inputHistory + maximumRun];        // sanitised inputs, oldest first
    double dryValue[maximumRun][2];
    double filtered[2 * maximumSteps]; // left, right per substep
    double y[2 * maximumSteps];        // likewise
    double z[2 * maximumSteps];
    ShimmerDrive drive[maximumSteps];
    double mixAt[maximumRun], bypassAt[maximumRun];
    ChannelPair line[lineHistory + maximumSteps];

    if (period % oversampling != 0) {
        for (unsigned i = 0; i < frames; ++i) {
            const Stereo s = engine.tick(in[0][i], channels == 1 ? in[0][i] : in[1][i], channels);
            out[0][i] = static_cast<float>(s.first);
            if (channels == 2) {
                out[1][i] = static_cast<float>(s.second);
            }
        }
        return;
    }

    for (unsigned start = 0; start < frames;) {
        const unsigned phase = f.substep % period;
        const unsigned untilBlock = (phase == 0 ? period : period - phase) / oversampling;
        const unsigned n = std::min({maximumRun, untilBlock, frames - start});
        const unsigned steps = oversampling * n;

        // 1. Histories as straight arrays, then the stretch's inputs.
        for (unsigned c = 0; c < 2; ++c) {
            const Interpolator& ring = f.interpolation[c];
            for (unsigned m = 0; m < inputHistory; ++m) {
                x[inputHistory - 1 - m][c] = ring.history[ring.index + dryRingLength - m];
            }
            const Decimator& decimator = f.decimation[c];
            for (unsigned j = 1; j <= lineHistory; ++j) {
                line[lineHistory - j][c] = decimator.line[decimator.index + filterTaps - j];
            }
        }
        for (unsigned i = 0; i < n; ++i) {
            const double left = f.sanitize(in[0][start + i]);
            const double sample[2] = {left, channels == 1 ? left : f.sanitize(in[1][start + i])};
            f.dryPath(sample, dryValue[i]);
            for (unsigned c = 0; c < 2; ++c) {
                f.interpolation[c].push(sample[c]);
                x[inputHistory + i][c] = sample[c];
            }
        }

        // 2. Interpolation: substep k meets taps k, k + 4, ... against the last host inputs.
        for (unsigned i = 0; i < n; ++i) {
            for (unsigned k = 0; k < oversampling; ++k) {
                ChannelPair sum = {0.0, 0.0};
                for (unsigned j = k, m = 0; j < filterTaps; j += oversampling, ++m) {
                    sum += f.taps[j] * x[inputHistory + i - m];
                }
                filtered[2 * (oversampling * i + k)] = sum[0];
                filtered[2 * (oversampling * i + k) + 1] = sum[1];
            }
        }

        // 3. Smoothing and the coefficient block (due at most at the first substep).
        for (unsigned s = 0; s < steps; ++s) {
            f.smooth();
            if (f.updateDue()) {
                engine.configure();
            }
            drive[s] = f.shimmerDrive;
            if (s % oversampling == oversampling - 1) {
                mixAt[s / oversampling] = f.mix;
                bypassAt[s / oversampling] = f.bypass;
            }
        }

        // 4. Input stages, every tanh of the stretch in one batch.
        f.inputStages(filtered, y, steps);

        // 5. The model section: the whole stretch at once if the model offers it.
        if constexpr (requires { engine.section(y, steps); }) {
            engine.section(y, steps);
        } else {
            for (unsigned s = 0; s < steps; ++s) {
                for (unsigned c = 0; c < 2; ++c) {
                    y[2 * s + c] = engine.firstHalf(c, y[2 * s + c]);
                }
                engine.between();
                for (unsigned c = 0; c < 2; ++c) {
                    y[2 * s + c] = engine.secondHalf(c, y[2 * s + c]);
                }
            }
        }

        // 6. Output stages, likewise batched, into the decimation line.
        f.wetStages(y, z, steps, drive);
        for (unsigned s = 0; s < steps; ++s) {
            for (unsigned c = 0; c < 2; ++c) {
                f.decimation[c].push(z[2 * s + c]);
                f.decimation[c].advance();
                line[lineHistory + s][c] = z[2 * s + c];
            }
        }

        // 7. Decimation at each frame's first substep, then the crossfades and meters.
        for (unsigned i = 0; i < n; ++i) {
            ChannelPair wet = {0.0, 0.0};
            const unsigned newest = lineHistory + oversampling * i;
            for (unsigned j = 0; j < filterTaps; ++j) {
                wet += f.taps[j] * line[newest - j];
            }
            const double outLeft = f.finishWith(0, x[inputHistory + i][0], dryValue[i][0], wet[0],
                                                mixAt[i], bypassAt[i]);
            const double outRight = f.finishWith(1, x[inputHistory + i][1], dryValue[i][1], wet[1],
                                                 mixAt[i], bypassAt[i]);
            out[0][start + i] = static_cast<float>(outLeft);
            if (channels == 2) {
                out[1][start + i] = static_cast<float>(outRight);
            }
        }
        start += n;
    }
}

// renderRecorded: for models whose substep values (gains, stage, filter coefficients) move on
// every substep but never see the audio. Over a stretch of up to 16 frames the smoothing and
// the model's update run substep by substep first, each substep's values kept: the frame's
// (keepStageValues) and the model's (keepSubstep); then the input stages of the whole stretch
// in one batch, the model's hooks substep by substep with their substep's values, the output
// stages in one batch, and decimation, crossfades and meters. Each state variable sees
// exactly the operations tickFrame gives it, in the same order. What a model must offer:
//
//     void keepSubstep(Substep&) const;   // what its hooks read of its update, after it ran
//     double firstHalf(const Substep&, unsigned channel, double y);
//     void between(const Substep&);
//     double secondHalf(const Substep&, unsigned channel, double y);
//
// and its update must read nothing the hooks write.
//
// [render thread] frames host frames from in[0], in[1] into out[0], out[1] (channels 1: in[1]
// and out[1] are ignored and may be null).
template <class Engine>
void renderRecorded(Engine& engine, const float* const in[2], float* const out[2], unsigned frames,
                    unsigned channels) noexcept {
    auto& f = engine.frame;
    constexpr unsigned maximumRun = 16; // frames in one stretch
    constexpr unsigned maximumSteps = oversampling * maximumRun;
    static_assert(maximumSteps <= maximumBatch, "a stretch's stages go through in one batch");
    constexpr unsigned inputHistory = 16;            // host frames an input sum reaches
    constexpr unsigned lineHistory = filterTaps - 1; // substeps a decimation sum reaches
    ChannelPair x[inputHistory + maximumRun];        // sanitised inputs, oldest first
    double dryValue[maximumRun][2];
    double filtered[2 * maximumSteps]; // left, right per substep
    double y[2 * maximumSteps];        // likewise
    double z[2 * maximumSteps];
    ShimmerDrive drive[maximumSteps];
    StageValues stages[maximumSteps];
    typename Engine::Substep model[maximumSteps];
    double mixAt[maximumRun], bypassAt[maximumRun];
    ChannelPair line[lineHistory + maximumSteps];

    for (unsigned start = 0; start < frames;) {
        const unsigned n = std::min(maximumRun, frames - start);
        const unsigned steps = oversampling * n;

        // 1. Histories as straight arrays, then the stretch's inputs.
        for (unsigned c = 0; c < 2; ++c) {
            const Interpolator& ring = f.interpolation[c];
            for (unsigned m = 0; m < inputHistory; ++m) {
                x[inputHistory - 1 - m][c] = ring.history[ring.index + dryRingLength - m];
            }
            const Decimator& decimator = f.decimation[c];
            for (unsigned j = 1; j <= lineHistory; ++j) {
                line[lineHistory - j][c] = decimator.line[decimator.index + filterTaps - j];
            }
        }
        for (unsigned i = 0; i < n; ++i) {
            const double left = f.sanitize(in[0][start + i]);
            const double sample[2] = {left, channels == 1 ? left : f.sanitize(in[1][start + i])};
            f.dryPath(sample, dryValue[i]);
            for (unsigned c = 0; c < 2; ++c) {
                f.interpolation[c].push(sample[c]);
                x[inputHistory + i][c] = sample[c];
            }
        }

        // 2. Interpolation: substep k meets taps k, k + 4, ... against the last host inputs;
        // the four sums of a frame side by side, each in its own order.
        for (unsigned i = 0; i < n; ++i) {
            ChannelPair sum[oversampling] = {};
            unsigned m = 0;
            for (; oversampling * m + oversampling <= filterTaps; ++m) {
                for (unsigned k = 0; k < oversampling; ++k) {
                    sum[k] += f.taps[oversampling * m + k] * x[inputHistory + i - m];
                }
            }
            for (unsigned k = 0; oversampling * m + k < filterTaps; ++k) {
                sum[k] += f.taps[oversampling * m + k] * x[inputHistory + i - m];
            }
            for (unsigned k = 0; k < oversampling; ++k) {
                filtered[2 * (oversampling * i + k)] = sum[k][0];
                filtered[2 * (oversampling * i + k) + 1] = sum[k][1];
            }
        }

        // 3. Smoothing and the update of every substep, their values kept.
        for (unsigned s = 0; s < steps; ++s) {
            f.smooth();
            if (f.updateDue()) {
                engine.configure();
            }
            drive[s] = f.shimmerDrive;
            f.keepStageValues(stages[s]);
            engine.keepSubstep(model[s]);
            if (s % oversampling == oversampling - 1) {
                mixAt[s / oversampling] = f.mix;
                bypassAt[s / oversampling] = f.bypass;
            }
        }

        // 4. Input stages, every tanh of the stretch in one batch.
        f.inputStagesEach(filtered, y, steps, stages);

        // 5. The model section, each substep with its own values.
        for (unsigned s = 0; s < steps; ++s) {
            for (unsigned c = 0; c < 2; ++c) {
                y[2 * s + c] = engine.firstHalf(model[s], c, y[2 * s + c]);
            }
            engine.between(model[s]);
            for (unsigned c = 0; c < 2; ++c) {
                y[2 * s + c] = engine.secondHalf(model[s], c, y[2 * s + c]);
            }
        }

        // 6. Output stages, likewise batched, into the decimation line.
        f.wetStagesEach(y, z, steps, drive, stages);
        for (unsigned s = 0; s < steps; ++s) {
            for (unsigned c = 0; c < 2; ++c) {
                f.decimation[c].push(z[2 * s + c]);
                f.decimation[c].advance();
                line[lineHistory + s][c] = z[2 * s + c];
            }
        }

        // 7. Decimation at each frame's first substep, four frames' sums side by side (each
        // in the filter's order), then the crossfades and meters.
        ChannelPair wetAt[maximumRun];
        for (unsigned i = 0; i < n; i += 4) {
            ChannelPair sum[4] = {};
            const unsigned newest = lineHistory + oversampling * i;
            for (unsigned j = 0; j < filterTaps; ++j) {
                for (unsigned q = 0; q < 4; ++q) {
                    // Frames past the stretch sum clamped, kept values: dropped below.
                    sum[q] +=
                        f.taps[j] *
                        line[std::min(newest + oversampling * q, lineHistory + steps - 1) - j];
                }
            }
            for (unsigned q = 0; q < 4 && i + q < n; ++q) {
                wetAt[i + q] = sum[q];
            }
        }
        for (unsigned i = 0; i < n; ++i) {
            const ChannelPair wet = wetAt[i];
            const double outLeft = f.finishWith(0, x[inputHistory + i][0], dryValue[i][0], wet[0],
                                                mixAt[i], bypassAt[i]);
            const double outRight = f.finishWith(1, x[inputHistory + i][1], dryValue[i][1], wet[1],
                                                 mixAt[i], bypassAt[i]);
            out[0][start + i] = static_cast<float>(outLeft);
            if (channels == 2) {
                out[1][start + i] = static_cast<float>(outRight);
            }
        }
        start += n;
    }
}

} // namespace classic
