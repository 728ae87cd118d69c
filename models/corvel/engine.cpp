// The Corvel engine.

#include "engine.h"

#include "engine/render_frames.h"

#include <algorithm>
#include <cmath>

namespace classic {

namespace {

// A selector step from its target; the unit keeps targets integral and in range, the clamp
// guards the tables anyway.
unsigned stepOf(float target, unsigned last) noexcept {
    if (!(target > 0)) {
        return 0;
    }
    const unsigned step = static_cast<unsigned>(target);
    return step > last ? last : step;
}

double corner(double fos, double hertz) noexcept {
    return std::min(hertz, 0.43 * fos);
}

} // namespace

// The shelves (biquad.h) at the step's corner; every set is normalised by a0.
Biquad lowShelfDesign(double fos, double gainDecibels, unsigned step) noexcept {
    return shelfDesign(Shelf::low, corner(fos, lowShelfHz[std::min(step, 3u)]), gainDecibels, fos);
}

// Peaking bell with Q 1.2.
Biquad midBellDesign(double fos, double gainDecibels, unsigned step) noexcept {
    const double f = corner(fos, midHz[std::min(step, 5u)]);
    const double a = std::pow(10.0, gainDecibels / 40.0);
    const double w0 = 2.0 * M_PI * f / fos;
    const double cs = std::cos(w0);
    const double alpha = std::sin(w0) / 2.4;
    const double b0 = 1 + alpha * a;
    const double b1 = -2.0 * cs;
    const double b2 = 1 - alpha * a;
    const double a0 = 1 + alpha / a;
    const double a1 = -2.0 * cs;
    const double a2 = 1 - alpha / a;
    return {b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}

Biquad highShelfDesign(double fos, double gainDecibels) noexcept {
    return shelfDesign(Shelf::high, corner(fos, highShelfHz), gainDecibels, fos);
}

namespace {
double highPassHertz(unsigned step) noexcept {
    const double f = step == 0 ? highPassOffHz : highPassHz[std::min(step, 4u)];
    return std::max(f, 2.0);
}
} // namespace

// Q 1; with the one-pole in front a third-order high pass.
Biquad highPassDesign(double fos, unsigned step) noexcept {
    const double f = corner(fos, highPassHertz(step));
    const double w0 = 2.0 * M_PI * f / fos;
    const double cs = std::cos(w0);
    const double alpha = std::sin(w0) / 2.0;
    const double b0 = (1 + cs) / 2.0;
    const double b1 = -(1 + cs);
    const double b2 = (1 + cs) / 2.0;
    const double a0 = 1 + alpha;
    const double a1 = -2.0 * cs;
    const double a2 = 1 - alpha;
    return {b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0};
}

double highPassPole(double fos, unsigned step) noexcept {
    const double f = step == 0 ? highPassOffHz : highPassHz[std::min(step, 4u)];
    return std::exp(-2.0 * M_PI * f / fos);
}

void Engine::Coefficients::glide(double c) noexcept {
    if (settled) {
        return;
    }
    const Biquad before = current;
    current.b0 += c * (target.b0 - current.b0);
    current.b1 += c * (target.b1 - current.b1);
    current.b2 += c * (target.b2 - current.b2);
    current.a1 += c * (target.a1 - current.a1);
    current.a2 += c * (target.a2 - current.a2);
    settled = current == before;
}

Engine::Engine() = default;

void Engine::prepare(double sampleRate, const float* values) {
    // Update period 1: the substep values are evaluated on every substep.
    frame.prepare(sampleRate,
                  FrameLayout{definitions, param::mix, param::bypass, param::shimmer, 1});
    glideCoefficient = timeCoefficient(frame.fos, 0.002);
    for (unsigned step = 0; step < 5; ++step) {
        poles[step] = highPassPole(frame.fos, step);
    }
    preamps[0].set(lineDrive, 0.014);
    preamps[1].set(micDrive, 0.014);
    frame.output.set(0.36, 0.025);
    frame.biasDepth = 0.025;
    reset(values);
}

void Engine::reset(const float* values) noexcept {
    frame.reset(values);
    const float* t = frame.targets;
    for (State& s : states) {
        s = State{};
    }
    highPassInput = highPassOutput = pending = simd::Pair{0, 0};
    equaliser = t[param::eqIn];
    highPassWeight = t[param::highPass] > 0 ? 1 : 0;
    const unsigned gainStep = stepOf(t[param::inputGain], 20);
    level = inputLevelDecibels[gainStep];
    muted = gainStep == offStep ? 0 : 1;
    sign = t[param::polarity] > 0.5f ? -1 : 1;
    frame.postGain = muted * sign;
    filterClock = 0;
    appliedPreamp = ~0u;
    configureFilters();
    for (Coefficients& s : sections) {
        s.current = s.target; // no glide after a reset
        s.settled = true;
    }
    keptNow = false;
    steady = false;
}

void Engine::setTarget(Section s, const Biquad& q) noexcept {
    Coefficients& section = sections[s];
    if (!(q == section.target)) {
        section.target = q;
        section.settled = false;
    }
}

void Engine::configureFilters() noexcept {
    const float* t = frame.targets;
    const float* v = frame.current;
    const double fos = frame.fos;
    setTarget(lowShelf, lowShelfDesign(fos, v[param::lowShelf], stepOf(t[param::lowFrequency], 3)));
    setTarget(midBell, midBellDesign(fos, v[param::midGain], stepOf(t[param::midFrequency], 5)));
    setTarget(highShelf, highShelfDesign(fos, v[param::highShelf]));
    setTarget(highPass, highPassDesign(fos, stepOf(t[param::highPass], 4)));
}

void Engine::noteTargets() noexcept {
    for (unsigned i = 0; i < glidedTargetCount; ++i) {
        if (frame.targets[glidedTargets[i]] != steadyTargets[i]) {
            steady = false;
        }
    }
}

Stereo Engine::tick(double left, double right, unsigned channels) noexcept {
    noteTargets();
    return tickFrame(*this, left, right, channels);
}

void Engine::render(const float* const in[2], float* const out[2], unsigned frames,
                    unsigned channels) noexcept {
    noteTargets();
    renderRecorded(*this, in, out, frames, channels);
}

inline void Engine::configure() noexcept {
    if (filterClock++ % updatePeriod == 0) {
        configureFilters();
    }
    Frame<parameterCount>& f = frame;
    const double glide = glideCoefficient; // c(2 ms)

    f.outputGain = outputGain.of(f.current[param::outputTrim]);
    // Substep values, from the targets unless smoothed values are named. Once every glide
    // below stands still and the targets have not moved, another round would change nothing.
    if (!steady) {
        const float* t = f.targets;
        const double before[5] = {level, muted, sign, equaliser, highPassWeight};
        const unsigned gainStep = stepOf(t[param::inputGain], 20);
        level += f.coefficients.smoothing * (inputLevelDecibels[gainStep] - level);
        f.inputGain = inputGain.of(level);
        muted += glide * ((gainStep == offStep ? 0.0 : 1.0) - muted);
        sign += glide * ((t[param::polarity] > 0.5f ? -1.0 : 1.0) - sign);
        equaliser += glide * (static_cast<double>(t[param::eqIn]) - equaliser);
        highPassWeight += glide * ((t[param::highPass] > 0 ? 1.0 : 0.0) - highPassWeight);
        // The drive switches at once with the step.
        // Copied only when the preamp changes: render reads the stage back right after.
        const unsigned preamp = gainStep > offStep ? 1 : 0;
        if (preamp != appliedPreamp) {
            f.input = preamps[preamp];
            f.biasDrive = 1.8 * f.input.drive;
            appliedPreamp = preamp;
        }
        pole = poles[stepOf(t[param::highPass], 4)];
        f.postGain = muted * sign;
        steady = level == before[0] && muted == before[1] && sign == before[2] &&
                 equaliser == before[3] && highPassWeight == before[4];
        for (unsigned i = 0; i < glidedTargetCount; ++i) {
            steadyTargets[i] = t[glidedTargets[i]];
        }
    }

    // Each section's coefficients move toward their targets before the section runs.
    for (Coefficients& s : sections) {
        if (!s.settled) {
            s.glide(glide);
            keptNow = false;
        }
    }
}

unsigned Engine::snapshot() noexcept {
    if (!keptNow) {
        keptIndex = keptIndex == maximumBatch ? 0 : keptIndex + 1;
        BiquadLanes* lanes = kept[keptIndex];
        for (unsigned s = 0; s < sectionCount; ++s) {
            const Biquad& q = sections[s].current;
            lanes[s].b0 = simd::splat(q.b0);
            lanes[s].b1 = simd::splat(q.b1);
            lanes[s].b2 = simd::splat(q.b2);
            lanes[s].a1 = simd::splat(q.a1);
            lanes[s].a2 = simd::splat(q.a2);
        }
        keptNow = true;
    }
    return keptIndex;
}

void Engine::keepSubstep(Substep& into) noexcept {
    into.sections = snapshot();
    into.pole = pole;
    into.highPassWeight = highPassWeight;
    into.equaliser = equaliser;
}

inline void Engine::between(const Substep& v) noexcept {
    pending = equalise(pending, kept[v.sections], v.pole, v.highPassWeight, v.equaliser);
}

void Engine::between() noexcept {
    const unsigned now = snapshot();
    pending = equalise(pending, kept[now], pole, highPassWeight, equaliser);
}

inline simd::Pair Engine::equalise(simd::Pair y, const BiquadLanes (&q)[sectionCount],
                                   double onePole, double weight, double blend) noexcept {
    const simd::Pair low = states[lowShelf].run(q[lowShelf], y);
    const simd::Pair mid = states[midBell].run(q[midBell], low);
    const simd::Pair e = states[highShelf].run(q[highShelf], mid);
    // One-pole high pass at the same corner ahead of the biquad: third order together.
    highPassOutput = onePole * (highPassOutput + e - highPassInput);
    highPassInput = e;
    const simd::Pair filtered = states[highPass].run(q[highPass], highPassOutput);

    const simd::Pair eqOut = e + weight * (filtered - e);
    return y + blend * (eqOut - y);
}

} // namespace classic
