#pragma once
// NSAffineTransform: a value transform with the platform's composition rules.
//
// Promises:
// - translateXBy, scaleXBy and rotateByDegrees put the new operation first: after
//   `t.scaleXBy(s, s); t.translateXBy(-x, -y);` t maps p to s·(p − (x, y)), the order the
//   drawing code writes them in.
// - appendTransform(o): p goes through this, then o. prependTransform(o): o, then this.
// - concat() multiplies it into the current graphics context's CTM (so it acts before the
//   existing CTM); set() replaces the CTM (the default user space's mapping stays below it).
//   Both act on NSGraphicsContext::currentContext() and do nothing without one.

#include <CoreGraphics/CGAffineTransform.h>
#include <Foundation/NSGeometry.h>

struct NSAffineTransformStruct {
    CGFloat m11 = 1, m12 = 0, m21 = 0, m22 = 1, tX = 0, tY = 0;
};

class FOUNDATION_EXPORT NSAffineTransform {
public:
    NSAffineTransform() = default; // identity
    static NSAffineTransform transform() { return NSAffineTransform(); }

    void translateXBy(CGFloat x, CGFloat y);
    void scaleBy(CGFloat scale);
    void scaleXBy(CGFloat sx, CGFloat sy);
    void rotateByDegrees(CGFloat angle);
    void rotateByRadians(CGFloat angle);
    void appendTransform(const NSAffineTransform& other);
    void prependTransform(const NSAffineTransform& other);
    void invert();
    NSPoint transformPoint(NSPoint point) const;
    NSSize transformSize(NSSize size) const;
    NSAffineTransformStruct transformStruct() const;
    void setTransformStruct(const NSAffineTransformStruct& m);
    ::CGAffineTransform affineTransform() const { return matrix_; } // stand-in extension

    // AppKit additions (drawing).
    void concat() const;
    void set() const;

private:
    ::CGAffineTransform matrix_;
};
