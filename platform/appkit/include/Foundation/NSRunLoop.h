#pragma once
// NSRunLoop and NSTimer: timers on Core Foundation's main run loop.
//
// Promises:
// - NSRunLoop::mainRunLoop() is CFRunLoopGetMain(); NSRunLoopCommonModes is
//   kCFRunLoopCommonModes (the default, modal-panel and menu-tracking modes), so a timer added
//   in the common modes keeps firing while a menu or a panel tracks.
// - A timer is a CFRunLoopTimer: it fires when the run loop runs and CF's clock (which tests
//   drive by hand) has reached its fire date, first one interval after it is added; a
//   repeating timer that falls behind fires once and moves on (CF's rule). The block gets the
//   timer.
// - Adding a timer to a run loop keeps the timer alive until it is invalidated (or, for a
//   one-shot timer, until it has fired). invalidate is idempotent and stops all further fires,
//   also from inside the block.

#include <Foundation/NSObject.h>
#include <Foundation/NSString.h>

#include <functional>

typedef NSString NSRunLoopMode;
FOUNDATION_EXPORT extern const NSRunLoopMode NSRunLoopCommonModes;
FOUNDATION_EXPORT extern const NSRunLoopMode NSDefaultRunLoopMode;

class NSTimer;

class FOUNDATION_EXPORT NSRunLoop {
public:
    static NSRunLoop* mainRunLoop();
    static NSRunLoop* currentRunLoop(); // the main run loop (the editor runs on it only)

    CFRunLoopRef getCFRunLoop() const;
    void addTimer(const std::shared_ptr<NSTimer>& timer, const NSRunLoopMode& mode);

private:
    explicit NSRunLoop(CFRunLoopRef loop) : loop_(loop) {}
    CFRunLoopRef loop_;
};

class FOUNDATION_EXPORT NSTimer : public NSObject {
public:
    using Block = std::function<void(NSTimer* timer)>;

    // Not scheduled; add it to a run loop.
    static std::shared_ptr<NSTimer> timerWithTimeInterval(NSTimeInterval interval, bool repeats,
                                                          Block block);
    // Scheduled on the main run loop in the default mode.
    static std::shared_ptr<NSTimer> scheduledTimerWithTimeInterval(NSTimeInterval interval,
                                                                   bool repeats, Block block);

    NSTimer(NSTimeInterval interval, bool repeats, Block block);
    ~NSTimer() override;

    void invalidate();
    bool isValid() const;
    NSTimeInterval timeInterval() const;
    void fire(); // runs the block now; a one-shot timer is then invalidated
    CFRunLoopTimerRef CFTimer() const { return timer_; }

private:
    friend class NSRunLoop;
    static void callout(CFRunLoopTimerRef timer, void* info);

    NSTimeInterval interval_;
    bool repeats_;
    Block block_;
    CFRunLoopTimerRef timer_ = nullptr;
    bool valid_ = true;
    bool firing_ = false;
};
