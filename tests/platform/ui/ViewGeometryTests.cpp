#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/View.h"
#include "platform/ui/Window.h"

using namespace platform;

namespace {

void expectPoint(Point actual, double x, double y) {
    EXPECT_DOUBLE_EQ(actual.x, x);
    EXPECT_DOUBLE_EQ(actual.y, y);
}

void expectRect(const Rect& actual, double x, double y, double w, double h) {
    EXPECT_NEAR(actual.origin.x, x, 1e-9);
    EXPECT_NEAR(actual.origin.y, y, 1e-9);
    EXPECT_NEAR(actual.size.width, w, 1e-9);
    EXPECT_NEAR(actual.size.height, h, 1e-9);
}

// A window whose content view holds a panel at (10, 20), which holds a 50 x 80 column at (5, 5)
// turned by -90 degrees, as the note cells turn their text view.
struct RotatedColumn : ::testing::Test {
    Window window{Rect(100, 200, 300, 200)};
    std::shared_ptr<View> panel = std::make_shared<View>(Rect(10, 20, 200, 100));
    std::shared_ptr<View> column = std::make_shared<View>(Rect(5, 5, 50, 80));

    RotatedColumn() {
        window.contentView()->addSubview(panel);
        panel->addSubview(column);
        column->rotateByAngle(-90);
    }
};

}  // namespace

TEST(ViewGeometry, UnrotatedViewsOffsetByFramesAndBoundsOrigins) {
    Window window(Rect(0, 0, 400, 300));
    auto outer = std::make_shared<View>(Rect(10, 20, 200, 100));
    auto inner = std::make_shared<View>(Rect(30, 40, 50, 50));
    window.contentView()->addSubview(outer);
    outer->addSubview(inner);
    expectRect(inner->bounds(), 0, 0, 50, 50);

    expectPoint(inner->convertPointToView({1, 2}, nullptr), 41, 62);
    expectPoint(inner->convertPointFromView({41, 62}, nullptr), 1, 2);
    expectPoint(inner->convertPointToView({1, 2}, outer.get()), 31, 42);
    expectPoint(outer->convertPointFromView({1, 2}, inner.get()), 31, 42);

    // Moving the bounds origin shifts what the view shows; the frame stays.
    outer->setBoundsOrigin({5, -5});
    expectRect(outer->bounds(), 5, -5, 200, 100);
    expectRect(outer->frame(), 10, 20, 200, 100);
    expectPoint(outer->convertPointToView({5, -5}, nullptr), 10, 20);
    expectPoint(inner->convertPointToView({0, 0}, nullptr), 35, 65);
    expectRect(inner->convertRectToView(Rect(0, 0, 10, 10), nullptr), 35, 65, 10, 10);
}

TEST(ViewGeometry, ScaledBoundsAndResizedFrame) {
    View view(Rect(0, 0, 100, 50));
    view.setBounds(Rect(0, 0, 200, 100));  // two units per point
    expectPoint(view.convertPointToView({200, 100}, nullptr), 100, 50);
    // The scale stays when the frame grows: the bounds grow with it.
    view.setFrame(Rect(0, 0, 50, 50));
    expectRect(view.bounds(), 0, 0, 100, 100);
    // A frame without extent keeps its scale rather than dividing by zero.
    view.setFrame(Rect(0, 0, 0, 0));
    view.setBounds(Rect(3, 4, 10, 10));
    expectRect(view.bounds(), 3, 4, 0, 0);
}

TEST_F(RotatedColumn, BoundsSwapWidthAndHeightAndStayWhole) {
    EXPECT_EQ(column->boundsRotation(), -90);
    // Exactly, not merely close: layout and CGRectIntegral-style rounding read these numbers.
    EXPECT_EQ(column->bounds(), Rect(-80, 0, 80, 50));
    EXPECT_EQ(column->frame(), Rect(5, 5, 50, 80));
}

