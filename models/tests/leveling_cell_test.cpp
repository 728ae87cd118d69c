// The leveling gain cell on its own: the knee and the two ratio laws at their edges, the
// stereo link, the detector high-pass, the feedback detector, the memory floor, the
// per-substep target rules, and the stretch form against the substep form.

#include "leveling_cell.h"
#include "leveling_stretch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace classic {
namespace {

constexpr LevelingMember feedForwardFloor{
    Detector::feedForward,           RatioLaw::fixed, true, {TargetRule::always}, 0.65,
    {TargetRule::atOrBelow, 1, 0.0f}};
constexpr LevelingMember feedbackFloorByTarget{
    Detector::feedback, RatioLaw::programDependent, true, {TargetRule::equals, 0, 1.0f}, 0.70,
    {TargetRule::never}};

static_assert(consistent(feedForwardFloor) && consistent(feedbackFloorByTarget));
static_assert(!consistent(LevelingMember{
    Detector::feedback, RatioLaw::fixed, false, {TargetRule::never}, 0.5, {TargetRule::never}}));

// Settings with round one-pole coefficients so trajectories can be written by hand.
LevelingSettings plainSettings() {
    LevelingSettings s;
    s.threshold = -20;
    s.knee = 12;
    s.ratio = 3;
    s.link = 1;
    s.highPass = 0;
    s.attack = 0.5;
    s.release = 0.25;
    s.fall = 0.01;
    s.detector = 1; // the level is |s| itself
    s.memoryRise = 0.1;
    return s;
}

double dB(double linear) {
    return std::pow(10.0, linear / 20.0);
}

struct KneeCase {
    double over, width, expected;
};

TEST(LevelingKnee, EdgesAndCentre) {
    const KneeCase cases[] = {
        {6, 12, 6},     // exactly W/2 above: k = W/2
        {-6, 12, 0},    // exactly W/2 below: k = 0
        {0, 12, 1.5},   // at the threshold: k = W/8
        {0, 14, 1.75},  // W/8 for the feedback members' 14 dB knee
        {-7, 14, 0},    // their lower edge
        {7, 14, 7},     // and upper edge
        {3, 12, 3.375}, // inside: (3 + 6)^2 / 24
        {-30, 12, 0},   // far below
        {30, 2, 30},    // far above
    };
    for (const KneeCase& c : cases) {
        EXPECT_DOUBLE_EQ(kneeOvershoot(c.over, c.width), c.expected)
            << "over " << c.over << " W " << c.width;
    }
    // Continuous at both edges.
    for (const double w : {2.0, 5.0, 6.0, 12.0, 14.0}) {
        EXPECT_NEAR(kneeOvershoot(w / 2 - 1e-9, w), w / 2, 1e-8) << w;
        EXPECT_NEAR(kneeOvershoot(-w / 2 + 1e-9, w), 0, 1e-8) << w;
    }
}

struct LawCase {
    const char* what;
    RatioLaw law;
    double ratio, knee, over, expected;
};

TEST(LevelingLaw, TargetsOfBothLaws) {
    const LawCase cases[] = {
        {"Limit on: 15:1, 20 dB over", RatioLaw::fixed, 15, 5, 20, 20.0 * (1 - 1 / 15.0)},
        {"Limit off: 3:1, 20 dB over", RatioLaw::fixed, 3, 12, 20, 20.0 * (1 - 1 / 3.0)},
        {"10:1 knee 2, 10 dB over", RatioLaw::fixed, 10, 2, 10, 9},
        {"2:1 knee 12, 10 dB over", RatioLaw::fixed, 2, 12, 10, 5},
        {"2:1 knee 12, 3 dB over", RatioLaw::fixed, 2, 12, 3, 1.6875},
        {"feedback, k = 10: r = 4.2", RatioLaw::programDependent, 0, 14, 10, 32},
        {"feedback at the knee centre", RatioLaw::programDependent, 0, 14, 0,
         1.75 * (0.22 * 1.75 + 1)},
        {"feedback, k = 12", RatioLaw::programDependent, 0, 14, 12, 12 * (0.22 * 12 + 1)},
        {"feedback beyond 36.36 dB: r = 10, capped", RatioLaw::programDependent, 0, 14, 40, 48},
        {"fixed law capped at 48 dB", RatioLaw::fixed, 10, 2, 80, 48},
        {"below the knee", RatioLaw::programDependent, 0, 14, -7, 0},
    };
    for (const LawCase& c : cases) {
        LevelingSettings s;
        s.ratio = c.ratio;
        s.knee = c.knee;
        EXPECT_NEAR(targetReduction(c.law, s, c.over, false), c.expected, 1e-12) << c.what;
        EXPECT_EQ(targetReduction(c.law, s, c.over, true), 0.0) << c.what << " (silenced)";
    }
    EXPECT_NEAR(20.0 * (1 - 1 / 15.0), 18.67, 0.005);
}

TEST(LevelingTargetRule, TestsTheTargetItNames) {
    const float targets[] = {1.0f, 0.0f, 4.0f};
    EXPECT_TRUE((TargetRule{TargetRule::always}.holds(targets)));
    EXPECT_FALSE((TargetRule{TargetRule::never}.holds(targets)));
    EXPECT_TRUE((TargetRule{TargetRule::equals, 2, 4.0f}.holds(targets)));
    EXPECT_FALSE((TargetRule{TargetRule::equals, 0, 4.0f}.holds(targets)));
    EXPECT_TRUE((TargetRule{TargetRule::above, 0, 0.5f}.holds(targets)));
    EXPECT_FALSE((TargetRule{TargetRule::above, 1, 0.5f}.holds(targets)));
    EXPECT_TRUE((TargetRule{TargetRule::atOrBelow, 1, 0.0f}.holds(targets)));
    EXPECT_FALSE((TargetRule{TargetRule::atOrBelow, 0, 0.0f}.holds(targets)));
}

class LevelingCellTest : public ::testing::Test {
protected:
    template <class Cell>
    static void step(Cell& cell, double left, double right, const float* targets) {
        cell.detect(0, left);
        cell.detect(1, right);
        cell.compute(targets);
    }
    const float loud[3] = {1, 50, 0}; // target 0 holds the floor rule, 1 the silence rule
};

TEST_F(LevelingCellTest, ConstantLevelFollowsTheWrittenRecurrences) {
    LevelingCell<feedForwardFloor> cell;
    cell.settings = plainSettings();
    const double y = dB(-2); // 18 dB over: k = 18, t = 12 dB
    double memory = 0, G = 0;
    for (int n = 0; n < 40; ++n) {
        step(cell, y, y, loud);
        memory += 0.1 * (12 - memory);
        const double t = std::max(12.0, 0.65 * memory);
        G += (t > G ? 0.5 : 0.25) * (t - G);
        ASSERT_NEAR(cell.channel[0].memory, memory, 1e-9) << n;
        ASSERT_NEAR(cell.channel[0].reduction, G, 1e-9) << n;
        ASSERT_NEAR(cell.channel[0].gain, std::pow(10.0, -G / 20), 1e-12) << n;
        ASSERT_EQ(cell.apply(0, 0.5), 0.5 * cell.channel[0].gain);
    }
}

TEST_F(LevelingCellTest, RecoveryFallsFastToTheFloorThenFollowsTheMemory) {
    LevelingCell<feedForwardFloor> cell;
    cell.settings = plainSettings();
    for (int n = 0; n < 200; ++n) {
        step(cell, dB(-2), dB(-2), loud);
    }
    const double memory = cell.channel[0].memory;
    ASSERT_NEAR(memory, 12, 1e-6);
    // Silence: t = 0, so the fast stage releases toward 0.65 x memory and stays there while
    // the memory falls with its own coefficient.
    for (int n = 0; n < 60; ++n) {
        step(cell, 0, 0, loud);
    }
    const LevelingChannel& ch = cell.channel[0];
    EXPECT_NEAR(ch.memory, memory * std::pow(1 - 0.01, 60), 1e-9);
    EXPECT_NEAR(ch.reduction, 0.65 * ch.memory, 0.65 * ch.memory * 0.01 / 0.25 + 1e-9);
    EXPECT_GT(ch.reduction, 0.65 * ch.memory);
}

TEST_F(LevelingCellTest, NoReductionRuleStopsNewReductionButNotTheDecay) {
    LevelingCell<feedForwardFloor> cell;
    cell.settings = plainSettings();
    const float gated[3] = {1, 0, 0};
    for (int n = 0; n < 100; ++n) {
        step(cell, 1.0, 1.0, gated);
    }
    EXPECT_EQ(cell.channel[0].reduction, 0.0);
    EXPECT_EQ(cell.channel[0].memory, 0.0);

    for (int n = 0; n < 100; ++n) {
        step(cell, 1.0, 1.0, loud);
    }
    const double held = cell.channel[0].reduction;
    ASSERT_GT(held, 10);
    step(cell, 1.0, 1.0, gated);
    EXPECT_LT(cell.channel[0].reduction, held);
    EXPECT_GE(cell.channel[0].reduction, 0.65 * cell.channel[0].memory);
}

TEST_F(LevelingCellTest, FloorFollowsItsTargetAtEverySubstep) {
    LevelingCell<feedbackFloorByTarget> cell;
    cell.settings = plainSettings();
    const float floorOn[1] = {1}, floorOff[1] = {0};
    for (int n = 0; n < 200; ++n) {
        step(cell, 1.0, 1.0, floorOn);
    }
    ASSERT_GT(cell.channel[0].memory, 1);
    LevelingCell<feedbackFloorByTarget> freeCell = cell;
    for (int n = 0; n < 100; ++n) {
        step(cell, 0, 0, floorOn);
        step(freeCell, 0, 0, floorOff);
    }
    // Released down to the floor, lagging it by a little while the memory falls.
    EXPECT_GE(cell.channel[0].reduction, 0.70 * cell.channel[0].memory);
    EXPECT_LT(cell.channel[0].reduction, 0.75 * cell.channel[0].memory);
    EXPECT_LT(freeCell.channel[0].reduction, 1e-9);                // free release all the way down
    EXPECT_EQ(freeCell.channel[0].memory, cell.channel[0].memory); // the memory is the same
}

TEST_F(LevelingCellTest, StereoLinkZeroKeepsChannelsApartAndOneJoinsThem) {
    for (const double link : {0.0, 0.5, 1.0}) {
        LevelingCell<feedForwardFloor> cell;
        cell.settings = plainSettings();
        cell.settings.link = link;
        for (int n = 0; n < 100; ++n) {
            step(cell, 1.0, 0.0, loud);
        }
        const double left = cell.channel[0].reduction, right = cell.channel[1].reduction;
        EXPECT_GT(left, 10) << link;
        if (link == 0) {
            EXPECT_EQ(right, 0.0);
        } else if (link == 1) {
            EXPECT_EQ(right, left);
        } else {
            EXPECT_GT(right, 0.0);
            EXPECT_LT(right, left);
        }
    }
}

TEST_F(LevelingCellTest, FeedbackDetectorMeasuresAfterThePreviousGain) {
    LevelingCell<feedbackFloorByTarget> cell;
    cell.settings = plainSettings();
    cell.settings.attack = cell.settings.release = 0.05; // slow enough for the loop to settle
    const float floorOff[1] = {0};
    for (int n = 0; n < 500; ++n) {
        step(cell, 1.0, 1.0, floorOff);
        // With the detector coefficient 1 the level is the input scaled by the gain that
        // the step before left.
        const double gainBefore = cell.channel[0].gain;
        cell.detect(0, 1.0);
        ASSERT_NEAR(cell.channel[0].level, gainBefore, 1e-15);
        cell.detect(1, 1.0);
        cell.compute(floorOff);
    }
    // The loop settles where the reduced level's own target equals the reduction.
    const LevelingChannel& ch = cell.channel[0];
    const double over = 20 * std::log10(ch.level) + 20;
    EXPECT_NEAR(ch.reduction,
                targetReduction(RatioLaw::programDependent, cell.settings, over, false), 1e-6);
    EXPECT_LT(ch.reduction, 48);
}

TEST_F(LevelingCellTest, DetectorHighPassRestsWhileOffAndResumes) {
    LevelingCell<feedbackFloorByTarget> cell;
    cell.settings = plainSettings();
    cell.settings.highPass = 0.9;
    cell.detect(0, 0.5);
    EXPECT_DOUBLE_EQ(cell.channel[0].level, 0.45); // 0.9 (0 + 0.5 - 0)
    cell.detect(0, 0.5);
    EXPECT_DOUBLE_EQ(cell.channel[0].highPassOutput, 0.9 * 0.45);
    const LevelingChannel before = cell.channel[0];

    cell.settings.highPass = 0; // off: the detector takes y as it is, the state rests
    cell.detect(0, 0.2);
    cell.detect(0, -0.3);
    EXPECT_DOUBLE_EQ(cell.channel[0].level, 0.3);
    EXPECT_EQ(cell.channel[0].highPassInput, before.highPassInput);
    EXPECT_EQ(cell.channel[0].highPassOutput, before.highPassOutput);

    cell.settings.highPass = 0.9; // on again: resumes from the resting state
    cell.detect(0, 0.7);
    EXPECT_DOUBLE_EQ(cell.channel[0].highPassOutput,
                     0.9 * (before.highPassOutput + 0.7 - before.highPassInput));
}

TEST_F(LevelingCellTest, SilenceGivesNoReductionAndResetClearsEverything) {
    LevelingCell<feedForwardFloor> cell;
    cell.settings = plainSettings();
    for (int n = 0; n < 10; ++n) {
        step(cell, 0, 0, loud);
    }
    EXPECT_EQ(cell.channel[0].reduction, 0.0);
    EXPECT_EQ(cell.channel[0].gain, 1.0);
    for (int n = 0; n < 10; ++n) {
        step(cell, 1e300, -1e300, loud); // a huge level still reduces by at most 48 dB
    }
    EXPECT_LE(cell.channel[0].reduction, 48);
    EXPECT_GE(cell.channel[1].gain, std::pow(10.0, -48 / 20.0));
    cell.reset();
    for (const LevelingChannel& ch : cell.channel) {
        EXPECT_EQ(ch.level, 0.0);
        EXPECT_EQ(ch.memory, 0.0);
        EXPECT_EQ(ch.reduction, 0.0);
        EXPECT_EQ(ch.gain, 1.0);
        EXPECT_EQ(ch.highPassInput, 0.0);
        EXPECT_EQ(ch.highPassOutput, 0.0);
    }
}

struct StretchCase {
    const char* what;
    double highPass, link;
    float targets[3];
    double wild = 0; // from substep 1500 on, both inputs every 97th substep (0: none)
};

// The same bits, NaN included.
bool same(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// Both channels' audio through a stretch of substeps at once and through detect, compute and
// apply substep by substep: state and audio bit for bit, across stretch lengths from 1 to 64
// and levels that make the reduction rise, hold and recover.
// memory: the left channel's at the end.
template <LevelingMember member>
void expectStretchMatchesSubsteps(const StretchCase& c, double& memory) {
    // bySse2: the stretch's body as the SSE2 build runs it on processors without AVX2 (this
    // test file is built for the baseline), beside runStretch's choice of build.
    LevelingCell<member> bySubstep, byStretch, bySse2;
    LevelingSettings s;
    s.threshold = -18;
    s.knee = 12;
    s.ratio = 4;
    s.link = c.link;
    s.highPass = c.highPass;
    s.attack = 0.03;
    s.release = 0.002;
    s.fall = 0.0005;
    s.detector = 0.1;
    s.memoryRise = 0.01;
    bySubstep.settings = byStretch.settings = bySse2.settings = s;
    const unsigned lengths[] = {1, 64, 7, 64, 2, 63, 64, 64, 33, 64, 64, 5};
    unsigned n = 0;
    for (unsigned round = 0; round < 6; ++round) {
        for (const unsigned steps : lengths) {
            double y[2 * levelingStretch], want[2 * levelingStretch], ySse2[2 * levelingStretch];
            for (unsigned i = 0; i < steps; ++i, ++n) {
                const double swell = (n / 200) % 3 == 2 ? 0.001 : 1.5 * ((n / 200) % 3);
                y[2 * i] = want[2 * i] =
                    c.wild != 0 && n >= 1500 && n % 97 == 0 ? c.wild : swell * std::sin(0.05 * n);
                y[2 * i + 1] = want[2 * i + 1] = c.wild != 0 && n >= 1500 && n % 97 == 0
                                                     ? c.wild
                                                     : 0.4 * std::sin(0.13 * n + 1) + 0.2;
            }
            std::copy(y, y + 2 * steps, ySse2);
            for (unsigned i = 0; i < steps; ++i) {
                bySubstep.detect(0, want[2 * i]);
                bySubstep.detect(1, want[2 * i + 1]);
                bySubstep.compute(c.targets);
                want[2 * i] = bySubstep.apply(0, want[2 * i]);
                want[2 * i + 1] = bySubstep.apply(1, want[2 * i + 1]);
            }
            // beside(s) comes once for every substep, in order, when its y x g is in y.
            double seen[2 * levelingStretch];
            unsigned next = 0;
            runStretch(byStretch, y, steps, c.targets, [&](unsigned s) {
                ASSERT_EQ(s, next) << c.what;
                ++next;
                seen[2 * s] = y[2 * s];
                seen[2 * s + 1] = y[2 * s + 1];
            });
            ASSERT_EQ(next, steps) << c.what;
            runStretchOf(bySse2, ySse2, steps, c.targets, NothingBeside{});
            for (unsigned i = 0; i < 2 * steps; ++i) {
                ASSERT_TRUE(same(ySse2[i], want[i])) << c.what << ", substep " << n - steps + i / 2;
                ASSERT_TRUE(same(y[i], want[i])) << c.what << ", substep " << n - steps + i / 2;
                ASSERT_TRUE(same(seen[i], want[i])) << c.what << ", substep " << n - steps + i / 2;
            }
            for (unsigned ch = 0; ch < 2; ++ch) {
                const LevelingChannel &a = byStretch.channel[ch], &b = bySubstep.channel[ch];
                ASSERT_TRUE(same(a.level, b.level)) << c.what << ", substep " << n;
                ASSERT_TRUE(same(a.memory, b.memory)) << c.what << ", substep " << n;
                ASSERT_TRUE(same(a.reduction, b.reduction)) << c.what << ", substep " << n;
                ASSERT_TRUE(same(a.gain, b.gain)) << c.what << ", substep " << n;
                const LevelingChannel& sse2 = bySse2.channel[ch];
                ASSERT_TRUE(same(sse2.level, b.level) && same(sse2.memory, b.memory) &&
                            same(sse2.reduction, b.reduction) && same(sse2.gain, b.gain))
                    << c.what << ", SSE2 build, substep " << n;
                ASSERT_EQ(a.highPassInput, b.highPassInput) << c.what;
                ASSERT_EQ(a.highPassOutput, b.highPassOutput) << c.what;
            }
        }
        // Switch the high-pass off and on between stretches, as a coefficient block may.
        const double highPass = round % 2 == 0 ? 0.0 : c.highPass;
        bySubstep.settings.highPass = byStretch.settings.highPass = bySse2.settings.highPass =
            highPass;
    }
    memory = bySubstep.channel[0].memory;
}

TEST(LevelingStretch, MatchesTheSubstepFormBitForBit) {
    const StretchCase cases[] = {
        {"linked, high-pass, floor held", 0.995, 1.0, {1, 50, 0}},
        {"independent, no high-pass, floor held", 0.0, 0.0, {1, 50, 0}},
        {"half linked, high-pass, floor off", 0.99, 0.5, {0, 50, 0}},
    };
    double memory = -1;
    for (const StretchCase& c : cases) {
        expectStretchMatchesSubsteps<feedForwardFloor>(c, memory);
        EXPECT_GT(memory, 1.0) << c.what << ": the cell never reduced";
        expectStretchMatchesSubsteps<feedbackFloorByTarget>(c, memory);
        EXPECT_GT(memory, 1.0) << c.what << ": the cell never reduced";
    }
    // An infinite input, then the NaN state it leaves, on every path of the link.
    for (const double link : {1.0, 0.5}) {
        const StretchCase wild = {"infinite input", 0.0, link, {1, 50, 0}, HUGE_VAL};
        expectStretchMatchesSubsteps<feedForwardFloor>(wild, memory);
        expectStretchMatchesSubsteps<feedbackFloorByTarget>(wild, memory);
    }
    // The no-reduction rule over whole stretches.
    const StretchCase silenced = {"silenced", 0.0, 1.0, {1, 0, 0}};
    expectStretchMatchesSubsteps<feedForwardFloor>(silenced, memory);
    EXPECT_EQ(memory, 0.0);
}

} // namespace
} // namespace classic
