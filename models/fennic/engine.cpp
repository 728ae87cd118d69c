// The Fennic engine.

#include "engine.h"

#include "engine/exp10.h"
#include "engine/log10.h"
#include "engine/render_frames.h"
#include "engine/simd/dispatch.h"
#include "engine/simd/mask.h"
#include "leveling_lanes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace classic {

namespace {

// The Ratio step of a target; the unit keeps targets integral and in range, the clamp guards
// the table anyway.
unsigned ratioStepOf(float target) noexcept {
    if (!(target > 0)) {
        return 0;
    }
    return target >= 4 ? 4u : static_cast<unsigned>(target);
}

// reductionTarget of each lane, its branches as selections (the knee's square only where a
// lane is inside the knee).
simd::Pair reductionTargets(simd::Pair over, const RatioStep& step) noexcept {
    const double knee = step.kneeWidth;
    simd::Pair kneeValue = simd::choose(over >= knee / 2.0, over, simd::splat(0.0));
    const simd::Mask inside = over > -knee / 2.0 && over < knee / 2.0;
    // The mask's sign bits: tested as lanes, GCC takes them through general registers.
    if (simd::anyOf(inside)) {
        const simd::Pair t = over + knee / 2.0;
        kneeValue = simd::select(inside, t * t / (2.0 * knee), kneeValue);
    }
    const simd::Pair reduction = (step.ratio - 1.0) * kneeValue;
    // 48 < reduction ? 48 : reduction, lane by lane: min(reduction, 48) in one step.
    return simd::min(simd::splat(48.0), reduction);
}

} // namespace

Engine::Engine() = default;

void Engine::prepare(double sampleRate, const float* values) {
    // Update period 1: the substep values are evaluated on every substep.
    frame.prepare(sampleRate,
                  FrameLayout{definitions, param::mix, param::bypass, param::shimmer, 1});
    // The gain cell's DC blocker sits at 4 Hz.
    frame.coefficients.dcPole = std::exp(-2.0 * M_PI * 4.0 / frame.fos);
    detector = timeCoefficient(frame.fos, 0.00004);
    for (unsigned x = 0; x < 5; ++x) {
        inputStages[x].set(ratioSteps[x].drive, 0.014);
        // 1e-9 below the knee's lower edge in amplitude is 8.7e-9 dB, far more than the
        // rounding of the level's logarithm: below it the knee value is 0 for certain.
        const double edge = thresholdDecibels(x) - ratioSteps[x].kneeWidth / 2.0;
        quietLevel[x] = std::pow(10.0, edge / 20.0) * (1.0 - 1e-9);
        ratioRate[x] = ratioSteps[x].ratio * frame.fos;
    }
    attackCoefficientStep = ~0u; // the rate changed
    saturation.set(1.7, 0.08);
    frame.output.set(0.45, 0.012);
    frame.biasDepth = 0.025;
    frame.postGain = 1; // no polarity in this model
    reset(values);
}

void Engine::reset(const float* values) noexcept {
    frame.reset(values); // also clears G (frame.gainReduction)
    envelopes = gain = pending = simd::Pair{0, 0};
    gainFactor = simd::Pair{1, 1};
    appliedStep = ~0u;
}

Stereo Engine::tick(double left, double right, unsigned channels) noexcept {
    return tickFrame(*this, left, right, channels);
}

void Engine::render(const float* const in[2], float* const out[2], unsigned frames,
                    unsigned channels) noexcept {
    renderRecorded(*this, in, out, frames, channels);
}

inline void Engine::configure() noexcept {
    // From the targets: the ratio step (threshold, knee, drive, saturation) and whether the
    // cell compresses at all. They hold for the whole frame, the targets being set between
    // frames.
    const float* t = frame.targets;
    step = ratioStepOf(t[param::ratio]);
    threshold = thresholdDecibels(step);
    // Copied only when the step changes: render reads the stage back right after.
    if (step != appliedStep) {
        frame.input = inputStages[step];
        frame.biasDrive = 1.8 * ratioSteps[step].drive;
        appliedStep = step;
    }
    compress = t[param::attack] >= 0.5f;

    // From the smoothed values.
    const float* v = frame.current;
    if (v[param::input] != inputGain.key) {
        inputGain = {v[param::input],
                     exp10Scalar((static_cast<double>(v[param::input]) - 24.0) / 20.0)};
    }
    if (v[param::output] != outputGain.key) {
        outputGain = {v[param::output],
                      exp10Scalar((static_cast<double>(v[param::output]) - 24.0) / 20.0)};
    }
    if (v[param::attack] != attackTime.key) {
        // 0.8 ms at Attack 1 and below, down to 20 us at 7.
        const double a = std::clamp((static_cast<double>(v[param::attack]) - 1.0) / 6.0, 0.0, 1.0);
        attackTime = {v[param::attack], 0.0008 * std::pow(0.025, a)};
    }
    if (v[param::attack] != attackCoefficient.key || step != attackCoefficientStep) {
        // The gain cell's coefficient while G rises; the effective time constant is R tau.
        const double tau = std::max(attackTime.value, 0.00002);
        attackCoefficient = {v[param::attack], 1.0 - expScalar(-1.0 / (ratioRate[step] * tau))};
        attackCoefficientStep = step;
    }
    if (v[param::release] != releaseTime.key) {
        // 1.1 s at Release 1, 50 ms at 7.
        releaseTime = {
            v[param::release],
            1.1 * std::pow(1.0 / 22.0, (static_cast<double>(v[param::release]) - 1.0) / 6.0)};
    }
    frame.inputGain = inputGain.value;
    frame.outputGain = outputGain.value;
    link = static_cast<double>(v[param::stereoLink]) * 0.01;
}

