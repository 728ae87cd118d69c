#pragma once
// The leveling gain cell of the four dynamics models (Opalin, Mireth, Vantor, Elvane): a level
// detector per channel, a stereo-linked gain computer with a soft knee and a ratio law, a slow
// memory stage, an attack/release stage and the gain it applies to the audio.
//
// It runs once per oversampled substep inside the engine frame, both channels together:
//
//     y = frame input stage                 per channel, left then right
//     detect(c, y)                          steps 1-3, the model's first-half work
//     compute(targets)                      steps 4-11 for left, then right, between the halves
//     apply(c, y)                           y x g, the start of the second half
//
// The members differ only in data: which detector (feed-forward measures the cell's input,
// feedback measures it after the gain of the previous substep), which ratio law goes with it,
// whether the detector has a high-pass, and the floor rule that lets the slow memory hold the
// reduction up. That data is a `LevelingMember` constant in each model; the settings the
// model's coefficient block derives from its parameters every 64 substeps are a
// `LevelingSettings`. Two rules read the unit's targets at every substep rather than through
// the coefficient block: the floor condition, and a member's "no reduction" condition
// (Opalin's Peak Reduction at 0).
//
// Everything is fixed-size double arithmetic on the render thread; nothing allocates.

#include "leveling_math.h"

#include <cmath>

namespace classic {

// What the level detector measures.
enum class Detector : unsigned char {
    feedForward, // the input-stage output as it is
    feedback,    // the input-stage output scaled by the cell's previous gain
};

// How the knee's overshoot k (dB) becomes a target reduction t (dB).
enum class RatioLaw : unsigned char {
    fixed,            // t = k (1 - 1/R), R from the settings
    programDependent, // r = min(0.22 k, 8) + 2, t = k (r - 1): 2:1 at the knee, 10:1 from 36.36 dB
};

// A test of one parameter's target, made at every substep.
struct TargetRule {
    enum Kind : unsigned char { never, always, equals, above, atOrBelow };
    Kind kind = never;
    unsigned id = 0;
    float value = 0;

