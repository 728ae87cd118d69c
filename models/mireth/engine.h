#pragma once
// The Mireth engine: the oversampled frame with the leveling gain cell behind a hot, biased
// input stage. Feedback detector behind a detector-only Sidechain HP, a fixed -18 dB
// threshold that Input Trim drives, a ratio that grows with the overshoot from 2:1 to 10:1,
// and a Recovery time that sets the release and the program memory's fall. In Mode Double
// the reduction never falls below 70 % of that memory.

#include "leveling_engine.h"
#include "model.h"

namespace classic {

inline constexpr double mirethRecoverySeconds[6] = {0.3, 0.6, 1.2, 2.4, 4.8, 9.6}; // Recovery
inline constexpr double mirethSidechainHz[4] = {0, 60, 120, 200};       // Sidechain HP; 0 = off
inline constexpr double mirethAttackSeconds[3] = {0.015, 0.004, 0.001}; // Single, Double, Fast

// The Mireth member of the gain cell: the memory floor holds only while the Mode target
// (ID 3) is 1, Double.
inline constexpr LevelingMember mirethMember{
    Detector::feedback,  RatioLaw::programDependent, true, {TargetRule::equals, 3, 1.0f}, 0.70,
    {TargetRule::never},
};

class Engine : public LevelingEngine<Engine, mirethMember, parameterCount> {
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
    static_assert(mirethMember.floorHolds.id == mode &&
                  mirethMember.floorHolds.value == static_cast<float>(modeDouble));

    Engine();

    // [render thread] The coefficient block: Recovery, Mode and Sidechain HP as targets,
    // the trims and Stereo Link as current values.
    void configure() noexcept;

    // The slow stage of the cell. [render thread]
    double programMemory(unsigned channel) const noexcept { return cell.channel[channel].memory; }
};

} // namespace classic
