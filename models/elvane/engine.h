#pragma once
// The Elvane engine: the oversampled frame with the leveling gain cell between a lightly
// biased input stage and an output stage of opposite bias. Feedback detector behind a
// detector-only Sidechain HP, a fixed -18 dB threshold that Input Trim drives, a ratio that
// grows with the overshoot from 2:1 to 10:1, 0.7 ms attack and 100 ms release. Mode Dual
// adds the floor: the reduction stays at no less than 65 % of a memory that falls with 2 s.

#include "leveling_engine.h"
#include "model.h"

namespace classic {

inline constexpr double sidechainHighPassHz[4] = {0, 60, 120, 200}; // by Sidechain HP; 0 = off

// The Elvane member of the gain cell: the memory floor holds only while the Mode target
// (ID 2) is above 0.5, Dual.
inline constexpr LevelingMember elvaneMember{
    Detector::feedback,  RatioLaw::programDependent, true, {TargetRule::above, 2, 0.5f}, 0.65,
    {TargetRule::never},
};

class Engine : public LevelingEngine<Engine, elvaneMember, parameterCount> {
public:
    // The Elvane parameter IDs the engine reads.
    enum Id : unsigned {
        inputTrim = 0,
        outputTrim = 1,
        mode = 2,
        sidechainHighPass = 3,
        stereoLink = 5,
    };
    static_assert(elvaneMember.floorHolds.id == mode);

    Engine();

    // [render thread] The coefficient block: Sidechain HP as a target, the trims and Stereo
    // Link as current values.
    void configure() noexcept;

    // The slow stage of the cell. [render thread]
    double programMemory(unsigned channel) const noexcept { return cell.channel[channel].memory; }
};

} // namespace classic
