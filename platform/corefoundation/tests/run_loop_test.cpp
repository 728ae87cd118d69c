// The main run loop on the manual clock: timers, modes, posted work and run results, all
// pumped by hand without sleeping.

#include "cf_test_support.h"
#include "testing/allocation_counter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cftest;

namespace {

struct Log {
    std::vector<std::string> events;
    std::vector<CFAbsoluteTime> times;
};

struct TimerSpec {
    Log* log;
    std::string name;
};

void record(CFRunLoopTimerRef, void* info) {
    auto* spec = static_cast<TimerSpec*>(info);
    spec->log->events.push_back(spec->name);
    spec->log->times.push_back(CFAbsoluteTimeGetCurrent());
}

class RunLoop : public ::testing::Test {
protected:
    void SetUp() override {
        CFRunLoopUseManualClockForTesting(true);
        start = CFAbsoluteTimeGetCurrent();
    }
    void TearDown() override {
        for (CFRunLoopTimerRef t : timers) {
            CFRunLoopTimerInvalidate(t);
            CFRelease(t);
        }
        // Drain anything a failed test left posted.
        CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
        CFRunLoopUseManualClockForTesting(false);
    }

    CFRunLoopTimerRef addTimer(const std::string& name, CFTimeInterval after,
                               CFTimeInterval interval, CFRunLoopMode mode = kCFRunLoopDefaultMode,
                               CFIndex order = 0) {
        specs.push_back(std::make_unique<TimerSpec>(TimerSpec{&log, name}));
        CFRunLoopTimerContext context{0, specs.back().get(), nullptr, nullptr, nullptr};
        CFRunLoopTimerRef t =
            CFRunLoopTimerCreate(nullptr, start + after, interval, 0, order, &record, &context);
        CFRunLoopAddTimer(CFRunLoopGetMain(), t, mode);
        timers.push_back(t);
        return t;
    }

    CFAbsoluteTime start = 0;
    Log log;
    std::vector<std::unique_ptr<TimerSpec>> specs;
    std::vector<CFRunLoopTimerRef> timers;
};

} // namespace

TEST_F(RunLoop, ManualClockStandsStillUntilAdvanced) {
    const CFAbsoluteTime t0 = CFAbsoluteTimeGetCurrent();
    EXPECT_EQ(CFAbsoluteTimeGetCurrent(), t0);
    CFRunLoopAdvanceManualClockForTesting(0.25);
    EXPECT_DOUBLE_EQ(CFAbsoluteTimeGetCurrent(), t0 + 0.25);
    EXPECT_TRUE(CFRunLoopIsUsingManualClockForTesting());
    // Seconds since 2001: a plausible present.
    EXPECT_GT(t0, 700'000'000.0);
}

TEST_F(RunLoop, ThirtyHertzTimerFiresThirtyTimesInOneSecond) {
    addTimer("poll", 0.03333333333333333, 0.03333333333333333, kCFRunLoopCommonModes);
    EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0, false), kCFRunLoopRunTimedOut);
    ASSERT_EQ(log.events.size(), 30u);
    for (size_t i = 0; i < log.times.size(); ++i) {
        // Each firing sees its own time on the manual clock.
        EXPECT_NEAR(log.times[i], start + (i + 1) / 30.0, 1e-6) << i;
    }
    EXPECT_NEAR(CFAbsoluteTimeGetCurrent(), start + 1.0, 1e-6);
}

TEST_F(RunLoop, FiringTimersAllocatesNothing) {
    // An editor polls at 30 Hz for as long as it is open: the loop's own bookkeeping must not
    // allocate per pass.
    int fired = 0;
    CFRunLoopTimerContext context{0, &fired, nullptr, nullptr, nullptr};
    auto count = [](CFRunLoopTimerRef, void* info) { ++*static_cast<int*>(info); };
    for (int i = 0; i < 3; ++i) {
        CFRunLoopTimerRef t =
            CFRunLoopTimerCreate(nullptr, start + 0.01, 1.0 / 30.0, 0, i, count, &context);
        CFRunLoopAddTimer(CFRunLoopGetMain(), t, kCFRunLoopCommonModes);
        timers.push_back(t);
    }
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.1, false); // first passes may grow the lists
    const int before = fired;
    kelvo::testing::AllocationScope scope;
    EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0, false), kCFRunLoopRunTimedOut);
    EXPECT_EQ(scope.count(), 0u);
    EXPECT_EQ(fired - before, 90);
}

