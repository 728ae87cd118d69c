// Path values and path objects.

#include <CoreGraphics/CGPath.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>

namespace {

// Control distance of a cubic approximating a circular arc of angle theta on the unit circle.
CGFloat arcHandle(CGFloat theta) {
    return 4.0 / 3.0 * std::tan(theta / 4.0);
}

} // namespace

CGPathBuffer::CGPathBuffer(const CGPathBuffer& other) {
    *this = other;
}

CGPathBuffer& CGPathBuffer::operator=(const CGPathBuffer& other) {
    if (this == &other) {
        return *this;
    }
    clear();
    for (const CGPathSegment& s : other) {
        push(s);
    }
    return *this;
}

CGPathBuffer::CGPathBuffer(CGPathBuffer&& other) noexcept {
    *this = std::move(other);
}

CGPathBuffer& CGPathBuffer::operator=(CGPathBuffer&& other) noexcept {
    if (this == &other) {
        return *this;
    }
    if (!other.heap_.empty()) {
        heap_ = std::move(other.heap_);
        size_ = other.size_;
    } else {
        heap_.clear();
        std::copy(other.inline_, other.inline_ + other.size_, inline_);
        size_ = other.size_;
    }
    other.heap_.clear();
    other.size_ = 0;
    return *this;
}

void CGPathBuffer::clear() {
    heap_.clear();
    size_ = 0;
}

void CGPathBuffer::push(const CGPathSegment& segment) {
    if (heap_.empty() && size_ < kInlineSegments) {
        inline_[size_++] = segment;
        return;
    }
    if (heap_.empty()) {
        heap_.assign(inline_, inline_ + size_);
    }
    heap_.push_back(segment);
    size_ = heap_.size();
}

CGPoint CGPathBuffer::currentPoint() const {
    // After a close the current point is the start of the closed subpath.
    for (std::size_t i = size_; i-- > 0;) {
        const CGPathSegment& s = data()[i];
        switch (s.type) {
        case kCGPathElementMoveToPoint:
        case kCGPathElementAddLineToPoint:
            return s.points[0];
        case kCGPathElementAddQuadCurveToPoint:
            return s.points[1];
        case kCGPathElementAddCurveToPoint:
            return s.points[2];
        case kCGPathElementCloseSubpath:
            for (std::size_t j = i; j-- > 0;) {
                if (data()[j].type == kCGPathElementMoveToPoint) {
                    return data()[j].points[0];
                }
            }
            return CGPointZero;
        }
    }
    return CGPointZero;
}

void CGPathBuffer::moveTo(CGPoint p) {
    push({kCGPathElementMoveToPoint, {p, {}, {}}});
}

void CGPathBuffer::lineTo(CGPoint p) {
    if (!hasCurrentPoint()) {
        moveTo(p);
        return;
    }
    push({kCGPathElementAddLineToPoint, {p, {}, {}}});
}

void CGPathBuffer::quadTo(CGPoint control, CGPoint end) {
    if (!hasCurrentPoint()) {
        moveTo(control);
    }
    push({kCGPathElementAddQuadCurveToPoint, {control, end, {}}});
}

void CGPathBuffer::curveTo(CGPoint control1, CGPoint control2, CGPoint end) {
    if (!hasCurrentPoint()) {
        moveTo(control1);
    }
    push({kCGPathElementAddCurveToPoint, {control1, control2, end}});
}

void CGPathBuffer::close() {
    if (hasCurrentPoint() && data()[size_ - 1].type != kCGPathElementCloseSubpath) {
        push({kCGPathElementCloseSubpath, {}});
    }
}

