#include "editor_input.h"

#include "main_loop.h"

#include <AppKit/AppKitHost.h>

#include <chrono>

namespace {

NSEventModifierFlags modifiers(bool shift) {
    return shift ? static_cast<NSEventModifierFlags>(NSEventModifierFlagShift) : 0;
}

NSTimeInterval now() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

NSPoint EditorInput::toWindow(double x, double y) const {
    return view_.convertPointToView(NSPoint{x, y}, nullptr);
}

void EditorInput::mouse(NSEventType type, NSPoint at, NSInteger clicks,
                        NSEventModifierFlags flags) {
    NSEvent event =
        NSEvent::mouseEventWithType(type, at, flags, now(), window_.windowNumber(), clicks);
    send(event);
}

// The time between two events passes after each, so every listener hears every value of a
// drag, also one that delivers only every few milliseconds.
void EditorInput::send(NSEvent& event) {
    window_.sendEvent(&event);
    passEventTime();
}

void EditorInput::click(double x, double y, NSInteger clicks, bool shift) {
    const NSEventModifierFlags flags = modifiers(shift);
    appkit::setModifierFlags(flags);
    const NSPoint at = toWindow(x, y);
    mouse(NSEventTypeLeftMouseDown, at, clicks, flags);
    mouse(NSEventTypeLeftMouseUp, at, clicks, flags);
    appkit::setModifierFlags(0);
}

void EditorInput::drag(const EditorAction& a) {
    const NSEventModifierFlags flags = modifiers(a.shift);
    appkit::setModifierFlags(flags);
    mouse(NSEventTypeLeftMouseDown, toWindow(a.x, a.y), 1, flags);
    // The drag arrives in steps, as a mouse reports it.
    const int steps = 10;
    for (int i = 1; i <= steps; ++i) {
        const double f = static_cast<double>(i) / steps;
        mouse(NSEventTypeLeftMouseDragged, toWindow(a.x + a.dx * f, a.y + a.dy * f), 1, flags);
    }
    mouse(NSEventTypeLeftMouseUp, toWindow(a.x + a.dx, a.y + a.dy), 1, flags);
    appkit::setModifierFlags(0);
}

void EditorInput::wheel(const EditorAction& a) {
    NSEvent event =
        NSEvent::scrollWheelEvent(toWindow(a.x, a.y), 0, a.dy, 0, now(), window_.windowNumber());
    send(event);
}

void EditorInput::key(const EditorAction& a) {
    // The control under the point takes the keys, as it would after being clicked.
    const NSPoint at = toWindow(a.x, a.y);
    NSView* target = window_.contentView()->hitTest(at);
    window_.makeFirstResponder(target);
    const unsigned short code = a.text == "left"    ? 123
                                : a.text == "right" ? 124
                                : a.text == "down"  ? 125
                                                    : 126;
    NSEvent event = NSEvent::keyEventWithType(NSEventTypeKeyDown, at, 0, now(),
                                              window_.windowNumber(), "", "", false, code);
    send(event);
}
