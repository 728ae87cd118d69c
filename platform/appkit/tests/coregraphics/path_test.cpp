// Path values: shapes, bounds and the inline storage that keeps per-frame paths off the heap.

#include <CoreGraphics/CoreGraphics.h>

#include "testing/allocation_counter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(PathBuffer, ShapesHaveTheirRectangleAsBounds) {
    struct Case {
        const char* name;
        void (*build)(CGPathBuffer&);
        CGRect bounds;
        std::size_t segments;
    };
    const Case cases[] = {
        {"rect", [](CGPathBuffer& p) { p.addRect(CGRectMake(1, 2, 3, 4)); }, CGRectMake(1, 2, 3, 4),
         5},
        {"oval", [](CGPathBuffer& p) { p.addEllipse(CGRectMake(148, 351, 211, 218)); },
         CGRectMake(148, 351, 211, 218), 6},
        {"rounded",
         [](CGPathBuffer& p) { p.addRoundedRect(CGRectMake(1198, 322, 474, 280), 34, 34); },
         CGRectMake(1198, 322, 474, 280), 10},
        {"radii clamped",
         [](CGPathBuffer& p) { p.addRoundedRect(CGRectMake(0, 0, 10, 4), 50, 50); },
         CGRectMake(0, 0, 10, 4), 10},
    };
    for (const Case& c : cases) {
        CGPathBuffer path;
        c.build(path);
        const CGRect b = path.boundingBox();
        EXPECT_NEAR(b.origin.x, c.bounds.origin.x, 1e-9) << c.name;
        EXPECT_NEAR(b.origin.y, c.bounds.origin.y, 1e-9) << c.name;
        EXPECT_NEAR(b.size.width, c.bounds.size.width, 1e-9) << c.name;
        EXPECT_NEAR(b.size.height, c.bounds.size.height, 1e-9) << c.name;
        EXPECT_EQ(path.size(), c.segments) << c.name;
    }
}

TEST(PathBuffer, EllipsePassesThroughItsFourExtremes) {
    CGPathBuffer path;
    path.addEllipse(CGRectMake(0, 0, 20, 10));
    ASSERT_EQ(path[0].type, kCGPathElementMoveToPoint);
    EXPECT_EQ(path[0].points[0].x, 20);
    EXPECT_EQ(path[0].points[0].y, 5);
    // Towards +y first.
    EXPECT_NEAR(path[1].points[2].x, 10, 1e-12);
    EXPECT_NEAR(path[1].points[2].y, 10, 1e-12);
    EXPECT_EQ(path[5].type, kCGPathElementCloseSubpath);
}

TEST(PathBuffer, ArcStaysOnItsCircle) {
    CGPathBuffer path;
    path.addArc({0, 0}, 10, 0, M_PI, false);
    // Each quarter cubic's midpoint lies within 0.03 % of the radius from the circle.
    for (std::size_t i = 1; i < path.size(); ++i) {
        const CGPathSegment& s = path[i];
        ASSERT_EQ(s.type, kCGPathElementAddCurveToPoint);
        const CGPoint p0 = path[i - 1].type == kCGPathElementMoveToPoint ? path[i - 1].points[0]
                                                                         : path[i - 1].points[2];
        const double mx =
            0.125 * p0.x + 0.375 * s.points[0].x + 0.375 * s.points[1].x + 0.125 * s.points[2].x;
        const double my =
            0.125 * p0.y + 0.375 * s.points[0].y + 0.375 * s.points[1].y + 0.125 * s.points[2].y;
        EXPECT_NEAR(std::hypot(mx, my), 10, 0.003);
    }
    EXPECT_NEAR(path.currentPoint().x, -10, 1e-9);
    EXPECT_NEAR(path.currentPoint().y, 0, 1e-9);
}

TEST(PathBuffer, CurrentPointAfterCloseIsTheSubpathStart) {
    CGPathBuffer path;
    path.moveTo({1, 1});
    path.lineTo({5, 1});
    path.lineTo({5, 5});
    path.close();
    EXPECT_EQ(path.currentPoint().x, 1);
    EXPECT_EQ(path.currentPoint().y, 1);
}

TEST(PathBuffer, PathsUpToTheInlineCapacityDoNotAllocate) {
    kelvo::testing::AllocationScope scope;
    CGPathBuffer path;
    path.addRoundedRect(CGRectMake(0, 0, 100, 40), 6, 6);
    CGPathBuffer copy(path);
    copy.transform(CGAffineTransformMakeScale(2, 2));
    const CGPoint octagon[8] = {{1474, 174}, {1791, 174}, {1805, 188}, {1805, 238},
                                {1791, 252}, {1474, 252}, {1460, 238}, {1460, 188}};
    copy.addLines(octagon, 8);
    EXPECT_EQ(scope.count(), 0u);
}

TEST(PathBuffer, LongPathsSpillToTheHeapIntact) {
    CGPathBuffer path;
    for (int i = 0; i < 100; ++i) {
        path.lineTo({double(i), double(i * 2)});
    }
    ASSERT_EQ(path.size(), 100u);
    EXPECT_EQ(path[0].type, kCGPathElementMoveToPoint);
    EXPECT_EQ(path[99].points[0].y, 198);
    CGPathBuffer moved(std::move(path));
    EXPECT_EQ(moved.size(), 100u);
    EXPECT_EQ(moved[50].points[0].x, 50);
}

TEST(PathObject, TransformAppliesToAddedPoints) {
    CGMutablePathRef path = CGPathCreateMutable();
    const CGAffineTransform scale = CGAffineTransformMakeScale(2, 3);
    CGPathAddRect(path, &scale, CGRectMake(1, 1, 1, 1));
    const CGRect b = CGPathGetBoundingBox(path);
    EXPECT_TRUE(CGRectEqualToRect(b, CGRectMake(2, 3, 2, 3)));
    EXPECT_TRUE(CGRectIsNull(CGPathGetBoundingBox(nullptr)));
    CGPathRelease(path);
}

} // namespace
