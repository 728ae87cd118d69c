// Notifications from several threads while the run loop delivers.

#include "fake_plugin.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

std::atomic<int> delivered{0};

void count(void*, void*, const AudioUnitEvent*, UInt64, AudioUnitParameterValue) {
    ++delivered;
}

TEST(ListenerConcurrency, GesturesFromManyThreadsAllArrive) {
    AudioUnit unit = nullptr;
    ASSERT_EQ(AudioComponentInstanceNew(fake::component(), &unit), noErr);
    AUEventListenerRef listener = nullptr;
    ASSERT_EQ(AUEventListenerCreate(&count, nullptr, nullptr, nullptr, 0, 0, &listener), noErr);
    AudioUnitEvent begin{};
    begin.mEventType = kAudioUnitEvent_BeginParameterChangeGesture;
    begin.mArgument.mParameter = {unit, 0, kAudioUnitScope_Global, 0};
    ASSERT_EQ(AUEventListenerAddEventType(listener, nullptr, &begin), noErr);

    constexpr int kThreads = 4;
    constexpr int kEach = 500;
    std::atomic<int> finished{0};
    std::vector<std::thread> senders;
    for (int t = 0; t < kThreads; ++t) {
        senders.emplace_back([&] {
            for (int i = 0; i < kEach; ++i) {
                AUEventListenerNotify(nullptr, nullptr, &begin);
            }
            ++finished;
        });
    }
    // This thread plays the main thread: it delivers while the others notify.
    while (finished.load() < kThreads) {
        CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
    }
    for (auto& sender : senders) {
        sender.join();
    }
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
    EXPECT_EQ(delivered.load(), kThreads * kEach);
    AUListenerDispose(listener);
    AudioComponentInstanceDispose(unit);
}

} // namespace
