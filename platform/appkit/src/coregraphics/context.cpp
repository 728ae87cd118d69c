// The graphics state machine: everything a context does before its device draws.

#include "context_internal.h"

#include <algorithm>
#include <cmath>

namespace cg {

CGContextRef makeContext(CGSize size, CGFloat scale, std::unique_ptr<Device> device) {
    auto* context = new CGContext();
    context->pointSize = size;
    context->scale = scale > 0 ? scale : 1;
    context->pixelsWide = static_cast<std::size_t>(std::ceil(size.width * context->scale - 1e-9));
    context->pixelsHigh = static_cast<std::size_t>(std::ceil(size.height * context->scale - 1e-9));
    // Default user space: points, y up from the bottom edge.
    context->base = {context->scale, 0, 0, -context->scale, 0, size.height * context->scale};
    context->state.ctm = context->base;
    context->state.clipDevice =
        CGRectMake(0, 0, CGFloat(context->pixelsWide), CGFloat(context->pixelsHigh));
    context->stack.reserve(64); // nesting of views and drawing helpers stays far below this
    context->device = std::move(device);
    return context;
}

DeviceShadow deviceShadow(const CGContext& context) {
    DeviceShadow shadow;
    const Shadow& s = context.state.shadow;
    if (!s.active || s.color.alpha <= 0) {
        return shadow;
    }
    shadow.active = true;
    const CGSize offset = CGSizeApplyAffineTransform(s.offset, context.base);
    shadow.offset = offset;
    shadow.blur = std::fabs(s.blur * context.scale);
    shadow.color = s.color;
    return shadow;
}

CGFloat strokeReach(const CGContext& context) {
    const CGAffineTransform& m = context.state.ctm;
    const CGFloat stretch = std::sqrt(std::max(m.a * m.a + m.b * m.b, m.c * m.c + m.d * m.d));
    CGFloat reach = context.state.lineWidth / 2 * stretch;
    if (context.state.join == kCGLineJoinMiter) {
        reach *= std::max(CGFloat(1), context.state.miterLimit);
    } else if (context.state.cap == kCGLineCapSquare) {
        reach *= std::sqrt(2.0);
    }
    return reach + 1;
}

bool userSpaceIsFlipped(CGContextRef context) {
    if (!context) {
        return false;
    }
    const CGAffineTransform& m = context->state.ctm;
    // Device space is y down: a positive determinant keeps its orientation.
    return m.a * m.d - m.b * m.c > 0;
}

void drawImage(CGContextRef context, const ImageDraw& draw) {
    if (context && context->device && draw.image) {
        context->device->image(*context, draw);
    }
}

void drawText(CGContextRef context, const TextDraw& draw) {
    if (context && context->device && !draw.text.empty()) {
        context->device->text(*context, draw);
    }
}

} // namespace cg

namespace {

void addUser(CGContextRef c, const CGPathBuffer& user) {
    CGPathBuffer device(user);
    device.transform(c->state.ctm);
    c->userPath.append(user);
    c->devicePath.append(device);
}

template <typename Build> void build(CGContextRef c, Build b) {
    if (!c) {
        return;
    }
    CGPathBuffer piece;
    b(piece);
    addUser(c, piece);
}

void consumePath(CGContextRef c) {
    c->userPath.clear();
    c->devicePath.clear();
}

} // namespace

CGContextRef CGContextRetain(CGContextRef c) {
    if (c) {
        c->references.fetch_add(1, std::memory_order_relaxed);
    }
    return c;
}

void CGContextRelease(CGContextRef c) {
    if (c && c->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        delete c;
    }
}

void CGContextSaveGState(CGContextRef c) {
    if (!c) {
        return;
    }
    c->stack.push_back(c->state);
    c->device->save(*c);
}

void CGContextRestoreGState(CGContextRef c) {
    if (!c || c->stack.empty()) {
        return;
    }
    c->state = c->stack.back();
    c->stack.pop_back();
    c->device->restore(*c);
}

void CGContextScaleCTM(CGContextRef c, CGFloat sx, CGFloat sy) {
    if (c) {
        c->state.ctm = CGAffineTransformScale(c->state.ctm, sx, sy);
    }
}

void CGContextTranslateCTM(CGContextRef c, CGFloat tx, CGFloat ty) {
    if (c) {
        c->state.ctm = CGAffineTransformTranslate(c->state.ctm, tx, ty);
    }
}

void CGContextRotateCTM(CGContextRef c, CGFloat angle) {
    if (c) {
        c->state.ctm = CGAffineTransformRotate(c->state.ctm, angle);
    }
}

void CGContextConcatCTM(CGContextRef c, CGAffineTransform t) {
    if (c) {
        c->state.ctm = CGAffineTransformConcat(t, c->state.ctm);
    }
}

