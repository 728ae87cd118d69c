// The Fennic engine.

#include "engine.h"

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
    // Period 1: no coefficient block, the frame's counter is never consulted.
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
    frame.inputGain = 1;
    frame.postGain = 1; // no polarity in this model
    reset(values);
}

void Engine::reset(const float* values) noexcept {
    frame.reset(values); // also clears G (frame.gainReduction)
    for (unsigned c = 0; c < 2; ++c) {
        envelopes[c] = 0;
        gainFactor[c] = 1;
    }
}

Stereo Engine::tick(double left, double right, unsigned channels) noexcept {
    Frame<parameterCount>& f = frame;
    const double in[2] = {f.sanitize(left), f.sanitize(right)};
    double dry[2];
    f.dryPath(in, dry);
    f.interpolation[0].push(in[0]);
    f.interpolation[1].push(in[1]);

    // Per frame, from the targets: the ratio step and whether the cell compresses at all.
    const unsigned x = ratioStepOf(f.targets[param::ratio]);
    const RatioStep& step = ratioSteps[x];
    const double ratio = step.ratio;
    const double threshold = thresholdDecibels(x);
    const Stage& inputStage = inputStages[x];
    const double biasDrive = 1.8 * step.drive;
    const bool compress = f.targets[param::attack] >= 0.5f;
    const double follower = f.coefficients.biasFollower; // c(35 Hz)

    double wet[2] = {0, 0};
    for (unsigned k = 0; k < oversampling; ++k) {
        f.smooth();
        const double u[2] = {f.interpolation[0].output(f.taps, k),
                             f.interpolation[1].output(f.taps, k)};

        const float* v = f.current;
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
            const double a =
                std::clamp((static_cast<double>(v[param::attack]) - 1.0) / 6.0, 0.0, 1.0);
            attackTime = {v[param::attack], 0.0008 * std::pow(0.025, a)};
        }
        if (v[param::release] != releaseTime.key) {
            // 1.1 s at Release 1, 50 ms at 7.
            releaseTime = {
                v[param::release],
                1.1 * std::pow(1.0 / 22.0, (static_cast<double>(v[param::release]) - 1.0) / 6.0)};
        }
        const double gi = inputGain.value;
        f.outputGain = outputGain.value;
        const double link = static_cast<double>(v[param::stereoLink]) * 0.01;

        // First half: input stage and the detector, which hears the previous substep's gain.
        double y[2];
        for (unsigned c = 0; c < 2; ++c) {
            const double xc = 4.0 * u[c] * gi;
            f.biasFollower[c] += follower * (xc - f.biasFollower[c]);
            const double w = 0.025 * std::tanh(biasDrive * f.biasFollower[c]);
            y[c] = inputStage(xc + w) - w;
            envelopes[c] += detector * (std::fabs(y[c] * gainFactor[c]) - envelopes[c]);
        }

        // Between the halves: the larger envelope, shared by the link.
        const double loudest = std::max(envelopes[0], envelopes[1]);

        // Second half: gain computer, gain, saturation, output stage and the frame's end.
        for (unsigned c = 0; c < 2; ++c) {
            double& gain = f.gainReduction[c]; // G, dB
            double target = 0;
            if (compress) {
                const double level = envelopes[c] + link * (loudest - envelopes[c]);
                if (!(std::fabs(level) < quietLevel[x])) {
                    const double over =
                        20.0 * std::log10(std::max(std::fabs(level), 1e-12)) - threshold;
                    target = reductionTarget(over, step);
                }
            }
            if (target != gain) {
                double tau =
                    target > gain ? attackTime.value : releaseTime.value * (1.0 + 0.035 * gain);
                tau = std::max(tau, 0.00002);
                // The effective time constant is R*tau, for attack and release alike.
                gain += (1.0 - std::exp(-1.0 / (ratio * f.fos * tau))) * (target - gain);
                gainFactor[c] = std::pow(10.0, -gain / 20.0);
            }
            double out = y[c] * gainFactor[c];
            if (step.saturate) {
                out = saturation(out);
            }
            out = f.outputStage(c, k, out);
            if (k == 0) {
                wet[c] = out;
            }
        }
    }
    const double outLeft = f.finish(0, in[0], dry[0], wet[0]);
    const double outRight = f.finish(1, in[1], dry[1], wet[1]);
    return {outLeft, channels == 1 ? outLeft : outRight};
}

} // namespace classic
