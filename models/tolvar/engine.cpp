#include "engine.h"

#include "engine/render_frames.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace classic {

namespace {

void glide(Biquad& current, const Biquad& target, double c) noexcept {
    current.b0 += c * (target.b0 - current.b0);
    current.b1 += c * (target.b1 - current.b1);
    current.b2 += c * (target.b2 - current.b2);
    current.a1 += c * (target.a1 - current.a1);
    current.a2 += c * (target.a2 - current.a2);
}

bool sameBits(const Biquad& a, const Biquad& b) noexcept {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Transposed direct form II; V is one channel's double or both channels' simd::Pair (each
// lane then does exactly the one channel's arithmetic).
template <class V> struct FilterState { V s1, s2; };
template <class V> V filter(const Biquad& q, FilterState<V>& s, V x) noexcept {
    const V out = q.b0 * x + s.s1;
    s.s1 = s.s2 + q.b1 * x - q.a1 * out;
    s.s2 = q.b2 * x - q.a2 * out;
    return out;
}

// Selector steps are normalised targets, so always in range; clamp anyway so a table index
// can never leave its table.
unsigned step(float value, unsigned last) noexcept {
    return value <= 0 ? 0u : std::min(static_cast<unsigned>(value), last);
}

} // namespace

Engine::Engine() {
    frame.layout = {definitions, model.mixId, model.bypassId, model.shimmerId, updatePeriod};
}

void Engine::prepare(double sampleRate, const float* values) {
    frame.prepare(sampleRate, frame.layout);
    reset(values);
}

void Engine::reset(const float* values) noexcept {
    frame.reset(values);
    shelvesDesigned = false; // the rate may have changed
    for (unsigned c = 0; c < 2; ++c) {
        lowState[c] = SectionState{};
        highState[c] = SectionState{};
    }
    configure();
    lowCurrent = lowTarget;
    highCurrent = highTarget;
    glideSettled = false;
}

void Engine::configure() noexcept {
    const float* current = frame.current;
    const float* targets = frame.targets;
    const double gainDB = 5.0 * current[gain] - 10.0;
    frame.inputGain = std::pow(10.0, (current[inputTrim] + gainDB - 15.0 * current[pad]) / 20.0);
    frame.outputGain = std::max(static_cast<double>(current[level]), 0.0) / 5.0 *
                       std::pow(10.0, current[outputTrim] / 20.0);
    frame.postGain = 1.0 - 2.0 * current[polarity];
    frame.input.set(0.5 + 0.045 * (gainDB + 10.0), 0.065);
    frame.output.set(0.43, 0.035);

    // The shelf designs follow the four selectors alone: redesigned only when one moved.
    const ShelfSteps steps = {step(targets[lowFrequency], 2), step(targets[highFrequency], 2),
                              step(targets[lowEq], 10), step(targets[highEq], 10)};
    if (shelvesDesigned && steps.lowFrequency == designed.lowFrequency &&
        steps.highFrequency == designed.highFrequency && steps.lowEq == designed.lowEq &&
        steps.highEq == designed.highEq) {
        return;
    }
    const double cap = 0.43 * frame.fos;
    const double lowHz = std::min(lowShelfHz[steps.lowFrequency], cap);
    const double highHz = std::min(highShelfHz[steps.highFrequency], cap);
    const Biquad low = shelfDesign(Shelf::low, lowHz, shelfDB[steps.lowEq], frame.fos);
    const Biquad high = shelfDesign(Shelf::high, highHz, shelfDB[steps.highEq], frame.fos);
    if (!sameBits(low, lowTarget) || !sameBits(high, highTarget)) {
        glideSettled = false;
    }
    lowTarget = low;
    highTarget = high;
    designed = steps;
    shelvesDesigned = true;
}

Stereo Engine::tick(double left, double right, unsigned channels) noexcept {
    return tickFrame(*this, left, right, channels);
}

void Engine::render(const float* const in[2], float* const out[2], unsigned frames,
                    unsigned channels) noexcept {
    renderStretches(*this, in, out, frames, channels);
}

void Engine::glideShelves() noexcept {
    if (glideSettled) {
        return;
    }
    const Biquad low = lowCurrent, high = highCurrent;
    const double c = frame.coefficients.glide;
    glide(lowCurrent, lowTarget, c);
    glide(highCurrent, highTarget, c);
    glideSettled = sameBits(low, lowCurrent) && sameBits(high, highCurrent);
}

double Engine::firstHalf(unsigned channel, double y) noexcept {
    if (channel == 0) {
        glideShelves();
    }
    FilterState<double> low = {lowState[channel].s1, lowState[channel].s2};
    FilterState<double> high = {highState[channel].s1, highState[channel].s2};
    y = filter(lowCurrent, low, y);
    y = filter(highCurrent, high, y);
    lowState[channel] = {low.s1, low.s2};
    highState[channel] = {high.s1, high.s2};
    return y;
}

void Engine::section(double* y, unsigned steps) noexcept {
    FilterState<simd::Pair> low = {{lowState[0].s1, lowState[1].s1},
                                   {lowState[0].s2, lowState[1].s2}};
    FilterState<simd::Pair> high = {{highState[0].s1, highState[1].s1},
                                    {highState[0].s2, highState[1].s2}};
    for (unsigned s = 0; s < steps; ++s) {
        glideShelves();
        simd::Pair x = simd::load(y + 2 * s);
        x = filter(lowCurrent, low, x);
        x = filter(highCurrent, high, x);
        simd::store(y + 2 * s, x);
    }
    for (unsigned c = 0; c < 2; ++c) {
        lowState[c] = {low.s1[c], low.s2[c]};
        highState[c] = {high.s1[c], high.s2[c]};
    }
}

} // namespace classic