CGAffineTransform CGContextGetCTM(CGContextRef c) {
    return c ? c->state.ctm : CGAffineTransformIdentity;
}
CGAffineTransform CGContextGetUserSpaceToDeviceSpaceTransform(CGContextRef c) {
    return CGContextGetCTM(c);
}
CGAffineTransform CGContextGetBaseCTM(CGContextRef c) {
    return c ? c->base : CGAffineTransformIdentity;
}

void CGContextBeginPath(CGContextRef c) {
    if (c) {
        consumePath(c);
    }
}

void CGContextMoveToPoint(CGContextRef c, CGFloat x, CGFloat y) {
    build(c, [&](CGPathBuffer& b) { b.moveTo({x, y}); });
}

void CGContextAddLineToPoint(CGContextRef c, CGFloat x, CGFloat y) {
    if (!c) {
        return;
    }
    if (!c->userPath.hasCurrentPoint()) {
        CGContextMoveToPoint(c, x, y);
        return;
    }
    c->userPath.lineTo({x, y});
    c->devicePath.lineTo(CGPointApplyAffineTransform({x, y}, c->state.ctm));
}

void CGContextAddCurveToPoint(CGContextRef c, CGFloat cp1x, CGFloat cp1y, CGFloat cp2x,
                              CGFloat cp2y, CGFloat x, CGFloat y) {
    if (!c) {
        return;
    }
    const CGAffineTransform& m = c->state.ctm;
    c->userPath.curveTo({cp1x, cp1y}, {cp2x, cp2y}, {x, y});
    c->devicePath.curveTo(CGPointApplyAffineTransform({cp1x, cp1y}, m),
                          CGPointApplyAffineTransform({cp2x, cp2y}, m),
                          CGPointApplyAffineTransform({x, y}, m));
}

void CGContextAddQuadCurveToPoint(CGContextRef c, CGFloat cpx, CGFloat cpy, CGFloat x, CGFloat y) {
    if (!c) {
        return;
    }
    const CGAffineTransform& m = c->state.ctm;
    c->userPath.quadTo({cpx, cpy}, {x, y});
    c->devicePath.quadTo(CGPointApplyAffineTransform({cpx, cpy}, m),
                         CGPointApplyAffineTransform({x, y}, m));
}

void CGContextClosePath(CGContextRef c) {
    if (c) {
        c->userPath.close();
        c->devicePath.close();
    }
}

void CGContextAddRect(CGContextRef c, CGRect rect) {
    build(c, [&](CGPathBuffer& b) { b.addRect(rect); });
}

void CGContextAddEllipseInRect(CGContextRef c, CGRect rect) {
    build(c, [&](CGPathBuffer& b) { b.addEllipse(rect); });
}

void CGContextAddArc(CGContextRef c, CGFloat x, CGFloat y, CGFloat radius, CGFloat startAngle,
                     CGFloat endAngle, int clockwise) {
    if (!c) {
        return;
    }
    CGPathBuffer piece;
    piece.addArc({x, y}, radius, startAngle, endAngle, clockwise != 0);
    // The arc joins an open subpath with a line from the current point.
    bool first = true;
    for (const CGPathSegment& s : piece) {
        if (s.type == kCGPathElementMoveToPoint) {
            if (first && c->userPath.hasCurrentPoint() &&
                c->userPath[c->userPath.size() - 1].type != kCGPathElementCloseSubpath) {
                CGContextAddLineToPoint(c, s.points[0].x, s.points[0].y);
            } else {
                CGContextMoveToPoint(c, s.points[0].x, s.points[0].y);
            }
        } else {
            CGContextAddCurveToPoint(c, s.points[0].x, s.points[0].y, s.points[1].x, s.points[1].y,
                                     s.points[2].x, s.points[2].y);
        }
        first = false;
    }
}

void CGContextAddLines(CGContextRef c, const CGPoint* points, std::size_t count) {
    build(c, [&](CGPathBuffer& b) { b.addLines(points, count); });
}

void CGContextAddPath(CGContextRef c, CGPathRef path) {
    if (c && path) {
        addUser(c, CGPathGetBuffer(path));
    }
}

void CGContextAddPathBuffer(CGContextRef c, const CGPathBuffer& path) {
    if (c) {
        addUser(c, path);
    }
}

bool CGContextIsPathEmpty(CGContextRef c) {
    return !c || c->userPath.empty();
}

CGRect CGContextGetPathBoundingBox(CGContextRef c) {
    return c ? c->userPath.boundingBox() : CGRectNull;
}

