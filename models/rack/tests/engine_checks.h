#pragma once
// Test helpers shared by the engine tests of the models: test signals, running an engine over
// them, and the measurements the tests compare (sine amplitude by correlation, peaks).

#include "engine/frame.h"
#include "presets/factory_preset.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

namespace checks {

// The model's defaults with some values changed.
inline classic::Values with(std::initializer_list<std::pair<unsigned, float>> overrides) {
    classic::Values v = classic::defaultValues();
    for (auto [id, value] : overrides) {
        v[id] = value;
    }
    return v;
}

// An engine prepared at a rate with the given values (on the heap: engines are large).
template <class Engine>
std::unique_ptr<Engine> prepared(const classic::Values& v, double rate = 48000) {
    auto engine = std::make_unique<Engine>();
    engine->prepare(rate, v.data());
    return engine;
}

// A deterministic, broadband test signal around the given level (xorshift noise with a tone).
inline std::vector<double> testSignal(std::size_t frames, double level, std::uint32_t seed) {
    std::vector<double> x(frames);
    std::uint32_t s = seed;
    for (std::size_t i = 0; i < frames; ++i) {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        const double noise = s * (1.0 / 4294967296.0) * 2.0 - 1.0;
        x[i] = level * (0.6 * std::sin(2.0 * M_PI * 0.01 * i) + 0.4 * noise);
    }
    return x;
}

// Runs frames through an engine: both channels (right = left scaled by -0.7).
template <class Engine>
std::vector<classic::Stereo> run(Engine& engine, const std::vector<double>& x) {
    std::vector<classic::Stereo> out;
    out.reserve(x.size());
    for (double v : x) {
        out.push_back(engine.tick(v, -0.7 * v, 2));
    }
    return out;
}

// Amplitude of a sine of the given frequency in out[from, from + count), by correlation.
inline double sineAmplitude(const std::vector<double>& out, std::size_t from, std::size_t count,
                            double frequency, double fs) {
    double re = 0, im = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        const double phase = 2.0 * M_PI * frequency * static_cast<double>(i) / fs;
        re += out[i] * std::cos(phase);
        im += out[i] * std::sin(phase);
    }
    return 2.0 * std::hypot(re, im) / static_cast<double>(count);
}

inline std::vector<double> sine(std::size_t frames, double amplitude, double frequency, double fs) {
    std::vector<double> x(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        x[i] = amplitude * std::sin(2.0 * M_PI * frequency * static_cast<double>(i) / fs);
    }
    return x;
}

inline double decibels(double ratio) {
    return 20.0 * std::log10(ratio);
}

// The inputs every engine must survive: full scale (square and noise), DC, NaN, infinities.
struct Hostile {
    const char* name;
    std::vector<double> samples;
};
inline std::vector<Hostile> hostileInputs(std::size_t frames) {
    std::vector<Hostile> inputs;
    std::vector<double> square(frames), dc(frames, 1.0), nan(frames), inf(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        square[i] = (i / 37) % 2 ? 1.0 : -1.0;
        nan[i] = i % 3 == 0 ? std::nan("") : 0.9;
        inf[i] = i % 5 == 0 ? (i % 2 ? INFINITY : -INFINITY) : -0.9;
    }
    inputs.push_back({"full-scale square", square});
    inputs.push_back({"full-scale noise", testSignal(frames, 1.6, 99)});
    inputs.push_back({"DC", dc});
    inputs.push_back({"NaN", nan});
    inputs.push_back({"infinity", inf});
    return inputs;
}

