// Cross-thread use: posting work to a loop from other threads, stopping and waking a waiting
// loop, reference counts and constant strings under contention. Run under ThreadSanitizer.

#include "cf_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace cftest;

namespace {

// Keeps the default mode from being empty, so a run waits instead of finishing at once.
class FarTimer {
public:
    FarTimer() {
        timer_ = CFRunLoopTimerCreate(
            nullptr, CFAbsoluteTimeGetCurrent() + 1.0e6, 0, 0, 0, [](CFRunLoopTimerRef, void*) {},
            nullptr);
        CFRunLoopAddTimer(CFRunLoopGetMain(), timer_, kCFRunLoopDefaultMode);
    }
    ~FarTimer() {
        CFRunLoopTimerInvalidate(timer_);
        CFRelease(timer_);
    }

private:
    CFRunLoopTimerRef timer_;
};

} // namespace

TEST(Concurrency, WorkPostedFromOtherThreadsRunsOnTheNextPass) {
    CFRunLoopUseManualClockForTesting(true);
    constexpr int kThreads = 4;
    constexpr int kEach = 250;
    std::vector<std::vector<int>> seen(kThreads); // touched only on the main thread
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &seen] {
            for (int i = 0; i < kEach; ++i) {
                CFRunLoopPerformBlock(CFRunLoopGetMain(), kCFRunLoopCommonModes,
                                      [t, i, &seen] { seen[t].push_back(i); });
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true), kCFRunLoopRunHandledSource);
    for (int t = 0; t < kThreads; ++t) {
        ASSERT_EQ(seen[t].size(), static_cast<size_t>(kEach));
        for (int i = 0; i < kEach; ++i) {
            EXPECT_EQ(seen[t][i], i); // each thread's work in its posting order
        }
    }
    CFRunLoopUseManualClockForTesting(false);
}

TEST(Concurrency, PostingWakesAWaitingLoop) {
    FarTimer keepAlive;
    std::atomic<bool> ran{false};
    std::thread poster([&] {
        // Post once the main loop is waiting (or at once; either way the work must run).
        for (int i = 0; i < 1000 && !CFRunLoopIsWaiting(CFRunLoopGetMain()); ++i) {
            std::this_thread::yield();
        }
        CFRunLoopPerformFunction(
            CFRunLoopGetMain(), kCFRunLoopDefaultMode,
            [](void* info) { static_cast<std::atomic<bool>*>(info)->store(true); }, &ran);
    });
    // Returns as soon as the posted work has run; the 600 s bound is never reached.
    EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 600.0, true), kCFRunLoopRunHandledSource);
    poster.join();
    EXPECT_TRUE(ran.load());
}

TEST(Concurrency, StopFromAnotherThreadEndsARun) {
    FarTimer keepAlive;
    std::thread stopper([] {
        for (int i = 0; i < 1000 && !CFRunLoopIsWaiting(CFRunLoopGetMain()); ++i) {
            std::this_thread::yield();
        }
        CFRunLoopStop(CFRunLoopGetMain());
    });
    EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 600.0, false), kCFRunLoopRunStopped);
    stopper.join();
}

TEST(Concurrency, OtherThreadsHaveTheirOwnLoops) {
    std::atomic<CFRunLoopRef> workerLoop{nullptr};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        CFRunLoopRef mine = CFRunLoopGetCurrent();
        EXPECT_NE(mine, CFRunLoopGetMain());
        EXPECT_EQ(CFRunLoopGetCurrent(), mine);
        CFRetain(mine);
        workerLoop = mine;
        // Run the worker's loop until the main thread's posted work stops it.
        CFRunLoopTimerRef far = CFRunLoopTimerCreate(
            nullptr, CFAbsoluteTimeGetCurrent() + 1e6, 0, 0, 0, [](CFRunLoopTimerRef, void*) {},
            nullptr);
        CFRunLoopAddTimer(mine, far, kCFRunLoopDefaultMode);
        while (!done.load()) {
            CFRunLoopRunInMode(kCFRunLoopDefaultMode, 600.0, true);
        }
        CFRunLoopTimerInvalidate(far);
        CFRelease(far);
    });
    while (workerLoop.load() == nullptr) {
        std::this_thread::yield();
    }
    CFRunLoopPerformBlock(workerLoop.load(), kCFRunLoopDefaultMode, [&] {
        EXPECT_NE(CFRunLoopGetCurrent(), CFRunLoopGetMain());
        done = true;
    });
    worker.join();
    CFRelease(workerLoop.load());
}

TEST(Concurrency, ReferenceCountsAndConstantsHoldUnderContention) {
    CFStringRef shared = CFStringCreateWithCString(nullptr, "shared", kCFStringEncodingUTF8);
    std::vector<std::thread> threads;
    std::vector<CFStringRef> constants(8);
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t, shared, &constants] {
            for (int i = 0; i < 10000; ++i) {
                CFRetain(shared);
                CFRelease(shared);
            }
            constants[t] = CFSTR("interned under contention");
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(CFGetRetainCount(shared), 1);
    for (CFStringRef c : constants) {
        EXPECT_EQ(c, constants[0]);
    }
    CFRelease(shared);
}
