#pragma once
// Gradients: colour stops at locations from 0 to 1.
//
// Promises:
// - CGGradientStops is the value form (up to kMaxStops stops inline, no heap), used by
//   NSGradient and reported by the recording context. CGGradientRef objects wrap one and are
//   reference counted; CGGradientCreate... return +1.
// - Without locations the stops are spaced evenly: stop i of n at i / (n − 1) (a single stop
//   at 0). Between stops colours are interpolated linearly.

#include <CoreGraphics/CGColor.h>
#include <CoreGraphics/CGGeometry.h>

struct CG_EXTERN CGGradientStops {
    static constexpr std::size_t kMaxStops = 16;
    CGRGBAColor colors[kMaxStops];
    CGFloat locations[kMaxStops] = {};
    std::size_t count = 0;

    // Appends a stop; stops beyond kMaxStops are dropped.
    void add(CGRGBAColor color, CGFloat location);
    // Sets every location to even spacing.
    void spaceEvenly();
};

typedef const struct CGGradient* CGGradientRef;

typedef uint32_t CGGradientDrawingOptions;
enum : uint32_t {
    kCGGradientDrawsBeforeStartLocation = 1u << 0,
    kCGGradientDrawsAfterEndLocation = 1u << 1,
};

// components: count × (r, g, b, a); locations may be NULL for even spacing.
CG_EXTERN CGGradientRef CGGradientCreateWithColorComponents(CGColorSpaceRef space,
                                                            const CGFloat* components,
                                                            const CGFloat* locations,
                                                            std::size_t count);
CG_EXTERN CGGradientRef CGGradientRetain(CGGradientRef gradient);
CG_EXTERN void CGGradientRelease(CGGradientRef gradient);
// Stand-in extension: the stops of a gradient object.
CG_EXTERN const CGGradientStops& CGGradientGetStops(CGGradientRef gradient);
