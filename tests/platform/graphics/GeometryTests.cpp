#include <gtest/gtest.h>

#include <numbers>

#include "platform/foundation/Range.h"
#include "platform/graphics/Geometry.h"

using namespace platform;

TEST(Rect, ContainmentIncludesLowerLeftEdgesOnly) {
    Rect r(10, 20, 30, 40);
    EXPECT_TRUE(r.contains(Point{10, 20}));
    EXPECT_TRUE(r.contains(Point{39.99, 59.99}));
    EXPECT_FALSE(r.contains(Point{40, 30}));
    EXPECT_FALSE(r.contains(Point{20, 60}));
    EXPECT_TRUE(Rect(40, 60, -30, -40).contains(Point{10, 20}));  // negative sizes standardise
    EXPECT_FALSE(Rect::null().contains(Point{0, 0}));
    EXPECT_TRUE(r.contains(Rect(10, 20, 30, 40)));
    EXPECT_FALSE(r.contains(Rect(10, 20, 30.5, 40)));
}

TEST(Rect, EmptyNullAndIntegral) {
    EXPECT_TRUE(Rect(1, 1, 0, 5).isEmpty());
    EXPECT_TRUE(Rect(1, 1, 5, 0).isEmpty());
    EXPECT_FALSE(Rect(1, 1, 5, 5).isEmpty());
    EXPECT_TRUE(Rect::null().isEmpty());
    EXPECT_TRUE(Rect::null().isNull());
    EXPECT_EQ(Rect(0.5, 1.2, 2.0, 2.9).integral(), Rect(0, 1, 3, 4));
    EXPECT_EQ(Rect(-0.5, -0.5, 1, 1).integral(), Rect(-1, -1, 2, 2));
    EXPECT_EQ(Rect(3, 4, 5, 6).integral(), Rect(3, 4, 5, 6));
}

TEST(Rect, IntersectionAndUnion) {
    Rect a(0, 0, 10, 10), b(5, 5, 10, 10);
    EXPECT_EQ(a.intersection(b), Rect(5, 5, 5, 5));
    EXPECT_TRUE(a.intersection(Rect(20, 20, 1, 1)).isNull());
    Rect touching = a.intersection(Rect(10, 0, 5, 5));
    EXPECT_FALSE(touching.isNull());
    EXPECT_TRUE(touching.isEmpty());
    EXPECT_EQ(a.unionWith(b), Rect(0, 0, 15, 15));
    EXPECT_EQ(Rect::null().unionWith(b), b);
    EXPECT_EQ(Rect(0, 0, 2, 2).insetBy(1, 0), Rect(1, 0, 0, 2));
    EXPECT_TRUE(Rect(0, 0, 2, 2).insetBy(1.5, 0).isNull());
}

TEST(AffineTransform, ComposesLikeCoreGraphics) {
    // Translate then scale by -1 in y: the flip a layout applies before drawing text.
    AffineTransform flip = AffineTransform::identity().translated(0, 100).scaled(1, -1);
    Point p = flip.apply(Point{5, 10});
    EXPECT_DOUBLE_EQ(p.x, 5);
    EXPECT_DOUBLE_EQ(p.y, 90);
    AffineTransform back = flip.inverted();
    Point q = back.apply(p);
    EXPECT_NEAR(q.x, 5, 1e-12);
    EXPECT_NEAR(q.y, 10, 1e-12);

    AffineTransform turn = AffineTransform::rotation(-std::numbers::pi / 2);
    Point r = turn.apply(Point{1, 0});
    EXPECT_NEAR(r.x, 0, 1e-12);
    EXPECT_NEAR(r.y, -1, 1e-12);
    Rect box = turn.apply(Rect(0, 0, 10, 20));
    EXPECT_NEAR(box.minX(), 0, 1e-9);
    EXPECT_NEAR(box.minY(), -10, 1e-9);
    EXPECT_NEAR(box.width(), 20, 1e-9);
    EXPECT_NEAR(box.height(), 10, 1e-9);
}

TEST(Range, IntersectionAndContainment) {
    EXPECT_EQ(intersectionRange({2, 5}, {4, 10}), (Range{4, 3}));
    EXPECT_EQ(intersectionRange({2, 2}, {4, 10}), (Range{0, 0}));
    EXPECT_TRUE((Range{2, 3}).contains(4));
    EXPECT_FALSE((Range{2, 3}).contains(5));
    EXPECT_EQ((Range{NotFound, 0}).location, NotFound);
}
