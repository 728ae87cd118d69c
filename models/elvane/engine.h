#pragma once
// The Elvane engine: the oversampled frame with the leveling gain cell between a lightly
// biased input stage and an output stage of opposite bias. Feedback detector behind a
// detector-only Sidechain HP, a fixed -18 dB threshold that Input Trim drives, a ratio that
// grows with the overshoot from 2:1 to 10:1, 0.7 ms attack and 100 ms release. Mode Dual
// adds the floor: the reduction stays at no less than 65 % of a memory that falls with 2 s.

#include "engine/frame.h"
#include "leveling_cell.h"
#include "model.h"

namespace classic {

inline constexpr double sidechainHighPassHz[4] = {0, 60, 120, 200}; // by Sidechain HP; 0 = off

class Engine {
public:
    // The Elvane parameter IDs the engine reads.
    enum Id : unsigned {
        inputTrim = 0,
        outputTrim = 1,
        mode = 2,
        sidechainHighPass = 3,
        stereoLink = 5,
    };
    static constexpr unsigned updatePeriod = 64; // substeps: 16 host frames

    // The Elvane member of the gain cell: the memory floor holds only in Mode Dual.
    static constexpr LevelingMember member{
        Detector::feedback,
        RatioLaw::programDependent,
        true,
        {TargetRule::above, mode, 0.5f},
        0.65,
        {TargetRule::never},
    };

    Frame<parameterCount> frame;

    Engine();

    // [main thread] Sample-rate work (coefficients, taps), then reset. values: N floats.
    void prepare(double sampleRate, const float* values);
    // [render thread] Silence at the given values (normalised here), no glide.
    void reset(const float* values) noexcept;
    // [render thread] The coefficient block: Sidechain HP as a target, the trims and Stereo
    // Link as current values.
    void configure() noexcept;
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
    double programMemory(unsigned channel) const noexcept { return cell.channel[channel].memory; }

private:
    LevelingCell<member> cell;
};

} // namespace classic