void Engine::between() noexcept {
    const Substep now{step, threshold, compress, link, attackCoefficient.value, releaseTime.value};
    between(now);
}

// On the AVX2 path the same loop in AVX2 code: its three-operand forms and broadcast loads
// save the copies and the splats of constants that SSE2 needs, while every operation stays the
// same (two lanes), so the bits are those of the baseline loop.
void Engine::section(const Substep* values, unsigned stride, double* y, unsigned steps) noexcept {
    simd::dispatch(
        simd::selectedPath,
        [](auto, Engine* e, const Substep* v, unsigned every, double* x, unsigned n)
            __attribute__((always_inline)) {
                if (every == 0) {
                    e->sectionOf<0>(v, x, n);
                } else {
                    e->sectionOf<1>(v, x, n);
                }
            },
        this, values, stride, y, steps);
}

template <unsigned stride>
inline void Engine::sectionOf(const Substep* values, double* y, unsigned steps) noexcept {
    Cell state{envelopes, gain, gainFactor, {}, {}};
    for (unsigned s = 0; s < steps; ++s) {
        const simd::Pair v = cell(values[s * stride], state, simd::Pair{y[2 * s], y[2 * s + 1]});
        y[2 * s] = v[0];
        y[2 * s + 1] = v[1];
    }
    envelopes = state.envelopes;
    gain = state.gain;
    gainFactor = state.gainFactor;
    frame.gainReduction[0] = gain[0];
    frame.gainReduction[1] = gain[1];
}

inline void Engine::between(const Substep& now) noexcept {
    Cell state{envelopes, gain, gainFactor, {}, {}};
    pending = cell(now, state, pending);
    envelopes = state.envelopes;
    gain = state.gain;
    gainFactor = state.gainFactor;
    frame.gainReduction[0] = gain[0];
    frame.gainReduction[1] = gain[1];
}

inline simd::Pair Engine::cell(const Substep& now, Cell& state, simd::Pair y) const noexcept {
    // The state under the members' names: the arithmetic reads as the engine's own.
    simd::Pair& envelopes = state.envelopes;
    simd::Pair& gain = state.gain;
    simd::Pair& gainFactor = state.gainFactor;
    const RatioStep& row = ratioSteps[now.step];
    const double rate = ratioRate[now.step];

    // The release coefficient, from the G before this substep: it is only needed where G
    // falls, but worked out here it runs beside the chain through the logarithm instead of
    // after it. G never falls below 0, so with G = 0 in both lanes it is not needed at all.
    simd::Pair release = {0, 0};
    if (gain[0] != 0 || gain[1] != 0) {
        const simd::Pair shortest = {0.00002, 0.00002};
        simd::Pair tau = now.release * (1.0 + 0.035 * gain);
        tau = simd::max(shortest, tau); // max(tau, 20 us): shortest > tau ? shortest : tau
        release = 1.0 - expFollowing(-1.0 / (rate * tau), state.releaseRow);
    }

    // The detector hears the previous substep's gain; the stereo link the larger envelope.
    envelopes += detector * (simd::magnitude(y * gainFactor) - envelopes);
    const double loudest = std::max(envelopes[0], envelopes[1]);

    simd::Pair target = {0, 0};
    if (now.compress) {
        // A link of 1 multiplies exactly: the product is left out of the chain. Where the
        // linked level is then the loudest envelope itself, the logarithm starts from the
        // lane maximum while the test runs beside it.
        simd::Pair level;
        if (now.link != 1.0 || !linksToLoudest(envelopes, level)) [[unlikely]] {
            const simd::Pair spread = loudest - envelopes;
            level = simd::magnitude(envelopes + (now.link == 1.0 ? spread : now.link * spread));
        }
        // Below quietLevel the knee value is 0 for certain, so the target is 0 whether the
        // logarithm is taken or not: it is skipped when both channels are that quiet.
        const double quiet = quietLevel[now.step];
        if (!(level[0] < quiet && level[1] < quiet)) {
            const simd::Pair floor = {1e-12, 1e-12};
            const simd::Pair over = 20.0 * log10Pair(simd::max(floor, level)) - now.threshold;
            target = reductionTargets(over, row);
        }
    }

    // Where the target equals G the step adds coefficient * 0 and leaves G exactly as it is.
    const simd::Pair attack = {now.attack, now.attack};
    const simd::Pair before = gain;
    gain += simd::choose(target > gain, attack, release) * (target - gain);
    if (gain[0] != before[0] || gain[1] != before[1]) {
        gainFactor = attenuationFollowing(gain, state.gainRow); // 10^(-G/20)
    }

    const simd::Pair v = y * gainFactor;
    if (row.saturate) {
        const simd::Pair t = tanh2(saturation.drive * v + saturation.bias);
        return (t - saturation.tanhBias) / saturation.denominator;
    }
    return v;
}

} // namespace classic
