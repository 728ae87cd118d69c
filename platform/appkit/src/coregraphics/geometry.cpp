// Rectangles, points and affine transforms.

#include <CoreGraphics/CGAffineTransform.h>
#include <CoreGraphics/CGGeometry.h>

#include <algorithm>
#include <cmath>
#include <limits>

const CGPoint CGPointZero = {0, 0};
const CGSize CGSizeZero = {0, 0};
const CGRect CGRectZero = {{0, 0}, {0, 0}};
const CGRect CGRectNull = {
    {std::numeric_limits<CGFloat>::infinity(), std::numeric_limits<CGFloat>::infinity()}, {0, 0}};
// The platform's infinite rectangle: centred on the origin, as large as stays representable.
const CGRect CGRectInfinite = {
    {-std::numeric_limits<CGFloat>::max() / 2, -std::numeric_limits<CGFloat>::max() / 2},
    {std::numeric_limits<CGFloat>::max(), std::numeric_limits<CGFloat>::max()}};
const CGAffineTransform CGAffineTransformIdentity = {1, 0, 0, 1, 0, 0};

CGRect CGRectStandardize(CGRect r) {
    if (r.size.width < 0) {
        r.origin.x += r.size.width;
        r.size.width = -r.size.width;
    }
    if (r.size.height < 0) {
        r.origin.y += r.size.height;
        r.size.height = -r.size.height;
    }
    return r;
}

CGFloat CGRectGetMinX(CGRect r) {
    return CGRectStandardize(r).origin.x;
}
CGFloat CGRectGetMinY(CGRect r) {
    return CGRectStandardize(r).origin.y;
}
CGFloat CGRectGetMaxX(CGRect r) {
    r = CGRectStandardize(r);
    return r.origin.x + r.size.width;
}
CGFloat CGRectGetMaxY(CGRect r) {
    r = CGRectStandardize(r);
    return r.origin.y + r.size.height;
}
CGFloat CGRectGetMidX(CGRect r) {
    r = CGRectStandardize(r);
    return r.origin.x + r.size.width / 2;
}
CGFloat CGRectGetMidY(CGRect r) {
    r = CGRectStandardize(r);
    return r.origin.y + r.size.height / 2;
}
CGFloat CGRectGetWidth(CGRect r) {
    return std::fabs(r.size.width);
}
CGFloat CGRectGetHeight(CGRect r) {
    return std::fabs(r.size.height);
}

bool CGRectIsNull(CGRect r) {
    return std::isinf(r.origin.x) || std::isinf(r.origin.y);
}
bool CGRectIsEmpty(CGRect r) {
    return CGRectIsNull(r) || r.size.width == 0 || r.size.height == 0;
}
bool CGPointEqualToPoint(CGPoint a, CGPoint b) {
    return a.x == b.x && a.y == b.y;
}
bool CGSizeEqualToSize(CGSize a, CGSize b) {
    return a.width == b.width && a.height == b.height;
}
bool CGRectEqualToRect(CGRect a, CGRect b) {
    if (CGRectIsNull(a) || CGRectIsNull(b)) {
        return CGRectIsNull(a) && CGRectIsNull(b);
    }
    a = CGRectStandardize(a);
    b = CGRectStandardize(b);
    return CGPointEqualToPoint(a.origin, b.origin) && CGSizeEqualToSize(a.size, b.size);
}

bool CGRectContainsPoint(CGRect r, CGPoint p) {
    if (CGRectIsNull(r)) {
        return false;
    }
    r = CGRectStandardize(r);
    return p.x >= r.origin.x && p.x < r.origin.x + r.size.width && p.y >= r.origin.y &&
           p.y < r.origin.y + r.size.height;
}

bool CGRectContainsRect(CGRect outer, CGRect inner) {
    if (CGRectIsNull(outer) || CGRectIsNull(inner)) {
        return false;
    }
    return CGRectGetMinX(inner) >= CGRectGetMinX(outer) &&
           CGRectGetMaxX(inner) <= CGRectGetMaxX(outer) &&
           CGRectGetMinY(inner) >= CGRectGetMinY(outer) &&
           CGRectGetMaxY(inner) <= CGRectGetMaxY(outer);
}

CGRect CGRectIntersection(CGRect a, CGRect b) {
    if (CGRectIsNull(a) || CGRectIsNull(b)) {
        return CGRectNull;
    }
    const CGFloat x0 = std::max(CGRectGetMinX(a), CGRectGetMinX(b));
    const CGFloat y0 = std::max(CGRectGetMinY(a), CGRectGetMinY(b));
    const CGFloat x1 = std::min(CGRectGetMaxX(a), CGRectGetMaxX(b));
    const CGFloat y1 = std::min(CGRectGetMaxY(a), CGRectGetMaxY(b));
    if (x1 < x0 || y1 < y0) {
        return CGRectNull;
    }
    return CGRectMake(x0, y0, x1 - x0, y1 - y0);
}

bool CGRectIntersectsRect(CGRect a, CGRect b) {
    return !CGRectIsEmpty(CGRectIntersection(a, b));
}

CGRect CGRectUnion(CGRect a, CGRect b) {
    if (CGRectIsNull(a)) {
        return b;
    }
    if (CGRectIsNull(b)) {
        return a;
    }
    const CGFloat x0 = std::min(CGRectGetMinX(a), CGRectGetMinX(b));
    const CGFloat y0 = std::min(CGRectGetMinY(a), CGRectGetMinY(b));
    const CGFloat x1 = std::max(CGRectGetMaxX(a), CGRectGetMaxX(b));
    const CGFloat y1 = std::max(CGRectGetMaxY(a), CGRectGetMaxY(b));
    return CGRectMake(x0, y0, x1 - x0, y1 - y0);
}

