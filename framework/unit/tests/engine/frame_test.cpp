// The frame on its own, with a probe model: the order of the hooks in a substep, the
// coefficient period, the filters' design and latency, the crossfades and the meters.

#include "engine/frame.h"
#include "engine/render_frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// mix, bypass, shimmer, a plain value
const classic::Definition rows[4] = {
    {"Mix", 0, 100, 100, "%", 0, 0, 1},
    {"Bypass", 0, 1, 0, "", 1, 0, 0},
    {"Shimmer", 0, 100, 0, "%", 0, 0, 1},
    {"Value", -10, 10, 0, "", 0, 0, 0},
};

struct Probe {
    classic::Frame<4> frame;
    std::vector<std::string> calls;
    double secondHalfGain = 1.0;
    bool record = true;

    Probe() { frame.layout = {rows, 0, 1, 2, 8}; }
    void prepare(double rate, const float* values) {
        frame.prepare(rate, frame.layout);
        frame.reset(values);
        configure();
    }
    void configure() {
        frame.input.set(0.5, 0.0);
        frame.output.set(0.5, 0.0);
        if (record)
            calls.push_back("configure");
    }
    double firstHalf(unsigned c, double y) {
        if (record)
            calls.push_back("first" + std::to_string(c));
        return y;
    }
    void between() {
        if (record)
            calls.push_back("between");
    }
    double secondHalf(unsigned c, double y) {
        if (record)
            calls.push_back("second" + std::to_string(c));
        return y * secondHalfGain;
    }
    classic::Stereo tick(double l, double r, unsigned channels) {
        return classic::tickFrame(*this, l, r, channels);
    }
};

TEST(Frame, HooksRunInSubstepOrderAndTheBlockAtItsPeriod) {
    Probe probe;
    const float values[4] = {100, 0, 0, 0};
    probe.prepare(48000, values);
    probe.calls.clear();
    probe.tick(0.1, 0.2, 2);
    probe.tick(0.1, 0.2, 2);
    probe.tick(0.1, 0.2, 2); // substeps 8..11: the period of 8 comes round at substep 8
    const std::vector<std::string> substep = {"first0", "first1", "between", "second0", "second1"};
    std::vector<std::string> want;
    for (unsigned s = 0; s < 12; ++s) {
        if (s % 8 == 0)
            want.push_back("configure");
        want.insert(want.end(), substep.begin(), substep.end());
    }
    EXPECT_EQ(probe.calls, want);
}

TEST(Frame, TapsAreASymmetricUnityGainLowPass) {
    Probe probe;
    const float values[4] = {100, 0, 0, 0};
    probe.prepare(48000, values);
    double sum = 0;
    for (unsigned i = 0; i < classic::filterTaps; ++i) {
        sum += probe.frame.taps[i];
        EXPECT_NEAR(probe.frame.taps[i], probe.frame.taps[64 - i], 1e-17) << i;
    }
    EXPECT_NEAR(sum, 1.0, 1e-15);
    unsigned largest = 0;
    for (unsigned i = 0; i < classic::filterTaps; ++i) {
        if (probe.frame.taps[i] > probe.frame.taps[largest])
            largest = i;
    }
    EXPECT_EQ(largest, 32u);
}

TEST(Frame, ParallelMixBlendsTimeAlignedDryAndWet) {
    // A wet path muted in its second half leaves exactly (1 - mix) of the 16-frame-old input.
    Probe probe;
    probe.record = false;
    probe.secondHalfGain = 0.0;
    const float values[4] = {25, 0, 0, 0};
    probe.prepare(44100, values);
    for (unsigned i = 0; i < 200; ++i) {
        const double x = std::sin(0.1 * i);
        const classic::Stereo y = probe.tick(x, -x, 2);
        const double dry = i < 16 ? 0.0 : std::sin(0.1 * (i - 16));
        ASSERT_EQ(y.first, dry + (0.0 - dry) * 0.25) << i;
        ASSERT_EQ(y.second, -dry + (0.0 + dry) * 0.25) << i;
    }
}

