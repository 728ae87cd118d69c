#pragma once
// The Corvel engine: the oversampled frame with a stepped preamplifier (line and microphone
// drive, an "OFF" step that mutes the wet path), a four-section equaliser (low shelf, mid
// bell, 12 kHz high shelf, third-order high pass) blended in and out by "EQ In", and an output
// stage. Its coefficient block, `configureFilters`, computes only the biquad targets, every
// 128 substeps; the sections glide toward them with 2 ms. Gains follow the smoothed values on
// every substep; mute, polarity, EQ In and the high pass fade with the same 2 ms.

#include "biquad.h"
#include "engine/frame.h"
#include "model.h"

#include <cmath>
#include <cstdint>

namespace classic {

// Input level in dB per Input Gain step: line -10..+20, "OFF" (0 dB, muted), mic +20..+80.
inline constexpr double inputLevelDecibels[21] = {-10, -5, 0,  5,  10, 15, 20, 0,  20, 25, 30,
                                                  35,  40, 45, 50, 55, 60, 65, 70, 75, 80};
inline constexpr unsigned offStep = 7;   // "OFF"; the steps above it are the mic range
inline constexpr double lineDrive = 0.5; // preamp drive of the line steps
inline constexpr double micDrive = 0.85; // and of the microphone steps
inline constexpr double lowShelfHz[4] = {35, 60, 110, 220};            // per Low Frequency step
inline constexpr double midHz[6] = {360, 700, 1600, 3200, 4800, 7200}; // per Mid Frequency step
inline constexpr double highShelfHz = 12000;
// Per High Pass step; step 0 is "Off", where the filters keep running at 50 Hz, faded out.
inline constexpr double highPassHz[5] = {0, 50, 80, 160, 300};
inline constexpr double highPassOffHz = 50;

// The designed sections (targets before the glide), for a sample rate, from the smoothed
// gains in dB and the selector steps. [any thread]
Biquad lowShelfDesign(double fos, double gainDecibels, unsigned step) noexcept;
Biquad midBellDesign(double fos, double gainDecibels, unsigned step) noexcept;
Biquad highShelfDesign(double fos, double gainDecibels) noexcept;
Biquad highPassDesign(double fos, unsigned step) noexcept;
// The high pass's first-order part: the pole of p <- r (p + e - e_prev).
double highPassPole(double fos, unsigned step) noexcept;

class Engine {
public:
    static constexpr unsigned updatePeriod = 128; // substeps: 32 host frames

    enum Section : unsigned { lowShelf, midBell, highShelf, highPass, sectionCount };

    Frame<parameterCount> frame;

    Engine();

    // [main thread] Sample-rate work (coefficients, taps), then reset. values: N floats.
    void prepare(double sampleRate, const float* values);
    // [render thread] Silence at the given values (normalised here), no glide.
    void reset(const float* values) noexcept;
    // [render thread] The coefficient block: the four sections' targets, both channels.
    void configureFilters() noexcept;
    // [render thread] One host frame; channels 1 or 2 (with 1 the right result is the left).
    Stereo tick(double left, double right, unsigned channels) noexcept;
    // [render thread] frames host frames, the same results as tick frame by frame (channels 1:
    // in[1] and out[1] unused).
    void render(const float* const in[2], float* const out[2], unsigned frames,
                unsigned channels) noexcept;

    // Inspection: a section's coefficients now and its targets; the gliding model values.
    const Biquad& current(Section s) const noexcept { return sections[s].current; }
    const Biquad& target(Section s) const noexcept { return sections[s].target; }
    double inputLevel() const noexcept { return level; }
    double mute() const noexcept { return muted; }
    double polarity() const noexcept { return sign; }
    double eqIn() const noexcept { return equaliser; }
    double highPassOn() const noexcept { return highPassWeight; }

private:
    // The frame drives the substeps through these hooks. Its update runs every substep
    // (period 1): `configure` is the substep values, and runs `configureFilters` itself every
    // 128 substeps.
    template <class Model> friend Stereo tickFrame(Model&, double, double, unsigned) noexcept;
    template <class Model>
    friend void renderRecorded(Model&, const float* const[2], float* const[2], unsigned,
                               unsigned) noexcept;
    [[gnu::always_inline]] inline void configure() noexcept;
    // The equaliser runs both channels at once, between the halves: the first half takes each
    // channel's preamp output, the second hands back its equalised sample. The frame's output
    // stage follows.
    double firstHalf(unsigned channel, double y) noexcept {
        pending[channel] = y;
        return y;
    }
    void between() noexcept;
    double secondHalf(unsigned channel, double) noexcept { return pending[channel]; }

