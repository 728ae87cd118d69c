// NSGradient: linear and radial gradients clipped to shapes.

#include <AppKit/NSGradient.h>

#include "drawing_internal.h"

#include <algorithm>
#include <cmath>
#include <numbers>

NSGradient::NSGradient(std::initializer_list<NSColor> colors)
    : NSGradient(std::span<const NSColor>(colors.begin(), colors.size())) {}

NSGradient::NSGradient(std::span<const NSColor> colors) {
    for (const NSColor& c : colors) {
        stops_.add(c.rgba(), 0);
    }
    stops_.spaceEvenly();
}

NSGradient::NSGradient(const NSColor& starting, const NSColor& ending) {
    stops_.add(starting.rgba(), 0);
    stops_.add(ending.rgba(), 1);
}

NSGradient::NSGradient(std::span<const NSColor> colors, std::span<const CGFloat> locations) {
    for (std::size_t i = 0; i < colors.size(); ++i) {
        stops_.add(colors[i].rgba(), i < locations.size() ? locations[i] : 1);
    }
}

void NSGradient::getColor(NSColor* color, CGFloat* location, NSInteger index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= stops_.count) {
        return;
    }
    if (color) {
        *color = NSColor(stops_.colors[index]);
    }
    if (location) {
        *location = stops_.locations[index];
    }
}

void NSGradient::drawInRect(NSRect rect, CGFloat angle) const {
    drawInBezierPath(NSBezierPath::bezierPathWithRect(rect), angle);
}

void NSGradient::drawInBezierPath(const NSBezierPath& path, CGFloat angle) const {
    CGContextRef c = appkit::currentCGContext();
    if (!c || path.isEmpty()) {
        return;
    }
    const NSRect b = path.bounds();
    const CGFloat a = angle * std::numbers::pi / 180;
    const CGFloat dx = std::cos(a), dy = std::sin(a);
    // The line through the centre along the direction, reaching the corners it meets first
    // and last: their projections onto the direction bound the gradient.
    const CGFloat half = (std::fabs(dx) * b.size.width + std::fabs(dy) * b.size.height) / 2;
    const NSPoint centre = {NSMidX(b), NSMidY(b)};
    const NSPoint start = {centre.x - dx * half, centre.y - dy * half};
    const NSPoint end = {centre.x + dx * half, centre.y + dy * half};
    CGContextSaveGState(c);
    path.addClip();
    CGContextDrawLinearGradientStops(c, stops_, start, end,
                                     kCGGradientDrawsBeforeStartLocation |
                                         kCGGradientDrawsAfterEndLocation);
    CGContextRestoreGState(c);
}

void NSGradient::drawInRect(NSRect rect, NSPoint relativeCenterPosition) const {
    drawInBezierPath(NSBezierPath::bezierPathWithRect(rect), relativeCenterPosition);
}

void NSGradient::drawInBezierPath(const NSBezierPath& path, NSPoint relative) const {
    CGContextRef c = appkit::currentCGContext();
    if (!c || path.isEmpty()) {
        return;
    }
    const NSRect b = path.bounds();
    if (b.size.width <= 0 || b.size.height <= 0) {
        return;
    }
    CGContextSaveGState(c);
    path.addClip();
    // In the unit space of the bounds' inscribed ellipse: centre (0, 0), radius 1.
    CGContextTranslateCTM(c, NSMidX(b), NSMidY(b));
    CGContextScaleCTM(c, b.size.width / 2, b.size.height / 2);
    const NSPoint start = {std::clamp(relative.x, CGFloat(-1), CGFloat(1)),
                           std::clamp(relative.y, CGFloat(-1), CGFloat(1))};
    CGContextDrawRadialGradientStops(c, stops_, start, 0, {0, 0}, 1,
                                     kCGGradientDrawsBeforeStartLocation |
                                         kCGGradientDrawsAfterEndLocation);
    CGContextRestoreGState(c);
}

void NSGradient::drawFromPoint(NSPoint start, NSPoint end, NSGradientDrawingOptions options) const {
    CGContextDrawLinearGradientStops(appkit::currentCGContext(), stops_, start, end,
                                     static_cast<CGGradientDrawingOptions>(options));
}

void NSGradient::drawFromCenter(NSPoint startCenter, CGFloat startRadius, NSPoint endCenter,
                                CGFloat endRadius, NSGradientDrawingOptions options) const {
    CGContextDrawRadialGradientStops(appkit::currentCGContext(), stops_, startCenter, startRadius,
                                     endCenter, endRadius,
                                     static_cast<CGGradientDrawingOptions>(options));
}
