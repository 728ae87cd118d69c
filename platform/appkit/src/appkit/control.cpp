// NSControl, NSButton and NSTextField.

#include <AppKit/NSBezierPath.h>
#include <AppKit/NSButton.h>
#include <AppKit/NSFont.h>
#include <AppKit/NSGradient.h>
#include <AppKit/NSStringDrawing.h>
#include <AppKit/NSTextField.h>
#include <Foundation/NSValue.h>

#include <cmath>

NSControl::NSControl() = default;
NSControl::NSControl(NSRect frame) : NSView(frame) {}
NSControl::~NSControl() = default;

bool NSControl::sendAction(SEL action, NSObject* target) {
    if (!action || !action.perform) {
        return false;
    }
    std::shared_ptr<NSObject> held;
    if (!target) {
        held = this->target();
        target = held.get();
    }
    if (!action.canPerform(target)) {
        return false;
    }
    // The action may remove this control from its view: keep it alive until it returns.
    const std::shared_ptr<NSObject> self = weak_from_this().lock();
    action.perform(target, this);
    return true;
}

void NSControl::setEnabled(bool enabled) {
    enabled_ = enabled;
    setNeedsDisplay(true);
}

double NSControl::doubleValue() const {
    return value_;
}

void NSControl::setDoubleValue(double value) {
    value_ = value;
    setNeedsDisplay(true);
}

float NSControl::floatValue() const {
    return static_cast<float>(doubleValue());
}
void NSControl::setFloatValue(float value) {
    setDoubleValue(value);
}
int NSControl::intValue() const {
    const double v = doubleValue();
    return std::isfinite(v) ? static_cast<int>(v) : 0;
}
void NSControl::setIntValue(int value) {
    setDoubleValue(value);
}
NSInteger NSControl::integerValue() const {
    const double v = doubleValue();
    return std::isfinite(v) ? static_cast<NSInteger>(v) : 0;
}
void NSControl::setIntegerValue(NSInteger value) {
    setDoubleValue(static_cast<double>(value));
}

NSString NSControl::stringValue() const {
    return string_ ? string_ : NSString::stringWithFormat("%g", doubleValue());
}

void NSControl::setStringValue(const NSString& value) {
    string_ = value;
    setNeedsDisplay(true);
}

void NSControl::setFont(const std::shared_ptr<NSFont>& font) {
    font_ = font;
    setNeedsDisplay(true);
}

NSView* NSControl::hitTest(NSPoint point) {
    return NSView::hitTest(point);
}

NSButton::NSButton() = default;
NSButton::NSButton(NSRect frame) : NSControl(frame) {}
NSButton::~NSButton() = default;

void NSButton::setTitle(const NSString& title) {
    title_ = title;
    setNeedsDisplay(true);
}

void NSButton::setState(NSControlStateValue state) {
    if (state_ != state) {
        state_ = state;
        setNeedsDisplay(true);
    }
}

void NSButton::highlight(bool flag) {
    if (highlighted_ != flag) {
        highlighted_ = flag;
        setNeedsDisplay(true);
    }
}

bool NSButton::togglesState() const {
    switch (type_) {
    case NSButtonTypePushOnPushOff:
    case NSButtonTypeToggle:
    case NSButtonTypeSwitch:
    case NSButtonTypeRadio:
    case NSButtonTypeOnOff:
        return true;
    case NSButtonTypeMomentaryLight:
    case NSButtonTypeMomentaryChange:
    case NSButtonTypeMomentaryPushIn:
        break;
    }
    return false;
}

double NSButton::doubleValue() const {
    return static_cast<double>(state_);
}

void NSButton::setDoubleValue(double value) {
    setState(std::isfinite(value) ? static_cast<NSControlStateValue>(value)
                                  : NSControlStateValueOff);
}

void NSButton::performClick(NSObject*) {
    if (!isEnabled()) {
        return;
    }
    if (togglesState()) {
        setState(state_ == NSControlStateValueOn ? NSControlStateValueOff : NSControlStateValueOn);
    }
    sendAction(action(), nullptr);
}

bool NSButton::inside(NSEvent* event) const {
    const NSPoint p = convertPointFromView(event->locationInWindow(), nullptr);
    return NSMouseInRect(p, bounds(), isFlipped());
}

