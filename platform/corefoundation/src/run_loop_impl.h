// Run loops and timers: representation shared by the run-loop files.
#pragma once

#include "object.h"

#include <CoreFoundation/CFRunLoop.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

struct __CFRunLoop;

struct __CFRunLoopTimer final : cf::CFObject {
    __CFRunLoopTimer(CFAbsoluteTime fireDate, CFTimeInterval interval, CFIndex order,
                     CFRunLoopTimerCallBack callout, const CFRunLoopTimerContext* context);
    ~__CFRunLoopTimer() override;
    CFTypeID typeID() const override { return cf::kRunLoopTimerTypeID; }

    const CFTimeInterval interval;
    const CFIndex order;
    const CFRunLoopTimerCallBack callout;
    CFRunLoopTimerContext context{};
    const uint64_t sequence; // creation order, the last tie-break

    // Guarded by cf::runLoopMutex(). A repeating timer's dates are anchor + k * interval,
    // computed afresh each time rather than summed, so that rounding never accumulates: at
    // today's absolute times a double resolves only about 0.1 us.
    CFAbsoluteTime anchor;
    double steps = 0; // k for nextFire
    CFAbsoluteTime nextFire;
    bool valid = true;
    std::vector<__CFRunLoop*> loops; // every loop holding an entry for this timer
};

struct __CFRunLoop final : cf::CFObject {
    explicit __CFRunLoop(bool immortal) : CFObject(immortal) {}
    ~__CFRunLoop() override;
    CFTypeID typeID() const override { return cf::kRunLoopTypeID; }

    struct TimerEntry {
        __CFRunLoopTimer* timer; // retained
        CFStringRef mode;        // retained
    };
    struct Work {
        CFTypeRef modes; // retained: a mode string or an array of them
        std::function<void()> function;
    };

    // Guarded by cf::runLoopMutex().
    std::vector<TimerEntry> timers;
    std::deque<Work> posted;
    bool stopRequested = false;
    bool wakeRequested = false;
    bool waiting = false;
    CFStringRef currentMode = nullptr; // retained while running
    std::condition_variable wake;
};

namespace cf {

// A timer is due when its date is at most this far ahead of now: absolute times carry rounding
// of a few tenths of a microsecond, which must not push a firing past the end of a run.
constexpr CFTimeInterval kTimerTolerance = 1.0e-6;

// One lock for every loop and timer: run-loop traffic is light, and one lock keeps the
// cross-loop operations (invalidate, set fire date) simple.
std::mutex& runLoopMutex();

// The time timers are measured against: the system clock, or the manual clock in tests.
CFAbsoluteTime now();
bool manualClock();
// Moves the manual clock to `time` if that is later. Only with the manual clock on.
void advanceManualClockTo(CFAbsoluteTime time);

} // namespace cf
