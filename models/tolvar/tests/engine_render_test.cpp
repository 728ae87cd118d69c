// The engine's many-frame path against its own tick, bit for bit, whatever the run lengths.

#include "engine.h"
#include "presets/factory_preset.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

TEST(TolvarRender, EqualsTickFrameByFrameAcrossRunLengths) {
    const unsigned frames = 5000;
    std::vector<float> left(frames), right(frames);
    for (unsigned i = 0; i < frames; ++i) {
        left[i] = static_cast<float>(0.7 * std::sin(0.031 * i) + (i % 501 == 7 ? 0.9 : 0.0));
        right[i] = static_cast<float>(0.5 * std::sin(0.17 * i + 1));
    }
    left[1234] = std::numeric_limits<float>::quiet_NaN();
    const unsigned runs[] = {1, 2, 3, 31, 32, 33, 64, 100, 512, 4096};
    for (const unsigned channels : {2u, 1u}) {
        for (const unsigned run : runs) {
            classic::Values values = classic::factoryPresets()[8].values;
            auto byTick = std::make_unique<classic::Engine>();
            auto byRun = std::make_unique<classic::Engine>();
            byTick->prepare(44100, values.data());
            byRun->prepare(44100, values.data());
            std::vector<float> outLeft(frames), outRight(frames);
            for (unsigned start = 0, segment = 0; start < frames; start += run, ++segment) {
                // New targets every run, as the unit sets them per segment.
                values[10] = static_cast<float>(segment % 5) * 25;
                values[2] = static_cast<float>(segment % 11);
                values[12] = segment % 7 == 6 ? 1.0f : 0.0f;
                byTick->frame.setTargets(values.data());
                byRun->frame.setTargets(values.data());
                const unsigned n = std::min(run, frames - start);
                const float* in[2] = {left.data() + start, right.data() + start};
                float* out[2] = {outLeft.data() + start, outRight.data() + start};
                byRun->render(in, out, n, channels);
                for (unsigned i = start; i < start + n; ++i) {
                    const classic::Stereo y =
                        byTick->tick(left[i], channels == 1 ? left[i] : right[i], channels);
                    ASSERT_EQ(outLeft[i], static_cast<float>(y.first))
                        << "run " << run << " channels " << channels << " frame " << i;
                    if (channels == 2) {
                        ASSERT_EQ(outRight[i], static_cast<float>(y.second))
                            << "run " << run << " frame " << i;
                    }
                }
            }
            for (unsigned c = 0; c < 2; ++c) {
                EXPECT_EQ(byRun->frame.inputMeanSquare[c], byTick->frame.inputMeanSquare[c]);
                EXPECT_EQ(byRun->frame.outputMeanSquare[c], byTick->frame.outputMeanSquare[c]);
                EXPECT_EQ(byRun->frame.outputPeak[c], byTick->frame.outputPeak[c]);
            }
        }
    }
}

TEST(TolvarRender, EqualsTickThroughRestAndLateMoves) {
    // Long runs with the targets still: the glide and smoothing come to rest in between
    // (8 kHz), then moves of the shelves, mix and bypass start them again.
    const unsigned frames = 12000, block = 512;
    classic::Values values = classic::defaultValues();
    auto byTick = std::make_unique<classic::Engine>();
    auto byRun = std::make_unique<classic::Engine>();
    byTick->prepare(8000, values.data());
    byRun->prepare(8000, values.data());
    std::vector<float> left(block), right(block), outLeft(block), outRight(block);
    for (unsigned start = 0; start < frames; start += block) {
        if (start == 4096 || start == 8192) {
            values[2] = start == 4096 ? 10.0f : 2.0f;
            values[3] = start == 4096 ? 1.0f : 7.0f;
            values[10] = start == 4096 ? 60.0f : 100.0f;
            values[12] = start == 4096 ? 0.0f : 1.0f;
            byTick->frame.setTargets(values.data());
            byRun->frame.setTargets(values.data());
        }
        for (unsigned i = 0; i < block; ++i) {
            left[i] = static_cast<float>(0.8 * std::sin(0.05 * (start + i)));
            right[i] = static_cast<float>(0.4 * std::sin(0.37 * (start + i)));
        }
        const float* in[2] = {left.data(), right.data()};
        float* out[2] = {outLeft.data(), outRight.data()};
        byRun->render(in, out, block, 2);
        for (unsigned i = 0; i < block; ++i) {
            const classic::Stereo y = byTick->tick(left[i], right[i], 2);
            ASSERT_EQ(outLeft[i], static_cast<float>(y.first)) << "frame " << start + i;
            ASSERT_EQ(outRight[i], static_cast<float>(y.second)) << "frame " << start + i;
        }
    }
    EXPECT_EQ(byRun->lowShelf().b0, byTick->lowShelf().b0);
    EXPECT_EQ(byRun->highShelf().a2, byTick->highShelf().a2);
}

} // namespace
