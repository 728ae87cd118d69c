#include <AAXHost/GUITimer.h>

namespace aaxhost {

GUITimer::GUITimer(AAX_IEffectGUI& gui, CFTimeInterval interval) : gui_(gui) {
    CFRunLoopTimerContext context = {0, this, nullptr, nullptr, nullptr};
    timer_ = CFRunLoopTimerCreate(kCFAllocatorDefault, CFAbsoluteTimeGetCurrent(), interval, 0, 0,
                                  &GUITimer::fired, &context);
    CFRunLoopAddTimer(CFRunLoopGetMain(), timer_, kCFRunLoopCommonModes);
}

GUITimer::~GUITimer() {
    CFRunLoopTimerInvalidate(timer_);
    CFRelease(timer_);
}

AAX_Result GUITimer::wake() {
    return gui_.TimerWakeup();
}

void GUITimer::fired(CFRunLoopTimerRef, void* info) {
    static_cast<GUITimer*>(info)->wake();
}

} // namespace aaxhost
