// Rectangles and affine transforms: the composition order the drawing code depends on.

#include <CoreGraphics/CoreGraphics.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

void expectPoint(CGPoint p, double x, double y) {
    EXPECT_NEAR(p.x, x, 1e-12);
    EXPECT_NEAR(p.y, y, 1e-12);
}

TEST(AffineTransform, OperationsActBeforeTheTransformTheyAreAppliedTo) {
    // "scale, then translate", as the controls write it, maps p to s·(p − origin).
    CGAffineTransform t = CGAffineTransformIdentity;
    t = CGAffineTransformScale(t, 0.5, 2);
    t = CGAffineTransformTranslate(t, -100, -10);
    expectPoint(CGPointApplyAffineTransform({120, 15}, t), 10, 10);
}

TEST(AffineTransform, ConcatAppliesTheFirstThenTheSecond) {
    const CGAffineTransform move = CGAffineTransformMakeTranslation(10, 0);
    const CGAffineTransform scale = CGAffineTransformMakeScale(2, 2);
    expectPoint(CGPointApplyAffineTransform({1, 1}, CGAffineTransformConcat(move, scale)), 22, 2);
    expectPoint(CGPointApplyAffineTransform({1, 1}, CGAffineTransformConcat(scale, move)), 12, 2);
}

TEST(AffineTransform, InvertUndoesAndLeavesSingularTransformsAlone) {
    const CGAffineTransform t = {0.9619047619047619, 0, 0, 0.9619057142857143, 250.71, 37.63};
    const CGAffineTransform inverse = CGAffineTransformInvert(t);
    expectPoint(CGPointApplyAffineTransform(CGPointApplyAffineTransform({1245, 489}, t), inverse),
                1245, 489);
    const CGAffineTransform singular = {1, 2, 2, 4, 5, 6};
    EXPECT_TRUE(CGAffineTransformEqualToTransform(CGAffineTransformInvert(singular), singular));
}

TEST(AffineTransform, RotationTurnsPlusXTowardsPlusY) {
    expectPoint(CGPointApplyAffineTransform({1, 0}, CGAffineTransformMakeRotation(M_PI / 2)), 0, 1);
}

TEST(Rect, HalfOpenContainmentAndNullIntersection) {
    const CGRect r = CGRectMake(10, 20, 30, 40);
    EXPECT_TRUE(CGRectContainsPoint(r, {10, 20}));
    EXPECT_FALSE(CGRectContainsPoint(r, {40, 30}));
    EXPECT_FALSE(CGRectContainsPoint(r, {20, 60}));
    EXPECT_TRUE(CGRectIsNull(CGRectIntersection(r, CGRectMake(100, 100, 1, 1))));
    EXPECT_TRUE(CGRectIsEmpty(CGRectNull));
    EXPECT_TRUE(CGRectEqualToRect(CGRectIntersection(r, CGRectMake(0, 0, 20, 30)),
                                  CGRectMake(10, 20, 10, 10)));
}

TEST(Rect, NegativeSizesAreStandardised) {
    const CGRect r = CGRectMake(10, 10, -4, -6);
    EXPECT_EQ(CGRectGetMinX(r), 6);
    EXPECT_EQ(CGRectGetMaxY(r), 10);
    EXPECT_EQ(CGRectGetWidth(r), 4);
}

TEST(Rect, TransformedRectIsTheCornersBoundingBox) {
    const CGRect r = CGRectApplyAffineTransform(CGRectMake(0, 0, 10, 20),
                                                CGAffineTransformMake(1, 0, 0, -1, 5, 100));
    EXPECT_TRUE(CGRectEqualToRect(r, CGRectMake(5, 80, 10, 20)));
}

} // namespace