    constexpr bool holds(const float* targets) const noexcept {
        switch (kind) {
        case always:
            return true;
        case equals:
            return targets[id] == value;
        case above:
            return targets[id] > value;
        case atOrBelow:
            return targets[id] <= value;
        case never:
            break;
        }
        return false;
    }
};

// The data that makes a model's member of the cell.
struct LevelingMember {
    Detector detector;
    RatioLaw law;
    bool detectorHighPass;  // has a detector-only high-pass (the settings give its pole)
    TargetRule floorHolds;  // while true, the reduction is held at floorFactor x memory
    double floorFactor;     // f
    TargetRule noReduction; // while true, the target reduction is 0
};

// A feedback detector needs the program-dependent law and a feed-forward one the fixed law:
// the pairs the cell is voiced for.
constexpr bool consistent(const LevelingMember& member) {
    return (member.detector == Detector::feedback) == (member.law == RatioLaw::programDependent) &&
           member.floorFactor >= 0 && member.floorFactor < 1;
}

// Settings derived by the model's coefficient block (at reset and every 64 substeps), and the
// two coefficients the engine computes once per sample rate, in prepare.
struct LevelingSettings {
    double threshold = 0; // dB
    double knee = 0;      // W, dB
    double ratio = 1;     // R, fixed law only
    double link = 1;      // 0 (independent) to 1 (both from the louder channel)
    double highPass = 0;  // h: the detector high-pass pole, 0 = off
    double attack = 1;    // one-pole coefficients of the fast stage
    double release = 1;
    double fall = 1;       // memory fall
    double detector = 1;   // c(0.15 ms), from prepare
    double memoryRise = 1; // c(0.45 s), from prepare
};

// Per-channel state, zeroed by the engine's reset.
struct LevelingChannel {
    double level = 0;     // one-pole average of |detector signal|, linear
    double memory = 0;    // slow stage, dB
    double reduction = 0; // G, dB: 0 = none, positive = reduction; the gain-reduction meter
    double gain = 1;      // g = 10^(-G/20), from the latest G
    double highPassInput = 0;
    double highPassOutput = 0;
};

inline constexpr double deepestReduction = 48.0; // dB
inline constexpr double levelFloor = 1e-12;      // -240 dB: silence stays finite in the log

// std::fmax and std::fmin, NaN rule included (a NaN operand yields the other), without the
// library call the compiler leaves them as. No level here is ever -0 (sums of a +0 start and
// magnitudes round to +0), so the signed-zero freedom of fmax does not arise.
inline double larger(double a, double b) noexcept {
    if (std::isnan(a)) {
        return b;
    }
    return a >= b || std::isnan(b) ? a : b;
}
inline double smaller(double a, double b) noexcept {
    if (std::isnan(a)) {
        return b;
    }
    return a <= b || std::isnan(b) ? a : b;
}

// Soft knee of width W around over = 0: continuous at both edges, k = W/8 at the threshold.
inline double kneeOvershoot(double over, double width) noexcept {
    const double half = width / 2.0;
    if (over <= -half) {
        return 0.0;
    }
    if (over >= half) {
        return over;
    }
    const double d = over + half;
    return d * d / (2.0 * width);
}

// Steps 5 to 7 for a level `over` dB above the threshold: knee, law, clamp to [0, 48] dB.
// `silenced` is the member's no-reduction rule.
inline double targetReduction(RatioLaw law, const LevelingSettings& s, double over,
                              bool silenced) noexcept {
    const double k = kneeOvershoot(over, s.knee);
    double t;
    if (law == RatioLaw::fixed) {
        t = k * (1.0 - 1.0 / s.ratio);
    } else {
        const double r = smaller(0.22 * k, 8.0) + 2.0;
        t = k * (r - 1.0);
    }
    if (silenced) {
        t = 0.0;
    }
    if (t > deepestReduction) {
        t = deepestReduction;
    }
    if (t < 0.0) {
        t = 0.0;
    }
    return t;
}

template <LevelingMember member> class LevelingCell {
    static_assert(consistent(member), "detector, ratio law or floor factor out of voicing");

public:
    // What the cell reads of its member while it runs, as constants of their own: clang 14
    // reads the parts of a class-type template argument from the wrong places at run time.
    static constexpr RatioLaw law = member.law;
    static constexpr TargetRule noReduction = member.noReduction;
    static constexpr TargetRule floorRule = member.floorHolds;
    static constexpr double floorFactor = member.floorFactor;

    LevelingSettings settings;
    LevelingChannel channel[2];

    // [render thread] No reduction, empty detector and high-pass.
    void reset() noexcept {
        channel[0] = LevelingChannel{};
        channel[1] = LevelingChannel{};
    }

    // [render thread] Steps 1 to 3 for one channel's input-stage output y.
    void detect(unsigned c, double y) noexcept {
        LevelingChannel& ch = channel[c];
        double s = y;
        if constexpr (member.detectorHighPass) {
            // The high-pass state rests while it is off, so switching it back on resumes it.
            if (settings.highPass != 0.0) {
                s = settings.highPass * (ch.highPassOutput + y - ch.highPassInput);
                ch.highPassInput = y;
                ch.highPassOutput = s;
            }
        }
        if constexpr (member.detector == Detector::feedback) {
            // 10^(-G/20) of the previous substep's G: exactly the gain step 11 left.
            s = s * ch.gain;
        }
        ch.level = ch.level + settings.detector * (std::fabs(s) - ch.level);
    }

    // [render thread] Steps 4 to 11, left channel in full, then right. targets: the unit's
    // normalised values, read here for the floor and no-reduction rules.
    void compute(const float* targets) noexcept {
        const bool silenced = noReduction.holds(targets);
        const bool floorHolds = floorRule.holds(targets);
        const double loudest = larger(channel[0].level, channel[1].level);
        // The linked levels first: neither depends on the other channel's steps 5 to 11.
        double linked[2];
        for (unsigned c = 0; c < 2; ++c) {
            const LevelingChannel& ch = channel[c];
            linked[c] =
                larger(std::fabs(ch.level + settings.link * (loudest - ch.level)), levelFloor);
        }
        const simd::Pair logarithms = levelLog10Pair(simd::Pair{linked[0], linked[1]});
        for (unsigned c = 0; c < 2; ++c) {
            LevelingChannel& ch = channel[c];
            const double over = 20.0 * logarithms[c] - settings.threshold;
            double t = targetReduction(law, settings, over, silenced);

            const double a = t > ch.memory ? settings.memoryRise : settings.fall;
            ch.memory = ch.memory + a * (t - ch.memory);
            if (floorHolds && t < floorFactor * ch.memory) {
                t = floorFactor * ch.memory;
            }
            const double b = t > ch.reduction ? settings.attack : settings.release;
            const double previous = ch.reduction;
            ch.reduction = ch.reduction + b * (t - ch.reduction);
            // g is a function of G alone: an unchanged G (resting at 0, or held) keeps its g,
            // and a right channel at the left's G takes the left's g.
            if (ch.reduction != previous) {
                ch.gain = c == 1 && ch.reduction == channel[0].reduction ? channel[0].gain
                                                                         : levelGain(ch.reduction);
            }
        }
    }

    // [render thread] The cell's gain on one channel's audio.
    double apply(unsigned c, double y) const noexcept { return y * channel[c].gain; }
};

} // namespace classic
