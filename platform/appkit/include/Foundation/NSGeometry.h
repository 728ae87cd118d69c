#pragma once
// Foundation geometry: NSPoint, NSSize and NSRect are the Core Graphics types.
//
// Promises:
// - NSPointInRect is half-open (minX <= x < maxX, minY <= y < maxY); NSMouseInRect treats the
//   rectangle as seen in a flipped or unflipped space (in a flipped one the top edge is
//   minY, which is inside).
// - The functions are the CG functions under their Foundation names.

#include <CoreGraphics/CGGeometry.h>
#include <Foundation/NSObjCRuntime.h>

typedef CGPoint NSPoint;
typedef CGSize NSSize;
typedef CGRect NSRect;

FOUNDATION_EXPORT extern const NSPoint NSZeroPoint;
FOUNDATION_EXPORT extern const NSSize NSZeroSize;
FOUNDATION_EXPORT extern const NSRect NSZeroRect;

inline NSPoint NSMakePoint(CGFloat x, CGFloat y) {
    return NSPoint{x, y};
}
inline NSSize NSMakeSize(CGFloat w, CGFloat h) {
    return NSSize{w, h};
}
inline NSRect NSMakeRect(CGFloat x, CGFloat y, CGFloat w, CGFloat h) {
    return NSRect{{x, y}, {w, h}};
}
inline CGFloat NSMinX(NSRect r) {
    return CGRectGetMinX(r);
}
inline CGFloat NSMidX(NSRect r) {
    return CGRectGetMidX(r);
}
inline CGFloat NSMaxX(NSRect r) {
    return CGRectGetMaxX(r);
}
inline CGFloat NSMinY(NSRect r) {
    return CGRectGetMinY(r);
}
inline CGFloat NSMidY(NSRect r) {
    return CGRectGetMidY(r);
}
inline CGFloat NSMaxY(NSRect r) {
    return CGRectGetMaxY(r);
}
inline CGFloat NSWidth(NSRect r) {
    return CGRectGetWidth(r);
}
inline CGFloat NSHeight(NSRect r) {
    return CGRectGetHeight(r);
}
inline NSRect NSInsetRect(NSRect r, CGFloat dx, CGFloat dy) {
    return CGRectInset(r, dx, dy);
}
inline NSRect NSOffsetRect(NSRect r, CGFloat dx, CGFloat dy) {
    return CGRectOffset(r, dx, dy);
}
inline NSRect NSIntersectionRect(NSRect a, NSRect b) {
    NSRect r = CGRectIntersection(a, b);
    return CGRectIsNull(r) ? NSZeroRect : r;
}
inline NSRect NSUnionRect(NSRect a, NSRect b) {
    return CGRectUnion(a, b);
}
inline bool NSIsEmptyRect(NSRect r) {
    return CGRectIsEmpty(r);
}
inline bool NSEqualRects(NSRect a, NSRect b) {
    return CGRectEqualToRect(a, b);
}
inline bool NSEqualPoints(NSPoint a, NSPoint b) {
    return CGPointEqualToPoint(a, b);
}
inline bool NSEqualSizes(NSSize a, NSSize b) {
    return CGSizeEqualToSize(a, b);
}
inline bool NSPointInRect(NSPoint p, NSRect r) {
    return CGRectContainsPoint(r, p);
}
inline bool NSContainsRect(NSRect outer, NSRect inner) {
    return CGRectContainsRect(outer, inner);
}
FOUNDATION_EXPORT bool NSMouseInRect(NSPoint p, NSRect r, bool flipped);
