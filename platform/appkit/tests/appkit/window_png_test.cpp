// A window drawn for real (Cairo and Pango) and written as PNG: gradients, shadows, text and
// images land where the drawing says, upright, in a flipped and scaled view.

#include <AppKit/AppKit.h>

#include "test_support.h"
#include "testing/allocation_counter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// A faceplate-like view: art units (480 × 300) scaled into its frame, y down.
class Plate : public NSView {
public:
    using NSView::NSView;
    bool isFlipped() const override { return true; }
    void drawRect(NSRect) override {
        // Brushed panel: a vertical gradient over the whole face.
        NSGradient({NSColor::colorWithRed(0.49, 0.43, 0.31, 1),
                    NSColor::colorWithRed(0.12, 0.105, 0.075, 1)})
            .drawInRect(bounds(), 90);
        // Knob with a shadow 1 point right and 3 down.
        NSGraphicsContext::saveGraphicsState();
        NSShadow shadow;
        shadow.setShadowColor(NSColor::colorWithRed(0, 0, 0, 0.72));
        shadow.setShadowOffset(NSMakeSize(1, -3));
        shadow.setShadowBlurRadius(5);
        shadow.set();
        NSColor::colorWithRed(0.9, 0.9, 0.85, 1).setFill();
        NSBezierPath::bezierPathWithOvalInRect(NSMakeRect(60, 60, 100, 100)).fill();
        NSGraphicsContext::restoreGraphicsState();
        // Pointer line.
        NSColor::colorWithRed(0.055, 0.04, 0.025, 1).setStroke();
        NSBezierPath pointer;
        pointer.moveToPoint({110, 110});
        pointer.lineToPoint({110, 66});
        pointer.setLineWidth(5.4);
        pointer.setLineCapStyle(NSLineCapStyleRound);
        pointer.stroke();
        // A lamp with a radial hot spot.
        NSGradient({NSColor::colorWithRed(1.0, 0.96, 0.57, 1),
                    NSColor::colorWithRed(1.0, 0.68, 0.05, 1),
                    NSColor::colorWithRed(0.49, 0.24, 0.015, 1)})
            .drawInBezierPath(NSBezierPath::bezierPathWithOvalInRect(NSMakeRect(220, 60, 40, 40)),
                              NSPoint{-0.35, -0.4});
        // Engraved legend and a monospaced caption.
        NSMutableParagraphStyle centred;
        centred.setAlignment(NSTextAlignmentCenter);
        NSString("DUAL-STAGE TUBE PREAMP & EQ")
            .drawInRect(NSMakeRect(180, 150, 290, 30),
                        {NSFont::fontWithName("Baskerville", 18),
                         NSColor::colorWithRed(0.79, 0.75, 0.61, 1), centred});
        NSString("0 VU = \u221218 dBFS \u00B7 RMS")
            .drawInRect(NSMakeRect(180, 190, 290, 20),
                        {NSFont::monospacedSystemFontOfSize(12, NSFontWeightMedium),
                         NSColor::colorWithRed(0.91, 0.88, 0.76, 1), centred});
        // A photograph's top strip: the stripes image's red top band only.
        stripes->drawInRect(NSMakeRect(300, 60, 120, 60), NSMakeRect(0, 30, 60, 10),
                            NSCompositingOperationSourceOver, 1, true, {NSImageInterpolationHigh});
        // The whole stripes image, upright.
        stripes->drawInRect(NSMakeRect(300, 200, 60, 40), NSZeroRect,
                            NSCompositingOperationSourceOver, 1, true, {NSImageInterpolationHigh});
    }
    std::shared_ptr<NSImage> stripes;
};

