#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Cursor.h"
#include "platform/ui/Event.h"
#include "platform/ui/TrackingArea.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

using namespace platform;

namespace {

constexpr std::uint32_t LinkOptions =
    TrackingAreaOptions::MouseEnteredAndExited | TrackingAreaOptions::ActiveInKeyWindow;

// A turned column with two "links", as a text view sets them up at each draw: an I-beam over the
// text, a pointing hand and a tracking area over each link.
class LinkView : public View {
  public:
    explicit LinkView(const Rect& frame) : View(frame) {}

    std::vector<std::string> heard;
    std::vector<std::shared_ptr<TrackingArea>> areas;
    int resets = 0;

    void installLinks() {
        discardCursorRects();
        addCursorRect(Rect(-100, 0, 100, 40), Cursor::IBeamCursor());
        for (const auto& area : std::vector<std::shared_ptr<TrackingArea>>(trackingAreas()))
            removeTrackingArea(area);
        areas.clear();
        for (Rect link : {Rect(-90, 20, 20, 10), Rect(-40, 20, 20, 10)}) {
            addCursorRect(link, Cursor::pointingHandCursor());
            auto area = std::make_shared<TrackingArea>(link, LinkOptions, this);
            areas.push_back(area);
            addTrackingArea(area);
        }
    }
    void mouseEntered(const Event& e) override { note("entered", e); }
    void mouseExited(const Event& e) override { note("exited", e); }
    void resetCursorRects() override { ++resets; }

  private:
    void note(const char* what, const Event& e) {
        int index = e.trackingArea() == areas[0] ? 0 : e.trackingArea() == areas[1] ? 1 : -1;
        Point p = convertPointFromView(e.locationInWindow(), nullptr);
        heard.push_back(std::string(what) + " " + std::to_string(index) + " at " +
                        std::to_string(static_cast<int>(p.x)) + "," +
                        std::to_string(static_cast<int>(p.y)));
    }
};

// The column is 40 wide and 100 tall on screen, at (10, 10) of the window; its bounds are
// (-100, 0, 100, 40). A bounds point (x, y) shows at window (10 + y, 10 - x).
struct Tracking : ::testing::Test {
    Window window{Rect(0, 0, 200, 200)};
    std::shared_ptr<LinkView> view = std::make_shared<LinkView>(Rect(10, 10, 40, 100));

    Tracking() {
        view->rotateByAngle(-90);
        window.contentView()->addSubview(view);
        view->installLinks();
        window.makeKeyAndOrderFront();
        Cursor::arrowCursor().set();
    }
    void moveTo(double x, double y) {
        window.sendEvent(Event::mouseEvent(EventType::MouseMoved, {x, y}));
    }
};

}  // namespace

TEST_F(Tracking, EnterAndExitFollowThePointerThroughTheTurn) {
    moveTo(5, 5);
    EXPECT_TRUE(view->heard.empty());
    moveTo(35, 90);  // bounds (-80, 25): the first link
    moveTo(36, 91);  // still inside: nothing new
    moveTo(35, 40);  // bounds (-30, 25): straight from the first link into the second
    moveTo(100, 100);
    EXPECT_EQ(view->heard, (std::vector<std::string>{"entered 0 at -80,25", "exited 0 at -30,25",
                                                     "entered 1 at -30,25", "exited 1 at -90,90"}));
}

TEST_F(Tracking, CursorRectanglesPickTheLatestThatHolds) {
    moveTo(35, 90);
    EXPECT_EQ(Cursor::currentCursor(), Cursor::pointingHandCursor());
    moveTo(15, 90);  // bounds (-80, 5): text, no link
    EXPECT_EQ(Cursor::currentCursor(), Cursor::IBeamCursor());
    EXPECT_EQ(Cursor::currentCursor().name(), "IBeam");
    moveTo(150, 150);
    EXPECT_EQ(Cursor::currentCursor(), Cursor::arrowCursor());
}

TEST_F(Tracking, KeyWindowAreasAreQuietInAnotherWindow) {
    window.orderOut();
    window.orderFront();  // shown, not key: the candidate window's case
    moveTo(35, 90);
    EXPECT_TRUE(view->heard.empty());
    EXPECT_EQ(Cursor::currentCursor(), Cursor::arrowCursor());
    window.makeKeyWindow();
    moveTo(35, 40);  // the pointer moved across while quiet; only the new crossing is heard
    EXPECT_EQ(view->heard, (std::vector<std::string>{"exited 0 at -30,25", "entered 1 at -30,25"}));
}

TEST_F(Tracking, AreasAddedUnderThePointerStartInside) {
    moveTo(35, 90);
    ASSERT_EQ(view->heard.size(), 1u);
    // Redrawing replaces the areas; the pointer is already inside the new first link.
    view->installLinks();
    moveTo(36, 90);
    EXPECT_EQ(view->heard.size(), 1u);
    moveTo(100, 100);
    EXPECT_EQ(view->heard.back(), "exited 0 at -90,90");
    EXPECT_EQ(window.mouseLocationOutsideOfEventStream(), (Point{100, 100}));

    // Removed areas are forgotten.
    view->removeTrackingArea(view->areas[0]);
    EXPECT_EQ(view->trackingAreas().size(), 1u);
    moveTo(35, 90);
    EXPECT_EQ(view->heard.size(), 2u);
}

TEST_F(Tracking, WindowRebuildsCursorRectanglesOnResize) {
    int before = view->resets;
    EXPECT_EQ(view->cursorRects().size(), 3u);
    window.setFrame(Rect(0, 0, 300, 300), false);
    EXPECT_EQ(view->resets, before + 1);
    EXPECT_TRUE(view->cursorRects().empty());      // discarded; this view sets them when it draws
    window.setFrame(Rect(5, 5, 300, 300), false);  // moved only
    EXPECT_EQ(view->resets, before + 1);
}

TEST(TrackingEvents, SentEnteredEventsReachTheOwner) {
    Window window(Rect(0, 0, 100, 100));
    auto view = std::make_shared<LinkView>(Rect(0, 0, 100, 100));
    window.contentView()->addSubview(view);
    view->installLinks();
    window.sendEvent(Event::enterExitEvent(EventType::MouseEntered, {10, 10}, view->areas[1]));
    EXPECT_EQ(view->heard, (std::vector<std::string>{"entered 1 at 10,10"}));
}
