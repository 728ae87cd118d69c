#pragma once
// The Fennic engine: the oversampled frame around a feedback-detected FET gain cell. The
// detector of each channel follows the signal after the previous substep's gain, the larger
// envelope is shared by the stereo link, and the gain computer works in dB with a soft knee.
// There is no coefficient block: gains, attack and release times and the gain-cell coefficient
// follow the smoothed values on every substep, and the ratio step (threshold, knee, drive, the
// "All Buttons" saturation) follows its target on every frame. The gain cell is one chain from
// substep to substep (detector, logarithm, gain computer, exponential, gain, the next
// detector); both channels run it side by side in vector lanes.

#include "engine/exp10.h"
#include "engine/frame.h"
#include "model.h"

#include <algorithm>
#include <cstdint>

namespace classic {

// One row of the ratio step table, indexed by the Ratio step.
struct RatioStep {
    double ratio;     // R; the gain computer's slope above the knee is R - 1
    double kneeWidth; // W, dB
    double drive;     // input-stage drive k1
    bool saturate;    // the extra "All Buttons" stage
};
inline constexpr RatioStep ratioSteps[5] = {
    {4, 3, 0.7, false},  // "4:1"
    {8, 3, 0.7, false},  // "8:1"
    {12, 3, 0.7, false}, // "12:1"
    {20, 3, 0.7, false}, // "20:1"
    {20, 9, 1.4, true},  // "All Buttons"
};
// Threshold T = -20 + 1.1 x dB is computed from the step x, not tabled.
inline double thresholdDecibels(unsigned step) noexcept {
    return -20.0 + 1.1 * step;
}

// The gain computer: the reduction in dB it aims at for a detected level `over` dB above the
// threshold, through a soft knee of the step's width. The factor is R - 1, not 1 - 1/R: the
// detector hears the reduced signal, so the loop as a whole compresses R:1.
inline double reductionTarget(double over, const RatioStep& step) noexcept {
    const double knee = step.kneeWidth;
    double kneeValue;
    if (over <= -knee / 2.0) {
        kneeValue = 0;
    } else if (over >= knee / 2.0) {
        kneeValue = over;
    } else {
        const double t = over + knee / 2.0;
        kneeValue = t * t / (2.0 * knee);
    }
    return std::min((step.ratio - 1.0) * kneeValue, 48.0);
}

class Engine {
public:
    Frame<parameterCount> frame; // gainReduction holds G of each channel, in dB

    Engine();

    // [main thread] Sample-rate work (coefficients, taps), then reset. values: N floats.
    void prepare(double sampleRate, const float* values);
    // [render thread] Silence at the given values (normalised here), no glide.
    void reset(const float* values) noexcept;
    // [render thread] One host frame; channels 1 or 2 (with 1 the right result is the left).
    Stereo tick(double left, double right, unsigned channels) noexcept;
    // [render thread] frames host frames, the same results as tick frame by frame (channels 1:
    // in[1] and out[1] unused).
    void render(const float* const in[2], float* const out[2], unsigned frames,
                unsigned channels) noexcept;

    // The detector envelope of a channel (linear amplitude), for inspection.
    double envelope(unsigned channel) const noexcept { return envelopes[channel]; }

private:
    // The frame drives the substeps through these hooks. There is no coefficient block: the
    // frame's update runs every substep (period 1) and `configure` is this model's substep
    // values, the ratio step's from the targets, the gains' and times' from the smoothed
    // values.
    template <class Model> friend Stereo tickFrame(Model&, double, double, unsigned) noexcept;
    template <class Model>
    friend void renderRecorded(Model&, const float* const[2], float* const[2], unsigned,
                               unsigned) noexcept;
    [[gnu::always_inline]] inline void configure() noexcept;
    // With the smoothed values standing still, configure gives what it gave last: it reads
    // only them and the targets, and the substep counter not at all.
    static constexpr bool updateHoldsWhenSettled = true;

    // What the gain cell reads of one substep's update, kept so that render can run the
    // updates of a stretch ahead of its audio.
    struct Substep {
        unsigned step;
        double threshold;
        bool compress;
        double link;
        double attack;  // the coefficient 1 - exp(-1/(R fos tau)) for tau the attack time
        double release; // the release time, s
    };
    void keepSubstep(Substep& into) const noexcept {
        into.step = step;
        into.threshold = threshold;
        into.compress = compress;
        into.link = link;
        into.attack = attackCoefficient.value;
        into.release = releaseTime.value;
    }
    // The hooks: the first half takes each channel's input-stage output, between them the
    // gain cell runs for both channels (detector, larger envelope, gain computer, gain and
    // the "All Buttons" saturation), the second half hands back each channel's result. The
    // frame's output stage follows.
    double firstHalf(const Substep&, unsigned channel, double y) noexcept {
        pending[channel] = y;
        return y;
    }
    [[gnu::always_inline]] inline void between(const Substep& now) noexcept;
    double secondHalf(const Substep&, unsigned channel, double) noexcept {
        return pending[channel];
    }
    // A stretch's hooks in one call: substep s with values[s * stride] (stride 0 or 1), y
    // left, right per substep, in place. One out-of-line loop, so that the gain cell's
    // exponentials and logarithm are inlined into it once.
    void section(const Substep* values, unsigned stride, double* y, unsigned steps) noexcept;
    template <unsigned stride>
    [[gnu::always_inline]] inline void sectionOf(const Substep* values, double* y,
                                                 unsigned steps) noexcept;
    // The gain cell's state, as a value: a loop over substeps keeps it in registers (the
    // members, behind the samples' stores, would go through memory on every substep).
    struct Cell {
        simd::Pair envelopes, gain, gainFactor;
        KeptRow gainRow;    // of gainFactor's power of ten
        KeptRow releaseRow; // of the release coefficient's exponential
    };
    // One substep of the gain cell on both channels' input-stage outputs y; gives the samples
    // for the output stage.
    [[gnu::always_inline]] inline simd::Pair cell(const Substep& now, Cell& state,
                                                  simd::Pair y) const noexcept;
    double firstHalf(unsigned channel, double y) noexcept {
        pending[channel] = y;
        return y;
    }
    void between() noexcept;
    double secondHalf(unsigned channel, double) noexcept { return pending[channel]; }

    // A value that is a pure function of one smoothed parameter, recomputed only when the
    // parameter moves: once the smoothers settle the powers cost nothing.
    struct Remembered {
        float key = -1e30f; // outside every range, so the first use computes
        double value = 0;
    };

    double detector = 0; // c(40 us)
    Stage inputStages[5];
    Stage saturation;           // S(v; 1.7, 0.08), "All Buttons" only
    double quietLevel[5] = {};  // a level surely below the knee of each step (see between)
    double ratioRate[5] = {};   // R fos of each step
    simd::Pair envelopes = {};  // detector envelope per channel
    simd::Pair gain = {};       // G, dB, also copied to frame.gainReduction
    simd::Pair gainFactor = {}; // 10^(-G/20)
    simd::Pair pending = {};    // the substep's samples between the hooks

    // Substep values.
    unsigned step = 0;          // the Ratio step x
    unsigned appliedStep = ~0u; // the step whose stage is now in frame.input (none after reset)
    double threshold = -20;
    bool compress = true;
    double link = 1;
    Remembered inputGain, outputGain, attackTime, releaseTime;
    // The attack coefficient, for the attack time in attackTime and the step in
    // attackCoefficientStep.
    Remembered attackCoefficient;
    unsigned attackCoefficientStep = ~0u;
};

} // namespace classic