void CGContextDrawPath(CGContextRef c, CGPathDrawingMode mode) {
    if (!c || c->userPath.empty()) {
        return;
    }
    const bool evenOdd = mode == kCGPathEOFill || mode == kCGPathEOFillStroke;
    if (mode != kCGPathStroke) {
        c->device->fill(*c, c->userPath, c->devicePath, evenOdd);
    }
    if (mode == kCGPathStroke || mode == kCGPathFillStroke || mode == kCGPathEOFillStroke) {
        c->device->stroke(*c, c->userPath, c->devicePath);
    }
    consumePath(c);
}

void CGContextFillPath(CGContextRef c) {
    CGContextDrawPath(c, kCGPathFill);
}
void CGContextEOFillPath(CGContextRef c) {
    CGContextDrawPath(c, kCGPathEOFill);
}
void CGContextStrokePath(CGContextRef c) {
    CGContextDrawPath(c, kCGPathStroke);
}

void CGContextFillRect(CGContextRef c, CGRect rect) {
    CGContextBeginPath(c);
    CGContextAddRect(c, rect);
    CGContextFillPath(c);
}

void CGContextStrokeRect(CGContextRef c, CGRect rect) {
    CGContextBeginPath(c);
    CGContextAddRect(c, rect);
    CGContextStrokePath(c);
}

void CGContextStrokeRectWithWidth(CGContextRef c, CGRect rect, CGFloat width) {
    if (!c) {
        return;
    }
    const CGFloat saved = c->state.lineWidth;
    c->state.lineWidth = width;
    CGContextStrokeRect(c, rect);
    c->state.lineWidth = saved;
}

void CGContextFillEllipseInRect(CGContextRef c, CGRect rect) {
    CGContextBeginPath(c);
    CGContextAddEllipseInRect(c, rect);
    CGContextFillPath(c);
}

void CGContextStrokeEllipseInRect(CGContextRef c, CGRect rect) {
    CGContextBeginPath(c);
    CGContextAddEllipseInRect(c, rect);
    CGContextStrokePath(c);
}

void CGContextStrokeLineSegments(CGContextRef c, const CGPoint* points, std::size_t count) {
    CGContextBeginPath(c);
    for (std::size_t i = 0; i + 1 < count; i += 2) {
        CGContextMoveToPoint(c, points[i].x, points[i].y);
        CGContextAddLineToPoint(c, points[i + 1].x, points[i + 1].y);
    }
    CGContextStrokePath(c);
}

void CGContextClearRect(CGContextRef c, CGRect rect) {
    if (!c) {
        return;
    }
    CGPathBuffer user;
    user.addRect(rect);
    CGPathBuffer device(user);
    device.transform(c->state.ctm);
    c->device->clearRect(*c, user, device);
}

namespace {

void clipPath(CGContextRef c, bool evenOdd) {
    if (!c) {
        return;
    }
    // An empty current path clips everything away, as on the platform.
    const CGRect bounds = c->devicePath.boundingBox();
    c->device->clip(*c, c->userPath, c->devicePath, evenOdd);
    c->state.clipDevice = CGRectIsNull(bounds) ? CGRectMake(0, 0, 0, 0)
                                               : CGRectIntersection(c->state.clipDevice, bounds);
    if (CGRectIsNull(c->state.clipDevice)) {
        c->state.clipDevice = CGRectMake(0, 0, 0, 0);
    }
    consumePath(c);
}

} // namespace

void CGContextClip(CGContextRef c) {
    clipPath(c, false);
}
void CGContextEOClip(CGContextRef c) {
    clipPath(c, true);
}

void CGContextClipToRect(CGContextRef c, CGRect rect) {
    if (!c) {
        return;
    }
    CGPathBuffer savedUser = std::move(c->userPath);
    CGPathBuffer savedDevice = std::move(c->devicePath);
    consumePath(c);
    CGContextAddRect(c, rect);
    clipPath(c, false);
    c->userPath = std::move(savedUser);
    c->devicePath = std::move(savedDevice);
}

CGRect CGContextGetClipBoundingBox(CGContextRef c) {
    if (!c) {
        return CGRectNull;
    }
    return CGRectApplyAffineTransform(c->state.clipDevice, CGAffineTransformInvert(c->state.ctm));
}