void CGPathBuffer::addArc(CGPoint c, CGFloat radius, CGFloat startAngle, CGFloat endAngle,
                          bool clockwise) {
    constexpr CGFloat twoPi = 2 * std::numbers::pi;
    CGFloat sweep = endAngle - startAngle;
    if (clockwise) {
        while (sweep > 0) {
            sweep -= twoPi;
        }
        sweep = std::max(sweep, -twoPi);
    } else {
        while (sweep < 0) {
            sweep += twoPi;
        }
        sweep = std::min(sweep, twoPi);
    }
    const CGPoint first = {c.x + radius * std::cos(startAngle),
                           c.y + radius * std::sin(startAngle)};
    if (hasCurrentPoint() && data()[size_ - 1].type != kCGPathElementCloseSubpath) {
        lineTo(first);
    } else {
        moveTo(first);
    }
    const int segments =
        std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / (std::numbers::pi / 2) - 1e-9)));
    const CGFloat step = sweep / segments;
    const CGFloat k = arcHandle(step);
    CGFloat a0 = startAngle;
    for (int i = 0; i < segments; ++i) {
        const CGFloat a1 = a0 + step;
        const CGFloat c0 = std::cos(a0), s0 = std::sin(a0), c1 = std::cos(a1), s1 = std::sin(a1);
        curveTo({c.x + radius * (c0 - k * s0), c.y + radius * (s0 + k * c0)},
                {c.x + radius * (c1 + k * s1), c.y + radius * (s1 - k * c1)},
                {c.x + radius * c1, c.y + radius * s1});
        a0 = a1;
    }
}

void CGPathBuffer::addRect(CGRect r) {
    r = CGRectStandardize(r);
    const CGFloat x0 = r.origin.x, y0 = r.origin.y;
    const CGFloat x1 = x0 + r.size.width, y1 = y0 + r.size.height;
    moveTo({x0, y0});
    lineTo({x1, y0});
    lineTo({x1, y1});
    lineTo({x0, y1});
    close();
}

void CGPathBuffer::addEllipse(CGRect r) {
    r = CGRectStandardize(r);
    const CGFloat rx = r.size.width / 2, ry = r.size.height / 2;
    const CGFloat cx = r.origin.x + rx, cy = r.origin.y + ry;
    const CGFloat k = arcHandle(std::numbers::pi / 2);
    moveTo({cx + rx, cy});
    curveTo({cx + rx, cy + k * ry}, {cx + k * rx, cy + ry}, {cx, cy + ry});
    curveTo({cx - k * rx, cy + ry}, {cx - rx, cy + k * ry}, {cx - rx, cy});
    curveTo({cx - rx, cy - k * ry}, {cx - k * rx, cy - ry}, {cx, cy - ry});
    curveTo({cx + k * rx, cy - ry}, {cx + rx, cy - k * ry}, {cx + rx, cy});
    close();
}

void CGPathBuffer::addRoundedRect(CGRect r, CGFloat cw, CGFloat ch) {
    r = CGRectStandardize(r);
    const CGFloat rx = std::clamp(cw, CGFloat(0), r.size.width / 2);
    const CGFloat ry = std::clamp(ch, CGFloat(0), r.size.height / 2);
    if (rx <= 0 || ry <= 0) {
        addRect(r);
        return;
    }
    const CGFloat x0 = r.origin.x, y0 = r.origin.y;
    const CGFloat x1 = x0 + r.size.width, y1 = y0 + r.size.height;
    const CGFloat k = arcHandle(std::numbers::pi / 2);
    moveTo({x0 + rx, y0});
    lineTo({x1 - rx, y0});
    curveTo({x1 - rx + k * rx, y0}, {x1, y0 + ry - k * ry}, {x1, y0 + ry});
    lineTo({x1, y1 - ry});
    curveTo({x1, y1 - ry + k * ry}, {x1 - rx + k * rx, y1}, {x1 - rx, y1});
    lineTo({x0 + rx, y1});
    curveTo({x0 + rx - k * rx, y1}, {x0, y1 - ry + k * ry}, {x0, y1 - ry});
    lineTo({x0, y0 + ry});
    curveTo({x0, y0 + ry - k * ry}, {x0 + rx - k * rx, y0}, {x0 + rx, y0});
    close();
}

void CGPathBuffer::addLines(const CGPoint* points, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (i == 0) {
            moveTo(points[0]);
        } else {
            lineTo(points[i]);
        }
    }
}