TEST(Frame, BypassGlidesToTheDryPath) {
    Probe probe;
    probe.record = false;
    probe.secondHalfGain = 0.0;
    float values[4] = {100, 0, 0, 0};
    probe.prepare(48000, values);
    values[1] = 1;
    probe.frame.setTargets(values);
    // 8 ms of smoothing takes bypass to 63 %; at exactly 1.0 the output is the dry sample.
    const unsigned eightMs = 384;
    for (unsigned i = 0; i < eightMs; ++i)
        probe.tick(1.0, 1.0, 2);
    EXPECT_NEAR(probe.frame.bypass, 1 - std::exp(-1.0), 1e-3);
    // The glide settles just below 1 (about 1e-13 below, where its step rounds away), so the
    // output is the dry sample to within that: exactly it once rounded to a 32-bit float.
    for (unsigned i = 0; i < 20000; ++i)
        probe.tick(1.0, 1.0, 2);
    EXPECT_NEAR(probe.frame.bypass, 1.0, 1e-12);
    EXPECT_EQ(static_cast<float>(probe.tick(0.5, 0.25, 2).first), 1.0f);
}

TEST(Frame, SmoothingSkipsOnlyPassesThatChangeNothing) {
    // Against the glide written out pass by pass: through rest (where passes are skipped),
    // moves of one value, of mix and bypass, toward -0, new targets equal to the old, and a
    // decay to zero (which comes to rest only after the subnormals).
    Probe probe;
    probe.record = false;
    float values[4] = {100, 0, 40, 5};
    probe.prepare(8000, values);
    auto& f = probe.frame;
    float current[4];
    std::copy(f.current, f.current + 4, current);
    double mix = f.mix, bypass = f.bypass;
    const double c = f.coefficients.smoothing;
    struct Step {
        unsigned passes;
        float values[4];
    };
    const Step steps[] = {{60000, {100, 0, 40, 5}},    {60000, {100, 0, 40, -7}},
                          {60000, {30, 1, 40, -7}},    {60000, {30, 1, 40, -0.0f}},
                          {60000, {30, 1, 40, -0.0f}}, {300000, {100, 0, 0, 0.0f}}};
    for (const Step& step : steps) {
        f.setTargets(step.values);
        for (unsigned pass = 0; pass < step.passes; ++pass) {
            f.smooth();
            for (unsigned i = 0; i < 4; ++i) {
                const double now = current[i];
                current[i] =
                    static_cast<float>(now + c * (static_cast<double>(f.targets[i]) - now));
                ASSERT_EQ(std::bit_cast<std::uint32_t>(f.current[i]),
                          std::bit_cast<std::uint32_t>(current[i]))
                    << "value " << i << " pass " << pass;
            }
            mix += c * (0.01 * f.targets[0] - mix);
            bypass += c * (static_cast<double>(f.targets[1]) - bypass);
            ASSERT_EQ(std::bit_cast<std::uint64_t>(f.mix), std::bit_cast<std::uint64_t>(mix));
            ASSERT_EQ(std::bit_cast<std::uint64_t>(f.bypass), std::bit_cast<std::uint64_t>(bypass));
        }
        EXPECT_TRUE(f.settled) << "each step ends at rest, so the skipping was exercised";
        EXPECT_EQ(f.shimmerDrive.u, 0.01 * f.current[2]);
    }
}

TEST(Frame, MetersFollowInputAndOutputAtTheHostRate) {
    Probe probe;
    probe.record = false;
    const float values[4] = {100, 1, 0, 0}; // bypassed: output = input delayed
    probe.prepare(48000, values);
    for (unsigned i = 0; i < 5 * 48000; ++i)
        probe.tick(0.5, i % 2 ? 0.25 : -0.25, 2);
    EXPECT_NEAR(probe.frame.inputMeanSquare[0], 0.25, 1e-6);
    EXPECT_NEAR(probe.frame.inputMeanSquare[1], 0.0625, 1e-6);
    EXPECT_NEAR(probe.frame.outputMeanSquare[0], 0.25, 1e-6);
    EXPECT_NEAR(probe.frame.outputPeak[0], 0.5, 1e-12);
    // Silence: the peak decays with its 0.6 s constant.
    for (unsigned i = 0; i < 28800; ++i)
        probe.tick(0, 0, 2);
    EXPECT_NEAR(probe.frame.outputPeak[0], 0.5 * std::exp(-1.0), 1e-3);
}