void CGContextSetRGBFillColor(CGContextRef c, CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
    CGContextSetFillRGBA(c, {r, g, b, a});
}
void CGContextSetRGBStrokeColor(CGContextRef c, CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
    CGContextSetStrokeRGBA(c, {r, g, b, a});
}
void CGContextSetFillColorWithColor(CGContextRef c, CGColorRef color) {
    CGContextSetFillRGBA(c, CGColorGetRGBA(color));
}
void CGContextSetStrokeColorWithColor(CGContextRef c, CGColorRef color) {
    CGContextSetStrokeRGBA(c, CGColorGetRGBA(color));
}
void CGContextSetFillRGBA(CGContextRef c, CGRGBAColor color) {
    if (c) {
        c->state.fill = color;
    }
}
void CGContextSetStrokeRGBA(CGContextRef c, CGRGBAColor color) {
    if (c) {
        c->state.stroke = color;
    }
}
void CGContextSetAlpha(CGContextRef c, CGFloat alpha) {
    if (c) {
        c->state.alpha = std::clamp(alpha, CGFloat(0), CGFloat(1));
    }
}
void CGContextSetLineWidth(CGContextRef c, CGFloat width) {
    if (c) {
        c->state.lineWidth = std::max(CGFloat(0), width);
    }
}
void CGContextSetLineCap(CGContextRef c, CGLineCap cap) {
    if (c) {
        c->state.cap = cap;
    }
}
void CGContextSetLineJoin(CGContextRef c, CGLineJoin join) {
    if (c) {
        c->state.join = join;
    }
}
void CGContextSetMiterLimit(CGContextRef c, CGFloat limit) {
    if (c) {
        c->state.miterLimit = limit;
    }
}
void CGContextSetShadow(CGContextRef c, CGSize offset, CGFloat blur) {
    CGContextSetShadowRGBA(c, offset, blur, {0, 0, 0, 1.0 / 3.0});
}
void CGContextSetShadowWithColor(CGContextRef c, CGSize offset, CGFloat blur, CGColorRef color) {
    CGContextSetShadowRGBA(c, offset, blur,
                           color ? CGColorGetRGBA(color) : CGRGBAColor{0, 0, 0, 0});
}
void CGContextSetShadowRGBA(CGContextRef c, CGSize offset, CGFloat blur, CGRGBAColor color) {
    if (!c) {
        return;
    }
    c->state.shadow.active = color.alpha > 0;
    c->state.shadow.offset = offset;
    c->state.shadow.blur = blur;
    c->state.shadow.color = color;
}
void CGContextSetInterpolationQuality(CGContextRef c, CGInterpolationQuality quality) {
    if (c) {
        c->state.interpolation = quality;
    }
}
CGInterpolationQuality CGContextGetInterpolationQuality(CGContextRef c) {
    return c ? c->state.interpolation : kCGInterpolationDefault;
}
void CGContextSetBlendMode(CGContextRef c, CGBlendMode mode) {
    if (c) {
        c->state.blend = mode;
    }
}

void CGContextDrawLinearGradient(CGContextRef c, CGGradientRef gradient, CGPoint start, CGPoint end,
                                 CGGradientDrawingOptions options) {
    CGContextDrawLinearGradientStops(c, CGGradientGetStops(gradient), start, end, options);
}

void CGContextDrawRadialGradient(CGContextRef c, CGGradientRef gradient, CGPoint startCenter,
                                 CGFloat startRadius, CGPoint endCenter, CGFloat endRadius,
                                 CGGradientDrawingOptions options) {
    CGContextDrawRadialGradientStops(c, CGGradientGetStops(gradient), startCenter, startRadius,
                                     endCenter, endRadius, options);
}

void CGContextDrawLinearGradientStops(CGContextRef c, const CGGradientStops& stops, CGPoint start,
                                      CGPoint end, CGGradientDrawingOptions options) {
    if (c && stops.count > 0) {
        c->device->linearGradient(*c, stops, start, end, options);
    }
}

void CGContextDrawRadialGradientStops(CGContextRef c, const CGGradientStops& stops,
                                      CGPoint startCenter, CGFloat startRadius, CGPoint endCenter,
                                      CGFloat endRadius, CGGradientDrawingOptions options) {
    if (c && stops.count > 0) {
        c->device->radialGradient(*c, stops, startCenter, startRadius, endCenter, endRadius,
                                  options);
    }
}

void CGContextDrawImage(CGContextRef c, CGRect rect, CGImageRef image) {
    if (!image) {
        return;
    }
    CGContextDrawImagePart(
        c, image,
        CGRectMake(0, 0, CGFloat(CGImageGetWidth(image)), CGFloat(CGImageGetHeight(image))), rect,
        false, 1);
}

void CGContextDrawImagePart(CGContextRef c, CGImageRef image, CGRect source, CGRect destination,
                            bool topAtMinY, CGFloat fraction) {
    cg::ImageDraw draw;
    draw.image = image;
    draw.source = source;
    draw.destination = destination;
    draw.topAtMinY = topAtMinY;
    draw.fraction = fraction;
    cg::drawImage(c, draw);
}

void CGContextFlush(CGContextRef c) {
    if (c) {
        c->device->flush();
    }
}
