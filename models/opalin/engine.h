#pragma once
// The Opalin engine: the oversampled frame with the leveling gain cell between a gently biased
// input stage and the output stage. Feed-forward detector, 3:1 over a 12 dB knee (15:1 over
// 5 dB with Limit), and a reduction that recovers in two stages: the 60 ms release never takes
// it below 65 % of an optical memory that rises with 0.45 s and falls with 2.5 s.
//
// The coefficient block is the engine's own, no entry point: it runs at the end of reset and
// from the tick every 64 substeps.

#include "leveling_engine.h"
#include "model.h"

namespace classic {

// The Opalin member of the gain cell: no new reduction at all while the Peak Reduction target
// (ID 1) is at 0, and the floor always holds.
inline constexpr LevelingMember opalinMember{
    Detector::feedForward,
    RatioLaw::fixed,
    false,
    {TargetRule::always},
    0.65,
    {TargetRule::atOrBelow, 1, 0.0f},
};

class Engine : public LevelingEngine<Engine, opalinMember, parameterCount> {
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
    static_assert(opalinMember.noReduction.id == peakReduction);

    Engine();

    // The slow stage of the cell. [render thread]
    double opticalMemory(unsigned channel) const noexcept { return cell.channel[channel].memory; }

private:
    friend class LevelingEngine<Engine, opalinMember, parameterCount>;
    template <class E> friend Stereo tickFrame(E&, double, double, unsigned) noexcept;
    template <class E>
    friend void renderStretches(E&, const float* const[2], float* const[2], unsigned,
                                unsigned) noexcept;

    // The coefficient block: current values, except Limit, read as its target.
    void configure() noexcept;
};

} // namespace classic
