#pragma once
// The user's hand on an editor in its window: clicks, drags, the wheel and arrow keys at
// points of the editor view (its flipped bounds at 100 %), each event handed to the window as
// the window server would and the main run loop run for the time until the next one, so
// listeners hear every step.

#include "actions.h"

#include <AppKit/AppKit.h>

class EditorInput {
public:
    // The editor view, in the window. [main thread]
    EditorInput(NSWindow& window, NSView& view) : window_(window), view_(view) {}

    NSWindow& window() { return window_; }
    NSView& view() { return view_; }

    // A point of the view in window coordinates (y up).
    NSPoint toWindow(double x, double y) const;

    void click(double x, double y, NSInteger clicks, bool shift = false);
    void drag(const EditorAction& action);
    void wheel(const EditorAction& action);
    void key(const EditorAction& action);

private:
    void mouse(NSEventType type, NSPoint at, NSInteger clicks, NSEventModifierFlags flags);
    void send(NSEvent& event);

    NSWindow& window_;
    NSView& view_;
};
