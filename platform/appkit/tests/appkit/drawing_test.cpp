// Views drawing into the recording context: tree order, scaling, flipping, clips and what the
// drawing calls record.

#include <AppKit/AppKit.h>

#include "test_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class Canvas : public NSView {
public:
    Canvas(NSRect frame, bool flipped, std::function<void(Canvas&)> draw)
        : NSView(frame), flipped_(flipped), draw_(std::move(draw)) {}
    bool isFlipped() const override { return flipped_; }
    void drawRect(NSRect) override {
        ++draws;
        if (draw_) {
            draw_(*this);
        }
    }
    int draws = 0;

private:
    bool flipped_;
    std::function<void(Canvas&)> draw_;
};

class Drawing : public ::testing::Test {
protected:
    void SetUp() override { context = CGRecordingContextCreate({200, 100}, 1); }
    void TearDown() override { CGContextRelease(context); }
    void draw(NSView& view) {
        view.displayRectIgnoringOpacity(
            view.bounds(), NSGraphicsContext::graphicsContextWithCGContext(context, false).get());
    }
    std::vector<CGRecordedOperation> only(CGRecordedKind kind) const {
        std::vector<CGRecordedOperation> out;
        for (const auto& op : CGRecordingContextGetOperations(context)) {
            if (op.kind == kind) {
                out.push_back(op);
            }
        }
        return out;
    }
    CGContextRef context = nullptr;
};

TEST_F(Drawing, AScaledFlippedViewDrawsInItsBoundsUnits) {
    Canvas view(NSMakeRect(0, 0, 200, 100), true, [](Canvas&) {
        NSColor::colorWithRed(0.2, 0.4, 0.6, 1).setFill();
        NSRectFill(NSMakeRect(0, 0, 40, 20));
    });
    view.setBoundsSize(NSMakeSize(400, 200));
    draw(view);
    const auto fills = only(CGRecordedKind::fill);
    ASSERT_EQ(fills.size(), 1u);
    expectRect(fills[0].bounds, 0, 0, 40, 20);
    expectRect(fills[0].deviceBounds, 0, 0, 20, 10); // top-left, halved
    EXPECT_EQ(fills[0].color, (CGRGBAColor{0.2, 0.4, 0.6, 1}));
    expectRect(fills[0].clipDeviceBounds, 0, 0, 200, 100);
}

TEST_F(Drawing, SubviewsDrawAfterTheirSuperviewInOrderAndHiddenOnesNot) {
    std::vector<int> order;
    auto root = std::make_shared<Canvas>(NSMakeRect(0, 0, 200, 100), true,
                                         [&](Canvas&) { order.push_back(0); });
    auto first = std::make_shared<Canvas>(NSMakeRect(10, 10, 50, 50), true,
                                          [&](Canvas&) { order.push_back(1); });
    auto second = std::make_shared<Canvas>(NSMakeRect(20, 20, 50, 50), true,
                                           [&](Canvas&) { order.push_back(2); });
    auto hidden = std::make_shared<Canvas>(NSMakeRect(0, 0, 10, 10), true,
                                           [&](Canvas&) { order.push_back(3); });
    auto insideHidden = std::make_shared<Canvas>(NSMakeRect(0, 0, 5, 5), true,
                                                 [&](Canvas&) { order.push_back(4); });
    root->addSubview(first);
    root->addSubview(second);
    root->addSubview(hidden);
    hidden->addSubview(insideHidden);
    hidden->setHidden(true);
    draw(*root);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
}

TEST_F(Drawing, EachViewIsClippedToItsBounds) {
    auto root = std::make_shared<Canvas>(NSMakeRect(0, 0, 200, 100), true, nullptr);
    auto child = std::make_shared<Canvas>(NSMakeRect(30, 20, 40, 10), true, [](Canvas&) {
        NSRectFill(NSMakeRect(-100, -100, 1000, 1000));
    });
    root->addSubview(child);
    draw(*root);
    const auto fills = only(CGRecordedKind::fill);
    ASSERT_EQ(fills.size(), 1u);
    expectRect(fills[0].clipDeviceBounds, 30, 20, 40, 10);
}

TEST_F(Drawing, AnUnflippedChildOfAFlippedViewIsMeasuredFromItsBottom) {
    auto root = std::make_shared<Canvas>(NSMakeRect(0, 0, 200, 100), true, nullptr);
    auto child = std::make_shared<Canvas>(NSMakeRect(30, 20, 40, 10), false, [](Canvas&) {
        NSRectFill(NSMakeRect(0, 0, 40, 2)); // its bottom strip
    });
    root->addSubview(child);
    draw(*root);
    expectRect(only(CGRecordedKind::fill)[0].deviceBounds, 30, 28, 40, 2);
}

