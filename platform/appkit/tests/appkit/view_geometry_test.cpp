// View geometry: frames, bounds scaling, flipping, conversion, autoresizing and hit testing.

#include <AppKit/AppKit.h>

#include "test_support.h"

#include <gtest/gtest.h>

namespace {

class Flipped : public NSView {
public:
    using NSView::NSView;
    bool isFlipped() const override { return true; }
};

// Lets clicks in its middle fall through, as a ring dial does.
class Ring : public Flipped {
public:
    using Flipped::Flipped;
    NSView* hitTest(NSPoint point) override {
        const NSPoint p = convertPointFromView(point, superview());
        const NSRect b = bounds();
        const double dx = p.x - NSMidX(b), dy = p.y - NSMidY(b);
        if (dx * dx + dy * dy < (0.29 * b.size.width) * (0.29 * b.size.width)) {
            return nullptr;
        }
        return Flipped::hitTest(point);
    }
};

void expectPoint(NSPoint p, double x, double y) {
    EXPECT_NEAR(p.x, x, 1e-9);
    EXPECT_NEAR(p.y, y, 1e-9);
}

constexpr double kArtScale = 0.75642965204236; // 1500 / 1983
constexpr double kViewHeight = 599.8487140695914;

TEST(ViewGeometry, InterfaceScalingKeepsBoundsAndSubviews) {
    auto view = std::make_shared<Flipped>(NSMakeRect(0, 0, 1500, kViewHeight));
    auto dial = std::make_shared<Flipped>(
        NSMakeRect(208 * kArtScale, 288 * kArtScale, 124 * kArtScale, 124 * kArtScale));
    view->addSubview(dial);
    const NSRect dialFrame = dial->frame();
    view->setFrameSize(NSMakeSize(1500 * 0.75, kViewHeight * 0.75));
    view->setBoundsSize(NSMakeSize(1500, kViewHeight));
    EXPECT_EQ(view->frame().size.width, 1125);
    EXPECT_NEAR(view->frame().size.height, 449.88653555219355, 1e-9);
    EXPECT_EQ(view->bounds().size.width, 1500);
    EXPECT_TRUE(NSEqualRects(dial->frame(), dialFrame));
    // The dial's centre lands at 0.75 of its unscaled place in the window.
    const NSPoint centre =
        dial->convertPointToView(NSMakePoint(62 * kArtScale, 62 * kArtScale), nullptr);
    expectPoint(centre, 270 * kArtScale * 0.75, kViewHeight * 0.75 - 350 * kArtScale * 0.75);
    // Back to 100 %: frame and bounds agree again; a scaled view keeps its ratio on the way.
    view->setFrameSize(NSMakeSize(1500 * 0.85, kViewHeight * 0.85));
    EXPECT_NEAR(view->bounds().size.width, 1700, 1e-9);
    view->setBoundsSize(NSMakeSize(1500, kViewHeight));
    view->setFrameSize(NSMakeSize(1500, kViewHeight));
    view->setBoundsSize(NSMakeSize(1500, kViewHeight));
    EXPECT_TRUE(NSEqualSizes(view->frame().size, view->bounds().size));
}

TEST(ViewGeometry, FlippedAndUnflippedConversions) {
    auto root = std::make_shared<NSView>(NSMakeRect(0, 0, 200, 100));
    auto flipped = std::make_shared<Flipped>(NSMakeRect(20, 10, 100, 50));
    auto inner =
        std::make_shared<NSView>(NSMakeRect(5, 5, 10, 10)); // unflipped in a flipped parent
    root->addSubview(flipped);
    flipped->addSubview(inner);
    // The flipped view's (0, 0) is its top-left: window (20, 60).
    expectPoint(flipped->convertPointToView({0, 0}, nullptr), 20, 60);
    expectPoint(flipped->convertPointFromView({20, 60}, nullptr), 0, 0);
    // The unflipped child's origin is its bottom-left, 15 points below the flipped parent's top.
    expectPoint(inner->convertPointToView({0, 0}, flipped.get()), 5, 15);
    expectPoint(inner->convertPointToView({0, 0}, nullptr), 25, 45);
    expectPoint(flipped->convertPointFromView({1, 2}, inner.get()), 6, 13);
    const NSRect r = inner->convertRectToView(inner->bounds(), nullptr);
    EXPECT_TRUE(NSEqualRects(r, NSMakeRect(25, 45, 10, 10)));
}

TEST(ViewGeometry, BoundsOriginShiftsTheContent) {
    auto root = std::make_shared<NSView>(NSMakeRect(0, 0, 100, 100));
    auto view = std::make_shared<NSView>(NSMakeRect(10, 10, 50, 50));
    root->addSubview(view);
    view->setBoundsOrigin(NSMakePoint(100, 200));
    expectPoint(view->convertPointToView({100, 200}, nullptr), 10, 10);
}

TEST(ViewGeometry, AutoresizingFollowsTheMask) {
    auto root = std::make_shared<NSView>(NSMakeRect(0, 0, 740, 600));
    auto fill = std::make_shared<NSView>(NSMakeRect(0, 0, 740, 600));
    fill->setAutoresizingMask(NSViewWidthSizable | NSViewHeightSizable);
    auto fixed = std::make_shared<NSView>(NSMakeRect(10, 10, 20, 20));
    auto rightAligned = std::make_shared<NSView>(NSMakeRect(700, 10, 20, 20));
    rightAligned->setAutoresizingMask(NSViewMinXMargin);
    root->addSubview(fill);
    root->addSubview(fixed);
    root->addSubview(rightAligned);
    root->setFrameSize(NSMakeSize(800, 500));
    EXPECT_TRUE(NSEqualRects(fill->frame(), NSMakeRect(0, 0, 800, 500)));
    EXPECT_TRUE(NSEqualRects(fixed->frame(), NSMakeRect(10, 10, 20, 20)));
    EXPECT_TRUE(NSEqualRects(rightAligned->frame(), NSMakeRect(760, 10, 20, 20)));
}

TEST(ViewGeometry, TreeOrderAndRemoval) {
    auto root = std::make_shared<NSView>(NSMakeRect(0, 0, 100, 100));
    auto a = std::make_shared<NSView>(NSMakeRect(0, 0, 10, 10));
    auto b = std::make_shared<NSView>(NSMakeRect(0, 0, 10, 10));
    root->addSubview(a);
    root->addSubview(b);
    ASSERT_EQ(root->subviews().size(), 2u);
    EXPECT_EQ(root->subviews()[0], a);
    EXPECT_EQ(a->superview(), root.get());
    EXPECT_TRUE(a->isDescendantOf(root.get()));
    std::weak_ptr<NSView> weak = a;
    a.reset();
    EXPECT_FALSE(weak.expired()); // the superview holds it
    weak.lock()->removeFromSuperview();
    EXPECT_TRUE(weak.expired());
    ASSERT_EQ(root->subviews().size(), 1u);
    b->setHidden(true);
    auto child = std::make_shared<NSView>(NSMakeRect(0, 0, 1, 1));
    b->addSubview(child);
    EXPECT_TRUE(child->isHiddenOrHasHiddenAncestor());
    EXPECT_FALSE(child->isHidden());
}

TEST(HitTest, TopmostVisibleSubviewTakesThePoint) {
    auto root = std::make_shared<Flipped>(NSMakeRect(0, 0, 300, 100));
    auto under = std::make_shared<Flipped>(NSMakeRect(0, 0, 100, 100));
    auto over = std::make_shared<Flipped>(NSMakeRect(50, 0, 100, 100));
    auto hidden = std::make_shared<Flipped>(NSMakeRect(0, 0, 300, 100));
    root->addSubview(under);
    root->addSubview(over);
    root->addSubview(hidden);
    hidden->setHidden(true);
    EXPECT_EQ(root->hitTest({75, 10}), over.get());
    EXPECT_EQ(root->hitTest({25, 10}), under.get());
    EXPECT_EQ(root->hitTest({250, 10}), root.get());
    EXPECT_EQ(root->hitTest({350, 10}), nullptr);
    root->setHidden(true);
    EXPECT_EQ(root->hitTest({25, 10}), nullptr);
}

TEST(HitTest, PointsAreInTheSuperviewsCoordinatesOfAScaledView) {
    auto root = std::make_shared<Flipped>(NSMakeRect(0, 0, 750, 300));
    root->setBoundsSize(NSMakeSize(1500, 600)); // scaled by one half
    auto control = std::make_shared<Flipped>(NSMakeRect(1000, 400, 100, 100));
    root->addSubview(control);
    // The root is the top view: its superview space is unflipped, so y = 300 − 450 / 2.
    EXPECT_EQ(root->hitTest({525, 75}), control.get());
    EXPECT_EQ(root->hitTest({1050, 450}), nullptr); // outside the root's own frame
}

TEST(HitTest, AnOverriddenHitTestLetsClicksThroughToTheViewBelow) {
    auto root = std::make_shared<Flipped>(NSMakeRect(0, 0, 200, 200));
    auto button = std::make_shared<Flipped>(NSMakeRect(80, 80, 40, 40));
    auto ring = std::make_shared<Ring>(NSMakeRect(50, 50, 100, 100));
    root->addSubview(button);
    root->addSubview(ring);
    EXPECT_EQ(root->hitTest({100, 100}), button.get()); // within 0.29 × 100 of the centre
    EXPECT_EQ(root->hitTest({100, 65}), ring.get());    // 35 from the centre: the ring's
}

} // namespace
