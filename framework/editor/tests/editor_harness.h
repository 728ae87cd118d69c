#pragma once
// A Tolvar editor on the fake unit, in a window, with a listener recording what a host
// would hear: "begin 1", "value 1 7.5", "end 1".

#include "fake_unit.h"
#include "view/editor_view.h"

#include <AppKit/AppKit.h>
#include <AudioToolbox/AudioUnitUtilities.h>

#include <memory>
#include <string>
#include <vector>

class EditorHarness {
public:
    EditorHarness();
    ~EditorHarness();
    EditorHarness(const EditorHarness&) = delete;
    EditorHarness& operator=(const EditorHarness&) = delete;

    AudioUnit unit = nullptr;
    std::shared_ptr<KelvoView> view;
    std::shared_ptr<NSWindow> window;

    FakeUnitState& state() { return fakeUnitState(unit); }
    // Events delivered so far (the run loop is pumped first); clears them. Input methods
    // pump after each event, so value changes of one edit are not coalesced.
    std::vector<std::string> takeEvents();
    // Runs the main run loop once without moving the clock.
    void pump();
    // The dial or control bound to a parameter.
    template <typename T = NSControl> T* control(unsigned id) {
        return dynamic_cast<T*>(view->controlsById().at(id).get());
    }

    // Input in view points of the flipped view at 100 %.
    NSPoint toWindow(NSPoint viewPoint) const;
    void mouse(NSEventType type, NSPoint viewPoint, NSInteger clicks = 1,
               NSEventModifierFlags flags = 0);
    void drag(NSPoint from, double dx, double dy, NSEventModifierFlags flags = 0, int steps = 5);
    void wheel(NSPoint at, double dy);
    void key(unsigned short code);

    // The centre of a control, in view points.
    static NSPoint centreOf(const NSView& control);

private:
    static void received(void* refCon, void*, const AudioUnitEvent* event, UInt64,
                         AudioUnitParameterValue value);
    AUEventListenerRef listener_ = nullptr;
    std::vector<std::string> events_;
};
