// NSAffineTransform.

#include <Foundation/NSAffineTransform.h>

#include "drawing_internal.h"

#include <numbers>

void NSAffineTransform::translateXBy(CGFloat x, CGFloat y) {
    matrix_ = CGAffineTransformTranslate(matrix_, x, y);
}
void NSAffineTransform::scaleBy(CGFloat scale) {
    scaleXBy(scale, scale);
}
void NSAffineTransform::scaleXBy(CGFloat sx, CGFloat sy) {
    matrix_ = CGAffineTransformScale(matrix_, sx, sy);
}
void NSAffineTransform::rotateByDegrees(CGFloat angle) {
    rotateByRadians(angle * std::numbers::pi / 180);
}
void NSAffineTransform::rotateByRadians(CGFloat angle) {
    matrix_ = CGAffineTransformRotate(matrix_, angle);
}
void NSAffineTransform::appendTransform(const NSAffineTransform& other) {
    matrix_ = CGAffineTransformConcat(matrix_, other.matrix_);
}
void NSAffineTransform::prependTransform(const NSAffineTransform& other) {
    matrix_ = CGAffineTransformConcat(other.matrix_, matrix_);
}
void NSAffineTransform::invert() {
    matrix_ = CGAffineTransformInvert(matrix_);
}
NSPoint NSAffineTransform::transformPoint(NSPoint point) const {
    return CGPointApplyAffineTransform(point, matrix_);
}
NSSize NSAffineTransform::transformSize(NSSize size) const {
    return CGSizeApplyAffineTransform(size, matrix_);
}
NSAffineTransformStruct NSAffineTransform::transformStruct() const {
    return {matrix_.a, matrix_.b, matrix_.c, matrix_.d, matrix_.tx, matrix_.ty};
}
void NSAffineTransform::setTransformStruct(const NSAffineTransformStruct& m) {
    matrix_ = {m.m11, m.m12, m.m21, m.m22, m.tX, m.tY};
}

void NSAffineTransform::concat() const {
    CGContextConcatCTM(appkit::currentCGContext(), matrix_);
}

void NSAffineTransform::set() const {
    CGContextRef c = appkit::currentCGContext();
    if (!c) {
        return;
    }
    // Replace the CTM: undo the current one down to the default user space, then apply.
    const CGAffineTransform current = CGContextGetCTM(c);
    const CGAffineTransform base = CGContextGetBaseCTM(c);
    CGContextConcatCTM(c, CGAffineTransformConcat(base, CGAffineTransformInvert(current)));
    CGContextConcatCTM(c, matrix_);
}
