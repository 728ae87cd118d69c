// Run loops: the main loop, per-thread loops, running in a mode, posted work.

#include "run_loop_impl.h"

#include "string_impl.h"

#include <CoreFoundation/CFArray.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <span>
#include <thread>
#include <vector>

extern "C" {
const CFRunLoopMode kCFRunLoopDefaultMode = CFSTR("kCFRunLoopDefaultMode");
const CFRunLoopMode kCFRunLoopCommonModes = CFSTR("kCFRunLoopCommonModes");
}

namespace {

// The thread that loads the library is the main thread.
const std::thread::id mainThread = std::this_thread::get_id();

bool matches(CFStringRef entryMode, CFStringRef runMode) {
    return CFEqual(entryMode, kCFRunLoopCommonModes) || CFEqual(entryMode, runMode);
}

bool workMatches(CFTypeRef modes, CFStringRef runMode) {
    if (CFGetTypeID(modes) == cf::kArrayTypeID) {
        const auto* array = static_cast<CFArrayRef>(modes);
        for (CFIndex i = 0; i < CFArrayGetCount(array); ++i) {
            if (matches(static_cast<CFStringRef>(CFArrayGetValueAtIndex(array, i)), runMode)) {
                return true;
            }
        }
        return false;
    }
    return matches(static_cast<CFStringRef>(modes), runMode);
}

// With the lock held.
bool hasWork(const __CFRunLoop& loop, CFStringRef mode) {
    return std::any_of(loop.posted.begin(), loop.posted.end(),
                       [&](const auto& w) { return workMatches(w.modes, mode); });
}

bool hasTimers(const __CFRunLoop& loop, CFStringRef mode) {
    return std::any_of(loop.timers.begin(), loop.timers.end(),
                       [&](const auto& e) { return e.timer->valid && matches(e.mode, mode); });
}

// The earliest fire date among the mode's timers, or +infinity.
CFAbsoluteTime earliestFire(const __CFRunLoop& loop, CFStringRef mode) {
    CFAbsoluteTime earliest = INFINITY;
    for (const auto& e : loop.timers) {
        if (e.timer->valid && matches(e.mode, mode)) {
            earliest = std::min(earliest, e.timer->nextFire);
        }
    }
    return earliest;
}

// Runs the work posted for this mode before the pass began. Returns whether any ran.
bool runPostedWork(__CFRunLoop& loop, CFStringRef mode, std::unique_lock<std::mutex>& lock) {
    std::vector<__CFRunLoop::Work> batch;
    for (auto it = loop.posted.begin(); it != loop.posted.end();) {
        if (workMatches(it->modes, mode)) {
            batch.push_back(std::move(*it));
            it = loop.posted.erase(it);
        } else {
            ++it;
        }
    }
    if (batch.empty()) {
        return false;
    }
    lock.unlock();
    for (auto& work : batch) {
        work.function();
        CFRelease(work.modes);
    }
    lock.lock();
    return true;
}

// Fires every timer of the mode that is due now, in fire-date order.
void fireDueTimers(__CFRunLoop& loop, CFStringRef mode, std::unique_lock<std::mutex>& lock) {
    const CFAbsoluteTime time = cf::now();
    // A pass rarely finds more than a few timers due; holding them on the stack keeps such
    // passes free of heap allocation (an editor's 30 Hz poll fires through here). A callout may
    // run a nested pass of this loop, so the list cannot live in the loop itself.
    constexpr std::size_t inlineCapacity = 16;
    __CFRunLoopTimer* inlineDue[inlineCapacity];
    std::vector<__CFRunLoopTimer*> overflow;
    std::size_t count = 0;
    __CFRunLoopTimer** first = inlineDue;
    for (const auto& e : loop.timers) {
        if (e.timer->valid && matches(e.mode, mode) &&
            e.timer->nextFire <= time + cf::kTimerTolerance &&
            std::find(first, first + count, e.timer) == first + count) {
            if (first == inlineDue && count == inlineCapacity) {
                overflow.assign(inlineDue, inlineDue + count);
            }
            if (!overflow.empty()) {
                overflow.push_back(e.timer);
                first = overflow.data();
            } else {
                inlineDue[count] = e.timer;
            }
            ++count;
        }
    }
    const std::span<__CFRunLoopTimer*> due(first, count);
    std::sort(due.begin(), due.end(), [](const __CFRunLoopTimer* a, const __CFRunLoopTimer* b) {
        if (a->nextFire != b->nextFire) {
            return a->nextFire < b->nextFire;
        }
        if (a->order != b->order) {
            return a->order < b->order;
        }
        return a->sequence < b->sequence;
    });
    for (__CFRunLoopTimer* timer : due) {
        // An earlier callout may have invalidated or rescheduled this one.
        if (!timer->valid || timer->nextFire > time + cf::kTimerTolerance) {
            continue;
        }
        const bool repeats = timer->interval > 0;
        if (repeats) {
            // Skip missed firings: the next date is the first one after now on the timer's grid.
            const double due =
                std::floor((time + cf::kTimerTolerance - timer->anchor) / timer->interval) + 1;
            timer->steps = std::max(timer->steps + 1, due);
            timer->nextFire = timer->anchor + timer->steps * timer->interval;
        }
        CFRetain(timer);
        lock.unlock();
        if (!repeats) {
            CFRunLoopTimerInvalidate(timer);
        }
        timer->callout(timer, timer->context.info);
        CFRelease(timer);
        lock.lock();
    }
}

__CFRunLoop* currentLoop() {
    if (std::this_thread::get_id() == mainThread) {
        return CFRunLoopGetMain();
    }
    struct Holder {
        __CFRunLoop* loop = new __CFRunLoop(false);
        ~Holder() { CFRelease(loop); }
    };
    thread_local Holder holder;
    return holder.loop;
}

void post(CFRunLoopRef rl, CFTypeRef mode, std::function<void()> function) {
    if (rl == nullptr || mode == nullptr || !function) {
        return;
    }
    // Copy the modes so that a mutable array changed later does not change where work runs.
    CFTypeRef modes =
        CFGetTypeID(mode) == cf::kArrayTypeID
            ? static_cast<CFTypeRef>(CFArrayCreateCopy(nullptr, static_cast<CFArrayRef>(mode)))
            : static_cast<CFTypeRef>(CFStringCreateCopy(nullptr, static_cast<CFStringRef>(mode)));
    {
        std::lock_guard lock(cf::runLoopMutex());
        rl->posted.push_back({modes, std::move(function)});
    }
    rl->wake.notify_all();
}

} // namespace

