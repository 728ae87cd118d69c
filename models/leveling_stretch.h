#pragma once
// The leveling gain cell over a whole stretch of substeps, for the frame's stretch render:
// the same operations on every state variable as detect, compute and apply substep by
// substep, in the same order, in a shape that keeps the processor busy.
//
// Both channels run side by side in a pair (engine/simd): between the link (the one place the
// channels meet) and the gain, each channel's arithmetic is the same. The detector high-pass never
// depends on the cell's gain, so it runs for the stretch first. Then:
//
// - feed-forward members: the levels of a stretch depend only on the audio, so every level
//   and linked level comes first, every logarithm of the stretch in one call, the target
//   reductions, then the memory and attack/release chain (a few operations per substep, the
//   only serial part), and every power of ten in one call;
// - feedback members: each substep's level waits on the previous substep's gain, so the cell
//   goes substep by substep, both channels' logarithm and power as one pair each.
//
// The settings and the targets hold over a stretch: the coefficient block runs only ahead of
// it and the unit hands over targets only between render calls.

#include "engine/simd/dispatch.h"
#include "engine/simd/mask.h"
#include "engine/simd/pair.h"
#include "leveling_cell.h"
#include "leveling_lanes.h"
#include "leveling_math.h"

#include <type_traits>

namespace classic {

inline constexpr unsigned levelingStretch = 64; // substeps one call takes at most

// How many substeps the work beside the cell's chain trails it by: enough that its inputs
// are ready long before, so that its own chain of steps never holds up the cell's in the
// processor's queue.
inline constexpr unsigned besideLag = 2;

// Every select below gives the scalar cell's value for every input, NaN included. It takes
// one of two shapes, chosen by `chained`:
// - chained (feedback members, where each substep waits on the one before): a predicted
//   branch where both lanes usually agree, so that what follows starts at once instead of
//   waiting for the comparison; the knee's division and the law only where a lane needs them;
// - otherwise (feed-forward members, whose per-substep steps are independent): plain selects
//   and min/max instructions, which cost no mispredictions.
template <bool chained>
inline simd::Pair pick(simd::Mask when, simd::Pair a, simd::Pair b) noexcept {
    if constexpr (chained) {
        return simd::choose(when, a, b);
    } else {
        return simd::select(when, a, b);
    }
}

// Steps 5 to 7 (knee, law, clamp) for both channels, as targetReduction lane by lane.
template <RatioLaw law, bool chained>
inline simd::Pair targetReductions(const LevelingSettings& s, simd::Pair over,
                                   bool silenced) noexcept {
    if (silenced) {
        return simd::splat(0.0);
    }
    const double half = s.knee / 2.0;
    const simd::Mask below = over <= simd::splat(-half);
    const simd::Mask above = over >= simd::splat(half);
    simd::Pair k;
    // The masks' bits joined as integers: OR-ing the masks themselves makes the compiler take
    // each lane through a general register and back.
    const int belowBits = simd::signBits(below);
    const int outside = belowBits | simd::signBits(above);
    if (chained && outside == 3) {
        if (belowBits == 3) {
            return simd::splat(0.0); // k = 0: both laws give t = +0
        }
        k = simd::choose(below, simd::splat(0.0), over);
    } else {
        const simd::Pair d = over + simd::splat(half);
        k = simd::select(below, simd::splat(0.0),
                         simd::select(above, over, d * d / simd::splat(2.0 * s.knee)));
    }
    simd::Pair t;
    if constexpr (law == RatioLaw::fixed) {
        t = k * simd::splat(1.0 - 1.0 / s.ratio);
    } else {
        const simd::Pair p = simd::splat(0.22) * k;
        // smaller(p, 8)
        const simd::Pair r = (chained ? simd::choose(p <= simd::splat(8.0), p, simd::splat(8.0))
                                      : simd::min(p, simd::splat(8.0))) +
                             simd::splat(2.0);
        t = k * (r - simd::splat(1.0));
    }
    if constexpr (chained) {
        const int clamped = simd::signBits(t > simd::splat(deepestReduction)) |
                            simd::signBits(t < simd::splat(0.0));
        if (clamped == 0) {
            return t;
        }
    }
    // t > 48 ? 48 : t, then t < 0 ? 0 : t; NaN kept.
    return simd::max(simd::splat(0.0), simd::min(simd::splat(deepestReduction), t));
}

// Step 4's linked level of both channels from their detector levels. A link of 1 multiplies
// exactly, so the product is left out there.
//
// On the feedback chain, with a link of 1, both channels' linked level is usually the loudest
// level itself, bit for bit: where each level is at least half the loudest, loudest - level is
// exact (Sterbenz), so level + (loudest - level) gives the loudest back. The test runs beside
// the chain behind a predicted branch, so the logarithm starts from the maximum at once; a NaN
// or infinite level fails it and takes the arithmetic below.
template <bool chained>
inline simd::Pair linkedLevels(const LevelingSettings& s, simd::Pair level) noexcept {
    simd::Pair loudestLevel;
    if (chained && s.link == 1.0 && linksToLoudest(level, loudestLevel)) [[likely]] {
        return simd::choose(loudestLevel >= simd::splat(levelFloor), loudestLevel,
                            simd::splat(levelFloor));
    }
    const double loudest = larger(level[0], level[1]);
    const simd::Pair towardLoudest = simd::splat(loudest) - level;
    const simd::Pair linked =
        s.link == 1.0 ? level + towardLoudest : level + simd::splat(s.link) * towardLoudest;
    const simd::Pair l = simd::magnitude(linked);
    // larger(l, floor): a NaN l gives the floor.
    return chained ? simd::choose(l >= simd::splat(levelFloor), l, simd::splat(levelFloor))
                   : simd::max(l, simd::splat(levelFloor));
}

// Steps 8 to 10 for both channels: memory, floor, gain reduction.
template <LevelingMember member, bool chained>
inline void followTarget(const LevelingSettings& s, simd::Pair t, bool floorHolds,
                         simd::Pair& memory, simd::Pair& reduction) noexcept {
    const simd::Pair a = pick<chained>(t > memory, simd::splat(s.memoryRise), simd::splat(s.fall));
    memory = memory + a * (t - memory);
    if (floorHolds) {
        const simd::Pair held = simd::splat(LevelingCell<member>::floorFactor) * memory;
        t = chained ? simd::choose(t < held, held, t) : simd::max(held, t);
    }
    const simd::Pair b =
        pick<chained>(t > reduction, simd::splat(s.attack), simd::splat(s.release));
    reduction = reduction + b * (t - reduction);
}

// Nothing to run beside the cell.
struct NothingBeside {
    void operator()(unsigned) const noexcept {}
};

// runStretch's body, inlined into its baseline and its AVX2 form below.
template <LevelingMember member, class Beside>
[[gnu::always_inline]] inline void runStretchOf(LevelingCell<member>& cell, double* y,
                                                unsigned steps, const float* targets,
                                                Beside&& beside) noexcept {
    const unsigned count = 2 * steps;
    if (count == 0) {
        return;
    }
    const LevelingSettings& s = cell.settings;
    LevelingChannel* ch = cell.channel;
    using Cell = LevelingCell<member>;
    const bool silenced = Cell::noReduction.holds(targets);
    const bool floorHolds = Cell::floorRule.holds(targets);
    double highPassed[2 * levelingStretch];

    // Step 1: the high-pass rests while it is off, so switching it back on resumes it.
    const double* detected = y;
    if constexpr (member.detectorHighPass) {
        if (s.highPass != 0.0) {
            simd::Pair input = {ch[0].highPassInput, ch[1].highPassInput};
            simd::Pair output = {ch[0].highPassOutput, ch[1].highPassOutput};
            for (unsigned i = 0; i < count; i += 2) {
                const simd::Pair v = simd::load(y + i);
                output = simd::splat(s.highPass) * (output + v - input);
                input = v;
                simd::store(highPassed + i, output);
            }
            for (unsigned c = 0; c < 2; ++c) {
                ch[c].highPassInput = input[c];
                ch[c].highPassOutput = output[c];
            }
            detected = highPassed;
        }
    }

    simd::Pair level = {ch[0].level, ch[1].level};
    simd::Pair memory = {ch[0].memory, ch[1].memory};
    simd::Pair reduction = {ch[0].reduction, ch[1].reduction};
    if constexpr (member.detector == Detector::feedForward) {
        double linked[2 * levelingStretch];
        double decibels[2 * levelingStretch];
        for (unsigned i = 0; i < count; i += 2) {
            level = level +
                    simd::splat(s.detector) * (simd::magnitude(simd::load(detected + i)) - level);
            simd::store(linked + i, linkedLevels<false>(s, level));
        }
        levelLog10Many(linked, decibels, count);
        double reductions[2 * levelingStretch];
        for (unsigned i = 0; i < count; i += 2) {
            const simd::Pair over =
                simd::splat(20.0) * simd::load(decibels + i) - simd::splat(s.threshold);
            const simd::Pair t = targetReductions<Cell::law, false>(s, over, silenced);
            followTarget<member, false>(s, t, floorHolds, memory, reduction);
            simd::store(reductions + i, reduction);
        }
        double gains[2 * levelingStretch];
        levelGainMany(reductions, gains, count);
        for (unsigned c = 0; c < 2; ++c) {
            ch[c].gain = gains[count - 2 + c];
        }
        for (unsigned i = 0; i < count; ++i) {
            y[i] = y[i] * gains[i];
        }
        for (unsigned step = 0; step < steps; ++step) {
            beside(step);
        }
    } else {
        // Step 2: 10^(-G/20) of the previous substep's G, exactly the gain step 11 left.
        simd::Pair gain = {ch[0].gain, ch[1].gain};
        KeptRow lastRow;
        for (unsigned i = 0; i < count; i += 2) {
            const simd::Pair v = simd::load(detected + i) * gain;
            level = level + simd::splat(s.detector) * (simd::magnitude(v) - level);
            const simd::Pair decibels =
                simd::splat(20.0) * levelLog10Pair(linkedLevels<true>(s, level));
            const simd::Pair over = decibels - simd::splat(s.threshold);
            const simd::Pair t = targetReductions<Cell::law, true>(s, over, silenced);
            followTarget<member, true>(s, t, floorHolds, memory, reduction);
            gain = levelGainFollowing(reduction, lastRow); // 10^(-G/20)
            simd::store(y + i, simd::load(y + i) * gain);
            if (i >= 2 * besideLag) {
                beside(i / 2 - besideLag);
            }
        }
        for (unsigned c = 0; c < 2; ++c) {
            ch[c].gain = gain[c];
        }
        for (unsigned step = steps > besideLag ? steps - besideLag : 0; step < steps; ++step) {
            beside(step);
        }
    }
    for (unsigned c = 0; c < 2; ++c) {
        ch[c].level = level[c];
        ch[c].memory = memory[c];
        ch[c].reduction = reduction[c];
    }
}

// [render thread] steps substeps (1 to levelingStretch) of the cell on the input-stage
// outputs y (left, right per substep, in time order), which become y x g. targets: the
// unit's normalised values, for the floor and no-reduction rules. beside(s) is called for
// every substep s in order once its y x g is in y: for feedback members inside the loop of a
// later substep (besideLag on), so that work of the caller's with its own state (the frame's
// wet stages) runs beside the cell's chain of dependent steps. On the AVX2 path the same
// operations in AVX2 code: its three-operand forms and broadcast loads save the register copies
// and splats that SSE2 needs, which the feedback chain's loop would otherwise carry on every
// substep; every operation stays the same, so are the bits.
template <LevelingMember member, class Beside = NothingBeside>
void runStretch(LevelingCell<member>& cell, double* y, unsigned steps, const float* targets,
                Beside&& beside = {}) noexcept {
    simd::dispatch(
        simd::selectedPath,
        [](auto, LevelingCell<member>* c, double* x, unsigned n, const float* t,
           std::remove_reference_t<Beside>* b)
            __attribute__((always_inline)) { runStretchOf(*c, x, n, t, *b); },
        &cell, y, steps, targets, &beside);
}

} // namespace classic