// render() against tick(): the same signal in blocks of the given size, the targets moved to
// each of the given value sets in turn at block boundaries; float outputs compared exactly.
template <class Engine>
void expectRenderMatchesTick(const std::vector<classic::Values>& moves, unsigned block,
                             unsigned channels, double rate = 48000) {
    const std::size_t frames = 4096;
    const std::vector<double> a = testSignal(frames, 0.7, 41);
    const std::vector<double> b = testSignal(frames, 0.4, 43);
    std::vector<float> in[2] = {std::vector<float>(frames), std::vector<float>(frames)};
    for (std::size_t i = 0; i < frames; ++i) {
        in[0][i] = static_cast<float>(a[i]);
        in[1][i] = static_cast<float>(b[i]);
    }
    in[0][777] = NAN;
    in[1][1500] = INFINITY;
    auto ticked = prepared<Engine>(moves.front(), rate);
    auto rendered = prepared<Engine>(moves.front(), rate);
    std::vector<float> out[2] = {std::vector<float>(frames), std::vector<float>(frames)};
    std::size_t move = 0;
    for (std::size_t start = 0; start < frames; start += block) {
        const unsigned n = static_cast<unsigned>(std::min<std::size_t>(block, frames - start));
        const classic::Values& v = moves[move++ % moves.size()];
        ticked->frame.setTargets(v.data());
        rendered->frame.setTargets(v.data());
        const float* const from[2] = {in[0].data() + start, in[1].data() + start};
        float* const to[2] = {out[0].data() + start, out[1].data() + start};
        rendered->render(from, to, n, channels);
        for (std::size_t i = start; i < start + n; ++i) {
            const double right = channels == 1 ? in[0][i] : in[1][i];
            const classic::Stereo y = ticked->tick(in[0][i], right, channels);
            ASSERT_EQ(out[0][i], static_cast<float>(y.first)) << "frame " << i;
            if (channels == 2) {
                ASSERT_EQ(out[1][i], static_cast<float>(y.second)) << "frame " << i;
            }
        }
    }
    for (unsigned c = 0; c < 2; ++c) {
        EXPECT_EQ(rendered->frame.outputMeanSquare[c], ticked->frame.outputMeanSquare[c]);
        EXPECT_EQ(rendered->frame.gainReduction[c], ticked->frame.gainReduction[c]);
    }
}

// render() after a long run of tick() on the same engine, against tick() alone: state that
// render keeps for itself must follow what tick changed in between. Both start at `from`; the
// rendering engine renders a block, then at `to` ticks `ticked` frames and renders again.
template <class Engine>
void expectRenderAfterTickMatches(const classic::Values& from, const classic::Values& to,
                                  std::size_t ticked, unsigned channels = 2) {
    const unsigned block = 512;
    const std::size_t frames = block + ticked + block;
    const std::vector<double> a = testSignal(frames, 0.7, 51);
    const std::vector<double> b = testSignal(frames, 0.4, 53);
    auto mixed = prepared<Engine>(from);
    auto ticking = prepared<Engine>(from);
    std::vector<float> in[2] = {std::vector<float>(block), std::vector<float>(block)};
    std::vector<float> out[2] = {std::vector<float>(block), std::vector<float>(block)};
    for (std::size_t i = 0; i < frames; ++i) {
        if (i == block) {
            mixed->frame.setTargets(to.data());
            ticking->frame.setTargets(to.data());
        }
        const bool rendering = i < block || i >= block + ticked;
        if (rendering && (i == 0 || i == block + ticked)) {
            for (unsigned j = 0; j < block; ++j) {
                in[0][j] = static_cast<float>(a[i + j]);
                in[1][j] = static_cast<float>(b[i + j]);
            }
            const float* const source[2] = {in[0].data(), in[1].data()};
            float* const sink[2] = {out[0].data(), out[1].data()};
            mixed->render(source, sink, block, channels);
        }
        const float left = static_cast<float>(a[i]);
        const float right = channels == 1 ? left : static_cast<float>(b[i]);
        const classic::Stereo y = ticking->tick(left, right, channels);
        if (rendering) {
            const std::size_t j = i < block ? i : i - block - ticked;
            ASSERT_EQ(out[0][j], static_cast<float>(y.first)) << "frame " << i;
            if (channels == 2) {
                ASSERT_EQ(out[1][j], static_cast<float>(y.second)) << "frame " << i;
            }
        } else {
            mixed->tick(left, right, channels);
        }
    }
}

} // namespace checks