TEST(Frame, ShimmerNoiseRunsAtZeroPercentSoTheSequenceNeverStalls) {
    Probe a, b;
    a.record = b.record = false;
    float values[4] = {100, 0, 0, 0};
    a.prepare(48000, values);
    b.prepare(48000, values);
    for (unsigned i = 0; i < 100; ++i)
        a.tick(0, 0, 2);
    EXPECT_NE(a.frame.shimmer[0].noise, b.frame.shimmer[0].noise);
    EXPECT_NE(a.frame.shimmer[0].noiseHigh, 0.0);
    a.frame.reset(values);
    EXPECT_EQ(a.frame.shimmer[0].noise, classic::noiseSeedLeft);
    EXPECT_EQ(a.frame.shimmer[1].noise, classic::noiseSeedRight);
    EXPECT_EQ(a.frame.shimmer[0].noiseHigh, 0.0);
}

// A model with state in every slot, for the many-frame paths: a coefficient block that reads
// the smoothed values, a one-pole per channel, a shared envelope, a gain from it.
struct Busy {
    classic::Frame<4> frame;
    double pole[2] = {};
    double envelope = 0;
    double coefficient = 0;

    Busy() { frame.layout = {rows, 0, 1, 2, 16}; }
    void prepare(double rate, const float* values) {
        frame.prepare(rate, frame.layout);
        frame.reset(values);
        pole[0] = pole[1] = envelope = 0;
        configure();
    }
    void configure() {
        const double v = frame.current[3];
        frame.inputGain = std::pow(10.0, v / 20.0);
        frame.outputGain = 1.0 - 0.02 * v;
        frame.input.set(0.8 + 0.01 * v, 0.05);
        frame.output.set(0.5, 0.02);
        coefficient = 0.1 + 0.005 * (v + 10);
    }
    double firstHalf(unsigned c, double y) {
        pole[c] += coefficient * (y - pole[c]);
        return y - 0.5 * pole[c];
    }
    void between() { envelope = 0.999 * envelope + 0.001 * std::fabs(pole[0] - pole[1]); }
    double secondHalf(unsigned, double y) { return y * (1.0 - envelope); }
    classic::Stereo tick(double l, double r, unsigned channels) {
        return classic::tickFrame(*this, l, r, channels);
    }
};

TEST(Frame, ManyFramePathsEqualTickBitForBit) {
    const unsigned frames = 3000;
    std::vector<float> left(frames), right(frames);
    for (unsigned i = 0; i < frames; ++i) {
        left[i] = static_cast<float>(0.8 * std::sin(0.021 * i));
        right[i] = static_cast<float>(0.6 * std::cos(0.0037 * i * i / 50.0));
    }
    for (const unsigned channels : {1u, 2u}) {
        for (const unsigned run : {1u, 5u, 16u, 17u, 40u, 512u}) {
            float values[4] = {70, 0, 30, -3};
            Busy byTick, byStretches;
            byTick.prepare(48000, values);
            byStretches.prepare(48000, values);
            std::vector<float> out[2];
            for (auto* v : {&out[0], &out[1]})
                v->assign(frames, 0);
            for (unsigned start = 0, segment = 0; start < frames; start += run, ++segment) {
                values[3] = static_cast<float>(segment % 9) - 4;
                values[1] = segment % 13 == 12 ? 1.0f : 0.0f;
                values[2] = static_cast<float>(segment % 3) * 40;
                for (Busy* e : {&byTick, &byStretches})
                    e->frame.setTargets(values);
                const unsigned n = std::min(run, frames - start);
                const float* in[2] = {left.data() + start, right.data() + start};
                float* rendered[2] = {out[0].data() + start, out[1].data() + start};
                classic::renderStretches(byStretches, in, rendered, n, channels);
                for (unsigned i = start; i < start + n; ++i) {
                    const classic::Stereo y =
                        byTick.tick(left[i], channels == 1 ? left[i] : right[i], channels);
                    ASSERT_EQ(out[0][i], static_cast<float>(y.first)) << run << " " << i;
                    if (channels == 2) {
                        ASSERT_EQ(out[1][i], static_cast<float>(y.second)) << run << " " << i;
                    }
                }
            }
            for (unsigned c = 0; c < 2; ++c) {
                EXPECT_EQ(byStretches.frame.outputMeanSquare[c], byTick.frame.outputMeanSquare[c]);
                EXPECT_EQ(byStretches.frame.outputPeak[c], byTick.frame.outputPeak[c]);
            }
        }
    }
}

} // namespace
