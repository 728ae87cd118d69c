#pragma once
// NSBezierPath: a path value with its own line attributes, drawn into the current context.
//
// Promises:
// - Points are in the user space current when the path is filled, stroked or clipped to (a
//   path is geometry, not bound to a context).
// - fill() uses the path's winding rule and the context's fill colour; stroke() the path's
//   width, cap and join (defaults: 1, butt, miter) and the stroke colour; addClip() intersects
//   the clip with the path; setClip() replaces the clip (back to the whole context) by it.
//   Each saves and restores the context's line attributes around itself.
// - bezierPathWithOvalInRect and the rounded rectangle use Bézier quarter arcs (see
//   <CoreGraphics/CGPath.h>); radii are clamped to half the rectangle's sides.
// - appendBezierPathWithArcWithCenter takes degrees; clockwise as on the platform (in a y-up
//   space; in a flipped space it looks counter-clockwise).
// - Up to CGPathBuffer::kInlineSegments segments cost no heap allocation.

#include <AppKit/AppKitDefines.h>
#include <CoreGraphics/CGPath.h>
#include <Foundation/NSAffineTransform.h>
#include <Foundation/NSGeometry.h>

enum NSLineCapStyle : NSUInteger {
    NSLineCapStyleButt = 0,
    NSLineCapStyleRound = 1,
    NSLineCapStyleSquare = 2,
};
enum NSLineJoinStyle : NSUInteger {
    NSLineJoinStyleMiter = 0,
    NSLineJoinStyleRound = 1,
    NSLineJoinStyleBevel = 2,
};
enum NSWindingRule : NSUInteger {
    NSWindingRuleNonZero = 0,
    NSWindingRuleEvenOdd = 1,
};

class APPKIT_EXPORT NSBezierPath {
public:
    NSBezierPath() = default;
    static NSBezierPath bezierPath() { return NSBezierPath(); }
    static NSBezierPath bezierPathWithRect(NSRect rect);
    static NSBezierPath bezierPathWithOvalInRect(NSRect rect);
    static NSBezierPath bezierPathWithRoundedRect(NSRect rect, CGFloat xRadius, CGFloat yRadius);

    void moveToPoint(NSPoint point);
    void lineToPoint(NSPoint point);
    void curveToPoint(NSPoint end, NSPoint controlPoint1, NSPoint controlPoint2);
    void closePath();
    void relativeMoveToPoint(NSPoint delta);
    void relativeLineToPoint(NSPoint delta);
    void appendBezierPath(const NSBezierPath& path);
    void appendBezierPathWithRect(NSRect rect);
    void appendBezierPathWithOvalInRect(NSRect rect);
    void appendBezierPathWithRoundedRect(NSRect rect, CGFloat xRadius, CGFloat yRadius);
    void appendBezierPathWithPoints(const NSPoint* points, NSInteger count); // a polygon's lines
    void appendBezierPathWithArcWithCenter(NSPoint center, CGFloat radius, CGFloat startAngle,
                                           CGFloat endAngle, bool clockwise = false);
    void removeAllPoints();
    void transformUsingAffineTransform(const NSAffineTransform& transform);

    bool isEmpty() const { return path_.empty(); }
    NSInteger elementCount() const { return static_cast<NSInteger>(path_.size()); }
    NSPoint currentPoint() const { return path_.currentPoint(); }
    NSRect bounds() const;                               // NSZeroRect when empty
    NSRect controlPointBounds() const;                   // the same here
    const CGPathBuffer& CGPath() const { return path_; } // stand-in: the path value

    CGFloat lineWidth() const { return lineWidth_; }
    void setLineWidth(CGFloat width) { lineWidth_ = width; }
    NSLineCapStyle lineCapStyle() const { return cap_; }
    void setLineCapStyle(NSLineCapStyle style) { cap_ = style; }
    NSLineJoinStyle lineJoinStyle() const { return join_; }
    void setLineJoinStyle(NSLineJoinStyle style) { join_ = style; }
    NSWindingRule windingRule() const { return winding_; }
    void setWindingRule(NSWindingRule rule) { winding_ = rule; }
    CGFloat miterLimit() const { return miterLimit_; }
    void setMiterLimit(CGFloat limit) { miterLimit_ = limit; }

    void fill() const;
    void stroke() const;
    void addClip() const;
    void setClip() const;

    static void fillRect(NSRect rect);
    static void strokeRect(NSRect rect);
    static void clipRect(NSRect rect);
    static void strokeLineFromPoint(NSPoint from, NSPoint to);

private:
    CGPathBuffer path_;
    CGFloat lineWidth_ = 1;
    NSLineCapStyle cap_ = NSLineCapStyleButt;
    NSLineJoinStyle join_ = NSLineJoinStyleMiter;
    NSWindingRule winding_ = NSWindingRuleNonZero;
    CGFloat miterLimit_ = 10;
};

// Fill and clip helpers of the platform.
APPKIT_EXPORT void NSRectFill(NSRect rect);
APPKIT_EXPORT void NSRectClip(NSRect rect);
APPKIT_EXPORT void NSFrameRect(NSRect rect); // a 1-point outline inside rect
