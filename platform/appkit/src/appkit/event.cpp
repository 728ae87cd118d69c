// Events, the class mouse location and modifier flags, and the screen.

#include <AppKit/AppKitHost.h>
#include <AppKit/NSEvent.h>
#include <AppKit/NSScreen.h>

namespace {

NSPoint& mouse() {
    static NSPoint location;
    return location;
}

NSEventModifierFlags& flags() {
    static NSEventModifierFlags current = 0;
    return current;
}

} // namespace

NSEvent NSEvent::mouseEventWithType(NSEventType type, NSPoint location, NSEventModifierFlags flags,
                                    NSTimeInterval timestamp, NSInteger windowNumber,
                                    NSInteger clickCount, float pressure) {
    NSEvent e;
    e.type_ = type;
    e.location_ = location;
    e.flags_ = flags;
    e.timestamp_ = timestamp;
    e.windowNumber_ = windowNumber;
    e.clickCount_ = clickCount;
    e.pressure_ = pressure;
    return e;
}

NSEvent NSEvent::keyEventWithType(NSEventType type, NSPoint location, NSEventModifierFlags flags,
                                  NSTimeInterval timestamp, NSInteger windowNumber,
                                  const NSString& characters,
                                  const NSString& charactersIgnoringModifiers, bool isARepeat,
                                  unsigned short keyCode) {
    NSEvent e;
    e.type_ = type;
    e.location_ = location;
    e.flags_ = flags;
    e.timestamp_ = timestamp;
    e.windowNumber_ = windowNumber;
    e.characters_ = characters;
    e.charactersIgnoringModifiers_ = charactersIgnoringModifiers;
    e.repeat_ = isARepeat;
    e.keyCode_ = keyCode;
    return e;
}

NSEvent NSEvent::scrollWheelEvent(NSPoint location, NSEventModifierFlags flags, CGFloat deltaY,
                                  CGFloat deltaX, NSTimeInterval timestamp,
                                  NSInteger windowNumber) {
    NSEvent e;
    e.type_ = NSEventTypeScrollWheel;
    e.location_ = location;
    e.flags_ = flags;
    e.deltaX_ = deltaX;
    e.deltaY_ = deltaY;
    e.timestamp_ = timestamp;
    e.windowNumber_ = windowNumber;
    return e;
}

NSPoint NSEvent::mouseLocation() {
    return mouse();
}
NSEventModifierFlags NSEvent::currentModifierFlags() {
    return flags();
}

void appkit::setMouseLocation(NSPoint screenLocation) {
    mouse() = screenLocation;
}
void appkit::setModifierFlags(NSEventModifierFlags modifierFlags) {
    flags() = modifierFlags;
}

NSScreen* NSScreen::mainScreen() {
    static NSScreen screen;
    return &screen;
}

void NSScreen::setFrame(NSRect frame, CGFloat backingScaleFactor) {
    frame_ = frame;
    scale_ = backingScaleFactor > 0 ? backingScaleFactor : 1;
}

void appkit::setMainScreen(NSRect frame, CGFloat backingScaleFactor) {
    NSScreen::mainScreen()->setFrame(frame, backingScaleFactor);
}
