#include "main_loop.h"

#include <AppKit/AppKit.h>

namespace {

constexpr CFTimeInterval pollInterval = 0.03333333333333333; // 1/30 s

} // namespace

void pumpMainRunLoop() {
    // One pass in the common modes: listener deliveries and whatever is due.
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
    NSApplication::sharedApplication()->displayWindows();
}

void advancePoll() {
    // Running the loop for one interval lets the clock reach the poll timer's next fire date.
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, pollInterval, false);
    NSApplication::sharedApplication()->displayWindows();
}