    // One section's coefficients in both lanes, as the equaliser multiplies them.
    struct BiquadLanes {
        simd::Pair b0, b1, b2, a1, a2;
    };
    // The newest snapshot of the coefficients (its row of `kept`), taken now if a glide or
    // reset made it stale.
    unsigned snapshot() noexcept;

    // What the hooks read of one substep's update, kept so that render can run the updates
    // of a stretch ahead of its audio. The coefficients are a snapshot in `kept`, taken only
    // when a glide moved them: settled sections cost no copy. (A row number, not a pointer:
    // the compiler then sees that the equaliser's coefficients are not its states, and keeps
    // the states in registers through render's loop.)
    struct Substep {
        unsigned sections;
        double pole, highPassWeight, equaliser;
    };
    void keepSubstep(Substep& into) noexcept;
    double firstHalf(const Substep&, unsigned channel, double y) noexcept {
        return firstHalf(channel, y);
    }
    [[gnu::always_inline]] inline void between(const Substep& v) noexcept;
    double secondHalf(const Substep&, unsigned channel, double z) noexcept {
        return secondHalf(channel, z);
    }
    // Low shelf, mid bell, high shelf, the high-pass path and the EQ In blend on both channels.
    simd::Pair equalise(simd::Pair y, const BiquadLanes (&q)[sectionCount], double onePole,
                        double weight, double blend) noexcept;

    // Both channels always hold the same coefficients (the same targets, glided in the same
    // steps from the same reset), so one set serves both and glides once per substep.
    struct Coefficients {
        Biquad current, target;
        // The glide has reached its fixed point for the present target: another step would
        // leave every coefficient as it is, so it is skipped until the next target differs.
        bool settled = true;
        void glide(double c) noexcept;
    };
    // One section's state, both channels.
    struct State {
        simd::Pair s1 = {0, 0}, s2 = {0, 0};
        simd::Pair run(const BiquadLanes& q, simd::Pair x) noexcept {
            const simd::Pair out = q.b0 * x + s1;
            s1 = s2 + q.b1 * x - q.a1 * out;
            s2 = q.b2 * x - q.a2 * out;
            return out;
        }
    };
    // 10^(v/20) for the last v it was asked for: the gains cost nothing once the glides settle.
    struct Remembered {
        double key = -1e300;
        double value = 0;
        double of(double v) noexcept {
            if (v != key) {
                key = v;
                value = std::pow(10.0, v / 20.0);
            }
            return value;
        }
    };

    void setTarget(Section s, const Biquad& q) noexcept;
    // [render thread] Before a tick or render: targets move only between them, so a change of
    // those the substep values glide toward ends their standing still.
    void noteTargets() noexcept;
    static constexpr unsigned glidedTargetCount = 4;
    static constexpr unsigned glidedTargets[glidedTargetCount] = {param::inputGain, param::polarity,
                                                                  param::eqIn, param::highPass};

    double glideCoefficient = 0; // c(2 ms)
    double poles[5] = {};        // high-pass pole per High Pass step
    Stage preamps[2];            // line, microphone
    Coefficients sections[sectionCount];
    State states[sectionCount];
    simd::Pair highPassInput = {0, 0};  // e_prev
    simd::Pair highPassOutput = {0, 0}; // p
    simd::Pair pending = {0, 0};        // the substep's samples between the hooks
    // Coefficient snapshots for kept substeps, a ring: a stretch keeps at most maximumBatch
    // substeps before their audio runs, so the snapshot in use is never overwritten.
    BiquadLanes kept[maximumBatch + 1][sectionCount];
    unsigned keptIndex = 0; // the newest snapshot
    // The newest snapshot holds the coefficients now; false after a reset or a glide, so the
    // next kept substep takes one.
    bool keptNow = false;
    double equaliser = 1;          // EQ In, 0..1
    double highPassWeight = 0;     // high-pass on, 0..1
    double level = 0;              // input level, dB
    double muted = 1;              // mute, 0..1 (0: muted)
    double sign = 1;               // polarity, -1..1
    double pole = 0;               // the high pass's first-order pole for this substep
    std::uint32_t filterClock = 0; // substeps since the reset: configureFilters every 128
    unsigned appliedPreamp = ~0u;  // the preamp now in frame.input (none after a reset)
    Remembered inputGain, outputGain;
    // The glides of level, mute, polarity, EQ In and high-pass on stand still at the targets
    // kept in steadyTargets (false after a reset).
    bool steady = false;
    float steadyTargets[glidedTargetCount] = {};
};

} // namespace classic
