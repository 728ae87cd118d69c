// CFAbsoluteTimeGetCurrent and the manual clock that lets tests run timers without sleeping.

#include "run_loop_impl.h"

#include <CoreFoundation/CFDate.h>

#include <atomic>
#include <chrono>

namespace {

std::atomic<bool> manualOn{false};
std::atomic<double> manualTime{0.0};

CFAbsoluteTime systemTime() {
    const auto since1970 =
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch());
    return since1970.count() - kCFAbsoluteTimeIntervalSince1970;
}

} // namespace

namespace cf {

CFAbsoluteTime now() {
    return manualOn.load() ? manualTime.load() : systemTime();
}

bool manualClock() {
    return manualOn.load();
}

void advanceManualClockTo(CFAbsoluteTime time) {
    double current = manualTime.load();
    while (time > current && !manualTime.compare_exchange_weak(current, time)) {
    }
}

} // namespace cf

extern "C" {

CFAbsoluteTime CFAbsoluteTimeGetCurrent(void) {
    return cf::now();
}

void CFRunLoopUseManualClockForTesting(Boolean useManualClock) {
    std::lock_guard lock(cf::runLoopMutex());
    if (useManualClock && !manualOn.load()) {
        manualTime.store(systemTime());
    }
    manualOn.store(useManualClock != 0);
}

Boolean CFRunLoopIsUsingManualClockForTesting(void) {
    return manualOn.load();
}

void CFRunLoopAdvanceManualClockForTesting(CFTimeInterval seconds) {
    if (!manualOn.load()) {
        CFRunLoopUseManualClockForTesting(true);
    }
    if (seconds > 0) {
        std::lock_guard lock(cf::runLoopMutex());
        cf::advanceManualClockTo(manualTime.load() + seconds);
    }
}

void CFShimAdvanceClock(CFTimeInterval seconds) {
    CFRunLoopAdvanceManualClockForTesting(seconds);
}

} // extern "C"
