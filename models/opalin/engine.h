#pragma once
// The Opalin engine: the oversampled frame with the leveling gain cell between a gently biased
// input stage and the output stage. Feed-forward detector, 3:1 over a 12 dB knee (15:1 over
// 5 dB with Limit), and a reduction that recovers in two stages: the 60 ms release never takes
// it below 65 % of an optical memory that rises with 0.45 s and falls with 2.5 s.
//
// The coefficient block is the engine's own: it runs at the end of reset and from the tick
// every 64 substeps, and is no entry point of the engine.

#include "engine/frame.h"
#include "leveling_cell.h"
#include "model.h"

namespace classic {

class Engine {
public:
    // The Opalin parameter IDs the engine reads.
    enum Id : unsigned {
        gain = 0,
        peakReduction = 1,
        limit = 2,
        inputTrim = 3,
        outputTrim = 4,
        stereoLink = 6,
    };
    static constexpr unsigned updatePeriod = 64; // substeps: 16 host frames

    // The Opalin member of the gain cell: no reduction at all while Peak Reduction is at 0,
    // and the floor always holds.
    static constexpr LevelingMember member{
        Detector::feedForward,
        RatioLaw::fixed,
        false,
        {TargetRule::always},
        0.65,
        {TargetRule::atOrBelow, peakReduction, 0.0f},
    };

    Frame<parameterCount> frame;

    Engine();

    // [main thread] Sample-rate work (coefficients, taps), then reset. values: N floats.
    void prepare(double sampleRate, const float* values);
    // [render thread] Silence at the given values (normalised here), no glide.
    void reset(const float* values) noexcept;
    // [render thread] One host frame; channels 1 or 2 (with 1 the right result is the left).
    Stereo tick(double left, double right, unsigned channels) noexcept {
        return tickFrame(*this, left, right, channels);
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

    const LevelingSettings& settings() const noexcept { return cell.settings; }
    const LevelingChannel& cellChannel(unsigned channel) const noexcept {
        return cell.channel[channel];
    }
    double opticalMemory(unsigned channel) const noexcept { return cell.channel[channel].memory; }

private:
    template <class E> friend Stereo tickFrame(E&, double, double, unsigned) noexcept;

    // The coefficient block: current values, except Limit, read as its target.
    void configure() noexcept;

    LevelingCell<member> cell;
};

} // namespace classic
