// Rendering through AudioUnitRender: latency-exact bypass, silence, mono, meters, refused
// buffer lists and the floating-point mode of the render call.

#include "engine.h"
#include "engine/simd/flush_denormals.h"
#include "model.h"
#include "presets/factory_preset.h"
#include "support/tolvar_unit.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <memory>

namespace {

using unithost::Channels;
using unithost::signal;
using unittest::TolvarUnit;

constexpr unsigned bypassId = 12, shimmerId = 13;

Channels slice(const Channels& input, unsigned begin, unsigned frames) {
    Channels out;
    for (const auto& channel : input) {
        out.emplace_back(channel.begin() + begin, channel.begin() + begin + frames);
    }
    return out;
}

double music(unsigned c, unsigned i) {
    return 0.6 * std::sin(0.013 * i + c) + 0.25 * std::sin(0.31 * i) * (c ? -1 : 1);
}

TEST(UnitRender, BypassIsTheInputDelayedBySixteenFramesExactly) {
    for (const UInt32 channels : {1u, 2u}) {
        TolvarUnit unit(48000, channels, false);
        ASSERT_EQ(unit.setParameter(bypassId, 1), noErr);
        ASSERT_EQ(unit.setParameter(0, 4), noErr); // whatever the wet path does
        ASSERT_EQ(unit.setParameter(shimmerId, 100), noErr);
        ASSERT_EQ(unit.initialize(), noErr);
        const Channels input = signal(channels, 3000, music);
        const Channels output = unit.render(input, 512);
        for (UInt32 c = 0; c < channels; ++c) {
            for (unsigned i = 0; i < 3000; ++i) {
                ASSERT_EQ(output[c][i], i < 16 ? 0.0f : input[c][i - 16]) << c << " " << i;
            }
        }
    }
}

TEST(UnitRender, IsTheEngineFrameByFrameWithTargetsMovingAtEventOffsets) {
    for (const UInt32 channels : {2u, 1u}) {
        TolvarUnit unit(44100, channels, false);
        classic::Values values = classic::factoryPresets()[2].values;
        for (unsigned id = 0; id < classic::parameterCount; ++id) {
            ASSERT_EQ(unit.setParameter(id, values[id]), noErr);
        }
        ASSERT_EQ(unit.initialize(), noErr);
        auto engine = std::make_unique<classic::Engine>();
        engine->prepare(44100, values.data());

        const unsigned block = 300;
        const Channels input = signal(channels, 3 * block, music);
        Channels output(channels, std::vector<float>(3 * block));
        for (unsigned b = 0; b < 3; ++b) {
            // Each block: Gain to 4 at frame 100 and Low EQ to 9 at frame 200 of the block
            // (normalised on the way in), both queued before the render.
            ASSERT_EQ(unit.setParameter(0, b == 1 ? 0.4f : 3.6f, 100), noErr);
            ASSERT_EQ(unit.setParameter(2, b == 2 ? 1.2f : 8.7f, 200), noErr);
            const Channels part = unit.render(slice(input, b * block, block), block);
            for (unsigned i = 0; i < block; ++i) {
                if (i == 0 || i == 100 || i == 200) {
                    if (i == 100)
                        values[0] = b == 1 ? 0.0f : 4.0f;
                    if (i == 200)
                        values[2] = b == 2 ? 1.0f : 9.0f;
                    engine->frame.setTargets(values.data());
                }
                const double l = input[0][b * block + i];
                const double r = channels == 2 ? input[1][b * block + i] : l;
                const classic::Stereo y = engine->tick(l, r, channels);
                ASSERT_EQ(part[0][i], static_cast<float>(y.first)) << b << " " << i;
                if (channels == 2) {
                    ASSERT_EQ(part[1][i], static_cast<float>(y.second)) << b << " " << i;
                }
            }
        }
    }
}

TEST(UnitRender, SilenceGivesExactZero) {
    TolvarUnit unit(44100, 2, false);
    ASSERT_EQ(unit.setParameter(0, 4), noErr);
    ASSERT_EQ(unit.setParameter(2, 10), noErr);
    ASSERT_EQ(unit.initialize(), noErr);
    const Channels output = unit.render(signal(2, 20000, [](auto, auto) { return 0.0; }), 137);
    for (const auto& channel : output) {
        for (float v : channel)
            ASSERT_EQ(v, 0.0f);
    }
    const TelemetryBlock m = unit.meters();
    EXPECT_EQ(m.input[0], -100);
    EXPECT_EQ(m.output[1], -100);
    EXPECT_EQ(m.peak[0], -100);
}

TEST(UnitRender, MonoAndStereoLeftAgree) {
    TolvarUnit mono(48000, 1), stereo(48000, 2);
    const Channels input = signal(2, 4000, [](unsigned, unsigned i) { return music(0, i); });
    const Channels left = mono.render(Channels{input[0]}, 256);
    const Channels both = stereo.render(input, 256);
    EXPECT_EQ(left[0], both[0]);
    EXPECT_EQ(both[0], both[1]);
}

TEST(UnitRender, MetersAfterLoudMaterialAndAfterAZeroFrameRender) {
    TolvarUnit unit(48000, 2);
    // Full-scale square on the left, -20 dBFS on the right, through a bypassed unit.
    ASSERT_EQ(unit.setParameter(bypassId, 1), noErr);
    ASSERT_EQ(AudioUnitReset(unit.unit(), kAudioUnitScope_Global, 0), noErr);
    unit.render(
        signal(2, 48000,
               [](unsigned c, unsigned i) { return (i % 2 ? 1.0 : -1.0) * (c ? 0.1 : 1.0); }),
        512);
    const TelemetryBlock m = unit.meters();
    EXPECT_NEAR(m.input[0], 0, 0.05);
    EXPECT_NEAR(m.input[1], -20, 0.05);
    EXPECT_NEAR(m.output[0], 0, 0.05);
    EXPECT_NEAR(m.peak[0], 0, 1e-4);
    EXPECT_NEAR(m.peak[1], -20, 1e-4);
    EXPECT_EQ(m.gr[0], 0);
    EXPECT_EQ(m.gr[1], 0);
    Channels none;
    ASSERT_EQ(unit.renderOnce(signal(2, 0, [](auto, auto) { return 0.0; }), none), noErr);
    const TelemetryBlock again = unit.meters();
    EXPECT_EQ(again.input[0], m.input[0]);
    EXPECT_EQ(again.peak[1], m.peak[1]);
}

TEST(UnitRender, RefusesListsThatDoNotMatchTheFormat) {
    TolvarUnit unit(48000, 2);
    float left[64], right[64];
    unithost::BufferList list{1, {{1, sizeof left, left}, {1, sizeof right, right}}};
    EXPECT_EQ(unit.renderInto(64, list.list()), kAudioUnitErr_FormatNotSupported); // one for two
    list.mNumberBuffers = 2;
    list.mBuffers[1].mNumberChannels = 2;
    EXPECT_EQ(unit.renderInto(64, list.list()),
              kAudioUnitErr_InvalidPropertyValue); // interleaved pair
    list.mBuffers[1].mNumberChannels = 1;
    EXPECT_EQ(unit.renderInto(64, list.list()), noErr);

    unit.inputFault = TolvarUnit::InputFault::nullData;
    EXPECT_EQ(unit.renderInto(64, list.list()), kAudioUnitErr_InvalidPropertyValue);
    unit.inputFault = TolvarUnit::InputFault::twoChannelBuffer;
    EXPECT_EQ(unit.renderInto(64, list.list()), kAudioUnitErr_InvalidPropertyValue);
    unit.inputFault = TolvarUnit::InputFault::none;
    EXPECT_EQ(unit.renderInto(64, list.list()), noErr);
}

TEST(UnitRender, RunsFlushingDenormalsAndGivesTheCallersModeBack) {
    TolvarUnit unit(48000, 1, false);
    ASSERT_EQ(unit.setParameter(bypassId, 1), noErr); // output: the input 16 frames later
    ASSERT_EQ(unit.initialize(), noErr);
    namespace simd = classic::simd;
    // The caller's mode: round toward zero, no flushing.
    const int savedRounding = std::fegetround();
    const simd::ControlWord saved = simd::controlWord();
    std::fesetround(FE_TOWARDZERO);
    simd::setControlWord(simd::controlWord() & ~simd::flushBits);
    const simd::ControlWord callers = simd::controlWord();
    const float tiny = 1e-40f; // a subnormal float: read as zero while rendering
    const Channels output =
        unit.render(signal(1, 64, [&](auto, unsigned i) { return i == 3 ? tiny : 0.5; }), 64);
    const simd::ControlWord after = simd::controlWord();
    simd::setControlWord(saved);
    std::fesetround(savedRounding);
    EXPECT_EQ(after & simd::modeBits, callers & simd::modeBits); // not sticky exception flags
    EXPECT_EQ(output[0][18], 0.5f);
    if (simd::flushBits != 0) {
        EXPECT_EQ(output[0][19], 0.0f); // frame 3's subnormal came through as zero
    }
    EXPECT_EQ(output[0][20], 0.5f);
}

} // namespace
