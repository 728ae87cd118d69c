#pragma once
// The periodic call a host makes to an open GUI: TimerWakeup on the main run loop, in the
// common modes (it goes on while a menu or a panel tracks), the first call at the next pass of
// the run loop and then every interval, for as long as the GUITimer lives.

#include <AAX/AAX_IEffectGUI.h>

#include <CoreFoundation/CoreFoundation.h>

namespace aaxhost {

class GUITimer {
public:
    static constexpr CFTimeInterval defaultInterval = 1.0 / 30;

    // [main thread]
    explicit GUITimer(AAX_IEffectGUI& gui, CFTimeInterval interval = defaultInterval);
    ~GUITimer();
    GUITimer(const GUITimer&) = delete;
    GUITimer& operator=(const GUITimer&) = delete;

    // Calls TimerWakeup now, outside the schedule, as a host does after it laid its window out.
    // [main thread]
    AAX_Result wake();

private:
    static void fired(CFRunLoopTimerRef timer, void* info);

    AAX_IEffectGUI& gui_;
    CFRunLoopTimerRef timer_ = nullptr;
};

} // namespace aaxhost