namespace cf {

std::mutex& runLoopMutex() {
    static auto* mutex = new std::mutex();
    return *mutex;
}

} // namespace cf

__CFRunLoop::~__CFRunLoop() {
    std::vector<CFTypeRef> dropped;
    std::deque<Work> work;
    {
        std::lock_guard lock(cf::runLoopMutex());
        for (const auto& e : timers) {
            std::erase(e.timer->loops, this);
            dropped.push_back(e.timer);
            dropped.push_back(e.mode);
        }
        timers.clear();
        work.swap(posted);
    }
    for (CFTypeRef r : dropped) {
        CFRelease(r);
    }
    for (auto& w : work) {
        CFRelease(w.modes);
    }
}

extern "C" {

CFTypeID CFRunLoopGetTypeID(void) {
    return cf::kRunLoopTypeID;
}

CFRunLoopRef CFRunLoopGetMain(void) {
    static auto* main = new __CFRunLoop(true);
    return main;
}

CFRunLoopRef CFRunLoopGetCurrent(void) {
    return currentLoop();
}

CFRunLoopRunResult CFRunLoopRunInMode(CFRunLoopMode mode, CFTimeInterval seconds,
                                      Boolean returnAfterSourceHandled) {
    if (mode == nullptr) {
        return kCFRunLoopRunFinished;
    }
    __CFRunLoop& loop = *currentLoop();
    std::unique_lock lock(cf::runLoopMutex());
    if (!hasWork(loop, mode) && !hasTimers(loop, mode)) {
        return kCFRunLoopRunFinished;
    }
    const bool onePass = !(seconds > 0);
    const CFAbsoluteTime deadline = cf::now() + (onePass ? 0.0 : seconds);
    CFStringRef outerMode = loop.currentMode;
    loop.currentMode = CFStringCreateCopy(nullptr, mode);

    CFRunLoopRunResult result = kCFRunLoopRunTimedOut;
    while (true) {
        const bool handled = runPostedWork(loop, mode, lock);
        fireDueTimers(loop, mode, lock);
        if (loop.stopRequested) {
            loop.stopRequested = false;
            result = kCFRunLoopRunStopped;
            break;
        }
        if (returnAfterSourceHandled && handled) {
            result = kCFRunLoopRunHandledSource;
            break;
        }
        if (onePass) {
            result = kCFRunLoopRunTimedOut;
            break;
        }
        const CFAbsoluteTime time = cf::now();
        if (time >= deadline) {
            result = kCFRunLoopRunTimedOut;
            break;
        }
        if (!hasWork(loop, mode) && !hasTimers(loop, mode)) {
            result = kCFRunLoopRunFinished;
            break;
        }
        if (hasWork(loop, mode)) {
            continue;
        }
        const CFAbsoluteTime until = std::min(deadline, earliestFire(loop, mode));
        if (cf::manualClock()) {
            // No sleeping: jump to the next thing that happens.
            cf::advanceManualClockTo(until);
            continue;
        }
        if (loop.wakeRequested) {
            loop.wakeRequested = false;
            continue;
        }
        loop.waiting = true;
        const auto wait = std::chrono::duration<double>(std::max(0.0, until - time));
        loop.wake.wait_for(lock, std::chrono::duration_cast<std::chrono::nanoseconds>(wait), [&] {
            return loop.stopRequested || loop.wakeRequested || hasWork(loop, mode) ||
                   cf::manualClock() || earliestFire(loop, mode) < until;
        });
        loop.waiting = false;
        loop.wakeRequested = false;
    }
    if (cf::manualClock() && result == kCFRunLoopRunTimedOut) {
        cf::advanceManualClockTo(deadline);
    }
    CFStringRef innerMode = loop.currentMode;
    loop.currentMode = outerMode;
    lock.unlock();
    CFRelease(innerMode);
    return result;
}

void CFRunLoopRun(void) {
    while (true) {
        const CFRunLoopRunResult result = CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0e10, false);
        if (result == kCFRunLoopRunStopped || result == kCFRunLoopRunFinished) {
            return;
        }
    }
}

