#pragma once
// The Mireth engine: the oversampled frame with the leveling gain cell behind a hot, biased
// input stage. Feedback detector behind a detector-only Sidechain HP, a fixed -18 dB
// threshold that Input Trim drives, a ratio that grows with the overshoot from 2:1 to 10:1,
// and a Recovery time that sets the release and the program memory's fall. In Mode Double
// the reduction never falls below 70 % of that memory.

#include "engine/frame.h"
#include "leveling_cell.h"
#include "model.h"

namespace classic {

inline constexpr double mirethRecoverySeconds[6] = {0.3, 0.6, 1.2, 2.4, 4.8, 9.6}; // Recovery
inline constexpr double mirethSidechainHz[4] = {0, 60, 120, 200}; // Sidechain HP; 0 = off
inline constexpr double mirethAttackSeconds[3] = {0.015, 0.004, 0.001}; // Mode: Single, Double, Fast

class Engine {
public:
    // The Mireth parameter IDs the engine reads.
    enum Id : unsigned {
        inputTrim = 0,
        outputTrim = 1,
        recovery = 2,
        mode = 3,
        sidechainHighPass = 4,
        stereoLink = 6,
    };
    enum Mode : unsigned { modeSingle = 0, modeDouble = 1, modeFast = 2 };
    static constexpr unsigned updatePeriod = 64; // substeps: 16 host frames

    // The Mireth member of the gain cell: the memory floor holds only in Mode Double.
    static constexpr LevelingMember member{
        Detector::feedback,
        RatioLaw::programDependent,
        true,
        {TargetRule::equals, mode, static_cast<float>(modeDouble)},
        0.70,
        {TargetRule::never},
    };

    Frame<parameterCount> frame;

    Engine();

    // [main thread] Sample-rate work (coefficients, taps), then reset. values: N floats.
    void prepare(double sampleRate, const float* values);
    // [render thread] Silence at the given values (normalised here), no glide.
    void reset(const float* values) noexcept;
    // [render thread] The coefficient block: Recovery, Mode and Sidechain HP as targets,
    // the trims and Stereo Link as current values.
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
