// Timers on the main run loop under Core Foundation's manual clock, and notifications.

#include <AppKit/NSApplication.h>
#include <Foundation/Foundation.h>

#include "testing/allocation_counter.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace {

class RunLoop : public ::testing::Test {
protected:
    void SetUp() override { CFRunLoopUseManualClockForTesting(true); }
    void TearDown() override { CFRunLoopUseManualClockForTesting(false); }
    // Runs the main loop for seconds of manual time in a mode.
    void run(CFTimeInterval seconds, CFRunLoopMode mode = kCFRunLoopDefaultMode) {
        CFRunLoopRunInMode(mode, seconds, false);
    }
};

TEST_F(RunLoop, ThirtyHertzTimerFiresThirtyTimesASecond) {
    int ticks = 0;
    auto timer =
        NSTimer::timerWithTimeInterval(0.03333333333333333, true, [&](NSTimer*) { ++ticks; });
    NSRunLoop::mainRunLoop()->addTimer(timer, NSRunLoopCommonModes);
    run(1.0 + 1e-9);
    EXPECT_EQ(ticks, 30);
    timer->invalidate();
    run(1.0);
    EXPECT_EQ(ticks, 30);
}

TEST_F(RunLoop, CommonModeTimersFireWhileAMenuTracks) {
    int common = 0, plain = 0;
    auto a = NSTimer::timerWithTimeInterval(0.1, true, [&](NSTimer*) { ++common; });
    auto b = NSTimer::timerWithTimeInterval(0.1, true, [&](NSTimer*) { ++plain; });
    NSRunLoop::mainRunLoop()->addTimer(a, NSRunLoopCommonModes);
    NSRunLoop::mainRunLoop()->addTimer(b, NSDefaultRunLoopMode);
    run(0.55, CFSTR("NSEventTrackingRunLoopMode"));
    EXPECT_EQ(common, 5);
    EXPECT_EQ(plain, 0);
    a->invalidate();
    b->invalidate();
}

TEST_F(RunLoop, TheRunLoopKeepsAScheduledTimerUntilInvalidated) {
    int ticks = 0;
    std::weak_ptr<NSTimer> weak;
    {
        auto timer = NSTimer::timerWithTimeInterval(0.1, true, [&](NSTimer* t) {
            if (++ticks == 3) {
                t->invalidate(); // from inside its own block
            }
        });
        weak = timer;
        NSRunLoop::mainRunLoop()->addTimer(timer, NSRunLoopCommonModes);
    }
    EXPECT_FALSE(weak.expired());
    run(1.0);
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(weak.expired());
}

TEST_F(RunLoop, OneShotTimerFiresOnce) {
    int ticks = 0;
    auto timer = NSTimer::scheduledTimerWithTimeInterval(0.2, false, [&](NSTimer*) { ++ticks; });
    run(0.1);
    EXPECT_EQ(ticks, 0);
    run(1.0);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(timer->isValid());
}

class Owner : public NSObject {
public:
    void refresh() { ++refreshes; }
    int refreshes = 0;
};

TEST_F(RunLoop, ABlockHoldingItsOwnerWeaklyDoesNothingOnceTheOwnerIsGone) {
    auto owner = std::make_shared<Owner>();
    std::weak_ptr<Owner> weak = owner;
    auto timer = NSTimer::timerWithTimeInterval(0.1, true, [weak](NSTimer*) {
        if (auto o = weak.lock()) {
            o->refresh();
        }
    });
    NSRunLoop::mainRunLoop()->addTimer(timer, NSRunLoopCommonModes);
    run(0.35);
    EXPECT_EQ(owner->refreshes, 3);
    owner.reset();
    run(0.5); // ticks find nothing to refresh
    timer->invalidate();
}

TEST_F(RunLoop, FiringATimerAllocatesNothing) {
    int ticks = 0;
    auto timer = NSTimer::timerWithTimeInterval(0.1, true, [&ticks](NSTimer*) { ++ticks; });
    NSRunLoop::mainRunLoop()->addTimer(timer, NSRunLoopCommonModes);
    kelvo::testing::AllocationScope scope;
    for (int i = 0; i < 10; ++i) {
        timer->fire();
    }
    const std::size_t allocations = scope.count();
    timer->invalidate();
    EXPECT_EQ(ticks, 10);
    EXPECT_EQ(allocations, 0u);
}

TEST(Notifications, ResignActiveReachesObserversUntilRemoved) {
    NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
    int calls = 0;
    NSObject* seen = nullptr;
    auto token = center->addObserverForName(NSApplicationDidResignActiveNotification, nullptr,
                                            nullptr, [&](NSNotification* n) {
                                                ++calls;
                                                seen = n->object();
                                            });
    auto other = center->addObserverForName("Other", nullptr, nullptr,
                                            [&](NSNotification*) { calls += 100; });
    NSApplication::sharedApplication()->resignActive();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seen, NSApplication::sharedApplication());
    center->removeObserver(token);
    center->postNotificationName(NSApplicationDidResignActiveNotification, nullptr);
    EXPECT_EQ(calls, 1);
    center->removeObserver(other);
}

TEST(Notifications, AnObserverRemovedDuringAPostIsNotCalled) {
    NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
    std::shared_ptr<NSObject> second;
    int secondCalls = 0;
    auto first = center->addObserverForName(
        "N", nullptr, nullptr, [&](NSNotification*) { center->removeObserver(second); });
    second =
        center->addObserverForName("N", nullptr, nullptr, [&](NSNotification*) { ++secondCalls; });
    center->postNotificationName("N", nullptr);
    EXPECT_EQ(secondCalls, 0);
    center->removeObserver(first);
}

TEST(Notifications, AnObjectFilterMatchesOnlyThatSender) {
    NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
    NSObject a, b;
    int calls = 0;
    auto token = center->addObserverForName("N", &a, nullptr, [&](NSNotification*) { ++calls; });
    center->postNotificationName("N", &b);
    center->postNotificationName("N", &a);
    EXPECT_EQ(calls, 1);
    center->removeObserver(token);
}

} // namespace