class WindowPNG : public ::testing::Test {
protected:
    void SetUp() override {
        // 60 × 40 points: red on top, then green, then blue at the bottom (drawn y down).
        plate = std::make_shared<Plate>(NSMakeRect(0, 0, 480, 300));
        plate->stripes = NSImage::imageWithSize({60, 40}, true, [](NSRect) {
            NSColor::redColor().setFill();
            NSRectFill(NSMakeRect(0, 0, 60, 10));
            NSColor::colorWithRed(0, 1, 0, 1).setFill();
            NSRectFill(NSMakeRect(0, 10, 60, 20));
            NSColor::colorWithRed(0, 0, 1, 1).setFill();
            NSRectFill(NSMakeRect(0, 30, 60, 10));
            return true;
        });
        window = std::make_shared<NSWindow>(NSMakeRect(0, 0, 480, 300), 11, NSBackingStoreBuffered,
                                            false);
        window->setContentView(plate);
        window->display();
        rep = window->backingImageRep();
    }
    CGRGBAColor at(int x, int y) const { return rep->colorAtX(x, y); }
    std::shared_ptr<Plate> plate;
    std::shared_ptr<NSWindow> window;
    std::shared_ptr<NSBitmapImageRep> rep;
};

double luminance(CGRGBAColor c) {
    return 0.3 * c.red + 0.59 * c.green + 0.11 * c.blue;
}

TEST_F(WindowPNG, WritesAPNGOfTheWholeWindow) {
    const std::string path = std::string(APPKIT_TEST_OUTPUT_DIR) + "/window.png";
    ASSERT_TRUE(writeWindowPNG(*window, path));
    auto back = NSBitmapImageRep::imageRepWithContentsOfFile(NSString(path.c_str()));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pixelsWide(), 480);
    EXPECT_EQ(back->pixelsHigh(), 300);
    EXPECT_EQ(back->size().width, 480);
}

TEST_F(WindowPNG, GradientRunsFromTopToBottom) {
    EXPECT_GT(luminance(at(20, 2)), luminance(at(20, 297)) + 0.2);
    EXPECT_NEAR(at(20, 2).red, 0.49, 0.03);
}

TEST_F(WindowPNG, ShadowFallsBelowAndRightOfTheKnob) {
    // Just below the knob's bottom edge (y 160) the shadow darkens the panel; just above its
    // top edge (y 60) it hardly does. The panel at the same height away from the knob is the
    // reference, since the panel's gradient darkens downwards.
    EXPECT_LT(luminance(at(111, 162)), luminance(at(20, 162)) * 0.7);
    EXPECT_GT(luminance(at(111, 58)), luminance(at(20, 58)) * 0.9);
    EXPECT_NEAR(at(110, 140).red, 0.9, 0.02); // the knob face itself
}

TEST_F(WindowPNG, PointerAndLampRender) {
    EXPECT_LT(luminance(at(110, 90)), 0.1);
    EXPECT_GT(at(232, 72).green, 0.85); // hot spot: upper left of the lamp
    EXPECT_LT(at(256, 90).green, 0.5);
}

TEST_F(WindowPNG, TextAppearsInItsRectangles) {
    int bright = 0;
    for (int y = 150; y < 180; ++y) {
        for (int x = 180; x < 470; ++x) {
            bright += luminance(at(x, y)) > 0.6 ? 1 : 0;
        }
    }
    EXPECT_GT(bright, 200);
    int caption = 0;
    for (int y = 190; y < 210; ++y) {
        for (int x = 180; x < 470; ++x) {
            caption += luminance(at(x, y)) > 0.6 ? 1 : 0;
        }
    }
    EXPECT_GT(caption, 80);
}

TEST_F(WindowPNG, ImagesDrawUprightFromTheirSourceRectangle) {
    // The source's top band only (red), stretched over the whole destination.
    EXPECT_GT(at(360, 65).red, 0.9);
    EXPECT_GT(at(360, 115).red, 0.9);
    // The whole image: red on top, blue at the bottom, as drawn.
    EXPECT_GT(at(330, 203).red, 0.9);
    EXPECT_GT(at(330, 220).green, 0.9);
    EXPECT_GT(at(330, 237).blue, 0.9);
}

