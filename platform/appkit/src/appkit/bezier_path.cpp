// NSBezierPath: path values drawn into the current context.

#include <AppKit/NSBezierPath.h>

#include "../coregraphics/context_internal.h"
#include "drawing_internal.h"

#include <cmath>
#include <numbers>

namespace {

constexpr CGFloat radians(CGFloat degrees) {
    return degrees * std::numbers::pi / 180;
}

// Runs body with the path's line attributes installed, then puts the context's back. The
// attributes are set on the state directly, so no save and restore shows in a recording.
template <typename Body>
void withLineAttributes(CGContextRef c, CGFloat width, CGLineCap cap, CGLineJoin join,
                        CGFloat miter, Body body) {
    const cg::GState saved = c->state;
    c->state.lineWidth = width;
    c->state.cap = cap;
    c->state.join = join;
    c->state.miterLimit = miter;
    body();
    c->state.lineWidth = saved.lineWidth;
    c->state.cap = saved.cap;
    c->state.join = saved.join;
    c->state.miterLimit = saved.miterLimit;
}

} // namespace

NSBezierPath NSBezierPath::bezierPathWithRect(NSRect rect) {
    NSBezierPath path;
    path.path_.addRect(rect);
    return path;
}

NSBezierPath NSBezierPath::bezierPathWithOvalInRect(NSRect rect) {
    NSBezierPath path;
    path.path_.addEllipse(rect);
    return path;
}

NSBezierPath NSBezierPath::bezierPathWithRoundedRect(NSRect rect, CGFloat xRadius,
                                                     CGFloat yRadius) {
    NSBezierPath path;
    path.path_.addRoundedRect(rect, xRadius, yRadius);
    return path;
}

void NSBezierPath::moveToPoint(NSPoint point) {
    path_.moveTo(point);
}
void NSBezierPath::lineToPoint(NSPoint point) {
    path_.lineTo(point);
}
void NSBezierPath::curveToPoint(NSPoint end, NSPoint control1, NSPoint control2) {
    path_.curveTo(control1, control2, end);
}
void NSBezierPath::closePath() {
    path_.close();
}

void NSBezierPath::relativeMoveToPoint(NSPoint delta) {
    const NSPoint p = path_.currentPoint();
    path_.moveTo({p.x + delta.x, p.y + delta.y});
}

void NSBezierPath::relativeLineToPoint(NSPoint delta) {
    const NSPoint p = path_.currentPoint();
    path_.lineTo({p.x + delta.x, p.y + delta.y});
}

void NSBezierPath::appendBezierPath(const NSBezierPath& path) {
    path_.append(path.path_);
}
void NSBezierPath::appendBezierPathWithRect(NSRect rect) {
    path_.addRect(rect);
}
void NSBezierPath::appendBezierPathWithOvalInRect(NSRect rect) {
    path_.addEllipse(rect);
}
void NSBezierPath::appendBezierPathWithRoundedRect(NSRect rect, CGFloat xr, CGFloat yr) {
    path_.addRoundedRect(rect, xr, yr);
}

void NSBezierPath::appendBezierPathWithPoints(const NSPoint* points, NSInteger count) {
    if (!points || count <= 0) {
        return;
    }
    // Continues the current subpath when there is one, as the platform does.
    for (NSInteger i = 0; i < count; ++i) {
        if (i == 0 && !path_.hasCurrentPoint()) {
            path_.moveTo(points[0]);
        } else {
            path_.lineTo(points[i]);
        }
    }
}

void NSBezierPath::appendBezierPathWithArcWithCenter(NSPoint center, CGFloat radius,
                                                     CGFloat startAngle, CGFloat endAngle,
                                                     bool clockwise) {
    path_.addArc(center, radius, radians(startAngle), radians(endAngle), clockwise);
}

void NSBezierPath::removeAllPoints() {
    path_.clear();
}

void NSBezierPath::transformUsingAffineTransform(const NSAffineTransform& transform) {
    path_.transform(transform.affineTransform());
}

NSRect NSBezierPath::bounds() const {
    const CGRect r = path_.boundingBox();
    return CGRectIsNull(r) ? NSZeroRect : r;
}

NSRect NSBezierPath::controlPointBounds() const {
    return bounds();
}

void NSBezierPath::fill() const {
    CGContextRef c = appkit::currentCGContext();
    if (!c || path_.empty()) {
        return;
    }
    CGContextBeginPath(c);
    CGContextAddPathBuffer(c, path_);
    CGContextDrawPath(c, winding_ == NSWindingRuleEvenOdd ? kCGPathEOFill : kCGPathFill);
}

void NSBezierPath::stroke() const {
    CGContextRef c = appkit::currentCGContext();
    if (!c || path_.empty()) {
        return;
    }
    withLineAttributes(c, lineWidth_, static_cast<CGLineCap>(cap_), static_cast<CGLineJoin>(join_),
                       miterLimit_, [&] {
                           CGContextBeginPath(c);
                           CGContextAddPathBuffer(c, path_);
                           CGContextStrokePath(c);
                       });
}

void NSBezierPath::addClip() const {
    CGContextRef c = appkit::currentCGContext();
    if (!c) {
        return;
    }
    CGContextBeginPath(c);
    CGContextAddPathBuffer(c, path_);
    if (winding_ == NSWindingRuleEvenOdd) {
        CGContextEOClip(c);
    } else {
        CGContextClip(c);
    }
}

void NSBezierPath::setClip() const {
    // The platform replaces the clip; a context can only narrow it, so this is an intersection
    // with the current clip (the views' own clips are always wider than what they draw).
    addClip();
}

void NSBezierPath::fillRect(NSRect rect) {
    bezierPathWithRect(rect).fill();
}
void NSBezierPath::strokeRect(NSRect rect) {
    bezierPathWithRect(rect).stroke();
}
void NSBezierPath::clipRect(NSRect rect) {
    CGContextClipToRect(appkit::currentCGContext(), rect);
}

void NSBezierPath::strokeLineFromPoint(NSPoint from, NSPoint to) {
    NSBezierPath path;
    path.moveToPoint(from);
    path.lineToPoint(to);
    path.stroke();
}

void NSRectFill(NSRect rect) {
    CGContextFillRect(appkit::currentCGContext(), rect);
}
void NSRectClip(NSRect rect) {
    CGContextClipToRect(appkit::currentCGContext(), rect);
}

void NSFrameRect(NSRect rect) {
    CGContextRef c = appkit::currentCGContext();
    if (!c) {
        return;
    }
    const NSRect r = CGRectStandardize(rect);
    CGContextFillRect(c, NSMakeRect(r.origin.x, r.origin.y, r.size.width, 1));
    CGContextFillRect(c, NSMakeRect(r.origin.x, NSMaxY(r) - 1, r.size.width, 1));
    CGContextFillRect(c, NSMakeRect(r.origin.x, r.origin.y, 1, r.size.height));
    CGContextFillRect(c, NSMakeRect(NSMaxX(r) - 1, r.origin.y, 1, r.size.height));
}