TEST_F(RunLoop, RepeatingTimersFireTheirFullCountWhateverTheInterval) {
    // The last firing falls exactly on the end of the run; rounding must not push it past.
    const struct {
        CFTimeInterval interval;
        size_t count;
    } cases[] = {{0.1, 10}, {0.2, 5}, {0.005, 200}, {1.0 / 60, 60}, {0.3, 3}, {0.01, 100}};
    for (const auto& c : cases) {
        log.events.clear();
        start = CFAbsoluteTimeGetCurrent();
        CFRunLoopTimerRef t = addTimer("t", c.interval, c.interval);
        CFRunLoopRunInMode(kCFRunLoopDefaultMode, c.interval * static_cast<double>(c.count), false);
        EXPECT_EQ(log.events.size(), c.count) << c.interval;
        CFRunLoopTimerInvalidate(t);
    }
}

TEST_F(RunLoop, TimersFireInDateOrderThenByOrderThenCreation) {
    addTimer("c", 0.3, 0);
    addTimer("b-late-order", 0.2, 0, kCFRunLoopDefaultMode, 5);
    addTimer("a", 0.1, 0);
    addTimer("b-early-order", 0.2, 0, kCFRunLoopDefaultMode, 1);
    addTimer("b-early-order-second", 0.2, 0, kCFRunLoopDefaultMode, 1);
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0, false);
    const std::vector<std::string> expected = {"a", "b-early-order", "b-early-order-second",
                                               "b-late-order", "c"};
    EXPECT_EQ(log.events, expected);
    // One-shot timers are invalid once fired, and the loop has nothing left.
    for (CFRunLoopTimerRef t : timers) {
        EXPECT_FALSE(CFRunLoopTimerIsValid(t));
    }
    EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0, false), kCFRunLoopRunFinished);
}

TEST_F(RunLoop, OnePassFiresOnlyWhatIsDue) {
    addTimer("tick", 0.1, 0.1);
    EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false), kCFRunLoopRunTimedOut);
    EXPECT_TRUE(log.events.empty());
    CFRunLoopAdvanceManualClockForTesting(0.1);
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
    EXPECT_EQ(log.events.size(), 1u);
    // Falling behind by ten intervals fires once, then resumes on the timer's grid.
    CFRunLoopAdvanceManualClockForTesting(1.0);
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
    EXPECT_EQ(log.events.size(), 2u);
    EXPECT_NEAR(CFRunLoopTimerGetNextFireDate(timers[0]), start + 1.2, 1e-6);
}

TEST_F(RunLoop, InvalidateAndRescheduleFromACallout) {
    static CFRunLoopTimerRef other = nullptr;
    CFRunLoopTimerRef stopper = addTimer("stopper", 0.1, 0);
    other = addTimer("victim", 0.2, 0.1);
    CFRunLoopTimerRef moved = addTimer("moved", 0.15, 0);
    (void)stopper;
    CFRunLoopTimerContext context{0, moved, nullptr, nullptr, nullptr};
    CFRunLoopTimerRef killer = CFRunLoopTimerCreate(
        nullptr, start + 0.05, 0, 0, 0,
        [](CFRunLoopTimerRef, void* info) {
            CFRunLoopTimerInvalidate(other);
            CFRunLoopTimerSetNextFireDate(static_cast<CFRunLoopTimerRef>(info),
                                          CFAbsoluteTimeGetCurrent() + 0.5);
        },
        &context);
    CFRunLoopAddTimer(CFRunLoopGetMain(), killer, kCFRunLoopDefaultMode);
    timers.push_back(killer);
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0, false);
    const std::vector<std::string> expected = {"stopper", "moved"};
    EXPECT_EQ(log.events, expected);
    EXPECT_NEAR(log.times[1], start + 0.55, 1e-6);
}

