// The streaming render's stops: a render cut into pieces (where a host applies automation)
// must still hand every frame to the renderer once, in order, never across a stop, and write
// exactly what was rendered; a renderer that fails stops the reader and the writer too.

#include "audio_fixtures.h"
#include "host_error.h"
#include "streaming_render.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kelvohost {
namespace {

std::vector<std::vector<float>> ramp(std::size_t frames) {
    std::vector<std::vector<float>> channels(2, std::vector<float>(frames));
    for (std::size_t i = 0; i < frames; ++i) {
        channels[0][i] = static_cast<float>(i % 1000) / 1000.0f;
        channels[1][i] = -channels[0][i];
    }
    return channels;
}

struct Call {
    std::size_t position;
    std::size_t frames;
};

using StreamingRenderTest = TemporaryFolder;

TEST_F(StreamingRenderTest, StopsCutBlocksAndEveryFrameArrivesOnce) {
    constexpr std::size_t length = 20000;
    SampleSource source(48000.0, ramp(length));
    AudioFileWriter writer(resolveOutputTarget(path("out.wav")), outputFormatFor("out.wav", {}),
                           48000.0, 2, length);
    std::atomic<std::size_t> framesDone{0};
    std::vector<Call> calls;
    // Halves the input, so the output shows that it went through the renderer.
    const StreamingRender::Renderer halve = [&](const float* const* in, float* const* out,
                                                std::size_t frames, std::size_t position) {
        calls.push_back({position, frames});
        for (int c = 0; c < 2; ++c) {
            for (std::size_t i = 0; i < frames; ++i) {
                out[c][i] = in[c][i] / 2;
            }
        }
    };
    StreamingRender stream(source, writer, 512, framesDone);
    const std::size_t stops[] = {1000, 1000, 8197, 19999};
    for (const std::size_t stop : stops) {
        EXPECT_TRUE(stream.renderUntil(stop, halve, {})) << stop;
        EXPECT_EQ(stream.position(), stop);
    }
    EXPECT_FALSE(stream.renderUntil(StreamingRender::everything, halve, {}));
    EXPECT_FALSE(stream.renderUntil(StreamingRender::everything, halve, {})); // ended: nothing
    stream.finish();
    writer.commit();
    EXPECT_EQ(framesDone.load(), length);

    std::size_t expected = 0;
    for (const Call& call : calls) {
        EXPECT_EQ(call.position, expected);
        EXPECT_LE(call.frames, 512u);
        EXPECT_GT(call.frames, 0u);
        for (const std::size_t stop : stops) {
            EXPECT_FALSE(call.position < stop && call.position + call.frames > stop)
                << "a block across the stop at " << stop;
        }
        expected += call.frames;
    }
    EXPECT_EQ(expected, length);
    EXPECT_EQ(calls[0].frames, 512u); // whole blocks until the first stop
    EXPECT_EQ(calls[1].frames, 1000u - 512u);

    std::vector<std::vector<float>> halved = ramp(length);
    for (auto& channel : halved) {
        for (float& sample : channel) {
            sample /= 2;
        }
    }
    EXPECT_EQ(readStereoFile(path("out.wav")), halved);
}

TEST_F(StreamingRenderTest, AFailingRendererStopsTheReaderAndTheWriter) {
    SampleSource source(48000.0, ramp(100000));
    AudioFileWriter writer(resolveOutputTarget(path("out.wav")), outputFormatFor("out.wav", {}),
                           48000.0, 2, 100000);
    std::atomic<std::size_t> framesDone{0};
    StreamingRender stream(source, writer, 512, framesDone);
    const StreamingRender::Renderer failing = [](const float* const*, float* const*, std::size_t,
                                                 std::size_t position) {
        if (position >= 30000) {
            throw std::runtime_error("the plug-in failed");
        }
    };
    EXPECT_TRUE(stream.renderUntil(20000, failing, {}));
    EXPECT_THROW(stream.renderUntil(StreamingRender::everything, failing, {}), std::runtime_error);
    EXPECT_THROW(stream.finish(), std::runtime_error);
}

} // namespace
} // namespace kelvohost