void CGPathBuffer::append(const CGPathBuffer& other) {
    if (&other == this) {
        CGPathBuffer copy(other);
        append(copy);
        return;
    }
    for (const CGPathSegment& s : other) {
        push(s);
    }
}

void CGPathBuffer::append(const CGPathBuffer& other, const CGAffineTransform& t) {
    CGPathBuffer copy(other);
    copy.transform(t);
    append(copy);
}

void CGPathBuffer::transform(const CGAffineTransform& t) {
    CGPathSegment* segments = data();
    for (std::size_t i = 0; i < size_; ++i) {
        for (CGPoint& p : segments[i].points) {
            p = CGPointApplyAffineTransform(p, t);
        }
    }
}

CGRect CGPathBuffer::boundingBox() const {
    bool any = false;
    CGFloat x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    for (const CGPathSegment& s : *this) {
        int n = 0;
        switch (s.type) {
        case kCGPathElementMoveToPoint:
        case kCGPathElementAddLineToPoint:
            n = 1;
            break;
        case kCGPathElementAddQuadCurveToPoint:
            n = 2;
            break;
        case kCGPathElementAddCurveToPoint:
            n = 3;
            break;
        case kCGPathElementCloseSubpath:
            n = 0;
            break;
        }
        for (int i = 0; i < n; ++i) {
            const CGPoint p = s.points[i];
            if (!any) {
                x0 = x1 = p.x;
                y0 = y1 = p.y;
                any = true;
            } else {
                x0 = std::min(x0, p.x);
                x1 = std::max(x1, p.x);
                y0 = std::min(y0, p.y);
                y1 = std::max(y1, p.y);
            }
        }
    }
    return any ? CGRectMake(x0, y0, x1 - x0, y1 - y0) : CGRectNull;
}

struct CGPath {
    std::atomic<int> references{1};
    CGPathBuffer buffer;
};

namespace {

CGPoint mapped(const CGAffineTransform* m, CGFloat x, CGFloat y) {
    return m ? CGPointApplyAffineTransform({x, y}, *m) : CGPoint{x, y};
}

template <typename Build>
void addTransformed(CGMutablePathRef path, const CGAffineTransform* m, Build build) {
    if (!path) {
        return;
    }
    if (!m) {
        build(path->buffer);
        return;
    }
    CGPathBuffer piece;
    build(piece);
    path->buffer.append(piece, *m);
}

} // namespace

CGMutablePathRef CGPathCreateMutable() {
    return new CGPath();
}

CGPathRef CGPathCreateCopy(CGPathRef path) {
    return CGPathCreateMutableCopy(path);
}

CGMutablePathRef CGPathCreateMutableCopy(CGPathRef path) {
    CGMutablePathRef copy = CGPathCreateMutable();
    if (path) {
        copy->buffer = path->buffer;
    }
    return copy;
}

CGPathRef CGPathCreateWithRect(CGRect rect, const CGAffineTransform* transform) {
    CGMutablePathRef path = CGPathCreateMutable();
    CGPathAddRect(path, transform, rect);
    return path;
}

CGPathRef CGPathCreateWithEllipseInRect(CGRect rect, const CGAffineTransform* transform) {
    CGMutablePathRef path = CGPathCreateMutable();
    CGPathAddEllipseInRect(path, transform, rect);
    return path;
}

CGPathRef CGPathCreateWithRoundedRect(CGRect rect, CGFloat cw, CGFloat ch,
                                      const CGAffineTransform* transform) {
    CGMutablePathRef path = CGPathCreateMutable();
    CGPathAddRoundedRect(path, transform, rect, cw, ch);
    return path;
}

CGPathRef CGPathRetain(CGPathRef path) {
    if (path) {
        const_cast<CGPath*>(path)->references.fetch_add(1, std::memory_order_relaxed);
    }
    return path;
}

void CGPathRelease(CGPathRef path) {
    if (path &&
        const_cast<CGPath*>(path)->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        delete path;
    }
}

void CGPathMoveToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x, CGFloat y) {
    if (path) {
        path->buffer.moveTo(mapped(m, x, y));
    }
}

void CGPathAddLineToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x, CGFloat y) {
    if (path) {
        path->buffer.lineTo(mapped(m, x, y));
    }
}

void CGPathAddQuadCurveToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat cpx,
                               CGFloat cpy, CGFloat x, CGFloat y) {
    if (path) {
        path->buffer.quadTo(mapped(m, cpx, cpy), mapped(m, x, y));
    }
}

void CGPathAddCurveToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat cp1x,
                           CGFloat cp1y, CGFloat cp2x, CGFloat cp2y, CGFloat x, CGFloat y) {
    if (path) {
        path->buffer.curveTo(mapped(m, cp1x, cp1y), mapped(m, cp2x, cp2y), mapped(m, x, y));
    }
}

void CGPathAddArc(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x, CGFloat y,
                  CGFloat radius, CGFloat startAngle, CGFloat endAngle, bool clockwise) {
    if (!path) {
        return;
    }
    if (!m) {
        path->buffer.addArc({x, y}, radius, startAngle, endAngle, clockwise);
        return;
    }
    // The arc joins the existing subpath with a line, so build it after the current point.
    CGPathBuffer piece;
    piece.addArc({x, y}, radius, startAngle, endAngle, clockwise);
    piece.transform(*m);
    bool first = true;
    for (const CGPathSegment& s : piece) {
        if (first && path->buffer.hasCurrentPoint() &&
            path->buffer[path->buffer.size() - 1].type != kCGPathElementCloseSubpath) {
            path->buffer.lineTo(s.points[0]);
        } else if (s.type == kCGPathElementMoveToPoint) {
            path->buffer.moveTo(s.points[0]);
        } else {
            path->buffer.curveTo(s.points[0], s.points[1], s.points[2]);
        }
        first = false;
    }
}

void CGPathAddRect(CGMutablePathRef path, const CGAffineTransform* m, CGRect rect) {
    addTransformed(path, m, [&](CGPathBuffer& b) { b.addRect(rect); });
}

void CGPathAddEllipseInRect(CGMutablePathRef path, const CGAffineTransform* m, CGRect rect) {
    addTransformed(path, m, [&](CGPathBuffer& b) { b.addEllipse(rect); });
}

void CGPathAddRoundedRect(CGMutablePathRef path, const CGAffineTransform* m, CGRect rect,
                          CGFloat cw, CGFloat ch) {
    addTransformed(path, m, [&](CGPathBuffer& b) { b.addRoundedRect(rect, cw, ch); });
}

void CGPathAddLines(CGMutablePathRef path, const CGAffineTransform* m, const CGPoint* points,
                    std::size_t count) {
    addTransformed(path, m, [&](CGPathBuffer& b) { b.addLines(points, count); });
}

void CGPathAddPath(CGMutablePathRef path, const CGAffineTransform* m, CGPathRef other) {
    if (path && other) {
        if (m) {
            path->buffer.append(other->buffer, *m);
        } else {
            path->buffer.append(other->buffer);
        }
    }
}

void CGPathCloseSubpath(CGMutablePathRef path) {
    if (path) {
        path->buffer.close();
    }
}

bool CGPathIsEmpty(CGPathRef path) {
    return !path || path->buffer.empty();
}

CGRect CGPathGetBoundingBox(CGPathRef path) {
    return path ? path->buffer.boundingBox() : CGRectNull;
}

CGPoint CGPathGetCurrentPoint(CGPathRef path) {
    return path ? path->buffer.currentPoint() : CGPointZero;
}

void CGPathApply(CGPathRef path, void* info, CGPathApplierFunction function) {
    if (!path || !function) {
        return;
    }
    for (const CGPathSegment& s : path->buffer) {
        const CGPathElement element = {s.type, s.points};
        function(info, &element);
    }
}

const CGPathBuffer& CGPathGetBuffer(CGPathRef path) {
    static const CGPathBuffer empty;
    return path ? path->buffer : empty;
}
