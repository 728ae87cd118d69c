// Colours, the colour space and gradient objects.

#include <CoreGraphics/CGColor.h>
#include <CoreGraphics/CGGradient.h>

#include <atomic>

struct CGColorSpace {};

struct CGColor {
    std::atomic<int> references{1};
    CGFloat components[4];
};

struct CGGradient {
    std::atomic<int> references{1};
    CGGradientStops stops;
};

CGColorSpaceRef CGColorSpaceCreateDeviceRGB() {
    static CGColorSpace deviceRGB;
    return &deviceRGB;
}
CGColorSpaceRef CGColorSpaceRetain(CGColorSpaceRef space) {
    return space;
}
void CGColorSpaceRelease(CGColorSpaceRef) {}

CGColorRef CGColorCreateSRGB(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
    auto* color = new CGColor();
    color->components[0] = red;
    color->components[1] = green;
    color->components[2] = blue;
    color->components[3] = alpha;
    return color;
}

CGColorRef CGColorCreateGenericRGB(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
    return CGColorCreateSRGB(red, green, blue, alpha);
}

CGColorRef CGColorRetain(CGColorRef color) {
    if (color) {
        const_cast<CGColor*>(color)->references.fetch_add(1, std::memory_order_relaxed);
    }
    return color;
}

void CGColorRelease(CGColorRef color) {
    if (color &&
        const_cast<CGColor*>(color)->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        delete color;
    }
}

std::size_t CGColorGetNumberOfComponents(CGColorRef color) {
    return color ? 4 : 0;
}
const CGFloat* CGColorGetComponents(CGColorRef color) {
    return color ? color->components : nullptr;
}
CGFloat CGColorGetAlpha(CGColorRef color) {
    return color ? color->components[3] : 0;
}
CGRGBAColor CGColorGetRGBA(CGColorRef color) {
    if (!color) {
        return {0, 0, 0, 0};
    }
    return {color->components[0], color->components[1], color->components[2], color->components[3]};
}

void CGGradientStops::add(CGRGBAColor color, CGFloat location) {
    if (count < kMaxStops) {
        colors[count] = color;
        locations[count] = location;
        ++count;
    }
}

void CGGradientStops::spaceEvenly() {
    for (std::size_t i = 0; i < count; ++i) {
        locations[i] = count > 1 ? CGFloat(i) / CGFloat(count - 1) : 0;
    }
}

CGGradientRef CGGradientCreateWithColorComponents(CGColorSpaceRef, const CGFloat* components,
                                                  const CGFloat* locations, std::size_t count) {
    auto* gradient = new CGGradient();
    for (std::size_t i = 0; i < count && components; ++i) {
        const CGFloat* c = components + 4 * i;
        gradient->stops.add({c[0], c[1], c[2], c[3]}, locations ? locations[i] : 0);
    }
    if (!locations) {
        gradient->stops.spaceEvenly();
    }
    return gradient;
}

CGGradientRef CGGradientRetain(CGGradientRef gradient) {
    if (gradient) {
        const_cast<CGGradient*>(gradient)->references.fetch_add(1, std::memory_order_relaxed);
    }
    return gradient;
}

void CGGradientRelease(CGGradientRef gradient) {
    if (gradient && const_cast<CGGradient*>(gradient)->references.fetch_sub(
                        1, std::memory_order_acq_rel) == 1) {
        delete gradient;
    }
}

const CGGradientStops& CGGradientGetStops(CGGradientRef gradient) {
    static const CGGradientStops none;
    return gradient ? gradient->stops : none;
}
