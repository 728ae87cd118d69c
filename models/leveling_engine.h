#pragma once
// What the four dynamics engines share: the oversampled frame whose model section is the
// leveling gain cell. The detector is the first-half work of each channel, the gain computer
// runs between the halves and the gain starts the second half; the cell's reduction is the
// frame's gain-reduction meter state, which the unit publishes as the `gr` pair.
//
// A model derives its `classic::Engine` from this, names its member of the cell, and writes
// its coefficient block as `configure()` (the gains, the stage constants and the cell's
// settings); `reset` ends with it and the frame's tick runs it every 64 substeps.

#include "engine/frame.h"
#include "engine/render_frames.h"
#include "leveling_cell.h"
#include "leveling_stretch.h"

namespace classic {

template <class Model, LevelingMember member, unsigned N> class LevelingEngine {
public:
    static constexpr unsigned updatePeriod = 64; // substeps: 16 host frames

    Frame<N> frame;

    // [main thread] Sample-rate work (coefficients, taps), then reset. values: N floats.
    void prepare(double sampleRate, const float* values) {
        frame.prepare(sampleRate, frame.layout);
        // The cell's coefficients fixed by the rate: its detector's c(0.15 ms) and its memory's
        // rise, c(0.45 s). The coefficient block leaves them as they are.
        cell.settings.detector = timeCoefficient(frame.fos, 0.00015);
        cell.settings.memoryRise = timeCoefficient(frame.fos, 0.45);
        reset(values);
    }
    // [render thread] Silence at the given values (normalised here), no reduction, no glide;
    // ends with the coefficient block.
    void reset(const float* values) noexcept {
        frame.reset(values);
        cell.reset();
        derived().configure();
    }
    // [render thread] One host frame; channels 1 or 2 (with 1 the right result is the left).
    Stereo tick(double left, double right, unsigned channels) noexcept {
        return tickFrame(derived(), left, right, channels);
    }
    // [render thread] frames host frames, the same results as tick frame by frame (channels 1:
    // in[1] and out[1] unused).
    void render(const float* const in[2], float* const out[2], unsigned frames,
                unsigned channels) noexcept {
        renderStretches(derived(), in, out, frames, channels);
    }

    // Hooks of the frame's substep (called by tickFrame). [render thread]
    double firstHalf(unsigned channel, double y) noexcept {
        cell.detect(channel, y);
        return y;
    }
    void between() noexcept {
        cell.compute(frame.targets);
        frame.gainReduction[0] = cell.channel[0].reduction;
        frame.gainReduction[1] = cell.channel[1].reduction;
    }
    double secondHalf(unsigned channel, double y) noexcept { return cell.apply(channel, y); }

    // The model section of a stretch of the frame's render (y: left, right per substep), the
    // same as the three hooks substep by substep. [render thread]
    void section(double* y, unsigned steps) noexcept {
        static_assert(maximumBatch <= levelingStretch, "a stretch fits the cell's arrays");
        runStretch(cell, y, steps, frame.targets);
        frame.gainReduction[0] = cell.channel[0].reduction;
        frame.gainReduction[1] = cell.channel[1].reduction;
    }

    // The same with beside(s) (the frame's output stages of substep s) run beside the cell's
    // chain, for feedback members, whose substeps form one. [render thread]
    template <class Beside>
    void section(double* y, unsigned steps, Beside&& beside) noexcept
        requires(member.detector == Detector::feedback) {
        runStretch(cell, y, steps, frame.targets, beside);
        frame.gainReduction[0] = cell.channel[0].reduction;
        frame.gainReduction[1] = cell.channel[1].reduction;
    }

    // The cell as it stands, for inspection. [render thread]
    const LevelingSettings& settings() const noexcept { return cell.settings; }
    const LevelingChannel& cellChannel(unsigned channel) const noexcept {
        return cell.channel[channel];
    }

protected:
    explicit LevelingEngine(const FrameLayout& layout) { frame.layout = layout; }

    LevelingCell<member> cell;

private:
    Model& derived() noexcept { return static_cast<Model&>(*this); }
};

} // namespace classic
