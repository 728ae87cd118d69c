// Colours and shadows.

#include <AppKit/NSColor.h>
#include <AppKit/NSShadow.h>

#include "drawing_internal.h"

NSColor NSColor::colorWithRed(CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
    return NSColor(CGRGBAColor{r, g, b, a});
}
NSColor NSColor::colorWithSRGBRed(CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
    return colorWithRed(r, g, b, a);
}
NSColor NSColor::colorWithCalibratedRed(CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
    return colorWithRed(r, g, b, a);
}
NSColor NSColor::colorWithDeviceRed(CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
    return colorWithRed(r, g, b, a);
}
NSColor NSColor::colorWithWhite(CGFloat w, CGFloat a) {
    return colorWithRed(w, w, w, a);
}
NSColor NSColor::blackColor() {
    return colorWithWhite(0, 1);
}
NSColor NSColor::whiteColor() {
    return colorWithWhite(1, 1);
}
NSColor NSColor::grayColor() {
    return colorWithWhite(0.5, 1);
}
NSColor NSColor::clearColor() {
    return colorWithWhite(0, 0);
}
NSColor NSColor::redColor() {
    return colorWithRed(1, 0, 0, 1);
}
NSColor NSColor::windowBackgroundColor() {
    return colorWithWhite(0.93, 1);
}
NSColor NSColor::textColor() {
    return blackColor();
}
NSColor NSColor::textBackgroundColor() {
    return whiteColor();
}
NSColor NSColor::controlColor() {
    return colorWithWhite(0.85, 1);
}

NSColor NSColor::colorWithAlphaComponent(CGFloat alpha) const {
    CGRGBAColor c = rgba_;
    c.alpha = alpha;
    return NSColor(c);
}

void NSColor::set() const {
    setFill();
    setStroke();
}

void NSColor::setFill() const {
    CGContextSetFillRGBA(appkit::currentCGContext(), rgba_);
}

void NSColor::setStroke() const {
    CGContextSetStrokeRGBA(appkit::currentCGContext(), rgba_);
}

NSShadow::NSShadow() : color_(NSColor::colorWithWhite(0, 1.0 / 3.0)) {}

void NSShadow::set() const {
    CGContextSetShadowRGBA(appkit::currentCGContext(), offset_, blur_, color_.rgba());
}
