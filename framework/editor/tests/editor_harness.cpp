#include "editor_harness.h"
#include "event_line.h"

#include <cstdio>

EditorHarness::EditorHarness() {
    // The photographs, found through the Tolvar bundle identifier as the editor looks them up.
    static const bool opened = NSBundle::bundleWithPath(KELVO_EDITOR_TEST_BUNDLE) != nullptr;
    (void)opened;
    unit = makeFakeUnit();
    AUEventListenerCreate(&EditorHarness::received, this, CFRunLoopGetMain(), kCFRunLoopDefaultMode,
                          0, 0, &listener_);
    for (AudioUnitEventType type :
         {kAudioUnitEvent_ParameterValueChange, kAudioUnitEvent_BeginParameterChangeGesture,
          kAudioUnitEvent_EndParameterChangeGesture}) {
        AudioUnitEvent event{};
        event.mEventType = type;
        event.mArgument.mParameter = {unit, kAUParameterListener_AnyParameter,
                                      kAudioUnitScope_Global, 0};
        AUEventListenerAddEventType(listener_, nullptr, &event);
    }
    view = KelvoView::initWithUnit(unit);
    window = std::make_shared<NSWindow>(CGRectMake(0, 0, 1500, 599.8487140695914),
                                        NSWindowStyleMaskTitled, NSBackingStoreBuffered, false);
    auto content = std::make_shared<NSView>(CGRectMake(0, 0, 1500, 599.8487140695914));
    window->setContentView(content);
    content->addSubview(view);
    takeEvents();
}

EditorHarness::~EditorHarness() {
    view->removeFromSuperview();
    window.reset();
    view.reset();
    AUListenerDispose(listener_);
    disposeFakeUnit(unit);
}

void EditorHarness::received(void* refCon, void*, const AudioUnitEvent* event, UInt64,
                             AudioUnitParameterValue value) {
    static_cast<EditorHarness*>(refCon)->events_.push_back(editortest::eventLine(*event, value));
}

void EditorHarness::pump() {
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
}

std::vector<std::string> EditorHarness::takeEvents() {
    pump();
    std::vector<std::string> events;
    events.swap(events_);
    return events;
}

NSPoint EditorHarness::toWindow(NSPoint viewPoint) const {
    return view->convertPointToView(viewPoint, nullptr);
}

void EditorHarness::mouse(NSEventType type, NSPoint viewPoint, NSInteger clicks,
                          NSEventModifierFlags flags) {
    NSEvent event = NSEvent::mouseEventWithType(type, toWindow(viewPoint), flags, 0,
                                                window->windowNumber(), clicks);
    window->sendEvent(&event);
    pump(); // one turn of the host's event loop per event, as the listener sees them
}

void EditorHarness::drag(NSPoint from, double dx, double dy, NSEventModifierFlags flags,
                         int steps) {
    mouse(NSEventTypeLeftMouseDown, from, 1, flags);
    for (int i = 1; i <= steps; ++i) {
        const double f = static_cast<double>(i) / steps;
        mouse(NSEventTypeLeftMouseDragged, NSPoint{from.x + dx * f, from.y + dy * f}, 1, flags);
    }
    mouse(NSEventTypeLeftMouseUp, NSPoint{from.x + dx, from.y + dy}, 1, flags);
}

void EditorHarness::wheel(NSPoint at, double dy) {
    NSEvent event = NSEvent::scrollWheelEvent(toWindow(at), 0, dy, 0, 0, window->windowNumber());
    window->sendEvent(&event);
    pump();
}

void EditorHarness::key(unsigned short code) {
    NSEvent event = NSEvent::keyEventWithType(NSEventTypeKeyDown, NSPoint{}, 0, 0,
                                              window->windowNumber(), "", "", false, code);
    window->sendEvent(&event);
    pump();
}

NSPoint EditorHarness::centreOf(const NSView& control) {
    const NSRect f = control.frame();
    return NSPoint{f.origin.x + f.size.width / 2, f.origin.y + f.size.height / 2};
}