void CFRunLoopStop(CFRunLoopRef rl) {
    if (rl == nullptr) {
        return;
    }
    {
        std::lock_guard lock(cf::runLoopMutex());
        rl->stopRequested = true;
    }
    rl->wake.notify_all();
}

void CFRunLoopWakeUp(CFRunLoopRef rl) {
    if (rl == nullptr) {
        return;
    }
    {
        std::lock_guard lock(cf::runLoopMutex());
        rl->wakeRequested = true;
    }
    rl->wake.notify_all();
}

Boolean CFRunLoopIsWaiting(CFRunLoopRef rl) {
    if (rl == nullptr) {
        return false;
    }
    std::lock_guard lock(cf::runLoopMutex());
    return rl->waiting;
}

CFRunLoopMode CFRunLoopCopyCurrentMode(CFRunLoopRef rl) {
    if (rl == nullptr) {
        return nullptr;
    }
    std::lock_guard lock(cf::runLoopMutex());
    return rl->currentMode != nullptr ? CFStringCreateCopy(nullptr, rl->currentMode) : nullptr;
}

void CFRunLoopAddCommonMode(CFRunLoopRef, CFRunLoopMode) {}

void CFRunLoopPerformFunction(CFRunLoopRef rl, CFTypeRef mode, void (*function)(void* info),
                              void* info) {
    if (function == nullptr) {
        return;
    }
    post(rl, mode, [function, info] { function(info); });
}

} // extern "C"

void CFRunLoopPerformBlock(CFRunLoopRef rl, CFTypeRef mode, std::function<void()> block) {
    post(rl, mode, std::move(block));
}
