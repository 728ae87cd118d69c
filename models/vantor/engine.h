#pragma once
// The Vantor engine: the oversampled frame with the leveling gain cell between two nearly
// linear stages. Feed-forward detector behind a detector-only Sidechain HP, a Threshold with a
// knee that narrows as the Ratio rises, six attack and five release steps. Release "Auto" is
// the 100 ms release over a floor of 35 % of a program memory that rises with 0.45 s and
// falls with 12 s: short peaks recover fast, long stretches of reduction slowly.

#include "leveling_engine.h"
#include "model.h"

namespace classic {

inline constexpr double vantorAttackSeconds[6] = {0.0001, 0.0003, 0.001, 0.003, 0.01, 0.03};
inline constexpr double vantorReleaseSeconds[5] = {0.1, 0.3, 0.6, 1.2, 0.1}; // Auto: 100 ms
inline constexpr double vantorRatio[3] = {2, 4, 10};
inline constexpr double vantorKneeDB[3] = {12, 6, 2};                 // by Ratio
inline constexpr double vantorSidechainHz[5] = {0, 60, 90, 150, 300}; // 0 = off

// The Vantor member of the gain cell: the memory floor holds only while the Release target
// (ID 3) is 4, Auto.
inline constexpr LevelingMember vantorMember{
    Detector::feedForward, RatioLaw::fixed, true, {TargetRule::equals, 3, 4.0f}, 0.35,
    {TargetRule::never},
};

class Engine : public LevelingEngine<Engine, vantorMember, parameterCount> {
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
    static_assert(vantorMember.floorHolds.id == release &&
                  vantorMember.floorHolds.value == static_cast<float>(releaseAuto));

    Engine();

    // [render thread] The coefficient block: Attack, Release, Ratio and Sidechain HP as
    // targets, Threshold, Makeup, Input Trim and Stereo Link as current values.
    void configure() noexcept;

    // The slow stage of the cell. [render thread]
    double programMemory(unsigned channel) const noexcept { return cell.channel[channel].memory; }
};

} // namespace classic
