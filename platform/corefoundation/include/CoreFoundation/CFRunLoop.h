// CFRunLoop: the main run loop, timers and posted work.
//
// What this stand-in promises:
// - One main run loop per process (CFRunLoopGetMain), held by this shared library. The thread
//   that loads the library is the main thread; CFRunLoopGetCurrent returns the main loop there
//   and a loop of its own on any other thread.
// - Modes are strings. A timer or posted function added for kCFRunLoopCommonModes fires in
//   every mode the loop runs in; one added for another mode fires only when that mode runs.
//   CFRunLoopAddCommonMode is accepted and changes nothing (every mode counts as common).
// - CFRunLoopRunInMode(mode, seconds, returnAfterSourceHandled) runs passes until `seconds`
//   have passed. A pass first runs all work posted before it began (CFRunLoopPerformFunction /
//   CFRunLoopPerformBlock), in posting order, then fires the due timers in order of fire date
//   (ties: `order`, then creation). seconds <= 0 runs exactly one pass. Results:
//     kCFRunLoopRunFinished      the mode has no timers and no posted work (nothing was run);
//     kCFRunLoopRunStopped       CFRunLoopStop was called (from a callout or another thread);
//     kCFRunLoopRunHandledSource returnAfterSourceHandled was true and posted work was run
//                                (timers do not count as sources, as on the platform);
//     kCFRunLoopRunTimedOut      the time ran out.
// - A repeating timer fires on the grid firstDate + k * interval (dates are computed, not
//   summed, so a 10 Hz timer fires exactly 10 times in a one-second run). A timer counts as due
//   within 1 us of its date, which absorbs rounding in absolute times. A repeating timer that
//   falls behind fires once and then moves to the next grid date after now (missed firings are
//   skipped, not queued); CFRunLoopTimerSetNextFireDate starts a new grid. A non-repeating timer is
//   invalidated after it fires. A loop retains the timers added to it until they are invalidated or
//   removed.
// - Posted work: CFRunLoopPerformFunction and CFRunLoopPerformBlock may be called from any
//   thread; the function runs on the loop's thread during its next pass in a matching mode.
//   CFRunLoopWakeUp and CFRunLoopStop may be called from any thread.
//
// Manual clock for tests (not part of the platform's interface):
// - CFRunLoopUseManualClockForTesting(true) freezes time: CFAbsoluteTimeGetCurrent returns the
//   manual time, which starts at the real time of the call and moves only when advanced.
// - CFRunLoopAdvanceManualClockForTesting(dt) moves the manual time forward by dt (switching
//   the manual clock on first if it is off). It runs nothing; the next pass fires what is due.
// - With the manual clock on, CFRunLoopRunInMode(mode, seconds, ...) never sleeps: it advances
//   the manual time to each due timer in turn and fires it, until `seconds` have passed, then
//   leaves the manual time at start + seconds. So RunInMode(default, 1.0, false) fires a
//   30 Hz timer 30 times at once, each firing seeing its own CFAbsoluteTimeGetCurrent.
// - CFRunLoopUseManualClockForTesting(false) returns to the system clock.
#pragma once

#include <CoreFoundation/CFArray.h>
#include <CoreFoundation/CFBase.h>
#include <CoreFoundation/CFDate.h>

