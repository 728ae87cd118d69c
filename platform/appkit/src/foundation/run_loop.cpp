// NSRunLoop and NSTimer over CFRunLoop timers.

#include <Foundation/NSRunLoop.h>

#include <set>

const NSRunLoopMode NSRunLoopCommonModes = NSString::bridge(kCFRunLoopCommonModes);
const NSRunLoopMode NSDefaultRunLoopMode = NSString::bridge(kCFRunLoopDefaultMode);

namespace {

// Scheduled timers stay alive until they are invalidated, as the run loop retains them.
std::set<std::shared_ptr<NSTimer>>& scheduled() {
    static auto* timers = new std::set<std::shared_ptr<NSTimer>>;
    return *timers;
}

} // namespace

NSRunLoop* NSRunLoop::mainRunLoop() {
    static NSRunLoop loop(CFRunLoopGetMain());
    return &loop;
}

NSRunLoop* NSRunLoop::currentRunLoop() {
    return mainRunLoop();
}

CFRunLoopRef NSRunLoop::getCFRunLoop() const {
    return loop_;
}

void NSRunLoop::addTimer(const std::shared_ptr<NSTimer>& timer, const NSRunLoopMode& mode) {
    if (!timer || !timer->valid_) {
        return;
    }
    if (!timer->timer_) {
        CFRunLoopTimerContext context = {0, timer.get(), nullptr, nullptr, nullptr};
        timer->timer_ = CFRunLoopTimerCreate(
            kCFAllocatorDefault, CFAbsoluteTimeGetCurrent() + timer->interval_,
            timer->repeats_ ? timer->interval_ : 0, 0, 0, &NSTimer::callout, &context);
    }
    scheduled().insert(timer);
    CFRunLoopAddTimer(loop_, timer->timer_, mode.cf());
}

std::shared_ptr<NSTimer> NSTimer::timerWithTimeInterval(NSTimeInterval interval, bool repeats,
                                                        Block block) {
    return std::make_shared<NSTimer>(interval, repeats, std::move(block));
}

std::shared_ptr<NSTimer> NSTimer::scheduledTimerWithTimeInterval(NSTimeInterval interval,
                                                                 bool repeats, Block block) {
    auto timer = timerWithTimeInterval(interval, repeats, std::move(block));
    NSRunLoop::mainRunLoop()->addTimer(timer, NSDefaultRunLoopMode);
    return timer;
}

NSTimer::NSTimer(NSTimeInterval interval, bool repeats, Block block)
    // The platform uses 0.1 ms for a non-positive interval.
    : interval_(interval > 0 ? interval : 0.0001), repeats_(repeats), block_(std::move(block)) {}

NSTimer::~NSTimer() {
    if (timer_) {
        CFRunLoopTimerInvalidate(timer_);
        CFRelease(timer_);
    }
}

void NSTimer::callout(CFRunLoopTimerRef, void* info) {
    auto* timer = static_cast<NSTimer*>(info);
    if (!timer->valid_) {
        return;
    }
    // Keep the timer alive while its block runs: the block may invalidate it.
    std::shared_ptr<NSTimer> keep;
    for (const auto& t : scheduled()) {
        if (t.get() == timer) {
            keep = t;
            break;
        }
    }
    timer->fire();
}

void NSTimer::fire() {
    if (!valid_) {
        return;
    }
    // The block may invalidate the timer; its closure is released only after it returns.
    firing_ = true;
    if (block_) {
        block_(this);
    }
    firing_ = false;
    if (!repeats_) {
        invalidate();
    }
    if (!valid_) {
        block_ = nullptr;
    }
}

void NSTimer::invalidate() {
    if (!valid_) {
        return;
    }
    valid_ = false;
    if (timer_) {
        CFRunLoopTimerInvalidate(timer_);
    }
    if (!firing_) {
        block_ = nullptr;
    }
    // Last: this may drop the final reference to the timer.
    auto& timers = scheduled();
    for (auto it = timers.begin(); it != timers.end(); ++it) {
        if (it->get() == this) {
            std::shared_ptr<NSTimer> keep = *it;
            timers.erase(it);
            return; // keep goes out of scope after the erase, never inside our own members
        }
    }
}

bool NSTimer::isValid() const {
    return valid_;
}

NSTimeInterval NSTimer::timeInterval() const {
    return repeats_ ? interval_ : 0;
}
