#pragma once
// The Quorin engine: the oversampled frame with a transformer-coloured input stage whose drive
// follows the Gain setting, no model section, and a gentle output stage. Every 64 substeps its
// coefficient block turns the smoothed values (the switches included, so Pad, "3:1 Tap" and
// Polarity fade rather than click) into the gains and stage constants.

#include "engine/frame.h"
#include "model.h"

namespace classic {

class Engine {
public:
    static constexpr unsigned updatePeriod = 64; // substeps: 16 host frames

    // 20*log10(3) to six decimals: the output tap's step down.
    static constexpr double tapDecibels = 9.542425;

    Frame<parameterCount> frame;

    Engine();

    // [main thread] Sample-rate work (coefficients, taps), then reset. values: N floats.
    void prepare(double sampleRate, const float* values);
    // [render thread] Silence at the given values (normalised here), no glide.
    void reset(const float* values) noexcept;
    // [render thread] One host frame; channels 1 or 2 (with 1 the right result is the left).
    Stereo tick(double left, double right, unsigned channels) noexcept;
    // [render thread] frames host frames, the same results as tick frame by frame (channels 1:
    // in[1] and out[1] unused).
    void render(const float* const in[2], float* const out[2], unsigned frames,
                unsigned channels) noexcept;

private:
    // The frame's substep hooks. The coefficient block is no part of the engine's interface:
    // it runs at the end of reset and every update period inside tick, and nowhere else.
    template <class Model> friend Stereo tickFrame(Model&, double, double, unsigned) noexcept;
    template <class Model>
    friend void renderStretches(Model&, const float* const[2], float* const[2], unsigned,
                                unsigned) noexcept;
    void configure() noexcept;
    // No model section: the input stage feeds the output stage directly.
    double firstHalf(unsigned, double y) noexcept { return y; }
    void between() noexcept {}
    double secondHalf(unsigned, double y) noexcept { return y; }
};

} // namespace classic
