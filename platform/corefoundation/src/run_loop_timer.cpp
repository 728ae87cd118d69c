// CFRunLoopTimer: creation, scheduling on loops, invalidation.

#include "run_loop_impl.h"

#include <CoreFoundation/CFString.h>

#include <algorithm>
#include <atomic>
#include <vector>

namespace {

std::atomic<uint64_t> nextSequence{1};

void wakeAll(const std::vector<__CFRunLoop*>& loops) {
    for (__CFRunLoop* loop : loops) {
        loop->wake.notify_all();
    }
}

bool sameMode(CFStringRef a, CFStringRef b) {
    return CFEqual(a, b);
}

// Removes the timer's entries from `loop` (all modes, or just `mode`) and returns the references
// to drop once the lock is released. Called with the lock held.
std::vector<CFTypeRef> detach(__CFRunLoop* loop, __CFRunLoopTimer* timer, CFStringRef mode) {
    std::vector<CFTypeRef> dropped;
    auto& entries = loop->timers;
    for (auto it = entries.begin(); it != entries.end();) {
        if (it->timer == timer && (mode == nullptr || sameMode(it->mode, mode))) {
            dropped.push_back(it->timer);
            dropped.push_back(it->mode);
            it = entries.erase(it);
        } else {
            ++it;
        }
    }
    const bool stillHere = std::any_of(entries.begin(), entries.end(),
                                       [&](const auto& e) { return e.timer == timer; });
    if (!stillHere) {
        std::erase(timer->loops, loop);
    }
    return dropped;
}

void release(const std::vector<CFTypeRef>& references) {
    for (CFTypeRef r : references) {
        CFRelease(r);
    }
}

} // namespace

__CFRunLoopTimer::__CFRunLoopTimer(CFAbsoluteTime fireDate, CFTimeInterval interval, CFIndex order,
                                   CFRunLoopTimerCallBack callout,
                                   const CFRunLoopTimerContext* given)
    : interval(interval > 0 ? interval : 0), order(order), callout(callout),
      sequence(nextSequence.fetch_add(1)), anchor(fireDate), nextFire(fireDate) {
    if (given != nullptr) {
        context = *given;
        if (context.retain != nullptr && context.info != nullptr) {
            context.info = const_cast<void*>(context.retain(context.info));
        }
    }
}

__CFRunLoopTimer::~__CFRunLoopTimer() {
    if (context.release != nullptr && context.info != nullptr) {
        context.release(context.info);
    }
}

extern "C" {

CFTypeID CFRunLoopTimerGetTypeID(void) {
    return cf::kRunLoopTimerTypeID;
}

CFRunLoopTimerRef CFRunLoopTimerCreate(CFAllocatorRef, CFAbsoluteTime fireDate,
                                       CFTimeInterval interval, CFOptionFlags, CFIndex order,
                                       CFRunLoopTimerCallBack callout,
                                       CFRunLoopTimerContext* context) {
    if (callout == nullptr) {
        return nullptr;
    }
    return new __CFRunLoopTimer(fireDate, interval, order, callout, context);
}

void CFRunLoopAddTimer(CFRunLoopRef rl, CFRunLoopTimerRef timer, CFRunLoopMode mode) {
    if (rl == nullptr || timer == nullptr || mode == nullptr) {
        return;
    }
    {
        std::lock_guard lock(cf::runLoopMutex());
        if (!timer->valid) {
            return;
        }
        for (const auto& e : rl->timers) {
            if (e.timer == timer && sameMode(e.mode, mode)) {
                return;
            }
        }
        CFRetain(timer);
        rl->timers.push_back({timer, CFStringCreateCopy(nullptr, mode)});
        if (std::find(timer->loops.begin(), timer->loops.end(), rl) == timer->loops.end()) {
            timer->loops.push_back(rl);
        }
    }
    rl->wake.notify_all();
}

void CFRunLoopRemoveTimer(CFRunLoopRef rl, CFRunLoopTimerRef timer, CFRunLoopMode mode) {
    if (rl == nullptr || timer == nullptr || mode == nullptr) {
        return;
    }
    std::vector<CFTypeRef> dropped;
    {
        std::lock_guard lock(cf::runLoopMutex());
        dropped = detach(rl, timer, mode);
    }
    release(dropped);
}

Boolean CFRunLoopContainsTimer(CFRunLoopRef rl, CFRunLoopTimerRef timer, CFRunLoopMode mode) {
    if (rl == nullptr || timer == nullptr || mode == nullptr) {
        return false;
    }
    std::lock_guard lock(cf::runLoopMutex());
    return std::any_of(rl->timers.begin(), rl->timers.end(),
                       [&](const auto& e) { return e.timer == timer && sameMode(e.mode, mode); });
}

void CFRunLoopTimerInvalidate(CFRunLoopTimerRef timer) {
    if (timer == nullptr) {
        return;
    }
    std::vector<CFTypeRef> dropped;
    {
        std::lock_guard lock(cf::runLoopMutex());
        timer->valid = false;
        const std::vector<__CFRunLoop*> loops = timer->loops;
        for (__CFRunLoop* loop : loops) {
            auto more = detach(loop, timer, nullptr);
            dropped.insert(dropped.end(), more.begin(), more.end());
        }
        timer->loops.clear();
    }
    release(dropped);
}

Boolean CFRunLoopTimerIsValid(CFRunLoopTimerRef timer) {
    if (timer == nullptr) {
        return false;
    }
    std::lock_guard lock(cf::runLoopMutex());
    return timer->valid;
}

CFAbsoluteTime CFRunLoopTimerGetNextFireDate(CFRunLoopTimerRef timer) {
    if (timer == nullptr) {
        return 0;
    }
    std::lock_guard lock(cf::runLoopMutex());
    return timer->nextFire;
}

void CFRunLoopTimerSetNextFireDate(CFRunLoopTimerRef timer, CFAbsoluteTime fireDate) {
    if (timer == nullptr) {
        return;
    }
    std::vector<__CFRunLoop*> loops;
    {
        std::lock_guard lock(cf::runLoopMutex());
        timer->anchor = fireDate;
        timer->steps = 0;
        timer->nextFire = fireDate;
        loops = timer->loops;
        wakeAll(loops);
    }
}

CFTimeInterval CFRunLoopTimerGetInterval(CFRunLoopTimerRef timer) {
    return timer != nullptr ? timer->interval : 0;
}

Boolean CFRunLoopTimerDoesRepeat(CFRunLoopTimerRef timer) {
    return timer != nullptr && timer->interval > 0;
}

CFIndex CFRunLoopTimerGetOrder(CFRunLoopTimerRef timer) {
    return timer != nullptr ? timer->order : 0;
}

void CFRunLoopTimerGetContext(CFRunLoopTimerRef timer, CFRunLoopTimerContext* context) {
    if (timer != nullptr && context != nullptr) {
        *context = timer->context;
    }
}

} // extern "C"
