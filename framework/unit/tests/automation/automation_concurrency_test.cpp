// Several producer threads against one consumer: every event is applied at most once, each
// producer's events in the order it queued them, and, when no push was refused, all of them.

#include "automation/automation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr unsigned producers = 4;
constexpr unsigned perProducer = 20000;

float identity(unsigned, float v) {
    return v;
}

TEST(AutomationConcurrency, ProducersAgainstTheRenderThread) {
    auto automation = std::make_unique<kelvostrip::Automation<producers>>();
    std::atomic<bool> producing{true};
    std::atomic<unsigned> refused{0};
    std::atomic<unsigned> queued{0};

    std::vector<std::thread> threads;
    for (unsigned p = 0; p < producers; ++p) {
        threads.emplace_back([&, p] {
            for (unsigned seq = 1; seq <= perProducer; ++seq) {
                OSStatus status;
                if (p % 2 == 0) {
                    status = automation->push(kelvostrip::eventImmediate, 0, p, 0,
                                              static_cast<float>(seq), 0);
                } else {
                    AudioUnitParameterEvent event{};
                    event.parameter = p;
                    event.eventType = kParameterEvent_Immediate;
                    event.eventValues.immediate.value = static_cast<float>(seq);
                    status = automation->schedule(&event, 1, &identity);
                }
                if (status == noErr) {
                    queued.fetch_add(1, std::memory_order_relaxed);
                } else {
                    refused.fetch_add(1, std::memory_order_relaxed);
                }
                if (seq % 64 == 0) {
                    std::this_thread::yield(); // give the consumer a chance to keep up
                }
            }
        });
    }
    std::thread stopper([&] {
        for (auto& t : threads)
            t.join();
        producing.store(false, std::memory_order_release);
    });

    float values[producers] = {};
    float last[producers] = {};
    unsigned applied = 0;
    bool ordered = true;
    auto render = [&] {
        automation->render(
            64, values, &identity,
            [&](unsigned id) {
                ordered = ordered && values[id] > last[id];
                last[id] = values[id];
                ++applied;
            },
            [](unsigned, unsigned) {});
    };
    while (producing.load(std::memory_order_acquire)) {
        render();
    }
    stopper.join();
    render(); // whatever the last producers published
    render();

    EXPECT_TRUE(ordered);
    EXPECT_LE(applied, queued.load());
    EXPECT_EQ(queued.load() + refused.load(), producers * perProducer);
    if (refused.load() == 0) {
        EXPECT_EQ(applied, producers * perProducer);
    }
}

} // namespace