TEST_F(RunLoop, ModesSelectWhatFires) {
    CFStringRef tracking = CFSTR("NSEventTrackingRunLoopMode");
    addTimer("default", 0.1, 0, kCFRunLoopDefaultMode);
    addTimer("tracking", 0.1, 0, tracking);
    addTimer("common", 0.1, 0, kCFRunLoopCommonModes);
    EXPECT_TRUE(CFRunLoopContainsTimer(CFRunLoopGetMain(), timers[1], tracking));
    EXPECT_FALSE(CFRunLoopContainsTimer(CFRunLoopGetMain(), timers[1], kCFRunLoopDefaultMode));
    CFRunLoopRunInMode(tracking, 0.5, false);
    EXPECT_EQ(log.events, (std::vector<std::string>{"tracking", "common"}));
    EXPECT_TRUE(CFRunLoopTimerIsValid(timers[0]));
    log.events.clear();
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0.5, false);
    EXPECT_EQ(log.events, (std::vector<std::string>{"default"}));
    // A mode with nothing in it finishes at once, without moving the clock.
    const CFAbsoluteTime before = CFAbsoluteTimeGetCurrent();
    EXPECT_EQ(CFRunLoopRunInMode(CFSTR("unused mode"), 5.0, false), kCFRunLoopRunFinished);
    EXPECT_EQ(CFAbsoluteTimeGetCurrent(), before);
}

TEST_F(RunLoop, PostedWorkRunsInOrderOnTheNextPassOfAMatchingMode) {
    std::vector<int> ran;
    CFRunLoopPerformBlock(CFRunLoopGetMain(), kCFRunLoopDefaultMode, [&] { ran.push_back(1); });
    CFRunLoopPerformFunction(
        CFRunLoopGetMain(), kCFRunLoopCommonModes,
        [](void* info) { static_cast<std::vector<int>*>(info)->push_back(2); }, &ran);
    CFRunLoopPerformBlock(CFRunLoopGetMain(), CFSTR("other"), [&] { ran.push_back(3); });
    EXPECT_TRUE(ran.empty()); // nothing runs until the loop does
    EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true), kCFRunLoopRunHandledSource);
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    // Work posted from work runs on the following pass, not the current one.
    CFRunLoopPerformBlock(CFRunLoopGetMain(), kCFRunLoopDefaultMode, [&] {
        ran.push_back(4);
        CFRunLoopPerformBlock(CFRunLoopGetMain(), kCFRunLoopDefaultMode, [&] { ran.push_back(5); });
    });
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 4}));
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 4, 5}));
    const void* modes[] = {CFSTR("x"), CFSTR("other")};
    Owned<CFArrayRef> modeList(CFArrayCreate(nullptr, modes, 2, &kCFTypeArrayCallBacks));
    CFRunLoopPerformBlock(CFRunLoopGetMain(), modeList, [&] { ran.push_back(6); });
    CFRunLoopRunInMode(CFSTR("other"), 0, false);
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 4, 5, 3, 6}));
}

TEST_F(RunLoop, StopEndsTheRunFromACallout) {
    int fired = 0;
    CFRunLoopTimerContext context{0, &fired, nullptr, nullptr, nullptr};
    CFRunLoopTimerRef t = CFRunLoopTimerCreate(
        nullptr, start + 0.1, 0.1, 0, 0,
        [](CFRunLoopTimerRef, void* info) {
            if (++*static_cast<int*>(info) % 3 == 0) {
                CFRunLoopStop(CFRunLoopGetCurrent());
            }
        },
        &context);
    CFRunLoopAddTimer(CFRunLoopGetMain(), t, kCFRunLoopDefaultMode);
    timers.push_back(t);
    EXPECT_EQ(CFRunLoopRunInMode(kCFRunLoopDefaultMode, 10.0, false), kCFRunLoopRunStopped);
    EXPECT_EQ(fired, 3);
    EXPECT_NEAR(CFAbsoluteTimeGetCurrent(), start + 0.3, 1e-6); // stopped where it stopped
    // CFRunLoopRun runs until stopped too.
    CFRunLoopRun();
    EXPECT_EQ(fired, 6);
}

TEST_F(RunLoop, TimerContextInfoIsRetainedAndReleased) {
    static int retains = 0;
    static int releases = 0;
    int payload = 0;
    CFRunLoopTimerContext context{0, &payload,
                                  [](const void* info) {
                                      ++retains;
                                      return info;
                                  },
                                  [](const void*) { ++releases; }, nullptr};
    CFRunLoopTimerRef t = CFRunLoopTimerCreate(
        nullptr, start + 0.1, 0, 0, 0, [](CFRunLoopTimerRef, void*) {}, &context);
    EXPECT_EQ(retains, 1);
    CFRunLoopAddTimer(CFRunLoopGetMain(), t, kCFRunLoopDefaultMode);
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0, false);
    EXPECT_EQ(releases, 0);
    CFRelease(t);
    EXPECT_EQ(releases, 1);
}
