#pragma once
// Paths: subpaths of lines and cubic or quadratic Bézier curves.
//
// Promises:
// - CGPathBuffer is the value form of a path, used by NSBezierPath, by the context's current
//   path and by the recording context. It stores up to kInlineSegments segments without
//   touching the heap, so the paths a faceplate draws every frame allocate nothing.
// - Arcs, ellipses and rounded rectangles are stored as cubic Bézier segments (at most a
//   quarter turn each, the usual 4/3·tan(θ/4) control distance), so every consumer sees only
//   move, line, quad, curve and close segments. Ellipses start at their rightmost point (maxX,
//   midY) and run towards +y first; rectangles run minX,minY → maxX,minY → maxX,maxY → minX,maxY.
// - boundingBox() covers the end and control points (the platform's path bounding box is the
//   tighter curve box; for the shapes drawn here, ovals and rounded rectangles, both give the
//   shape's rectangle). An empty path has a CGRectNull bounding box.
// - CGPathRef objects are reference counted (CGPathRetain/CGPathRelease); the Create and Copy
//   functions return +1.

#include <CoreGraphics/CGAffineTransform.h>

#include <vector>

enum CGPathElementType : int32_t {
    kCGPathElementMoveToPoint = 0,
    kCGPathElementAddLineToPoint = 1,
    kCGPathElementAddQuadCurveToPoint = 2,
    kCGPathElementAddCurveToPoint = 3,
    kCGPathElementCloseSubpath = 4,
};

// One stored segment. points[0..n) hold the control points then the end point: move and line
// use points[0]; a quad curve uses [0] (control) and [1]; a cubic uses [0], [1] and [2].
struct CGPathSegment {
    CGPathElementType type = kCGPathElementMoveToPoint;
    CGPoint points[3];
};

// The view the platform gives an applier function.
struct CGPathElement {
    CGPathElementType type;
    const CGPoint* points;
};
typedef void (*CGPathApplierFunction)(void* info, const CGPathElement* element);

class CG_EXTERN CGPathBuffer {
public:
    static constexpr std::size_t kInlineSegments = 40;

    CGPathBuffer() = default;
    CGPathBuffer(const CGPathBuffer& other);
    CGPathBuffer& operator=(const CGPathBuffer& other);
    CGPathBuffer(CGPathBuffer&& other) noexcept;
    CGPathBuffer& operator=(CGPathBuffer&& other) noexcept;
    ~CGPathBuffer() = default;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const CGPathSegment& operator[](std::size_t i) const { return data()[i]; }
    const CGPathSegment* begin() const { return data(); }
    const CGPathSegment* end() const { return data() + size_; }
    void clear();

    // The point the next segment starts from (the last end point); (0, 0) when empty.
    CGPoint currentPoint() const;
    bool hasCurrentPoint() const { return size_ > 0; }

    void moveTo(CGPoint p);
    void lineTo(CGPoint p);
    void quadTo(CGPoint control, CGPoint end);
    void curveTo(CGPoint control1, CGPoint control2, CGPoint end);
    void close();
    // An arc about centre from startAngle to endAngle (radians, +x towards +y is positive).
    // clockwise follows the platform's meaning in a y-up space: true sweeps with decreasing
    // angle. Starts with a line (or a move on an empty path) to the arc's first point.
    void addArc(CGPoint centre, CGFloat radius, CGFloat startAngle, CGFloat endAngle,
                bool clockwise);
    void addRect(CGRect rect);
    void addEllipse(CGRect rect);
    // Corner radii are clamped to half the width and half the height.
    void addRoundedRect(CGRect rect, CGFloat cornerWidth, CGFloat cornerHeight);
    // A polygon's outline: a move to the first point, lines to the others; not closed.
    void addLines(const CGPoint* points, std::size_t count);
    void append(const CGPathBuffer& other);
    // Appends other with every point mapped by t.
    void append(const CGPathBuffer& other, const CGAffineTransform& t);
    void transform(const CGAffineTransform& t);

    CGRect boundingBox() const;

private:
    CGPathSegment* data() { return heap_.empty() ? inline_ : heap_.data(); }
    const CGPathSegment* data() const { return heap_.empty() ? inline_ : heap_.data(); }
    void push(const CGPathSegment& segment);

    CGPathSegment inline_[kInlineSegments];
    std::vector<CGPathSegment> heap_; // used once the inline storage is full
    std::size_t size_ = 0;
};

typedef const struct CGPath* CGPathRef;
typedef struct CGPath* CGMutablePathRef;

CG_EXTERN CGMutablePathRef CGPathCreateMutable();
CG_EXTERN CGPathRef CGPathCreateCopy(CGPathRef path);
CG_EXTERN CGMutablePathRef CGPathCreateMutableCopy(CGPathRef path);
CG_EXTERN CGPathRef CGPathCreateWithRect(CGRect rect, const CGAffineTransform* transform);
CG_EXTERN CGPathRef CGPathCreateWithEllipseInRect(CGRect rect, const CGAffineTransform* transform);
CG_EXTERN CGPathRef CGPathCreateWithRoundedRect(CGRect rect, CGFloat cornerWidth,
                                                CGFloat cornerHeight,
                                                const CGAffineTransform* transform);
CG_EXTERN CGPathRef CGPathRetain(CGPathRef path);
CG_EXTERN void CGPathRelease(CGPathRef path);

// Each takes an optional transform applied to the given points before they are stored.
CG_EXTERN void CGPathMoveToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x,
                                 CGFloat y);
CG_EXTERN void CGPathAddLineToPoint(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x,
                                    CGFloat y);
CG_EXTERN void CGPathAddQuadCurveToPoint(CGMutablePathRef path, const CGAffineTransform* m,
                                         CGFloat cpx, CGFloat cpy, CGFloat x, CGFloat y);
CG_EXTERN void CGPathAddCurveToPoint(CGMutablePathRef path, const CGAffineTransform* m,
                                     CGFloat cp1x, CGFloat cp1y, CGFloat cp2x, CGFloat cp2y,
                                     CGFloat x, CGFloat y);
CG_EXTERN void CGPathAddArc(CGMutablePathRef path, const CGAffineTransform* m, CGFloat x, CGFloat y,
                            CGFloat radius, CGFloat startAngle, CGFloat endAngle, bool clockwise);
CG_EXTERN void CGPathAddRect(CGMutablePathRef path, const CGAffineTransform* m, CGRect rect);
CG_EXTERN void CGPathAddEllipseInRect(CGMutablePathRef path, const CGAffineTransform* m,
                                      CGRect rect);
CG_EXTERN void CGPathAddRoundedRect(CGMutablePathRef path, const CGAffineTransform* m, CGRect rect,
                                    CGFloat cornerWidth, CGFloat cornerHeight);
CG_EXTERN void CGPathAddLines(CGMutablePathRef path, const CGAffineTransform* m,
                              const CGPoint* points, std::size_t count);
CG_EXTERN void CGPathAddPath(CGMutablePathRef path, const CGAffineTransform* m, CGPathRef other);
CG_EXTERN void CGPathCloseSubpath(CGMutablePathRef path);

CG_EXTERN bool CGPathIsEmpty(CGPathRef path);
CG_EXTERN CGRect CGPathGetBoundingBox(CGPathRef path);
CG_EXTERN CGPoint CGPathGetCurrentPoint(CGPathRef path);
CG_EXTERN void CGPathApply(CGPathRef path, void* info, CGPathApplierFunction function);
// Stand-in extension: the stored segments of a path object.
CG_EXTERN const CGPathBuffer& CGPathGetBuffer(CGPathRef path);
