#include <gtest/gtest.h>

#include "inputmethod/CandidatePlacement.h"
#include "platform/foundation/Log.h"
#include "tests/support/FakeWindowBackend.h"
#include "tests/support/ScopedEnvironment.h"

using platform::Point;
using platform::Rect;
using platform::Size;
using quillora::tuningFrameForScreen;

namespace {

// A measured text 200 wide and 90 high: on screen the window is 95 wide and 205 high.
constexpr Size Text{200, 90};
constexpr double OnScreenWidth = 95, OnScreenHeight = 205;
// The main screen, and a second one to its right whose bottom is 200 higher.
const Rect Main(0, 0, 1600, 1000);
const Rect Second(1600, 200, 1280, 800);

void expectRect(const Rect& actual, const Rect& expected) {
    EXPECT_DOUBLE_EQ(actual.origin.x, expected.origin.x);
    EXPECT_DOUBLE_EQ(actual.origin.y, expected.origin.y);
    EXPECT_DOUBLE_EQ(actual.size.width, expected.size.width);
    EXPECT_DOUBLE_EQ(actual.size.height, expected.size.height);
}

class CandidatePlacement : public ::testing::Test {
  protected:
    fakes::ScopedFakeBackend backend;
    // The placement's lines follow the keys, so they are debugging lines.
    ScopedEnvironment debugging{"QUILLORA_LOG", std::string("syslog")};
    platform::LogCapture log;
};

}  // namespace

TEST_F(CandidatePlacement, BelowTheCaretWithTheUnturnedSize) {
    backend->setScreens({Main});
    Rect caret(300, 600, 2, 20);
    Rect r = tuningFrameForScreen(Text, caret, 9);
    // Two points right of the caret; the window's top two points below the caret's bottom.
    expectRect(r, Rect(302, 600 - OnScreenHeight - 2, 205, 95));
    EXPECT_TRUE(log.contains("进到这里了"));
    EXPECT_FALSE(log.contains("调整"));
}

TEST_F(CandidatePlacement, WithOneScreenTheCaretTestIsSkipped) {
    backend->setScreens({Main});
    backend->pointer = Point{5000, 5000};
    // A caret off the only screen is still clamped to it.
    Rect r = tuningFrameForScreen(Text, Rect(3000, 600, 2, 20), 1);
    EXPECT_DOUBLE_EQ(r.origin.x, 1600 - OnScreenWidth);
    EXPECT_FALSE(log.contains("使用默认屏幕了"));
    EXPECT_FALSE(log.contains("根据鼠标位置调整了"));
    EXPECT_TRUE(log.contains("第一次调整"));
}

TEST_F(CandidatePlacement, TheCaretsScreenHoldsTheWindow) {
    backend->setScreens({Main, Second});
    // On the second screen near its right edge and bottom.
    Rect caret(2870, 210, 2, 20);
    Rect r = tuningFrameForScreen(Text, caret, 3);
    EXPECT_TRUE(log.contains("使用默认屏幕了"));
    EXPECT_DOUBLE_EQ(r.origin.x, Second.maxX() - OnScreenWidth);
    // There is no room below the caret on the second screen (its bottom is at 200): above it.
    EXPECT_DOUBLE_EQ(r.origin.y, 210 + 20 + 2);
    // On the main screen the same caret would have been pulled far to the left.
    EXPECT_GT(r.origin.x, Main.maxX());
}

TEST_F(CandidatePlacement, ACaretOnNoScreenFollowsThePointerElseTheMainScreen) {
    backend->setScreens({Main, Second});
    Rect caret(2700, 100, 2, 20);  // below the second screen, right of the main one
    backend->pointer = Point{2000, 500};
    Rect onPointerScreen = tuningFrameForScreen(Text, caret, 3);
    EXPECT_TRUE(log.contains("根据鼠标位置调整了"));
    EXPECT_FALSE(log.contains("使用默认屏幕了"));
    // Against the second screen: no room below, and the caret is not above that screen's
    // bottom, so the window sits on its bottom edge.
    EXPECT_DOUBLE_EQ(onPointerScreen.origin.x, 2702);
    EXPECT_DOUBLE_EQ(onPointerScreen.origin.y, Second.minY());

    log.clear();
    backend->pointer = Point{-50, -50};
    Rect onMain = tuningFrameForScreen(Text, caret, 3);
    EXPECT_FALSE(log.contains("根据鼠标位置调整了"));
    EXPECT_DOUBLE_EQ(onMain.origin.x, Main.maxX() - OnScreenWidth);

    log.clear();
    backend->pointer.reset();  // a backend that cannot tell where the pointer is
    onMain = tuningFrameForScreen(Text, caret, 3);
    EXPECT_DOUBLE_EQ(onMain.origin.x, Main.maxX() - OnScreenWidth);
}

TEST_F(CandidatePlacement, APointOnAScreensUpperOrRightEdgeIsNotOnIt) {
    backend->setScreens({Main, Second});
    // x = 1600 is the second screen's left edge and just past the main one's right edge.
    Rect r = tuningFrameForScreen(Text, Rect(1600, 500, 2, 20), 1);
    EXPECT_TRUE(log.contains("使用默认屏幕了"));
    EXPECT_DOUBLE_EQ(r.origin.x, 1602);
    // y = 1000 is the top of both: on neither; the pointer decides.
    log.clear();
    backend->pointer = Point{10, 10};
    r = tuningFrameForScreen(Text, Rect(1550, 1000, 2, 20), 1);
    EXPECT_TRUE(log.contains("根据鼠标位置调整了"));
    EXPECT_DOUBLE_EQ(r.origin.x, Main.maxX() - OnScreenWidth);
}

