#pragma once
// Affine transforms in the platform's row-vector convention.
//
// Promises:
// - A point maps as x' = a·x + c·y + tx, y' = b·x + d·y + ty.
// - CGAffineTransformConcat(t1, t2) applies t1 first, then t2.
// - CGAffineTransformTranslate/Scale/Rotate(t, ...) put the new operation before t: the
//   result maps a point by the operation and then by t (as CGContextTranslateCTM does to the
//   CTM). Angles are in radians; positive angles turn from +x towards +y.
// - Inverting a singular transform returns it unchanged.

#include <CoreGraphics/CGGeometry.h>

struct CGAffineTransform {
    CGFloat a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
};

CG_EXTERN extern const CGAffineTransform CGAffineTransformIdentity;

inline CGAffineTransform CGAffineTransformMake(CGFloat a, CGFloat b, CGFloat c, CGFloat d,
                                               CGFloat tx, CGFloat ty) {
    return CGAffineTransform{a, b, c, d, tx, ty};
}
CG_EXTERN CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty);
CG_EXTERN CGAffineTransform CGAffineTransformMakeScale(CGFloat sx, CGFloat sy);
CG_EXTERN CGAffineTransform CGAffineTransformMakeRotation(CGFloat angle);
CG_EXTERN CGAffineTransform CGAffineTransformTranslate(CGAffineTransform t, CGFloat tx, CGFloat ty);
CG_EXTERN CGAffineTransform CGAffineTransformScale(CGAffineTransform t, CGFloat sx, CGFloat sy);
CG_EXTERN CGAffineTransform CGAffineTransformRotate(CGAffineTransform t, CGFloat angle);
CG_EXTERN CGAffineTransform CGAffineTransformConcat(CGAffineTransform t1, CGAffineTransform t2);
CG_EXTERN CGAffineTransform CGAffineTransformInvert(CGAffineTransform t);
CG_EXTERN bool CGAffineTransformIsIdentity(CGAffineTransform t);
CG_EXTERN bool CGAffineTransformEqualToTransform(CGAffineTransform t1, CGAffineTransform t2);
CG_EXTERN CGPoint CGPointApplyAffineTransform(CGPoint point, CGAffineTransform t);
CG_EXTERN CGSize CGSizeApplyAffineTransform(CGSize size, CGAffineTransform t);
// The bounding box of the transformed rectangle's four corners.
CG_EXTERN CGRect CGRectApplyAffineTransform(CGRect rect, CGAffineTransform t);
