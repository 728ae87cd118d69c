#pragma once
// The 1 kHz sine stepping from -40 to -6 dBFS and back, judged against a member's time
// constants: the reduction rises toward its plateau on the scale of the attack, falls with
// the release toward f times the memory where the floor holds (to nothing where it does not),
// and then follows the memory's fall.

#include "dynamics_signals.h"

#include <gtest/gtest.h>

#include <cmath>

namespace dynamicstest {

struct StepExpectation {
    double attack;      // seconds
    double attackLow;   // the 63 % rise time lies within [low, high] x attack: wider
    double attackHigh;  // than 1 because the sine's ripple and a feedback loop reshape it
    double release;     // seconds
    double floorFactor; // f, 0 where the floor does not hold
    double fall;        // memory fall, seconds
};

inline void expectStepResponse(const StepTrace& trace, const StepExpectation& e) {
    const std::vector<double>& g = trace.reduction;
    const std::vector<double>& memory = trace.memory;
    EXPECT_EQ(g[trace.onset - 1], 0.0) << "-40 dBFS lies below the knee";

    // Attack: the plateau before the slow memory matters much.
    const double settle = std::fmax(10 * e.attack, 0.005);
    const double plateau =
        mean(g, trace.onset + static_cast<std::size_t>(settle * sampleRate), 0.002);
    ASSERT_GT(plateau, 0.5) << "-6 dBFS reduces";
    const double rise = timeToFraction(g, trace.onset, plateau, 1 - std::exp(-1.0));
    EXPECT_GE(rise, e.attackLow * e.attack) << "63 % rise in " << rise << " s";
    EXPECT_LE(rise, e.attackHigh * e.attack) << "63 % rise in " << rise << " s";

    // Release: what lies above the floor shrinks by e in one release time. Start 2 ms after
    // the drop, once the detector has emptied.
    const std::size_t from = trace.drop + static_cast<std::size_t>(0.002 * sampleRate);
    const std::size_t oneRelease = from + static_cast<std::size_t>(e.release * sampleRate);
    const double above0 = g[from] - e.floorFactor * memory[from];
    const double above1 = g[oneRelease] - e.floorFactor * memory[oneRelease];
    ASSERT_GT(above0, 0.0);
    EXPECT_NEAR(above1 / above0, std::exp(-1.0), 0.06) << "release over " << e.release << " s";

    const std::size_t late = from + static_cast<std::size_t>(8 * e.release * sampleRate);
    ASSERT_LT(late + static_cast<std::size_t>(sampleRate), g.size());
    if (e.floorFactor > 0) {
        // Held at f x memory, lagging it by the release's share of the fall.
        EXPECT_GE(g[late], e.floorFactor * memory[late]);
        EXPECT_LE(g[late], 1.01 * e.floorFactor * memory[late] / (1 - e.release / e.fall));
    } else {
        EXPECT_LT(g[late], 0.001 * g[from]) << "no floor: released all the way";
        EXPECT_GT(memory[late], 0.1 * memory[from]) << "though the memory still holds";
    }
    // The memory falls with its own time constant.
    const double fallMeasured =
        -1.0 / std::log(memory[late + static_cast<std::size_t>(sampleRate)] / memory[late]);
    EXPECT_NEAR(fallMeasured, e.fall, 0.01 * e.fall);
}

} // namespace dynamicstest