#ifdef __cplusplus
#include <functional>
extern "C" {
#endif

typedef struct __CFRunLoop* CFRunLoopRef;
typedef struct __CFRunLoopTimer* CFRunLoopTimerRef;
typedef CFStringRef CFRunLoopMode;

typedef SInt32 CFRunLoopRunResult;
enum {
    kCFRunLoopRunFinished = 1,
    kCFRunLoopRunStopped = 2,
    kCFRunLoopRunTimedOut = 3,
    kCFRunLoopRunHandledSource = 4
};

CF_EXPORT const CFRunLoopMode kCFRunLoopDefaultMode;
CF_EXPORT const CFRunLoopMode kCFRunLoopCommonModes;

typedef void (*CFRunLoopTimerCallBack)(CFRunLoopTimerRef timer, void* info);

typedef struct {
    CFIndex version;
    void* info;
    const void* (*retain)(const void* info);
    void (*release)(const void* info);
    CFStringRef (*copyDescription)(const void* info);
} CFRunLoopTimerContext;

CF_EXPORT CFTypeID CFRunLoopGetTypeID(void);
CF_EXPORT CFTypeID CFRunLoopTimerGetTypeID(void);

// (+0) [any thread]
CF_EXPORT CFRunLoopRef CFRunLoopGetMain(void);
CF_EXPORT CFRunLoopRef CFRunLoopGetCurrent(void);

// Running, on the loop's own thread. [main thread for the main loop]
CF_EXPORT CFRunLoopRunResult CFRunLoopRunInMode(CFRunLoopMode mode, CFTimeInterval seconds,
                                                Boolean returnAfterSourceHandled);
// Runs the current loop in the default mode until stopped or finished.
CF_EXPORT void CFRunLoopRun(void);
// [any thread]
CF_EXPORT void CFRunLoopStop(CFRunLoopRef rl);
CF_EXPORT void CFRunLoopWakeUp(CFRunLoopRef rl);
CF_EXPORT Boolean CFRunLoopIsWaiting(CFRunLoopRef rl);
// (+1) The mode the loop is running in, NULL when it is not running.
CF_EXPORT CFRunLoopMode CFRunLoopCopyCurrentMode(CFRunLoopRef rl);
CF_EXPORT void CFRunLoopAddCommonMode(CFRunLoopRef rl, CFRunLoopMode mode);

// Timers. [any thread]
// (+1) interval 0 means fire once. flags and order: order breaks ties between timers due at the
// same date (lower first). context may be NULL; its info is retained through context->retain.
CF_EXPORT CFRunLoopTimerRef CFRunLoopTimerCreate(CFAllocatorRef allocator, CFAbsoluteTime fireDate,
                                                 CFTimeInterval interval, CFOptionFlags flags,
                                                 CFIndex order, CFRunLoopTimerCallBack callout,
                                                 CFRunLoopTimerContext* context);
CF_EXPORT void CFRunLoopAddTimer(CFRunLoopRef rl, CFRunLoopTimerRef timer, CFRunLoopMode mode);
CF_EXPORT void CFRunLoopRemoveTimer(CFRunLoopRef rl, CFRunLoopTimerRef timer, CFRunLoopMode mode);
CF_EXPORT Boolean CFRunLoopContainsTimer(CFRunLoopRef rl, CFRunLoopTimerRef timer,
                                         CFRunLoopMode mode);
// Removes the timer from every loop; it never fires again. Safe from its own callout.
CF_EXPORT void CFRunLoopTimerInvalidate(CFRunLoopTimerRef timer);
CF_EXPORT Boolean CFRunLoopTimerIsValid(CFRunLoopTimerRef timer);
CF_EXPORT CFAbsoluteTime CFRunLoopTimerGetNextFireDate(CFRunLoopTimerRef timer);
CF_EXPORT void CFRunLoopTimerSetNextFireDate(CFRunLoopTimerRef timer, CFAbsoluteTime fireDate);
CF_EXPORT CFTimeInterval CFRunLoopTimerGetInterval(CFRunLoopTimerRef timer);
CF_EXPORT Boolean CFRunLoopTimerDoesRepeat(CFRunLoopTimerRef timer);
CF_EXPORT CFIndex CFRunLoopTimerGetOrder(CFRunLoopTimerRef timer);
CF_EXPORT void CFRunLoopTimerGetContext(CFRunLoopTimerRef timer, CFRunLoopTimerContext* context);

// Posted work. [any thread] `mode` is a mode string or a CFArray of mode strings. The function
// runs once, on the loop's next pass in a matching mode. (The platform's block form does not
// exist in C++; this is its function-pointer twin.)
CF_EXPORT void CFRunLoopPerformFunction(CFRunLoopRef rl, CFTypeRef mode,
                                        void (*function)(void* info), void* info);

// Manual clock for tests; see the header comment. [main thread]
CF_EXPORT void CFRunLoopUseManualClockForTesting(Boolean useManualClock);
CF_EXPORT void CFRunLoopAdvanceManualClockForTesting(CFTimeInterval seconds);
CF_EXPORT Boolean CFRunLoopIsUsingManualClockForTesting(void);
// The same as CFRunLoopAdvanceManualClockForTesting (an older name some tests use).
CF_EXPORT void CFShimAdvanceClock(CFTimeInterval seconds);

#ifdef __cplusplus
}

// [any thread] The block form, with a std::function standing in for the block.
CF_EXPORT void CFRunLoopPerformBlock(CFRunLoopRef rl, CFTypeRef mode, std::function<void()> block);
#endif
