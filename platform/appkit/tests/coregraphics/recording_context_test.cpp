// The recording context: what was drawn, where (user and device space), with which state.

#include <CoreGraphics/CoreGraphics.h>

#include "test_support.h"

#include <gtest/gtest.h>

namespace {

// 100 × 50 points at scale 2: device (pixels, y down) = (2x, 100 − 2y).
class Recording : public ::testing::Test {
protected:
    void SetUp() override { context = CGRecordingContextCreate({100, 50}, 2); }
    void TearDown() override { CGContextRelease(context); }
    const std::vector<CGRecordedOperation>& ops() const {
        return CGRecordingContextGetOperations(context);
    }
    CGContextRef context = nullptr;
};

TEST_F(Recording, DefaultUserSpaceIsPointsFromTheBottomLeft) {
    CGContextSetRGBFillColor(context, 0.1, 0.2, 0.3, 0.4);
    CGContextFillRect(context, CGRectMake(10, 10, 20, 5));
    ASSERT_EQ(ops().size(), 1u);
    const CGRecordedOperation& op = ops()[0];
    EXPECT_EQ(op.kind, CGRecordedKind::fill);
    expectRect(op.bounds, 10, 10, 20, 5);
    expectRect(op.deviceBounds, 20, 70, 40, 10);
    EXPECT_EQ(op.color, (CGRGBAColor{0.1, 0.2, 0.3, 0.4}));
    EXPECT_FALSE(op.shadow.active);
}

TEST_F(Recording, AFlippedUserSpaceMeasuresFromTheTop) {
    CGContextTranslateCTM(context, 0, 50);
    CGContextScaleCTM(context, 1, -1);
    CGContextFillRect(context, CGRectMake(10, 10, 20, 5));
    expectRect(ops()[0].deviceBounds, 20, 20, 40, 10);
}

TEST_F(Recording, PathPointsAreFixedByTheCTMWhenAdded) {
    CGContextMoveToPoint(context, 0, 0);
    CGContextScaleCTM(context, 10, 10);
    CGContextAddLineToPoint(context, 1, 1);
    CGContextStrokePath(context);
    const CGRecordedOperation& op = ops()[0];
    ASSERT_EQ(op.devicePath.size(), 2u);
    EXPECT_EQ(op.devicePath[0].points[0].x, 0);
    EXPECT_EQ(op.devicePath[0].points[0].y, 100);
    EXPECT_EQ(op.devicePath[1].points[0].x, 20);
    EXPECT_EQ(op.devicePath[1].points[0].y, 80);
}

TEST_F(Recording, ShadowsStayInTheDefaultUserSpace) {
    // (1, −3) in the default space is 1 point right and 3 down on screen: (2, 6) pixels here,
    // however the CTM scales or flips.
    CGContextTranslateCTM(context, 0, 50);
    CGContextScaleCTM(context, 3, -3);
    CGContextSetShadowRGBA(context, {1, -3}, 5, {0, 0, 0, 0.72});
    CGContextFillEllipseInRect(context, CGRectMake(1, 1, 2, 2));
    const CGRecordedShadow& s = ops()[0].shadow;
    EXPECT_TRUE(s.active);
    EXPECT_EQ(s.offset.width, 1);
    EXPECT_EQ(s.offset.height, -3);
    EXPECT_EQ(s.deviceOffset.width, 2);
    EXPECT_EQ(s.deviceOffset.height, 6);
    EXPECT_EQ(s.deviceBlur, 10);
    EXPECT_EQ(s.color.alpha, 0.72);
}

TEST_F(Recording, ClearShadowColourTurnsTheShadowOff) {
    CGContextSetShadowRGBA(context, {1, -3}, 5, {0, 0, 0, 0});
    CGContextFillRect(context, CGRectMake(0, 0, 1, 1));
    EXPECT_FALSE(ops()[0].shadow.active);
}

TEST_F(Recording, ClipsIntersectAndRestore) {
    CGContextSaveGState(context);
    CGContextClipToRect(context, CGRectMake(0, 0, 50, 50));
    CGContextClipToRect(context, CGRectMake(25, 0, 50, 25));
    CGContextFillRect(context, CGRectMake(0, 0, 100, 50));
    CGContextRestoreGState(context);
    CGContextFillRect(context, CGRectMake(0, 0, 100, 50));
    ASSERT_EQ(ops().size(), 6u);
    EXPECT_EQ(ops()[0].kind, CGRecordedKind::saveGState);
    EXPECT_EQ(ops()[1].kind, CGRecordedKind::clip);
    EXPECT_EQ(ops()[2].kind, CGRecordedKind::clip);
    expectRect(ops()[3].clipDeviceBounds, 50, 50, 50, 50);
    EXPECT_EQ(ops()[4].kind, CGRecordedKind::restoreGState);
    expectRect(ops()[5].clipDeviceBounds, 0, 0, 200, 100);
    expectRect(CGContextGetClipBoundingBox(context), 0, 0, 100, 50);
}

TEST_F(Recording, RestoreWithoutSaveChangesNothing) {
    CGContextScaleCTM(context, 2, 2);
    CGContextRestoreGState(context);
    EXPECT_EQ(CGContextGetCTM(context).a, 4);
    EXPECT_TRUE(ops().empty());
}

TEST_F(Recording, StrokesCarryWidthCapAndColour) {
    CGContextSetLineWidth(context, 5.4);
    CGContextSetLineCap(context, kCGLineCapRound);
    CGContextSetRGBStrokeColor(context, 0.94, 0.88, 0.69, 1);
    const CGPoint line[2] = {{1, 2}, {3, 4}};
    CGContextStrokeLineSegments(context, line, 2);
    const CGRecordedOperation& op = ops()[0];
    EXPECT_EQ(op.kind, CGRecordedKind::stroke);
    EXPECT_EQ(op.lineWidth, 5.4);
    EXPECT_EQ(op.lineCap, kCGLineCapRound);
    EXPECT_EQ(op.color, (CGRGBAColor{0.94, 0.88, 0.69, 1}));
    EXPECT_EQ(op.path[1].points[0].x, 3);
}

TEST_F(Recording, GradientsKeepTheirStopsAndEnds) {
    const CGFloat components[] = {1, 0, 0, 1, 0, 0, 1, 1, 0, 1, 0, 1};
    CGGradientRef gradient =
        CGGradientCreateWithColorComponents(CGColorSpaceCreateDeviceRGB(), components, nullptr, 3);
    CGContextDrawLinearGradient(context, gradient, {0, 0}, {0, 50},
                                kCGGradientDrawsBeforeStartLocation);
    CGContextDrawRadialGradient(context, gradient, {10, 10}, 0, {20, 20}, 5, 0);
    CGGradientRelease(gradient);
    ASSERT_EQ(ops().size(), 2u);
    const CGRecordedOperation& linear = ops()[0];
    EXPECT_EQ(linear.kind, CGRecordedKind::linearGradient);
    ASSERT_EQ(linear.gradient.count, 3u);
    EXPECT_EQ(linear.gradient.locations[1], 0.5);
    EXPECT_EQ(linear.gradient.colors[2], (CGRGBAColor{0, 1, 0, 1}));
    EXPECT_EQ(linear.deviceStart.y, 100);
    EXPECT_EQ(linear.deviceEnd.y, 0);
    EXPECT_EQ(linear.gradientOptions, kCGGradientDrawsBeforeStartLocation);
    EXPECT_EQ(ops()[1].kind, CGRecordedKind::radialGradient);
    EXPECT_EQ(ops()[1].endRadius, 5);
}

TEST_F(Recording, ImagePartsRecordSourceAndDestination) {
    CGContextRef bitmap = CGBitmapContextCreateWithPointSize({4, 2}, 1);
    CGImageRef image = CGBitmapContextCreateImage(bitmap);
    CGContextDrawImagePart(context, image, CGRectMake(1, 0, 2, 2), CGRectMake(5, 5, 10, 10), true,
                           0.5);
    const CGRecordedOperation& op = ops()[0];
    EXPECT_EQ(op.kind, CGRecordedKind::image);
    EXPECT_EQ(op.image, image);
    expectRect(op.imageSource, 1, 0, 2, 2);
    expectRect(op.bounds, 5, 5, 10, 10);
    expectRect(op.deviceBounds, 10, 70, 20, 20);
    EXPECT_TRUE(op.imageTopAtMinY);
    EXPECT_EQ(op.fraction, 0.5);
    CGImageRelease(image);
    CGContextRelease(bitmap);
}

} // namespace
