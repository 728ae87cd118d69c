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
// frames go through tick). A model may take a stretch's hooks in one call instead,
//
//     void section(double* y, unsigned steps);   // y: left, right per substep, in place
//
// doing for each substep in turn exactly what firstHalf, between and secondHalf would.
//
// Both renderStretches and renderRecorded sum the filters of a whole stretch side by side
// (filter_sums.h).

#include "engine/filter_sums.h"
#include "engine/frame.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace classic {

inline constexpr unsigned renderRun = 32; // frames summed side by side

// [render thread] frames host frames from in[0], in[1] into out[0], out[1] (channels 1: in[1]
// and out[1] are ignored and may be null).
template <class Engine>
void renderFrames(Engine& engine, const float* const in[2], float* const out[2], unsigned frames,
                  unsigned channels) noexcept {
    auto& f = engine.frame;
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

// What renderStretches and renderRecorded share: a stretch's inputs, dry path and
// interpolation sums ahead of its substeps; after them its decimation line, decimation sums,
// crossfades and meters. The input and line histories stay here from one stretch to the next
// (as straight arrays the sums can read side by side); the decimation ring of the frame gets
// its values back at the end of the call, as tickFrame would have left it.
struct Stretch {
    static constexpr unsigned maximumSteps = oversampling * stretchFrames;
    double input[inputHistory + stretchFrames][2] = {}; // sanitised inputs, oldest first
    double line[oversampling][lineRows][2] = {};        // the decimation line by phase
    double dryValue[stretchFrames][2];
    double filtered[2 * maximumSteps]; // left, right per substep
    double y[2 * maximumSteps];        // likewise: through the model section
    double z[2 * maximumSteps];        // likewise: what enters the decimation line
    ShimmerDrive drive[maximumSteps];
    double mixAt[stretchFrames], bypassAt[stretchFrames];
    double wet[stretchFrames][2];
    unsigned frames = 0; // of the stretch under way
    unsigned steps = 0;

    // The histories from the frame's rings, once per call.
    template <class F> void load(const F& f) noexcept {
        for (unsigned c = 0; c < 2; ++c) {
            const Interpolator& ring = f.interpolation[c];
            for (unsigned m = 0; m < inputHistory; ++m) {
                input[inputHistory - 1 - m][c] = ring.history[ring.index + dryRingLength - m];
            }
            const Decimator& decimator = f.decimation[c];
            for (unsigned j = 1; j <= lineHistory; ++j) {
                const unsigned t = lineHistory - j;
                line[t % oversampling][t / oversampling][c] =
                    decimator.line[decimator.index + filterTaps - j];
            }
        }
    }

    // Steps 1 and 2: the stretch's inputs sanitised, through the dry path and into the
    // interpolation rings; then every interpolation output of the stretch.
    template <class F>
    void begin(F& f, const float* const in[2], unsigned start, unsigned n,
               unsigned channels) noexcept {
        frames = n;
        steps = oversampling * n;
        for (unsigned i = 0; i < n; ++i) {
            const double left = f.sanitize(in[0][start + i]);
            const double sample[2] = {left, channels == 1 ? left : f.sanitize(in[1][start + i])};
            f.dryPath(sample, dryValue[i]);
            for (unsigned c = 0; c < 2; ++c) {
                f.interpolation[c].push(sample[c]);
                input[inputHistory + i][c] = sample[c];
            }
        }
        interpolateStretch(f.taps, input, n, filtered);
    }

    // The last steps: z into the decimation line, the decimation at each frame's first
    // substep, then the crossfades and meters.
    template <class F>
    void end(F& f, float* const out[2], unsigned start, unsigned channels) noexcept {
        for (unsigned s = 0; s < steps; ++s) {
            for (unsigned c = 0; c < 2; ++c) {
                line[s % oversampling][stretchFrames + s / oversampling][c] = z[2 * s + c];
            }
        }
        decimateStretch(f.taps, line, wet);
        for (unsigned i = 0; i < frames; ++i) {
            const double outLeft = f.finishWith(0, input[inputHistory + i][0], dryValue[i][0],
                                                wet[i][0], mixAt[i], bypassAt[i]);
            const double outRight = f.finishWith(1, input[inputHistory + i][1], dryValue[i][1],
                                                 wet[i][1], mixAt[i], bypassAt[i]);
            out[0][start + i] = static_cast<float>(outLeft);
            if (channels == 2) {
                out[1][start + i] = static_cast<float>(outRight);
            }
        }
    }

    // Before the next stretch: its histories end where this one ends.
    void advance() noexcept {
        std::memmove(input, input + frames, sizeof(input[0]) * inputHistory);
        for (auto& phase : line) {
            std::memmove(phase, phase + frames, sizeof(phase[0]) * stretchFrames);
        }
    }

    // After the last stretch (before advance): the decimation rings as totalSteps pushes
    // would have left them. Their last 65 pushes fill every slot.
    template <class F> void store(F& f, unsigned totalSteps) const noexcept {
        for (unsigned c = 0; c < 2; ++c) {
            Decimator& decimator = f.decimation[c];
            decimator.index = (decimator.index + totalSteps) % filterTaps;
            for (unsigned t = lineHistory + steps - filterTaps; t < lineHistory + steps; ++t) {
                decimator.push(line[t % oversampling][t / oversampling][c]);
                decimator.advance();
            }
        }
    }
};

// The output stages of substep s, for a model section that calls it once per substep in
// order, each when its y is final, beside its own chain of dependent steps:
//
//     template <class Beside> void section(double* y, unsigned steps, Beside&& beside);
template <class F> struct WetBeside {
    const F& frame;
    WetFilters& filters;
    const double* y;
    double* z;
    const ShimmerDrive* drive;

    void operator()(unsigned s) const noexcept {
        storePair(z + 2 * s, frame.wetStep(filters, loadPair(y + 2 * s), drive[s]));
    }
};

// [render thread] frames host frames from in[0], in[1] into out[0], out[1] (channels 1: in[1]
// and out[1] are ignored and may be null).
template <class Engine>
void renderStretches(Engine& engine, const float* const in[2], float* const out[2], unsigned frames,
                     unsigned channels) noexcept {
    auto& f = engine.frame;
    const unsigned period = f.layout.updatePeriod;
    static_assert(Stretch::maximumSteps <= maximumBatch, "a stretch's stages go through at once");

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

    Stretch stretch;
    stretch.load(f);
    for (unsigned start = 0; start < frames;) {
        const unsigned phase = f.substep % period;
        const unsigned untilBlock = (phase == 0 ? period : period - phase) / oversampling;
        const unsigned n = std::min({stretchFrames, untilBlock, frames - start});

        // 1 and 2. Inputs, dry path, interpolation.
        stretch.begin(f, in, start, n, channels);
        const unsigned steps = stretch.steps;

        // 3. Smoothing and the coefficient block: due at most at the first substep (the
        // stretch ends where it is due next), so the counter only counts after that.
        for (unsigned s = 0; s < steps; ++s) {
            f.smooth();
            if (s == 0 && f.updateDue()) {
                engine.configure();
            }
            stretch.drive[s] = f.shimmerDrive;
            if (s % oversampling == oversampling - 1) {
                stretch.mixAt[s / oversampling] = f.mix;
                stretch.bypassAt[s / oversampling] = f.bypass;
            }
        }

        f.substep += steps - 1;

        // 4. Input stages, every tanh of the stretch in one batch.
        f.inputStages(stretch.filtered, stretch.y, steps);

        // 5. The model section: the whole stretch at once if the model offers it, the output
        // stages beside it substep by substep if it takes them.
        double* y = stretch.y;
        using Beside = WetBeside<std::remove_reference_t<decltype(f)>>;
        if constexpr (requires(Beside beside) { engine.section(y, steps, beside); }) {
            WetFilters filters = f.loadWetFilters();
            engine.section(y, steps, Beside{f, filters, y, stretch.z, stretch.drive});
            f.storeWetFilters(filters);
        } else if constexpr (requires { engine.section(y, steps); }) {
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

        // 6. Output stages, likewise batched, unless they ran beside the section.
        if constexpr (!requires(Beside beside) { engine.section(y, steps, beside); }) {
            f.wetStages(y, stretch.z, steps, stretch.drive);
        }

        // 7. Decimation, crossfades and meters.
        stretch.end(f, out, start, channels);
        start += n;
        if (start < frames) {
            stretch.advance();
        }
    }
    if (frames > 0) {
        stretch.store(f, oversampling * frames);
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
    static_assert(Stretch::maximumSteps <= maximumBatch, "a stretch's stages go through at once");
    StageValues stages[Stretch::maximumSteps];
    typename Engine::Substep model[Stretch::maximumSteps];

    Stretch stretch;
    stretch.load(f);
    for (unsigned start = 0; start < frames;) {
        const unsigned n = std::min(stretchFrames, frames - start);

        // 1 and 2. Inputs, dry path, interpolation.
        stretch.begin(f, in, start, n, channels);
        const unsigned steps = stretch.steps;

        // 3. Smoothing and the update of every substep, their values kept.
        for (unsigned s = 0; s < steps; ++s) {
            f.smooth();
            if (f.updateDue()) {
                engine.configure();
            }
            stretch.drive[s] = f.shimmerDrive;
            f.keepStageValues(stages[s]);
            engine.keepSubstep(model[s]);
            if (s % oversampling == oversampling - 1) {
                stretch.mixAt[s / oversampling] = f.mix;
                stretch.bypassAt[s / oversampling] = f.bypass;
            }
        }

        // 4. Input stages, every tanh of the stretch in one batch.
        double* y = stretch.y;
        f.inputStagesEach(stretch.filtered, y, steps, stages);

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

        // 6. Output stages, likewise batched.
        f.wetStagesEach(y, stretch.z, steps, stretch.drive, stages);

        // 7. Decimation, crossfades and meters.
        stretch.end(f, out, start, channels);
        start += n;
        if (start < frames) {
            stretch.advance();
        }
    }
    if (frames > 0) {
        stretch.store(f, oversampling * frames);
    }
}

} // namespace classic
