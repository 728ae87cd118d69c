#pragma once
// An instance's editor opened as an AAX host opens it: the GUI made and initialised, a window
// laid out from its GetViewSize, its Cocoa view container given, and mouse input in the view's
// own points; and the main run loop pumped on CF's manual clock.

#include <AAXHost/Instance.h>
#include <AAXHost/ViewContainer.h>
#include <AppKit/AppKit.h>

#include <memory>
#include <string>

namespace bridgetest {

class EditorWindow {
public:
    // [main thread]
    explicit EditorWindow(aaxhost::Instance& instance,
                          aaxhost::GUIProcess process = aaxhost::GUIProcess::same);
    ~EditorWindow();
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    AAX_IEffectGUI& gui() { return *gui_; }
    aaxhost::CocoaViewContainer& container() { return *container_; }
    // What the GUI placed in the container, or null.
    NSView* view();
    // The fallback field's text; empty when the view is no text field.
    std::string fallbackText();

    // A drag from a point of the view by (dx, dy) in ten steps, the run loop pumped after each
    // event; release false leaves the button held.
    void drag(NSPoint from, double dx, double dy, bool release = true);

private:
    void mouse(NSEventType type, NSPoint viewPoint);

    std::unique_ptr<aaxhost::CocoaViewContainer> container_;
    std::unique_ptr<AAX_IEffectGUI> gui_;
};

// Runs the main run loop once without moving CF's clock, or after moving it by seconds.
void pumpMainRunLoop(double seconds = 0.0);

// CF's manual clock for the life of the object.
class ManualClock {
public:
    ManualClock() { CFRunLoopUseManualClockForTesting(true); }
    ~ManualClock() { CFRunLoopUseManualClockForTesting(false); }
};

} // namespace bridgetest
