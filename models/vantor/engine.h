#pragma once
// The Vantor engine: the oversampled frame with the leveling gain cell between two nearly
// linear stages. Feed-forward detector behind a detector-only Sidechain HP, a Threshold with a
// knee that narrows as the Ratio rises, six attack and five release steps. Release "Auto" is
// the 100 ms release over a floor of 35 % of a program memory that rises with 0.45 s and
// falls with 12 s: short peaks recover fast, long stretches of reduction slowly.

#include "engine/frame.h"
#include "leveling_cell.h"
#include "model.h"

namespace classic {

inline constexpr double vantorAttackSeconds[6] = {0.0001, 0.0003, 0.001, 0.003, 0.01, 0.03};
inline constexpr double vantorReleaseSeconds[5] = {0.1, 0.3, 0.6, 1.2, 0.1}; // Auto: 100 ms
inline constexpr double vantorRatio[3] = {2, 4, 10};
inline constexpr double vantorKneeDB[3] = {12, 6, 2}; // by Ratio
inline constexpr double vantorSidechainHz[5] = {0, 60, 90, 150, 300}; // 0 = off

class Engine {
public:
    // The Vantor parameter IDs the engine reads.
    enum Id : unsigned {
        threshold = 0,
        makeup = 1,
        attack = 2,
        release = 3,
        ratio = 4,
        sidechainHighPass = 5,
        stereoLink = 7,
        inputTrim = 9,
    };
    static constexpr unsigned releaseAuto = 4;
    static constexpr unsigned updatePeriod = 64; // substeps: 16 host frames

    // The Vantor member of the gain cell: the memory floor holds only with Release on Auto.
    static constexpr LevelingMember member{
        Detector::feedForward,
        RatioLaw::fixed,
        true,
        {TargetRule::equals, release, static_cast<float>(releaseAuto)},
        0.35,
        {TargetRule::never},
    };

    Frame<parameterCount> frame;

    Engine();

    // [main thread] Sample-rate work (coefficients, taps), then reset. values: N floats.
    void prepare(double sampleRate, const float* values);
    // [render thread] Silence at the given values (normalised here), no glide.
    void reset(const float* values) noexcept;
    // [render thread] The coefficient block: Attack, Release, Ratio and Sidechain HP as
    // targets, Threshold, Makeup, Input Trim and Stereo Link as current values.
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
