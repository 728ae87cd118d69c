// The backend's render path: what reaches the host's outputs in every case, how the host's
// input reaches the unit, and what the unit's host callbacks answer.

#include "backend/probe_backend.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using backendtest::probeBackend;
using backendtest::report;
using kelvoaax::Clock;

constexpr float marker = 7.0f; // what a host's output holds before the call
constexpr uint32_t frames = 64;

struct Buffers {
    explicit Buffers(unsigned channels = 2, uint32_t length = frames)
        : input(channels, std::vector<float>(length)),
          output(channels, std::vector<float>(length, marker)) {
        for (unsigned c = 0; c < channels; ++c) {
            for (uint32_t i = 0; i < length; ++i) {
                input[c][i] = 0.01f * static_cast<float>(i + 1) * (c == 0 ? 1.0f : -1.0f);
            }
            inputs.push_back(input[c].data());
            outputs.push_back(output[c].data());
        }
    }
    bool outputIs(unsigned c, float value) const {
        for (const float sample : output[c]) {
            if (sample != value) {
                return false;
            }
        }
        return true;
    }

    std::vector<std::vector<float>> input;
    std::vector<std::vector<float>> output;
    std::vector<const float*> inputs;
    std::vector<float*> outputs;
};

class BackendRender : public ::testing::Test {
protected:
    void prepare(const probe::Configuration& setup = {}) {
        backend = probeBackend(setup);
        backend->prepare(48000.0, 2, 2, 512);
    }
    std::unique_ptr<kelvoaax::AUBackend> backend;
};

TEST_F(BackendRender, RendersTheHostsInputIntoItsOutputs) {
    prepare();
    Buffers buffers;
    Clock clock;
    clock.position = 4800.0;
    EXPECT_EQ(backend->render(buffers.inputs.data(), buffers.outputs.data(), frames, clock), noErr);
    EXPECT_EQ(buffers.output, buffers.input);
    EXPECT_EQ(report().sampleTime, 4800.0) << "the clock's position is the time stamp";
}

TEST_F(BackendRender, ZeroFramesTouchNothing) {
    prepare();
    Buffers buffers;
    const uint64_t renders = report().renders;
    EXPECT_EQ(backend->render(buffers.inputs.data(), buffers.outputs.data(), 0, {}), noErr);
    EXPECT_EQ(report().renders, renders);
    EXPECT_TRUE(buffers.outputIs(0, marker) && buffers.outputIs(1, marker));
}

TEST_F(BackendRender, MissingInputsAreSilence) {
    prepare();
    Buffers buffers;
    EXPECT_EQ(backend->render(nullptr, buffers.outputs.data(), frames, {}), noErr);
    EXPECT_TRUE(buffers.outputIs(0, 0.0f) && buffers.outputIs(1, 0.0f));

    Buffers half;
    half.inputs[1] = nullptr;
    EXPECT_EQ(backend->render(half.inputs.data(), half.outputs.data(), frames, {}), noErr);
    EXPECT_EQ(half.output[0], half.input[0]);
    EXPECT_TRUE(half.outputIs(1, 0.0f));
}

// A block that is not rendered leaves silence, never what the host had in its buffers.
TEST_F(BackendRender, RefusedBlocksAreSilenced) {
    backend = probeBackend();
    {
        Buffers buffers;
        EXPECT_EQ(backend->render(buffers.inputs.data(), buffers.outputs.data(), frames, {}),
                  kAudioUnitErr_Uninitialized);
        EXPECT_TRUE(buffers.outputIs(0, 0.0f)) << "unprepared: the first channel at least";
    }
    backend->prepare(48000.0, 2, 2, 512);
    {
        Buffers buffers(2, 513);
        EXPECT_EQ(backend->render(buffers.inputs.data(), buffers.outputs.data(), 513, {}),
                  kAudioUnitErr_TooManyFramesToProcess);
        EXPECT_TRUE(buffers.outputIs(0, 0.0f) && buffers.outputIs(1, 0.0f));
    }
    {
        Buffers buffers;
        Clock clock;
        clock.position = std::numeric_limits<double>::quiet_NaN();
        EXPECT_EQ(backend->render(buffers.inputs.data(), buffers.outputs.data(), frames, clock),
                  kAudio_ParamError);
        EXPECT_TRUE(buffers.outputIs(0, 0.0f) && buffers.outputIs(1, 0.0f));
    }
    {
        Buffers buffers;
        buffers.outputs[1] = nullptr;
        EXPECT_EQ(backend->render(buffers.inputs.data(), buffers.outputs.data(), frames, {}),
                  kAudio_ParamError);
        EXPECT_TRUE(buffers.outputIs(0, 0.0f));
        EXPECT_TRUE(buffers.outputIs(1, marker)) << "a channel the host did not give";
    }
    Buffers buffers;
    EXPECT_EQ(backend->render(buffers.inputs.data(), nullptr, frames, {}), kAudio_ParamError);
}

