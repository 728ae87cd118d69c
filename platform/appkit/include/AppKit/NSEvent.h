#pragma once
// NSEvent: a mouse, scroll-wheel or key event, made by a host or a test and handed to
// NSWindow::sendEvent.
//
// Promises:
// - locationInWindow is in the window's base coordinates (points, origin bottom-left, y up).
// - clickCount counts presses in a multi-click (1 single, 2 double ...), as the host says.
// - scrollingDeltaY is positive when the user scrolls up (content moves down); deltaY is the
//   same value.
// - keyCode is the platform's virtual key code (123 left, 124 right, 125 down, 126 up arrow).
// - Class state: NSEvent::mouseLocation() is the mouse in screen coordinates and
//   NSEvent::currentModifierFlags() the modifier keys held now (the class methods
//   +mouseLocation and +modifierFlags). NSWindow::sendEvent keeps both up to date from the
//   events it routes; hosts may also set them (<AppKit/AppKitHost.h>).

#include <AppKit/AppKitDefines.h>
#include <Foundation/NSGeometry.h>
#include <Foundation/NSString.h>

class NSWindow;

enum NSEventType : NSUInteger {
    NSEventTypeLeftMouseDown = 1,
    NSEventTypeLeftMouseUp = 2,
    NSEventTypeRightMouseDown = 3,
    NSEventTypeRightMouseUp = 4,
    NSEventTypeMouseMoved = 5,
    NSEventTypeLeftMouseDragged = 6,
    NSEventTypeKeyDown = 10,
    NSEventTypeKeyUp = 11,
    NSEventTypeFlagsChanged = 12,
    NSEventTypeScrollWheel = 22,
};

typedef NSUInteger NSEventModifierFlags;
enum : NSUInteger {
    NSEventModifierFlagCapsLock = 1u << 16,
    NSEventModifierFlagShift = 1u << 17, // 0x20000
    NSEventModifierFlagControl = 1u << 18,
    NSEventModifierFlagOption = 1u << 19,
    NSEventModifierFlagCommand = 1u << 20,
    NSEventModifierFlagDeviceIndependentFlagsMask = 0xffff0000u,
};

class APPKIT_EXPORT NSEvent {
public:
    // mouseEventWithType:location:modifierFlags:timestamp:windowNumber:context:eventNumber:
    // clickCount:pressure: (without the context and event number).
    static NSEvent mouseEventWithType(NSEventType type, NSPoint locationInWindow,
                                      NSEventModifierFlags flags, NSTimeInterval timestamp,
                                      NSInteger windowNumber, NSInteger clickCount,
                                      float pressure = 1.0f);
    // keyEventWithType:location:modifierFlags:timestamp:windowNumber:context:characters:
    // charactersIgnoringModifiers:isARepeat:keyCode:
    static NSEvent keyEventWithType(NSEventType type, NSPoint locationInWindow,
                                    NSEventModifierFlags flags, NSTimeInterval timestamp,
                                    NSInteger windowNumber, const NSString& characters,
                                    const NSString& charactersIgnoringModifiers, bool isARepeat,
                                    unsigned short keyCode);
    // Stand-in: the platform makes these through Quartz events.
    static NSEvent scrollWheelEvent(NSPoint locationInWindow, NSEventModifierFlags flags,
                                    CGFloat deltaY, CGFloat deltaX = 0,
                                    NSTimeInterval timestamp = 0, NSInteger windowNumber = 0);

    NSEventType type() const { return type_; }
    NSPoint locationInWindow() const { return location_; }
    NSEventModifierFlags modifierFlags() const { return flags_; }
    NSTimeInterval timestamp() const { return timestamp_; }
    NSInteger windowNumber() const { return windowNumber_; }
    NSWindow* window() const { return window_; } // set by the window routing the event
    NSInteger clickCount() const { return clickCount_; }
    float pressure() const { return pressure_; }
    CGFloat scrollingDeltaX() const { return deltaX_; }
    CGFloat scrollingDeltaY() const { return deltaY_; }
    CGFloat deltaX() const { return deltaX_; }
    CGFloat deltaY() const { return deltaY_; }
    bool hasPreciseScrollingDeltas() const { return false; }
    unsigned short keyCode() const { return keyCode_; }
    const NSString& characters() const { return characters_; }
    const NSString& charactersIgnoringModifiers() const { return charactersIgnoringModifiers_; }
    bool isARepeat() const { return repeat_; }

    static NSPoint mouseLocation();
    static NSEventModifierFlags currentModifierFlags();

    void setWindow(NSWindow* window) { window_ = window; } // [host] routing

private:
    NSEventType type_ = NSEventTypeMouseMoved;
    NSPoint location_;
    NSEventModifierFlags flags_ = 0;
    NSTimeInterval timestamp_ = 0;
    NSInteger windowNumber_ = 0;
    NSWindow* window_ = nullptr;
    NSInteger clickCount_ = 0;
    float pressure_ = 0;
    CGFloat deltaX_ = 0, deltaY_ = 0;
    unsigned short keyCode_ = 0;
    NSString characters_, charactersIgnoringModifiers_;
    bool repeat_ = false;
};