TEST_F(WindowPNG, ScalingTheViewScalesTheDrawing) {
    plate->setFrameSize(NSMakeSize(360, 225));
    plate->setBoundsSize(NSMakeSize(480, 300));
    window->setContentSize(NSMakeSize(360, 225));
    window->display();
    rep = window->backingImageRep();
    EXPECT_EQ(rep->pixelsWide(), 360);
    EXPECT_NEAR(at(82, 105).red, 0.9, 0.03); // knob centre (110, 140) × 0.75
    const std::string path = std::string(APPKIT_TEST_OUTPUT_DIR) + "/window-75.png";
    EXPECT_TRUE(writeWindowPNG(*window, path));
}

TEST_F(WindowPNG, DoubleDensityBackingHasTwiceThePixels) {
    window->setBackingScaleFactor(2);
    window->display();
    rep = window->backingImageRep();
    EXPECT_EQ(rep->pixelsWide(), 960);
    EXPECT_NEAR(at(220, 280).red, 0.9, 0.02);
    const NSData png = rep->representationUsingType(NSBitmapImageFileTypePNG);
    auto back = NSBitmapImageRep::initWithData(png);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->size().width, 480); // the density travels with the file
}

} // namespace

namespace {

// Everything the faceplate draws per frame except text: paths, gradients, shadows, clips,
// transforms and images.
class Shapes : public NSView {
public:
    using NSView::NSView;
    bool isFlipped() const override { return true; }
    void drawRect(NSRect) override {
        NSGraphicsContext::saveGraphicsState();
        NSAffineTransform t;
        t.scaleXBy(0.75, 0.75);
        t.translateXBy(-10, -10);
        t.concat();
        NSRectClip(NSMakeRect(0, 0, 400, 300));
        photo->drawInRect(NSMakeRect(0, 0, 400, 300), NSZeroRect, NSCompositingOperationSourceOver,
                          1, true, {NSImageInterpolationHigh});
        NSShadow shadow;
        shadow.setShadowOffset(NSMakeSize(1, -3));
        shadow.setShadowBlurRadius(5);
        shadow.set();
        NSColor::blackColor().setFill();
        NSBezierPath::bezierPathWithOvalInRect(NSMakeRect(50, 50, 80, 80)).fill();
        NSGraphicsContext::restoreGraphicsState();
        NSGradient({NSColor::whiteColor(), NSColor::grayColor(), NSColor::blackColor(),
                    NSColor::redColor()})
            .drawInBezierPath(
                NSBezierPath::bezierPathWithRoundedRect(NSMakeRect(200, 20, 120, 40), 6, 6), 90);
        NSGradient({NSColor::whiteColor(), NSColor::blackColor()})
            .drawInBezierPath(NSBezierPath::bezierPathWithOvalInRect(NSMakeRect(200, 80, 14, 14)),
                              NSPoint{-0.35, -0.4});
        NSBezierPath line;
        line.moveToPoint({10, 10});
        line.lineToPoint({100, 100});
        line.setLineWidth(5.4);
        line.setLineCapStyle(NSLineCapStyleRound);
        line.stroke();
    }
    std::shared_ptr<NSImage> photo;
};

TEST(WindowFrames, RedrawingWithoutTextAllocatesNothing) {
    auto shapes = std::make_shared<Shapes>(NSMakeRect(0, 0, 400, 300));
    shapes->photo = NSImage::imageWithSize({200, 100}, true, [](NSRect) {
        NSColor::redColor().setFill();
        NSRectFill(NSMakeRect(0, 0, 200, 50));
        return true;
    });
    auto window =
        std::make_shared<NSWindow>(NSMakeRect(0, 0, 400, 300), 11, NSBackingStoreBuffered, false);
    window->setContentView(shapes);
    window->display(); // the first frame builds the backing and the image's bitmap
    window->display();
    kelvo::testing::AllocationScope scope;
    for (int i = 0; i < 5; ++i) {
        shapes->setNeedsDisplay(true);
        window->displayIfNeeded();
    }
    EXPECT_EQ(scope.count(), 0u);
}

} // namespace
