#include "main_loop.h"

#include <AppKit/AppKit.h>

namespace {

constexpr CFTimeInterval pollInterval = 0.03333333333333333; // 1/30 s
constexpr CFTimeInterval eventInterval = 1.0 / 120;          // a mouse's report rate

} // namespace

void startManualClock() {
    // The poll runs on CF's manual clock: as often as asked, never waiting for real time.
    if (!CFRunLoopIsUsingManualClockForTesting()) {
        CFRunLoopUseManualClockForTesting(true);
    }
}

void pumpMainRunLoop() {
    startManualClock();
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
    NSApplication::sharedApplication()->displayWindows();
}

void advancePoll() {
    startManualClock();
    CFRunLoopAdvanceManualClockForTesting(pollInterval);
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
    NSApplication::sharedApplication()->displayWindows();
}

void passEventTime() {
    startManualClock();
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, eventInterval, false);
    NSApplication::sharedApplication()->displayWindows();
}
