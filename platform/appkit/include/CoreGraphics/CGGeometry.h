#pragma once
// Points, sizes and rectangles, and the helpers the editor uses on them.
//
// Promises:
// - Plain aggregates of CGFloat; a rectangle is an origin and a size. A rectangle with a
//   negative width or height is standardised (origin moved, size made positive) by the
//   functions that read its extremes, as on the platform.
// - CGRectContainsPoint is half-open: minX <= x < maxX and minY <= y < maxY.
// - CGRectIntersection of disjoint rectangles is CGRectNull (infinite origin, zero size);
//   CGRectIsNull recognises it and CGRectIsEmpty is true for it.

#include <CoreGraphics/CGBase.h>

struct CGPoint {
    CGFloat x = 0;
    CGFloat y = 0;
};

struct CGSize {
    CGFloat width = 0;
    CGFloat height = 0;
};

struct CGRect {
    CGPoint origin;
    CGSize size;
};

CG_EXTERN extern const CGPoint CGPointZero;
CG_EXTERN extern const CGSize CGSizeZero;
CG_EXTERN extern const CGRect CGRectZero;
CG_EXTERN extern const CGRect CGRectNull;
CG_EXTERN extern const CGRect CGRectInfinite;

inline CGPoint CGPointMake(CGFloat x, CGFloat y) {
    return CGPoint{x, y};
}
inline CGSize CGSizeMake(CGFloat width, CGFloat height) {
    return CGSize{width, height};
}
inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
    return CGRect{{x, y}, {width, height}};
}

CG_EXTERN CGRect CGRectStandardize(CGRect rect);
CG_EXTERN CGFloat CGRectGetMinX(CGRect rect);
CG_EXTERN CGFloat CGRectGetMidX(CGRect rect);
CG_EXTERN CGFloat CGRectGetMaxX(CGRect rect);
CG_EXTERN CGFloat CGRectGetMinY(CGRect rect);
CG_EXTERN CGFloat CGRectGetMidY(CGRect rect);
CG_EXTERN CGFloat CGRectGetMaxY(CGRect rect);
CG_EXTERN CGFloat CGRectGetWidth(CGRect rect);
CG_EXTERN CGFloat CGRectGetHeight(CGRect rect);
CG_EXTERN bool CGRectIsEmpty(CGRect rect);
CG_EXTERN bool CGRectIsNull(CGRect rect);
CG_EXTERN bool CGRectEqualToRect(CGRect a, CGRect b);
CG_EXTERN bool CGPointEqualToPoint(CGPoint a, CGPoint b);
CG_EXTERN bool CGSizeEqualToSize(CGSize a, CGSize b);
CG_EXTERN bool CGRectContainsPoint(CGRect rect, CGPoint point);
CG_EXTERN bool CGRectContainsRect(CGRect outer, CGRect inner);
CG_EXTERN bool CGRectIntersectsRect(CGRect a, CGRect b);
CG_EXTERN CGRect CGRectIntersection(CGRect a, CGRect b);
CG_EXTERN CGRect CGRectUnion(CGRect a, CGRect b);
CG_EXTERN CGRect CGRectInset(CGRect rect, CGFloat dx, CGFloat dy);
CG_EXTERN CGRect CGRectOffset(CGRect rect, CGFloat dx, CGFloat dy);
CG_EXTERN CGRect CGRectIntegral(CGRect rect);