void NSButton::mouseDown(NSEvent*) {
    tracking_ = true;
    highlight(true);
}

void NSButton::mouseDragged(NSEvent* event) {
    if (tracking_) {
        highlight(inside(event));
    }
}

void NSButton::mouseUp(NSEvent* event) {
    if (!tracking_) {
        return;
    }
    tracking_ = false;
    const bool in = inside(event);
    highlight(false);
    if (in) {
        performClick(this);
    }
}

void NSButton::drawRect(NSRect) {
    const NSRect b = NSInsetRect(bounds(), 1, 1);
    const NSBezierPath face = NSBezierPath::bezierPathWithRoundedRect(b, 5, 5);
    const bool on = state_ == NSControlStateValueOn;
    const NSColor top = highlighted_ ? NSColor::colorWithWhite(0.62, 1)
                        : on         ? NSColor::colorWithRed(0.45, 0.62, 0.9, 1)
                                     : NSColor::colorWithWhite(0.97, 1);
    const NSColor bottom = highlighted_ ? NSColor::colorWithWhite(0.5, 1)
                           : on         ? NSColor::colorWithRed(0.25, 0.45, 0.8, 1)
                                        : NSColor::colorWithWhite(0.84, 1);
    NSGradient(top, bottom).drawInBezierPath(face, isFlipped() ? 90 : -90);
    NSColor::colorWithWhite(0.45, 1).setStroke();
    NSBezierPath outline = face;
    outline.setLineWidth(1);
    outline.stroke();
    if (title_ && title_.length()) {
        NSMutableParagraphStyle style;
        style.setAlignment(NSTextAlignmentCenter);
        const std::shared_ptr<NSFont>& f = font() ? font() : NSFont::systemFontOfSize(13);
        const NSStringAttributes attributes{
            f, isEnabled() ? NSColor::blackColor() : NSColor::grayColor(), style};
        const CGFloat h = title_.sizeWithAttributes(attributes).height;
        NSRect r = NSInsetRect(bounds(), 4, 0);
        r.origin.y = NSMidY(bounds()) - h / 2;
        r.size.height = h;
        title_.drawInRect(r, attributes);
    }
}

NSAccessibilityRole NSButton::accessibilityRole() const {
    return NSAccessibilityButtonRole;
}

NSHandle NSButton::accessibilityValue() const {
    return togglesState() ? NSHandle(NSNumber::numberWithInteger(state_)) : NSHandle();
}

NSTextField::NSTextField()
    : textColor_(NSColor::textColor()), backgroundColor_(NSColor::textBackgroundColor()) {
    setStringValue("");
}
NSTextField::NSTextField(NSRect frame)
    : NSControl(frame), textColor_(NSColor::textColor()),
      backgroundColor_(NSColor::textBackgroundColor()) {
    setStringValue("");
}
NSTextField::~NSTextField() = default;

std::shared_ptr<NSTextField> NSTextField::labelWithString(const NSString& string) {
    auto field = std::make_shared<NSTextField>();
    field->setEditable(false);
    field->setBezeled(false);
    field->setDrawsBackground(false);
    field->setStringValue(string);
    const NSSize size = string.sizeWithAttributes({NSFont::systemFontOfSize(13), {}, {}});
    field->setFrameSize(NSMakeSize(std::ceil(size.width) + 4, std::ceil(size.height) + 2));
    return field;
}

void NSTextField::drawRect(NSRect) {
    if (drawsBackground_ || bezeled_) {
        backgroundColor_.setFill();
        NSRectFill(bounds());
    }
    if (bezeled_ || bordered_) {
        NSColor::colorWithWhite(0.6, 1).setFill();
        NSFrameRect(bounds());
    }
    const NSString text = stringValue();
    if (!text || text.length() == 0) {
        return;
    }
    NSMutableParagraphStyle style;
    style.setAlignment(alignment());
    const std::shared_ptr<NSFont>& f = font() ? font() : NSFont::systemFontOfSize(13);
    text.drawInRect(NSInsetRect(bounds(), 2, 1), {f, textColor_, style});
}

NSAccessibilityRole NSTextField::accessibilityRole() const {
    return NSAccessibilityStaticTextRole;
}

NSHandle NSTextField::accessibilityValue() const {
    return stringValue();
}