TEST_F(Drawing, PathsColoursAndLineAttributes) {
    Canvas view(NSMakeRect(0, 0, 200, 100), true, [](Canvas&) {
        NSColor::colorWithRed(0.94, 0.88, 0.69, 1).set();
        NSBezierPath line;
        line.moveToPoint({10, 10});
        line.lineToPoint({50, 10});
        line.setLineWidth(5.4);
        line.setLineCapStyle(NSLineCapStyleRound);
        line.stroke();
        NSBezierPath::bezierPathWithOvalInRect(NSMakeRect(60, 10, 20, 20)).fill();
        NSBezierPath::strokeLineFromPoint({0, 0}, {1, 1}); // default width and cap again
    });
    draw(view);
    const auto strokes = only(CGRecordedKind::stroke);
    ASSERT_EQ(strokes.size(), 2u);
    EXPECT_EQ(strokes[0].lineWidth, 5.4);
    EXPECT_EQ(strokes[0].lineCap, kCGLineCapRound);
    EXPECT_EQ(strokes[0].color, (CGRGBAColor{0.94, 0.88, 0.69, 1}));
    EXPECT_EQ(strokes[1].lineWidth, 1);
    EXPECT_EQ(strokes[1].lineCap, kCGLineCapButt);
    const auto fills = only(CGRecordedKind::fill);
    ASSERT_EQ(fills.size(), 1u);
    expectRect(fills[0].deviceBounds, 60, 10, 20, 20);
}

TEST_F(Drawing, ShadowsAreStateAndEndWithTheRestore) {
    Canvas view(NSMakeRect(0, 0, 200, 100), true, [](Canvas&) {
        NSGraphicsContext::saveGraphicsState();
        NSShadow shadow;
        shadow.setShadowColor(NSColor::colorWithRed(0, 0, 0, 0.85));
        shadow.setShadowOffset(NSMakeSize(1, -3));
        shadow.setShadowBlurRadius(5);
        shadow.set();
        NSBezierPath::fillRect(NSMakeRect(10, 10, 10, 10));
        NSGraphicsContext::restoreGraphicsState();
        NSBezierPath::fillRect(NSMakeRect(10, 10, 10, 10));
    });
    draw(view);
    const auto fills = only(CGRecordedKind::fill);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_TRUE(fills[0].shadow.active);
    EXPECT_EQ(fills[0].shadow.deviceOffset.width, 1);
    EXPECT_EQ(fills[0].shadow.deviceOffset.height, 3); // down on screen in a flipped view
    EXPECT_EQ(fills[0].shadow.color.alpha, 0.85);
    EXPECT_FALSE(fills[1].shadow.active);
}

TEST_F(Drawing, GradientAtNinetyDegreesInAFlippedViewStartsAtTheTop) {
    Canvas view(NSMakeRect(0, 0, 200, 100), true, [](Canvas&) {
        const NSGradient gradient(
            {NSColor::whiteColor(), NSColor::grayColor(), NSColor::blackColor()});
        gradient.drawInBezierPath(
            NSBezierPath::bezierPathWithRoundedRect(NSMakeRect(10, 20, 100, 40), 6, 6), 90);
    });
    draw(view);
    const auto gradients = only(CGRecordedKind::linearGradient);
    ASSERT_EQ(gradients.size(), 1u);
    const CGRecordedOperation& g = gradients[0];
    EXPECT_NEAR(g.start.y, 20, 1e-9);
    EXPECT_NEAR(g.end.y, 60, 1e-9);
    EXPECT_NEAR(g.deviceStart.y, 20, 1e-9); // the top edge on screen
    ASSERT_EQ(g.gradient.count, 3u);
    EXPECT_EQ(g.gradient.locations[1], 0.5);
    EXPECT_EQ(g.gradient.colors[0], (CGRGBAColor{1, 1, 1, 1}));
    expectRect(g.clipDeviceBounds, 10, 20, 100, 40); // clipped to the shape
}

TEST_F(Drawing, GradientAtZeroDegreesRunsAlongX) {
    Canvas view(NSMakeRect(0, 0, 200, 100), false, [](Canvas&) {
        NSGradient(NSColor::blackColor(), NSColor::whiteColor())
            .drawInRect(NSMakeRect(10, 10, 80, 20), 0);
    });
    draw(view);
    const CGRecordedOperation g = only(CGRecordedKind::linearGradient)[0];
    EXPECT_NEAR(g.start.x, 10, 1e-9);
    EXPECT_NEAR(g.end.x, 90, 1e-9);
    EXPECT_NEAR(g.start.y, 20, 1e-9);
}

TEST_F(Drawing, RadialGradientStartsAtTheRelativeCentre) {
    Canvas view(NSMakeRect(0, 0, 200, 100), true, [](Canvas&) {
        const NSGradient lamp({NSColor::colorWithRed(1.0, 0.96, 0.57, 1),
                               NSColor::colorWithRed(1.0, 0.68, 0.05, 1),
                               NSColor::colorWithRed(0.49, 0.24, 0.015, 1)});
        lamp.drawInBezierPath(NSBezierPath::bezierPathWithOvalInRect(NSMakeRect(40, 20, 14, 14)),
                              NSPoint{-0.35, -0.4});
    });
    draw(view);
    const CGRecordedOperation g = only(CGRecordedKind::radialGradient)[0];
    // Up and to the left of the lamp's centre (47, 27): 0.35 and 0.4 of the half-size.
    EXPECT_NEAR(g.deviceStart.x, 47 - 0.35 * 7, 1e-9);
    EXPECT_NEAR(g.deviceStart.y, 27 - 0.4 * 7, 1e-9);
    EXPECT_NEAR(g.deviceEnd.x, 47, 1e-9);
    EXPECT_EQ(g.endRadius, 1); // the unit circle of the lamp's bounds
    EXPECT_EQ(g.ctm.a, 7);
}

