#pragma once
// NSGradient: a gradient value drawn into the current graphics context.
//
// Promises:
// - NSGradient(colours) spaces the colours evenly (the first at 0, the last at 1).
// - drawInRect/drawInBezierPath with an angle: a linear gradient clipped to the shape, along
//   the direction (cos angle, sin angle) of the current user space (0° runs along +x, 90°
//   along +y: in a flipped space 90° puts the first colour at the top). The gradient line
//   passes through the shape's bounding-box centre and reaches from the first to the last
//   corner that the direction meets, so the end colours just touch the bounds.
// - drawInRect/drawInBezierPath with a relative centre position (each coordinate −1 … 1 across
//   the bounds, (0, 0) the middle, in the current user space): a radial gradient clipped to the
//   shape, from the first colour at that point to the last colour on the ellipse inscribed in
//   the bounds, the end colours extended beyond both ends.
// - No heap allocation (up to CGGradientStops::kMaxStops colours).

#include <AppKit/NSBezierPath.h>
#include <AppKit/NSColor.h>
#include <CoreGraphics/CGGradient.h>

#include <initializer_list>
#include <span>

typedef NSUInteger NSGradientDrawingOptions;
enum : NSUInteger {
    NSGradientDrawsBeforeStartingLocation = 1u << 0,
    NSGradientDrawsAfterEndingLocation = 1u << 1,
};

class APPKIT_EXPORT NSGradient {
public:
    NSGradient(std::initializer_list<NSColor> colors);    // initWithColors:
    explicit NSGradient(std::span<const NSColor> colors); // initWithColors:
    NSGradient(const NSColor& starting,
               const NSColor& ending); // initWithStartingColor:endingColor:
    NSGradient(std::span<const NSColor> colors, std::span<const CGFloat> locations);

    NSInteger numberOfColorStops() const { return static_cast<NSInteger>(stops_.count); }
    void getColor(NSColor* color, CGFloat* location, NSInteger index) const;
    const CGGradientStops& stops() const { return stops_; } // stand-in extension

    void drawInRect(NSRect rect, CGFloat angle) const;
    void drawInBezierPath(const NSBezierPath& path, CGFloat angle) const;
    void drawInRect(NSRect rect, NSPoint relativeCenterPosition) const;
    void drawInBezierPath(const NSBezierPath& path, NSPoint relativeCenterPosition) const;
    void drawFromPoint(NSPoint start, NSPoint end, NSGradientDrawingOptions options) const;
    void drawFromCenter(NSPoint startCenter, CGFloat startRadius, NSPoint endCenter,
                        CGFloat endRadius, NSGradientDrawingOptions options) const;

private:
    CGGradientStops stops_;
};
