// The Cairo bitmap context: pixels where the drawing says they go.

#include <CoreGraphics/CoreGraphics.h>

#include <AppKit/NSGraphicsContext.h>
#include <AppKit/NSStringDrawing.h>

#include <gtest/gtest.h>

namespace {

class Bitmap : public ::testing::Test {
protected:
    void make(double w, double h, double scale = 1) {
        context = CGBitmapContextCreateWithPointSize({w, h}, scale);
    }
    void TearDown() override {
        CGImageRelease(image);
        CGContextRelease(context);
    }
    // Pixel (x, y) from the top-left of what was drawn so far.
    CGRGBAColor pixel(std::size_t x, std::size_t y) {
        CGImageRelease(image);
        image = CGBitmapContextCreateImage(context);
        return CGImageGetPixel(image, x, y);
    }
    CGContextRef context = nullptr;
    CGImageRef image = nullptr;
};

void expectColour(CGRGBAColor c, double r, double g, double b, double a, double tolerance = 0.02) {
    EXPECT_NEAR(c.red, r, tolerance);
    EXPECT_NEAR(c.green, g, tolerance);
    EXPECT_NEAR(c.blue, b, tolerance);
    EXPECT_NEAR(c.alpha, a, tolerance);
}

TEST_F(Bitmap, SizeIsPointsTimesScale) {
    make(100.5, 40, 2);
    EXPECT_EQ(CGBitmapContextGetWidth(context), 201u);
    EXPECT_EQ(CGBitmapContextGetHeight(context), 80u);
    EXPECT_EQ(pixel(0, 0).alpha, 0);
}

TEST_F(Bitmap, FillsLandFromTheBottomLeftOfTheDefaultSpace) {
    make(20, 10);
    CGContextSetRGBFillColor(context, 1, 0, 0, 1);
    CGContextFillRect(context, CGRectMake(0, 0, 10, 4)); // the bottom-left 10 × 4 points
    expectColour(pixel(2, 8), 1, 0, 0, 1);
    EXPECT_EQ(pixel(2, 2).alpha, 0);
    EXPECT_EQ(pixel(15, 8).alpha, 0);
}

TEST_F(Bitmap, ClipsLimitDrawingUntilRestored) {
    make(20, 20);
    CGContextSetRGBFillColor(context, 0, 0, 1, 1);
    CGContextSaveGState(context);
    CGContextAddEllipseInRect(context, CGRectMake(0, 0, 20, 20));
    CGContextClip(context);
    CGContextFillRect(context, CGRectMake(0, 0, 20, 20));
    expectColour(pixel(10, 10), 0, 0, 1, 1);
    EXPECT_EQ(pixel(0, 0).alpha, 0); // outside the circle
    CGContextRestoreGState(context);
    CGContextFillRect(context, CGRectMake(0, 0, 20, 20));
    expectColour(pixel(0, 0), 0, 0, 1, 1);
}

TEST_F(Bitmap, StrokeWidthScalesWithTheCTM) {
    make(40, 40);
    CGContextScaleCTM(context, 4, 4);
    CGContextSetLineWidth(context, 1); // 4 pixels
    CGContextSetRGBStrokeColor(context, 0, 1, 0, 1);
    const CGPoint line[2] = {{0, 5}, {10, 5}};
    CGContextStrokeLineSegments(context, line, 2);
    // y = 5 points up is pixel row 20 from the top; the line spans rows 18 to 21.
    expectColour(pixel(20, 18), 0, 1, 0, 1);
    expectColour(pixel(20, 21), 0, 1, 0, 1);
    EXPECT_EQ(pixel(20, 16).alpha, 0);
    EXPECT_EQ(pixel(20, 23).alpha, 0);
}

TEST_F(Bitmap, LinearGradientRunsFromStartToEnd) {
    make(100, 10);
    CGGradientStops stops;
    stops.add({0, 0, 0, 1}, 0);
    stops.add({1, 1, 1, 1}, 1);
    CGContextDrawLinearGradientStops(context, stops, {0, 0}, {100, 0}, 0);
    EXPECT_LT(pixel(2, 5).red, 0.05);
    EXPECT_NEAR(pixel(50, 5).red, 0.5, 0.03);
    EXPECT_GT(pixel(97, 5).red, 0.95);
}

TEST_F(Bitmap, RadialGradientIsBrightestAtItsStartCircle) {
    make(40, 40);
    CGGradientStops stops;
    stops.add({1, 1, 0, 1}, 0);
    stops.add({0.2, 0.1, 0, 1}, 1);
    CGContextDrawRadialGradientStops(context, stops, {10, 30}, 0, {20, 20}, 20,
                                     kCGGradientDrawsBeforeStartLocation |
                                         kCGGradientDrawsAfterEndLocation);
    // (10, 30) in the y-up space is pixel (10, 10).
    EXPECT_GT(pixel(10, 10).green, 0.95);
    EXPECT_LT(pixel(35, 35).green, 0.3);
}

TEST_F(Bitmap, ShadowFallsByItsOffsetOnScreen) {
    make(60, 60);
    // A flipped, scaled user space must not move the shadow: it is 10 points down on screen.
    CGContextTranslateCTM(context, 0, 60);
    CGContextScaleCTM(context, 2, -2);
    CGContextSetShadowRGBA(context, {0, -10}, 0, {0, 0, 0, 1});
    CGContextSetRGBFillColor(context, 1, 1, 1, 1);
    CGContextFillRect(context, CGRectMake(10, 5, 5, 5)); // pixels x 20..30, y 10..20
    expectColour(pixel(25, 15), 1, 1, 1, 1);
    expectColour(pixel(25, 25), 0, 0, 0, 1); // the shadow, 10 pixels below
    EXPECT_EQ(pixel(25, 5).alpha, 0);
    EXPECT_EQ(pixel(35, 25).alpha, 0);
}

TEST_F(Bitmap, BlurredShadowFadesOut) {
    make(80, 80);
    CGContextSetShadowRGBA(context, {0, 0}, 8, {0, 0, 0, 1});
    CGContextSetRGBFillColor(context, 1, 1, 1, 1);
    CGContextFillRect(context, CGRectMake(30, 30, 20, 20));
    const double nearEdge = pixel(52, 40).alpha;
    const double further = pixel(58, 40).alpha;
    EXPECT_GT(nearEdge, further);
    EXPECT_GT(nearEdge, 0.2);
    EXPECT_LT(further, nearEdge);
    EXPECT_EQ(pixel(78, 40).alpha, 0);
}

TEST_F(Bitmap, ImagePartsDrawUprightOrFlippedAsAsked) {
    // A 1 × 2 image: top pixel red, bottom pixel blue.
    CGContextRef source = CGBitmapContextCreateWithPointSize({1, 2}, 1);
    CGContextSetRGBFillColor(source, 0, 0, 1, 1);
    CGContextFillRect(source, CGRectMake(0, 0, 1, 1));
    CGContextSetRGBFillColor(source, 1, 0, 0, 1);
    CGContextFillRect(source, CGRectMake(0, 1, 1, 1));
    CGImageRef picture = CGBitmapContextCreateImage(source);
    CGContextRelease(source);
    ASSERT_EQ(CGImageGetPixel(picture, 0, 0).red, 1);

    make(10, 20);
    CGContextSetInterpolationQuality(context, kCGInterpolationNone);
    // Unflipped: the image's top row at the destination's maxY, the top of the screen.
    CGContextDrawImagePart(context, picture, CGRectMake(0, 0, 1, 2), CGRectMake(0, 0, 10, 20),
                           false, 1);
    expectColour(pixel(5, 2), 1, 0, 0, 1);
    expectColour(pixel(5, 17), 0, 0, 1, 1);
    // Flipped user space, top row at minY: still upright on screen.
    CGContextTranslateCTM(context, 0, 20);
    CGContextScaleCTM(context, 1, -1);
    CGContextDrawImagePart(context, picture, CGRectMake(0, 0, 1, 2), CGRectMake(0, 0, 10, 20), true,
                           1);
    expectColour(pixel(5, 2), 1, 0, 0, 1);
    // Without honouring the flip it is upside down.
    CGContextDrawImagePart(context, picture, CGRectMake(0, 0, 1, 2), CGRectMake(0, 0, 10, 20),
                           false, 1);
    expectColour(pixel(5, 2), 0, 0, 1, 1);
    // Only the source part is drawn: the bottom (blue) pixel stretched over everything.
    CGContextDrawImagePart(context, picture, CGRectMake(0, 1, 1, 1), CGRectMake(0, 0, 10, 20), true,
                           1);
    expectColour(pixel(5, 2), 0, 0, 1, 1);
    expectColour(pixel(5, 17), 0, 0, 1, 1);
    CGImageRelease(picture);
}

TEST_F(Bitmap, RepeatedDrawsKeepToTheirOwnClipPlaceAndShadow) {
    // Image parts and shadows drawn again unchanged reuse their pixels; a draw that differs in
    // its clip, place or shape must not.
    CGContextRef source = CGBitmapContextCreateWithPointSize({2, 2}, 1);
    CGContextSetRGBFillColor(source, 0, 1, 0, 1);
    CGContextFillRect(source, CGRectMake(0, 0, 2, 2));
    CGImageRef picture = CGBitmapContextCreateImage(source);
    CGContextRelease(source);
    make(40, 20);
    auto drawClipped = [&](CGRect clip, double x) {
        CGContextClearRect(context, CGRectMake(0, 0, 40, 20));
        CGContextSaveGState(context);
        CGContextClipToRect(context, clip);
        CGContextDrawImagePart(context, picture, CGRectMake(0, 0, 2, 2), CGRectMake(x, 0, 20, 20),
                               false, 1);
        CGContextRestoreGState(context);
    };
    for (int twice = 0; twice < 2; ++twice) {
        drawClipped(CGRectMake(0, 0, 10, 20), 0);
        expectColour(pixel(5, 10), 0, 1, 0, 1);
        EXPECT_EQ(pixel(15, 10).alpha, 0) << twice;
    }
    drawClipped(CGRectMake(10, 0, 10, 20), 0);
    EXPECT_EQ(pixel(5, 10).alpha, 0);
    expectColour(pixel(15, 10), 0, 1, 0, 1);
    drawClipped(CGRectMake(0, 0, 40, 20), 20);
    EXPECT_EQ(pixel(15, 10).alpha, 0);
    expectColour(pixel(25, 10), 0, 1, 0, 1);
    CGImageRelease(picture);

    CGContextSetShadowRGBA(context, {0, -6}, 2, {0, 0, 0, 1});
    CGContextSetRGBFillColor(context, 1, 1, 1, 1);
    for (const double x : {4.0, 4.0, 24.0}) {
        CGContextClearRect(context, CGRectMake(0, 0, 40, 20));
        CGContextFillRect(context, CGRectMake(x, 10, 8, 6));
        expectColour(pixel(static_cast<std::size_t>(x) + 4, 12), 0, 0, 0, 1); // shadow below
        EXPECT_EQ(pixel(static_cast<std::size_t>(x < 10 ? 28 : 8), 12).alpha, 0) << x;
    }
}

TEST_F(Bitmap, TextRendersInsideItsRectangle) {
    make(200, 60);
    NSGraphicsContext::setCurrentContext(
        NSGraphicsContext::graphicsContextWithCGContext(context, false));
    // y up: the rectangle's top is y 50, pixel row 10.
    NSString("Orvella HELLO")
        .drawInRect(CGRectMake(10, 10, 180, 40),
                    {NSFont::systemFontOfSize(20), NSColor::blackColor(), {}});
    NSGraphicsContext::setCurrentContext(nullptr);
    int inside = 0, outside = 0;
    // The first line hangs from the rectangle's top edge (pixel row 10).
    CGImageRelease(image);
    image = CGBitmapContextCreateImage(context);
    for (std::size_t y = 0; y < 60; ++y) {
        for (std::size_t x = 0; x < 200; ++x) {
            if (CGImageGetPixel(image, x, y).alpha > 0.5) {
                (y >= 8 && y < 40 && x >= 10 && x < 190 ? inside : outside) += 1;
            }
        }
    }
    EXPECT_GT(inside, 100);
    EXPECT_EQ(outside, 0);
}

} // namespace
