// Images: PNG files, drawing handlers, rasterising, and the source rectangle in drawing.

#include <AppKit/AppKit.h>

#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::string scratch(const char* name) {
    return std::string(APPKIT_TEST_OUTPUT_DIR) + "/" + name;
}

// A 4 × 2 pixel PNG: left half red, right half blue; size in points given.
NSData redBluePNG(NSSize points, CGFloat scale) {
    auto rep = std::make_shared<NSBitmapImageRep>(points, scale);
    auto context = NSGraphicsContext::graphicsContextWithBitmapImageRep(rep);
    NSGraphicsContext::setCurrentContext(context);
    NSColor::redColor().setFill();
    NSRectFill(NSMakeRect(0, 0, points.width / 2, points.height));
    NSColor::colorWithRed(0, 0, 1, 1).setFill();
    NSRectFill(NSMakeRect(points.width / 2, 0, points.width / 2, points.height));
    NSGraphicsContext::setCurrentContext(nullptr);
    return rep->representationUsingType(NSBitmapImageFileTypePNG);
}

TEST(Image, LoadsAPNGWithItsPointSize) {
    const std::string path = scratch("red-blue@2x.png");
    ASSERT_TRUE(redBluePNG({2, 1}, 2).writeToURL(
        NSURL::fileURLWithPath(NSString(path.c_str()), false), NSDataWritingAtomic, nullptr));
    auto image =
        NSImage::initWithContentsOfURL(NSURL::fileURLWithPath(NSString(path.c_str()), false));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size().width, 2); // 4 pixels at 144 pixels per inch
    EXPECT_EQ(image->size().height, 1);
    auto rep = std::dynamic_pointer_cast<NSBitmapImageRep>(image->representations().at(0));
    ASSERT_TRUE(rep);
    EXPECT_EQ(rep->pixelsWide(), 4);
    EXPECT_NEAR(rep->colorAtX(0, 0).red, 1, 0.01);
    EXPECT_NEAR(rep->colorAtX(3, 1).blue, 1, 0.01);
}

TEST(Image, MissingOrUnreadableFilesGiveNil) {
    EXPECT_EQ(NSImage::initWithContentsOfURL(NSURL::fileURLWithPath("/no/such/file.png", false)),
              nullptr);
    const std::string path = scratch("not-a.png");
    NSData::dataWithBytes("text", 4).writeToURL(
        NSURL::fileURLWithPath(NSString(path.c_str()), false), 0, nullptr);
    EXPECT_EQ(NSImage::initWithContentsOfFile(NSString(path.c_str())), nullptr);
}

TEST(Image, TheSourceRectIsInTheImagesBottomLeftPoints) {
    auto image = NSImage::initWithData(redBluePNG({1983, 793}, 1));
    ASSERT_TRUE(image);
    CGContextRef context = CGRecordingContextCreate({200, 100}, 1);
    NSGraphicsContext::setCurrentContext(
        NSGraphicsContext::graphicsContextWithCGContext(context, true));
    CGContextTranslateCTM(context, 0, 100);
    CGContextScaleCTM(context, 1, -1); // a flipped view's space
    image->drawInRect(NSMakeRect(10, 20, 30, 40), NSMakeRect(800, 218, 674, 153),
                      NSCompositingOperationSourceOver, 1, true, {NSImageInterpolationHigh});
    image->drawInRect(NSMakeRect(0, 0, 50, 50), NSZeroRect, NSCompositingOperationSourceOver, 0.5,
                      false, {});
    NSGraphicsContext::setCurrentContext(nullptr);
    const auto& ops = CGRecordingContextGetOperations(context);
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].kind, CGRecordedKind::image);
    EXPECT_EQ(ops[0].imageObject, image.get());
    // y from the top = 793 − (218 + 153) = 422.
    EXPECT_NEAR(ops[0].imageSource.origin.x, 800, 1e-9);
    EXPECT_NEAR(ops[0].imageSource.origin.y, 422, 1e-9);
    EXPECT_NEAR(ops[0].imageSource.size.height, 153, 1e-9);
    EXPECT_TRUE(ops[0].imageTopAtMinY); // upright in the flipped space
    EXPECT_EQ(ops[0].interpolation, kCGInterpolationHigh);
    EXPECT_NEAR(ops[1].imageSource.size.width, 1983, 1e-9); // NSZeroRect: the whole image
    EXPECT_FALSE(ops[1].imageTopAtMinY);
    EXPECT_EQ(ops[1].fraction, 0.5);
    EXPECT_EQ(ops[1].interpolation, kCGInterpolationDefault);
    CGContextRelease(context);
}

TEST(Image, DrawingHandlerRunsOnceAndRasterisesToABitmap) {
    int runs = 0;
    bool flippedInHandler = false;
    auto image = NSImage::imageWithSize({20, 10}, true, [&](NSRect r) {
        ++runs;
        flippedInHandler = NSGraphicsContext::currentContext()->isFlipped();
        NSColor::redColor().setFill();
        NSRectFill(NSMakeRect(0, 0, r.size.width, 2)); // the top strip in a flipped image
        return true;
    });
    const NSData tiff = image->TIFFRepresentation();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(flippedInHandler);
    auto rep = NSBitmapImageRep::initWithData(tiff);
    ASSERT_TRUE(rep);
    EXPECT_EQ(rep->pixelsWide(), 20);
    EXPECT_NEAR(rep->colorAtX(5, 0).red, 1, 0.01);
    EXPECT_EQ(rep->colorAtX(5, 9).alpha, 0);
    auto raster = std::make_shared<NSImage>(NSSize{20, 10});
    raster->addRepresentation(rep);
    // Drawing the handler image again at the same density reuses its bitmap.
    CGContextRef context = CGRecordingContextCreate({20, 10}, 1);
    NSGraphicsContext::setCurrentContext(
        NSGraphicsContext::graphicsContextWithCGContext(context, false));
    image->drawInRect(NSMakeRect(0, 0, 20, 10));
    raster->drawInRect(NSMakeRect(0, 0, 20, 10));
    NSGraphicsContext::setCurrentContext(nullptr);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(CGRecordingContextGetOperations(context).size(), 2u);
    CGContextRelease(context);
}

TEST(Image, AnImageWithoutRepresentationsDrawsNothing) {
    NSImage empty(NSSize{10, 10});
    EXPECT_FALSE(empty.isValid());
    CGContextRef context = CGRecordingContextCreate({10, 10}, 1);
    NSGraphicsContext::setCurrentContext(
        NSGraphicsContext::graphicsContextWithCGContext(context, false));
    empty.drawInRect(NSMakeRect(0, 0, 10, 10));
    NSGraphicsContext::setCurrentContext(nullptr);
    EXPECT_TRUE(CGRecordingContextGetOperations(context).empty());
    EXPECT_FALSE(empty.TIFFRepresentation());
    CGContextRelease(context);
}

} // namespace
