#pragma once
// The Tolvar engine: the oversampled frame with a tube input stage, a two-band shelving
// equaliser between the stages and a tube output stage. Its coefficient block turns the
// smoothed values into gains, stage constants and shelf coefficients every 64 substeps; the
// shelves glide toward each new coefficient set with a 3 ms time constant.

#include "biquad.h"
#include "engine/frame.h"
#include "model.h"

namespace classic {

// Shelf gain in dB per Low EQ / High EQ step; matches the captions step for step.
inline constexpr double shelfDB[11] = {-9, -6, -4.5, -3, -1.5, 0, 1.5, 3, 4.5, 6, 9};
inline constexpr double lowShelfHz[3] = {70, 100, 200};       // per Low Frequency step
inline constexpr double highShelfHz[3] = {4500, 7000, 10000}; // per High Frequency step

// The name the shelf sets go by here.
using BiquadCoefficients = Biquad;

class Engine {
public:
    // The Tolvar parameter IDs the engine reads.
    enum Id : unsigned {
        gain = 0,
        level = 1,
        lowEq = 2,
        highEq = 3,
        lowFrequency = 4,
        highFrequency = 5,
        pad = 6,
        polarity = 7,
        inputTrim = 8,
        outputTrim = 9,
    };
    static constexpr unsigned updatePeriod = 64; // substeps: 16 host frames

    Frame<parameterCount> frame;

    Engine();

    // [main thread] Sample-rate work (coefficients, taps), then reset. values: N floats.
    void prepare(double sampleRate, const float* values);
    // [render thread] Silence at the given values (normalised here), no glide.
    void reset(const float* values) noexcept;
    // [render thread] The coefficient block: gains, stage constants, shelf targets.
    void configure() noexcept;
    // [render thread] One host frame; channels 1 or 2 (with 1 the right result is the left).
    Stereo tick(double left, double right, unsigned channels) noexcept;
    // [render thread] frames host frames, the same results as tick frame by frame (channels 1:
    // in[1] and out[1] unused).
    void render(const float* const in[2], float* const out[2], unsigned frames,
                unsigned channels) noexcept;

    // Hooks of the frame's substep (called by tickFrame).
    double firstHalf(unsigned channel, double y) noexcept;
    void between() noexcept {}
    double secondHalf(unsigned, double y) noexcept { return y; }
    // The hooks of steps substeps at once (called by renderStretches): y holds left, right per
    // substep; both channels' shelves side by side.
    void section(double* y, unsigned steps) noexcept;

    // Shelf coefficients as they stand (current) and as the last block computed them (target).
    const Biquad& lowShelf() const noexcept { return lowCurrent; }
    const Biquad& highShelf() const noexcept { return highCurrent; }
    const Biquad& lowShelfTarget() const noexcept { return lowTarget; }
    const Biquad& highShelfTarget() const noexcept { return highTarget; }

private:
    struct SectionState {
        double s1 = 0, s2 = 0;
    };

    // Both channels always hold the same coefficients (the same targets, glided in the same
    // steps from the same reset), so one set serves both and glides once per substep.
    Biquad lowCurrent, lowTarget, highCurrent, highTarget;
    SectionState lowState[2], highState[2];
    // The last glide left both current sets as they were, bit for bit, and the targets have
    // not changed since: every further glide would too, so none runs.
    bool glideSettled = false;
    // The selector steps the shelf targets were designed for, once there are targets.
    struct ShelfSteps {
        unsigned lowFrequency, highFrequency, lowEq, highEq;
    };
    ShelfSteps designed{};
    bool shelvesDesigned = false;

    void glideShelves() noexcept;
};

} // namespace classic