TEST_F(RotatedColumn, PointsAndRectsThroughTheTurn) {
    // The start of the first line (left end, top) lands at the column's upper right.
    expectPoint(column->convertPointToView({-80, 50}, panel.get()), 55, 85);
    expectPoint(column->convertPointToView({-80, 50}, nullptr), 65, 105);
    expectPoint(column->convertPointToView({-10, 20}, nullptr), 35, 35);
    expectPoint(column->convertPointToView({0, 0}, nullptr), 15, 25);
    // Going down the screen is going right along a line.
    expectPoint(column->convertPointFromView({65, 95}, nullptr), -70, 50);
    expectPoint(column->convertPointFromView({35, 35}, nullptr), -10, 20);

    expectRect(column->convertRectToView(Rect(-80, 0, 30, 10), panel.get()), 5, 55, 10, 30);
    expectRect(panel->convertRectFromView(Rect(-80, 0, 30, 10), column.get()), 5, 55, 10, 30);
    expectRect(column->convertRectFromView(Rect(5, 55, 10, 30), panel.get()), -80, 0, 30, 10);

    // The window's place on the screen adds its origin.
    expectPoint(window.convertPointToScreen(column->convertPointToView({-80, 50}, nullptr)), 165,
                305);
    expectRect(window.convertRectFromScreen(Rect(165, 305, 1, 1)), 65, 105, 1, 1);
}

TEST_F(RotatedColumn, ResizingKeepsTheTurn) {
    column->setFrame(Rect(5, 5, 30, 120));
    EXPECT_EQ(column->bounds(), Rect(-120, 0, 120, 30));
    expectPoint(column->convertPointToView({-120, 30}, panel.get()), 35, 125);
}

TEST_F(RotatedColumn, TurningBackRestoresAndTurnsAdd) {
    column->rotateByAngle(90);
    EXPECT_EQ(column->boundsRotation(), 0);
    EXPECT_EQ(column->bounds(), Rect(0, 0, 50, 80));
    expectPoint(column->convertPointToView({0, 0}, panel.get()), 5, 5);

    column->setBoundsRotation(180);
    EXPECT_EQ(column->bounds(), Rect(-50, -80, 50, 80));
    expectPoint(column->convertPointToView({-50, -80}, panel.get()), 55, 85);
    column->setBoundsRotation(-450);  // a quarter turn clockwise, once around more
    EXPECT_EQ(column->bounds(), Rect(-80, 0, 80, 50));
}

TEST(ViewGeometry, OddAnglesGiveTheBoundingBox) {
    View view(Rect(0, 0, 10, 10));
    view.rotateByAngle(45);
    double half = 10 * std::sqrt(0.5);
    expectRect(view.bounds(), 0, -half, 2 * half, 2 * half);
    Point corner = view.convertPointToView({half, half}, nullptr);
    EXPECT_NEAR(corner.x, 0, 1e-9);
    EXPECT_NEAR(corner.y, 10, 1e-9);
}

TEST(ViewGeometry, TransformsComposeUpToTheWindow) {
    Window window(Rect(0, 0, 300, 300));
    auto a = std::make_shared<View>(Rect(100, 100, 100, 100));
    auto b = std::make_shared<View>(Rect(10, 0, 40, 20));
    window.contentView()->addSubview(a);
    a->addSubview(b);
    a->rotateByAngle(90);
    b->rotateByAngle(-90);
    // The two turns cancel: b's axes are the window's again.
    AffineTransform t = b->transformToWindow();
    EXPECT_DOUBLE_EQ(t.a, 1);
    EXPECT_DOUBLE_EQ(t.b, 0);
    EXPECT_DOUBLE_EQ(t.c, 0);
    EXPECT_DOUBLE_EQ(t.d, 1);
    // a turned by +90: its x axis points up, so (10, 0) in a is (100, 110) in the window.
    expectPoint(b->convertPointToView({0, 0}, nullptr), 100, 110);
    expectPoint(b->convertPointToView({0, 0}, a.get()), 10, 0);
}