TEST_F(Drawing, TransformsComposeAsWrittenAndTextRecordsItsAttributes) {
    Canvas view(NSMakeRect(0, 0, 200, 100), true, [](Canvas& v) {
        NSGraphicsContext::saveGraphicsState();
        NSAffineTransform t;
        t.scaleXBy(v.bounds().size.width / 1983, v.bounds().size.height / 793);
        t.concat();
        NSMutableParagraphStyle style;
        style.setAlignment(NSTextAlignmentCenter);
        NSString("DUAL-STAGE TUBE PREAMP & EQ")
            .drawInRect(NSMakeRect(1340, 258, 585, 28),
                        {NSFont::fontWithName("Baskerville", 18),
                         NSColor::colorWithRed(0.79, 0.75, 0.61, 1), style});
        NSGraphicsContext::restoreGraphicsState();
    });
    draw(view);
    const auto texts = only(CGRecordedKind::text);
    ASSERT_EQ(texts.size(), 1u);
    const CGRecordedOperation& t = texts[0];
    EXPECT_EQ(t.text, "DUAL-STAGE TUBE PREAMP & EQ");
    EXPECT_EQ(t.fontFamily, "Baskerville");
    EXPECT_EQ(t.fontSize, 18);
    EXPECT_EQ(t.alignment, CGRecordedTextAlignment::center);
    EXPECT_TRUE(t.textTopAtMinY);
    expectRect(t.bounds, 1340, 258, 585, 28);
    EXPECT_NEAR(t.deviceBounds.origin.x, 1340 * 200 / 1983.0, 1e-9);
    EXPECT_NEAR(t.deviceBounds.origin.y, 258 * 100 / 793.0, 1e-9);
}

TEST_F(Drawing, FontsFallBackAndAreShared) {
    const auto serif = NSFont::fontWithName("Baskerville", 20);
    ASSERT_TRUE(serif);
    EXPECT_EQ(serif, NSFont::fontWithName("Baskerville", 20));
    EXPECT_NE(serif->pangoFamilies().find("Serif"), std::string::npos);
    const auto mono = NSFont::monospacedSystemFontOfSize(12, NSFontWeightMedium);
    EXPECT_EQ(mono->weight(), NSFontWeightMedium);
    EXPECT_EQ(NSFont::fontWithName("", 12), nullptr);
    EXPECT_GT(serif->lineHeight(), 20);
    EXPECT_GT(serif->ascender(), 0);
    EXPECT_LT(serif->descender(), 0);
}

TEST_F(Drawing, SaveAndRestoreBringBackTheContextCurrentAtTheSave) {
    auto outer = NSGraphicsContext::graphicsContextWithCGContext(context, false);
    CGContextRef other = CGRecordingContextCreate({10, 10}, 1);
    NSGraphicsContext::setCurrentContext(outer);
    NSGraphicsContext::saveGraphicsState();
    NSGraphicsContext::setCurrentContext(
        NSGraphicsContext::graphicsContextWithCGContext(other, true));
    EXPECT_TRUE(NSGraphicsContext::currentContext()->isFlipped());
    NSGraphicsContext::restoreGraphicsState();
    EXPECT_EQ(NSGraphicsContext::currentContext(), outer.get());
    NSGraphicsContext::setCurrentContext(nullptr);
    CGContextRelease(other);
}

TEST_F(Drawing, AWindowDrawsItsBackgroundThenItsTree) {
    auto window =
        std::make_shared<NSWindow>(NSMakeRect(0, 0, 200, 100), 11, NSBackingStoreBuffered, false);
    auto canvas = std::make_shared<Canvas>(NSMakeRect(0, 0, 200, 100), true,
                                           [](Canvas&) { NSRectFill(NSMakeRect(0, 0, 1, 1)); });
    window->setContentView(canvas);
    window->drawIntoContext(context);
    const auto fills = only(CGRecordedKind::fill);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].color, NSColor::windowBackgroundColor().rgba());
    expectRect(fills[1].deviceBounds, 0, 0, 1, 1);
}

TEST_F(Drawing, DisplayIfNeededRedrawsOnlyMarkedTrees) {
    auto window =
        std::make_shared<NSWindow>(NSMakeRect(0, 0, 50, 50), 11, NSBackingStoreBuffered, false);
    auto canvas = std::make_shared<Canvas>(NSMakeRect(0, 0, 50, 50), true, nullptr);
    window->setContentView(canvas);
    window->displayIfNeeded();
    EXPECT_EQ(canvas->draws, 1);
    window->displayIfNeeded();
    EXPECT_EQ(canvas->draws, 1);
    canvas->setNeedsDisplay(true);
    EXPECT_TRUE(window->viewsNeedDisplay());
    window->displayIfNeeded();
    EXPECT_EQ(canvas->draws, 2);
}

} // namespace
