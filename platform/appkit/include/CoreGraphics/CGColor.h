#pragma once
// Colours: RGBA with components from 0 to 1 in one (device RGB, treated as sRGB) colour space.
//
// Promises:
// - CGRGBAColor is the value form used throughout the stand-in (NSColor holds one; the
//   recording context reports colours as it).
// - CGColorRef objects are reference counted; CGColorCreate... return +1. Components outside
//   0..1 are clamped when drawn, not when stored.
// - There is one colour space; CGColorSpaceCreateDeviceRGB returns a shared object that
//   retain and release leave alive.

#include <CoreGraphics/CGBase.h>

struct CGRGBAColor {
    CGFloat red = 0;
    CGFloat green = 0;
    CGFloat blue = 0;
    CGFloat alpha = 1;
    friend bool operator==(const CGRGBAColor&, const CGRGBAColor&) = default;
};

typedef struct CGColorSpace* CGColorSpaceRef;
typedef const struct CGColor* CGColorRef;

CG_EXTERN CGColorSpaceRef CGColorSpaceCreateDeviceRGB();
CG_EXTERN CGColorSpaceRef CGColorSpaceRetain(CGColorSpaceRef space);
CG_EXTERN void CGColorSpaceRelease(CGColorSpaceRef space);

CG_EXTERN CGColorRef CGColorCreateSRGB(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
CG_EXTERN CGColorRef CGColorCreateGenericRGB(CGFloat red, CGFloat green, CGFloat blue,
                                             CGFloat alpha);
CG_EXTERN CGColorRef CGColorRetain(CGColorRef color);
CG_EXTERN void CGColorRelease(CGColorRef color);
CG_EXTERN std::size_t CGColorGetNumberOfComponents(CGColorRef color); // 4
CG_EXTERN const CGFloat* CGColorGetComponents(CGColorRef color);      // r, g, b, a
CG_EXTERN CGFloat CGColorGetAlpha(CGColorRef color);
// Stand-in extension: the colour as a value.
CG_EXTERN CGRGBAColor CGColorGetRGBA(CGColorRef color);
