// The Fennic engine.

#include "engine.h"

#include "engine/render_frames.h"

#include <algorithm>
#include <cmath>

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
    }
    saturation.set(1.7, 0.08);
    frame.output.set(0.45, 0.012);
    frame.biasDepth = 0.025;
    frame.postGain = 1; // no polarity in this model
    reset(values);
}

void Engine::reset(const float* values) noexcept {
    frame.reset(values); // also clears G (frame.gainReduction)
    for (unsigned c = 0; c < 2; ++c) {
        envelopes[c] = 0;
        gainFactor[c] = 1;
    }
    loudest = 0;
    appliedStep = ~0u;
}

Stereo Engine::tick(double left, double right, unsigned channels) noexcept {
    return tickFrame(*this, left, right, channels);
}

void Engine::render(const float* const in[2], float* const out[2], unsigned frames,
                    unsigned channels) noexcept {
    renderRecorded(*this, in, out, frames, channels);
}

void Engine::configure() noexcept {
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
                     std::pow(10.0, (static_cast<double>(v[param::input]) - 24.0) / 20.0)};
    }
    if (v[param::output] != outputGain.key) {
        outputGain = {v[param::output],
                      std::pow(10.0, (static_cast<double>(v[param::output]) - 24.0) / 20.0)};
    }
    if (v[param::attack] != attackTime.key) {
        // 0.8 ms at Attack 1 and below, down to 20 us at 7.
        const double a = std::clamp((static_cast<double>(v[param::attack]) - 1.0) / 6.0, 0.0, 1.0);
        attackTime = {v[param::attack], 0.0008 * std::pow(0.025, a)};
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

double Engine::firstHalf(unsigned c, double y) noexcept {
    envelopes[c] += detector * (std::fabs(y * gainFactor[c]) - envelopes[c]);
    return y;
}

double Engine::secondHalf(unsigned c, double y) noexcept {
    const Substep now{step, threshold, compress, link, attackTime.value, releaseTime.value};
    return secondHalf(now, c, y);
}

double Engine::secondHalf(const Substep& now, unsigned c, double y) noexcept {
    const RatioStep& row = ratioSteps[now.step];
    double& gain = frame.gainReduction[c]; // G, dB
    double target = 0;
    if (now.compress) {
        const double level = envelopes[c] + now.link * (loudest - envelopes[c]);
        if (!(std::fabs(level) < quietLevel[now.step])) {
            const double over =
                20.0 * std::log10(std::max(std::fabs(level), 1e-12)) - now.threshold;
            target = reductionTarget(over, row);
        }
    }
    // An unchanged target leaves G exactly as it is: G + c * 0.
    if (target != gain) {
        double tau = target > gain ? now.attack : now.release * (1.0 + 0.035 * gain);
        tau = std::max(tau, 0.00002);
        // The effective time constant is R*tau, for attack and release alike.
        gain += (1.0 - std::exp(-1.0 / (row.ratio * frame.fos * tau))) * (target - gain);
        gainFactor[c] = std::pow(10.0, -gain / 20.0);
    }
    const double v = y * gainFactor[c];
    return row.saturate ? saturation(v) : v;
}

} // namespace classic
