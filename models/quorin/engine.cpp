// The Quorin engine.

#include "engine.h"

#include "engine/render_frames.h"

#include <cmath>

namespace classic {

Engine::Engine() = default;

void Engine::prepare(double sampleRate, const float* values) {
    frame.prepare(sampleRate, FrameLayout{definitions, param::parallelMix, param::bypass,
                                          param::shimmer, updatePeriod});
    reset(values);
}

void Engine::reset(const float* values) noexcept {
    frame.reset(values);
    configure();
}

void Engine::configure() noexcept {
    const float* v = frame.current;
    // The staging sum is formed in single precision, as the values are stored.
    const float inputDecibels = v[param::gain] + v[param::inputTrim] - 20.0f * v[param::pad];
    frame.inputGain = std::pow(10.0, static_cast<double>(inputDecibels) / 20.0);
    frame.outputGain = std::pow(10.0, (static_cast<double>(v[param::outputTrim]) -
                                       tapDecibels * static_cast<double>(v[param::tap])) /
                                          20.0);
    frame.postGain = static_cast<float>(1.0f - 2.0f * v[param::polarity]);
    // Drive 0.65 at 34 dB of gain rising to 1.45 at 69 dB.
    const double drive = 0.65 + 0.8 * (static_cast<double>(v[param::gain]) - 34.0) / 35.0;
    frame.input.set(drive, 0.004);
    frame.output.set(0.38, 0.002);
}

Stereo Engine::tick(double left, double right, unsigned channels) noexcept {
    return tickFrame(*this, left, right, channels);
}

void Engine::render(const float* const in[2], float* const out[2], unsigned frames,
                    unsigned channels) noexcept {
    // No model section, and the coefficient block every 64 substeps: the substeps can run a
    // stretch at a time.
    renderStretches(*this, in, out, frames, channels);
}

} // namespace classic
