// Parameters are set and read from several threads while a render thread renders.

#include "probe_unit.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace testsupport;

namespace {

TEST(Concurrency, ParametersAreSafeFromAnyThreadWhileRendering) {
    Instance instance(probeComponent());
    ASSERT_EQ(instance.status, noErr);
    ASSERT_EQ(instance.setFormats(48000, 2), noErr);
    Source source{{std::vector<Float32>(256, 0.5f), std::vector<Float32>(256, 0.5f)}};
    ASSERT_EQ(connect(instance.unit, source), noErr);
    ASSERT_EQ(AudioUnitInitialize(instance.unit), noErr);

    std::atomic<bool> stop{false};
    std::atomic<int> renderFailures{0};
    std::thread render([&] {
        Output output;
        AudioUnitRenderActionFlags flags = 0;
        AudioTimeStamp time = sampleTime(0);
        while (!stop.load()) {
            output.mNumberBuffers = 2;
            output.mBuffers[0] = {1, 0, nullptr};
            output.mBuffers[1] = {1, 0, nullptr};
            if (AudioUnitRender(instance.unit, &flags, &time, 0, 256, output.list()) != noErr) {
                ++renderFailures;
            }
            AudioUnitParameterValue value = 0;
            AudioUnitGetParameter(instance.unit, ProbeUnit::kLevel, kAudioUnitScope_Global, 0,
                                  &value);
            time.mSampleTime += 256;
        }
    });
    std::atomic<int> badReads{0};
    std::vector<std::thread> writers;
    for (int w = 0; w < 3; ++w) {
        writers.emplace_back([&, w] {
            for (int i = 0; i < 20000; ++i) {
                const auto value = static_cast<AudioUnitParameterValue>(w);
                AudioUnitSetParameter(instance.unit, ProbeUnit::kLevel, kAudioUnitScope_Global, 0,
                                      value, 0);
                AudioUnitParameterValue read = -1;
                AudioUnitGetParameter(instance.unit, ProbeUnit::kLevel, kAudioUnitScope_Global, 0,
                                      &read);
                if (read != 0.0f && read != 1.0f && read != 2.0f) {
                    ++badReads; // a torn or foreign value
                }
            }
        });
    }
    for (auto& writer : writers) {
        writer.join();
    }
    stop = true;
    render.join();
    EXPECT_EQ(renderFailures.load(), 0);
    EXPECT_EQ(badReads.load(), 0);
}

} // namespace