TEST_F(CandidatePlacement, NearTheBottomTheWindowGoesAboveTheCaretAtTheBottomOverIt) {
    backend->setScreens({Main});
    // Ten points above the bottom: the window's bottom two points above the caret's top.
    Rect r = tuningFrameForScreen(Text, Rect(300, 10, 2, 20), 1);
    EXPECT_DOUBLE_EQ(r.origin.y, 10 + 20 + 2);
    EXPECT_TRUE(log.contains("第三次调整"));
    // Exactly at the bottom edge: the window sits on the edge, over the caret.
    r = tuningFrameForScreen(Text, Rect(300, 0, 2, 20), 1);
    EXPECT_DOUBLE_EQ(r.origin.y, 0);
    // Just enough room below: no adjustment.
    log.clear();
    r = tuningFrameForScreen(Text, Rect(300, OnScreenHeight + 2, 2, 20), 1);
    EXPECT_DOUBLE_EQ(r.origin.y, 0);
    EXPECT_FALSE(log.contains("第三次调整"));
}

TEST_F(CandidatePlacement, NearTheRightEdgeTheWindowMeetsItAndAWideOneStartsAtTheLeft) {
    backend->setScreens({Main});
    Rect r = tuningFrameForScreen(Text, Rect(1590, 600, 2, 20), 1);
    EXPECT_DOUBLE_EQ(r.origin.x + OnScreenWidth, Main.maxX());
    EXPECT_TRUE(log.contains("第一次调整"));
    EXPECT_FALSE(log.contains("第二次调整"));

    // Fifty lines: a window 2005 wide on a 1600-wide screen.
    log.clear();
    Rect wide = tuningFrameForScreen(Size{200, 2000}, Rect(800, 600, 2, 20), 50);
    EXPECT_DOUBLE_EQ(wide.origin.x, Main.minX());
    EXPECT_TRUE(log.contains("第一次调整"));
    EXPECT_TRUE(log.contains("第二次调整"));
    // The same on the second screen: its own left edge.
    backend->setScreens({Main, Second});
    wide = tuningFrameForScreen(Size{200, 2000}, Rect(2000, 600, 2, 20), 50);
    EXPECT_DOUBLE_EQ(wide.origin.x, Second.minX());
}

TEST_F(CandidatePlacement, NoClampAtTheTopEdge) {
    backend->setScreens({Rect(0, 0, 800, 150)});
    // A screen lower than the window: lifted above a caret near the bottom, it passes the top.
    Rect r = tuningFrameForScreen(Text, Rect(100, 20, 2, 20), 1);
    EXPECT_DOUBLE_EQ(r.origin.y, 42);
    EXPECT_GT(r.origin.y + OnScreenHeight, 150);
}

TEST_F(CandidatePlacement, WithoutScreensTheClampsWorkAgainstTheZeroRectangle) {
    Rect r = tuningFrameForScreen(Text, Rect(300, 600, 2, 20), 1);
    // Right edge first (x = 0 − 95), then the left edge (x = 0); y is above the zero bottom.
    EXPECT_DOUBLE_EQ(r.origin.x, 0);
    EXPECT_DOUBLE_EQ(r.origin.y, 600 - OnScreenHeight - 2);
    r = tuningFrameForScreen(Text, Rect(300, 100, 2, 20), 1);
    EXPECT_DOUBLE_EQ(r.origin.y, 122);
}

// The caret of vertical text is a bar across its column; the letters being composed run up to it
// and the rest of the column runs down from it. The window stands beside the column, right of it
// and level with the caret, or left of it at the screen's right edge; it only rises at the
// bottom. Wherever it goes it covers nothing of the column.
TEST_F(CandidatePlacement, TheCaretOfVerticalTextHasTheWindowBesideItsColumn) {
    backend->setScreens({Main});
    auto onScreen = [](const Rect& r) {
        return Rect(r.origin.x, r.origin.y, r.size.height, r.size.width);
    };
    auto expectBesideTheColumn = [&](const Rect& caret, const Rect& window) {
        const Rect column(caret.minX(), Main.minY(), caret.width(), Main.height());
        EXPECT_TRUE(column.intersection(onScreen(window)).isEmpty())
            << "caret at " << caret.minX() << ", " << caret.minY();
    };

    const Rect caret(300, 600, 34, 1);
    Rect r = tuningFrameForScreen(Text, caret, 9);
    expectRect(r, Rect(336, 601 - OnScreenHeight, 205, 95));
    expectBesideTheColumn(caret, r);

    const Rect nearTheRight(1540, 600, 34, 1);
    r = tuningFrameForScreen(Text, nearTheRight, 9);
    EXPECT_DOUBLE_EQ(r.origin.x, 1540 - 2 - OnScreenWidth);
    expectBesideTheColumn(nearTheRight, r);

    const Rect nearTheBottom(300, 40, 34, 1);
    r = tuningFrameForScreen(Text, nearTheBottom, 9);
    EXPECT_DOUBLE_EQ(r.origin.y, Main.minY());
    expectBesideTheColumn(nearTheBottom, r);
}
