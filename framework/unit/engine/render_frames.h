#pragma once
// Many host frames through the frame and the model's hooks, with the results of tickFrame
// frame by frame, bit for bit, in shapes that keep the processor busy. A model opts in by
// offering render() and calling one of these; its hooks and configure must be reachable here.
// The rings end exactly as tickFrame leaves them, so either can be mixed with tick freely.
//
// Both shapes take the filter sums, long chains of dependent additions, out of the substep
// loop (Stretch, below, with filter_sums.h): a stretch's inputs are sanitised and fed to the dry
// path and the interpolation rings, every interpolation output of the stretch (4 per frame and
// channel) is summed side by side in the filter's own order, the substeps run, and then the
// decimation output of every frame is summed from a straight copy of the line, followed by mix,
// bypass (as the frame's last substep of each frame left them), sanitising and meters.
//
// renderStretches: for models on the hooks whose substep allows it. Per substep the frame is a
// chain of dependent steps (three tanh evaluations among them); run for a whole stretch one
// step at a time, the steps of different substeps overlap. A stretch ends where the
// coefficient block is due, so the block runs at most at its first substep and the gains and
// stage constants hold through it. Over a stretch: inputs and interpolation; then
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

#include "engine/filter_sums.h"
#include "engine/frame.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace classic {

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
        for (unsigned i = 0; i < frames; ++i) {
            for (unsigned p = 0; p < oversampling; ++p) {
                std::memcpy(line[p][stretchFrames + i], z + 2 * (oversampling * i + p),
                            sizeof line[p][0]);
            }
        }
        decimateStretch(f.taps, line, wet);
        double result[stretchFrames][2];
        f.finishStretch(input + inputHistory, dryValue, wet, mixAt, bypassAt, result, frames,
                        f.coefficients);
        for (unsigned i = 0; i < frames; ++i) {
            out[0][start + i] = static_cast<float>(result[i][0]);
            if (channels == 2) {
                out[1][start + i] = static_cast<float>(result[i][1]);
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
        simd::store(z + 2 * s, frame.wetStep(filters, simd::load(y + 2 * s), drive[s]));
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
// and its update must read nothing the hooks write. A model whose update, once the frame is
// settled (smoothing changes nothing), gives the same values at every substep may say so:
//
//     static constexpr bool updateHoldsWhenSettled = true;
//
// A stretch that starts settled then runs the update once, and its stages and hooks all take
// that one substep's values (the frame's constant-value stage paths). A model may take a
// stretch's hooks in one call instead,
//
//     void section(const Substep* values, unsigned stride, double* y, unsigned steps);
//
// doing for each substep s in turn exactly what firstHalf, between and secondHalf would with
// values[s * stride] (y: left, right per substep, in place).
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
    bool holds = false;
    if constexpr (requires { Engine::updateHoldsWhenSettled; }) {
        holds = Engine::updateHoldsWhenSettled;
    }

    // The hooks of every substep, substep s with the values of model[s * stride].
    const auto hooks = [&engine, &model](double* y, unsigned steps, auto stride) noexcept {
        if constexpr (requires { engine.section(model, 0u, y, steps); }) {
            engine.section(model, decltype(stride)::value, y, steps);
        } else {
            for (unsigned s = 0; s < steps; ++s) {
                const auto& now = model[s * decltype(stride)::value];
                for (unsigned c = 0; c < 2; ++c) {
                    y[2 * s + c] = engine.firstHalf(now, c, y[2 * s + c]);
                }
                engine.between(now);
                for (unsigned c = 0; c < 2; ++c) {
                    y[2 * s + c] = engine.secondHalf(now, c, y[2 * s + c]);
                }
            }
        }
    };
    using Each = std::integral_constant<unsigned, 1>;
    using Held = std::integral_constant<unsigned, 0>;

    Stretch stretch;
    stretch.load(f);
    for (unsigned start = 0; start < frames;) {
        const unsigned n = std::min(stretchFrames, frames - start);

        // 1 and 2. Inputs, dry path, interpolation.
        stretch.begin(f, in, start, n, channels);
        const unsigned steps = stretch.steps;
        double* y = stretch.y;

        if (holds && f.settled) {
            // 3 to 6 with one update: smoothing passes nothing on, so every substep's update
            // would repeat the first one's.
            f.smooth();
            if (f.updateDue()) {
                engine.configure();
            }
            f.substep += steps - 1;
            engine.keepSubstep(model[0]);
            for (unsigned s = 0; s < steps; ++s) {
                stretch.drive[s] = f.shimmerDrive;
            }
            for (unsigned i = 0; i < n; ++i) {
                stretch.mixAt[i] = f.mix;
                stretch.bypassAt[i] = f.bypass;
            }
            f.inputStages(stretch.filtered, y, steps);
            hooks(y, steps, Held{});
            f.wetStages(y, stretch.z, steps, stretch.drive);
        } else {
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
            f.inputStagesEach(stretch.filtered, y, steps, stages);

            // 5. The model section, each substep with its own values.
            hooks(y, steps, Each{});

            // 6. Output stages, likewise batched.
            f.wetStagesEach(y, stretch.z, steps, stretch.drive, stages);
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

} // namespace classic