TEST_F(BackendRender, AUnitsOwnBuffersAreCopiedAndAShortOneSilencesTheBlock) {
    probe::Configuration own;
    own.ownOutputBuffers = true;
    prepare(own);
    Buffers copied;
    EXPECT_EQ(backend->render(copied.inputs.data(), copied.outputs.data(), frames, {}), noErr);
    EXPECT_EQ(copied.output, copied.input);

    probe::Configuration shortBuffer;
    shortBuffer.shortOutputBuffer = true;
    prepare(shortBuffer);
    Buffers silenced;
    EXPECT_EQ(backend->render(silenced.inputs.data(), silenced.outputs.data(), frames, {}),
              kAudio_ParamError);
    EXPECT_TRUE(silenced.outputIs(0, 0.0f) && silenced.outputIs(1, 0.0f));
}

TEST_F(BackendRender, AFailedUnitRenderKeepsItsStatusAndSilencesTheBlock) {
    probe::Configuration failing;
    failing.renderStatus = -1234;
    prepare(failing);
    Buffers buffers;
    EXPECT_EQ(backend->render(buffers.inputs.data(), buffers.outputs.data(), frames, {}), -1234);
    EXPECT_TRUE(buffers.outputIs(0, 0.0f) && buffers.outputIs(1, 0.0f));
}

// A unit that gives the pull buffers without data gets copies of its own to write into: the
// host's read-only input and the shared silence stay as they were.
TEST_F(BackendRender, AUnitBufferWithoutDataGetsAScratchCopy) {
    probe::Configuration pulling;
    pulling.pullNullBuffers = true;
    prepare(pulling);
    Buffers buffers;
    buffers.inputs[1] = nullptr; // silence for the second channel
    const std::vector<std::vector<float>> input = buffers.input;
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(backend->render(buffers.inputs.data(), buffers.outputs.data(), frames, {}),
                  noErr);
        EXPECT_EQ(buffers.input, input) << "the host's input is not written";
        EXPECT_NE(report().pulled[0], buffers.input[0].data());
        EXPECT_NE(report().pulled[0], report().pulled[1]);
        for (uint32_t i = 0; i < frames; ++i) {
            EXPECT_EQ(buffers.output[0][i], input[0][i] + 1.0f);
            EXPECT_EQ(buffers.output[1][i], 1.0f) << "silence stays silence, pass " << pass;
        }
    }
}

struct TempoCase {
    bool hasTempo;
    double tempo;
    double beat;
    OSStatus status;
};

TEST_F(BackendRender, TheTempoCallbackAnswersOnlyForAFiniteTempoAboveZero) {
    prepare();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const TempoCase cases[] = {
        {true, 120.0, 2.0, noErr},
        {false, 120.0, 2.0, kAudioUnitErr_CannotDoInCurrentContext},
        {true, 0.0, 2.0, kAudioUnitErr_CannotDoInCurrentContext},
        {true, -60.0, 2.0, kAudioUnitErr_CannotDoInCurrentContext},
        {true, INFINITY, 2.0, kAudioUnitErr_CannotDoInCurrentContext},
        {true, nan, 2.0, kAudioUnitErr_CannotDoInCurrentContext},
        {true, 120.0, nan, kAudioUnitErr_CannotDoInCurrentContext},
    };
    for (const TempoCase& c : cases) {
        Buffers buffers;
        Clock clock;
        clock.hasTempo = c.hasTempo;
        clock.tempo = c.tempo;
        clock.beat = c.beat;
        ASSERT_EQ(backend->render(buffers.inputs.data(), buffers.outputs.data(), frames, clock),
                  noErr);
        EXPECT_EQ(report().tempoStatus, c.status) << c.tempo << " bpm, beat " << c.beat;
        if (c.status == noErr) {
            EXPECT_EQ(report().tempo, c.tempo);
            EXPECT_EQ(report().beat, c.beat);
        }
    }
}

TEST_F(BackendRender, TheTransportCallbackAnswersWhenTheHostToldItsState) {
    prepare();
    Buffers buffers;
    Clock clock;
    backend->render(buffers.inputs.data(), buffers.outputs.data(), frames, clock);
    EXPECT_EQ(report().transportStatus, kAudioUnitErr_CannotDoInCurrentContext);

    clock.hasTransport = true;
    clock.playing = true;
    clock.changed = true;
    clock.position = 96000.0;
    clock.cycling = true;
    clock.cycleStart = 4.0;
    clock.cycleEnd = 12.0;
    backend->render(buffers.inputs.data(), buffers.outputs.data(), frames, clock);
    EXPECT_EQ(report().transportStatus, noErr);
    EXPECT_TRUE(report().playing);
    EXPECT_TRUE(report().changed);
    EXPECT_EQ(report().position, 96000.0);
    EXPECT_TRUE(report().cycling);
    EXPECT_EQ(report().cycleStart, 4.0);
    EXPECT_EQ(report().cycleEnd, 12.0);
}

} // namespace
