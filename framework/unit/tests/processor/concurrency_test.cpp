// Parameter producers on several threads while a render thread runs the unit.

#include "support/tolvar_unit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace {

using unithost::Channels;
using unithost::signal;
using unittest::TolvarUnit;

TEST(UnitConcurrency, ProducersAndAMeterReaderAgainstTheRenderThread) {
    TolvarUnit unit(48000, 2);
    std::atomic<bool> running{true};
    std::atomic<unsigned> renders{0};
    std::thread render([&] {
        const Channels input =
            signal(2, 256, [](unsigned c, unsigned i) { return 0.3 * std::sin(0.01 * i + c); });
        Channels output(2, std::vector<float>(256));
        while (running.load(std::memory_order_acquire)) {
            unithost::BufferList list{2,
                                      {{1, 256 * sizeof(float), output[0].data()},
                                       {1, 256 * sizeof(float), output[1].data()}}};
            if (unit.renderInto(256, list.list()) != noErr) {
                ADD_FAILURE() << "render failed";
                return;
            }
            for (float v : output[0]) {
                if (!std::isfinite(v)) {
                    ADD_FAILURE() << "non-finite output";
                    return;
                }
            }
            renders.fetch_add(1, std::memory_order_relaxed);
        }
    });

    std::vector<std::thread> producers;
    for (unsigned p = 0; p < 3; ++p) {
        producers.emplace_back([&, p] {
            for (unsigned i = 0; i < 3000; ++i) {
                const float value = static_cast<float>(i % 100);
                if (p == 0) {
                    unit.setParameter(10, value, 1 + i % 300);
                } else if (p == 1) {
                    AudioUnitParameterEvent e{};
                    e.parameter = 13;
                    e.eventType = kParameterEvent_Ramped;
                    e.eventValues.ramp.startBufferOffset = static_cast<SInt32>(i % 64) - 32;
                    e.eventValues.ramp.durationInFrames = 64;
                    e.eventValues.ramp.endValue = value;
                    AudioUnitScheduleParameters(unit.unit(), &e, 1);
                } else {
                    unit.setParameter(1, value / 10, 0);
                    unit.meters();
                }
            }
        });
    }
    for (auto& t : producers)
        t.join();
    while (renders.load() < 20)
        std::this_thread::yield();
    running.store(false, std::memory_order_release);
    render.join();
    const TelemetryBlock m = unit.meters();
    EXPECT_TRUE(std::isfinite(m.output[0]));
    EXPECT_LE(unit.parameter(10), 100);
}

} // namespace