CGRect CGRectInset(CGRect r, CGFloat dx, CGFloat dy) {
    if (CGRectIsNull(r)) {
        return r;
    }
    r = CGRectStandardize(r);
    r.origin.x += dx;
    r.origin.y += dy;
    r.size.width -= 2 * dx;
    r.size.height -= 2 * dy;
    if (r.size.width < 0 || r.size.height < 0) {
        return CGRectNull;
    }
    return r;
}

CGRect CGRectOffset(CGRect r, CGFloat dx, CGFloat dy) {
    if (CGRectIsNull(r)) {
        return r;
    }
    r = CGRectStandardize(r);
    r.origin.x += dx;
    r.origin.y += dy;
    return r;
}

CGRect CGRectIntegral(CGRect r) {
    if (CGRectIsNull(r)) {
        return r;
    }
    const CGFloat x0 = std::floor(CGRectGetMinX(r));
    const CGFloat y0 = std::floor(CGRectGetMinY(r));
    const CGFloat x1 = std::ceil(CGRectGetMaxX(r));
    const CGFloat y1 = std::ceil(CGRectGetMaxY(r));
    return CGRectMake(x0, y0, x1 - x0, y1 - y0);
}

CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty) {
    return {1, 0, 0, 1, tx, ty};
}
CGAffineTransform CGAffineTransformMakeScale(CGFloat sx, CGFloat sy) {
    return {sx, 0, 0, sy, 0, 0};
}
CGAffineTransform CGAffineTransformMakeRotation(CGFloat angle) {
    const CGFloat c = std::cos(angle), s = std::sin(angle);
    return {c, s, -s, c, 0, 0};
}

CGAffineTransform CGAffineTransformConcat(CGAffineTransform t1, CGAffineTransform t2) {
    // Row vectors: p · t1 · t2.
    return {t1.a * t2.a + t1.b * t2.c,           t1.a * t2.b + t1.b * t2.d,
            t1.c * t2.a + t1.d * t2.c,           t1.c * t2.b + t1.d * t2.d,
            t1.tx * t2.a + t1.ty * t2.c + t2.tx, t1.tx * t2.b + t1.ty * t2.d + t2.ty};
}

CGAffineTransform CGAffineTransformTranslate(CGAffineTransform t, CGFloat tx, CGFloat ty) {
    return CGAffineTransformConcat(CGAffineTransformMakeTranslation(tx, ty), t);
}
CGAffineTransform CGAffineTransformScale(CGAffineTransform t, CGFloat sx, CGFloat sy) {
    return CGAffineTransformConcat(CGAffineTransformMakeScale(sx, sy), t);
}
CGAffineTransform CGAffineTransformRotate(CGAffineTransform t, CGFloat angle) {
    return CGAffineTransformConcat(CGAffineTransformMakeRotation(angle), t);
}

CGAffineTransform CGAffineTransformInvert(CGAffineTransform t) {
    const CGFloat det = t.a * t.d - t.b * t.c;
    if (det == 0 || !std::isfinite(det)) {
        return t;
    }
    CGAffineTransform r;
    r.a = t.d / det;
    r.b = -t.b / det;
    r.c = -t.c / det;
    r.d = t.a / det;
    r.tx = -(t.tx * r.a + t.ty * r.c);
    r.ty = -(t.tx * r.b + t.ty * r.d);
    return r;
}

bool CGAffineTransformIsIdentity(CGAffineTransform t) {
    return CGAffineTransformEqualToTransform(t, CGAffineTransformIdentity);
}
bool CGAffineTransformEqualToTransform(CGAffineTransform t1, CGAffineTransform t2) {
    return t1.a == t2.a && t1.b == t2.b && t1.c == t2.c && t1.d == t2.d && t1.tx == t2.tx &&
           t1.ty == t2.ty;
}

CGPoint CGPointApplyAffineTransform(CGPoint p, CGAffineTransform t) {
    return {t.a * p.x + t.c * p.y + t.tx, t.b * p.x + t.d * p.y + t.ty};
}
CGSize CGSizeApplyAffineTransform(CGSize s, CGAffineTransform t) {
    return {t.a * s.width + t.c * s.height, t.b * s.width + t.d * s.height};
}
CGRect CGRectApplyAffineTransform(CGRect r, CGAffineTransform t) {
    if (CGRectIsNull(r)) {
        return r;
    }
    r = CGRectStandardize(r);
    const CGPoint corners[4] = {
        CGPointApplyAffineTransform(r.origin, t),
        CGPointApplyAffineTransform({r.origin.x + r.size.width, r.origin.y}, t),
        CGPointApplyAffineTransform({r.origin.x, r.origin.y + r.size.height}, t),
        CGPointApplyAffineTransform({r.origin.x + r.size.width, r.origin.y + r.size.height}, t)};
    CGFloat x0 = corners[0].x, x1 = corners[0].x, y0 = corners[0].y, y1 = corners[0].y;
    for (const CGPoint& c : corners) {
        x0 = std::min(x0, c.x);
        x1 = std::max(x1, c.x);
        y0 = std::min(y0, c.y);
        y1 = std::max(y1, c.y);
    }
    return CGRectMake(x0, y0, x1 - x0, y1 - y0);
}
