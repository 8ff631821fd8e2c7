#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Event.h"
#include "platform/ui/Menu.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

using namespace platform;

namespace {

// A view that writes down what reaches it, with the point in its own coordinates.
class RecordingView : public View {
  public:
    RecordingView(const Rect& frame, std::string name, std::vector<std::string>& log)
        : View(frame), m_name(std::move(name)), m_log(log) {}

    bool accepts = true;
    bool allowsResign = true;
    Window* observedWindow = nullptr;
    Responder* firstResponderWhileResigning = nullptr;
    Point lastPoint;

    void mouseDown(const Event& e) override { note("down", e); }
    void mouseDragged(const Event& e) override { note("dragged", e); }
    void mouseUp(const Event& e) override { note("up", e); }
    void keyDown(const Event& e) override { m_log.push_back(m_name + " key " + e.characters()); }
    bool acceptsFirstResponder() override { return accepts; }
    bool becomeFirstResponder() override {
        m_log.push_back(m_name + " becomes");
        return true;
    }
    bool resignFirstResponder() override {
        m_log.push_back(m_name + " resigns");
        if (observedWindow) firstResponderWhileResigning = observedWindow->firstResponder();
        return allowsResign;
    }

  private:
    void note(const char* what, const Event& e) {
        lastPoint = convertPointFromView(e.locationInWindow(), nullptr);
        m_log.push_back(m_name + " " + what + " " + std::to_string(e.clickCount()));
    }

    std::string m_name;
    std::vector<std::string>& m_log;
};

Event mouse(EventType type, double x, double y, int clicks = 1) {
    return Event::mouseEvent(type, {x, y}, clicks);
}

struct Routing : ::testing::Test {
    std::vector<std::string> log;
    Window window{Rect(0, 0, 300, 200)};
    std::shared_ptr<RecordingView> left =
        std::make_shared<RecordingView>(Rect(0, 0, 100, 200), "left", log);
    std::shared_ptr<RecordingView> right =
        std::make_shared<RecordingView>(Rect(100, 0, 200, 200), "right", log);

    Routing() {
        window.contentView()->addSubview(left);
        window.contentView()->addSubview(right);
        left->observedWindow = &window;
        right->observedWindow = &window;
    }
};

}  // namespace

TEST(HitTest, FindsTheDeepestViewThroughATurn) {
    Window window(Rect(0, 0, 300, 200));
    auto panel = std::make_shared<View>(Rect(10, 20, 200, 100));
    auto column = std::make_shared<View>(Rect(5, 5, 50, 80));
    auto attachment = std::make_shared<View>(Rect(-70, 10, 20, 20));
    window.contentView()->addSubview(panel);
    panel->addSubview(column);
    column->rotateByAngle(-90);
    column->addSubview(attachment);  // covers x 25..45, y 75..95 of the window
    View* content = window.contentView();

    EXPECT_EQ(content->hitTest({30, 80}), attachment.get());
    // The turn moves the edges that belong: the attachment's upper-left corner on screen is the
    // minimum of its frame, its lower edge the frame's excluded maximum x.
    EXPECT_EQ(content->hitTest({25, 95}), attachment.get());
    EXPECT_EQ(content->hitTest({25, 75}), column.get());
    EXPECT_EQ(content->hitTest({45, 95}), column.get());   // right of the attachment
    EXPECT_EQ(content->hitTest({30, 100}), column.get());  // above it, still in the column
    EXPECT_EQ(content->hitTest({70, 80}), panel.get());    // beside the column
    EXPECT_EQ(content->hitTest({5, 5}), content);
    EXPECT_EQ(content->hitTest({300, 10}), nullptr);  // the right edge is outside
    // A point in the column's own terms: (-70, 10) is the attachment's corner.
    EXPECT_EQ(column->hitTest(column->convertPointToView({-60, 20}, panel.get())),
              attachment.get());
}

TEST(HitTest, TopmostSiblingWins) {
    View root(Rect(0, 0, 100, 100));
    auto below = std::make_shared<View>(Rect(0, 0, 50, 50));
    auto above = std::make_shared<View>(Rect(25, 25, 50, 50));
    root.addSubview(below);
    root.addSubview(above);
    EXPECT_EQ(root.hitTest({30, 30}), above.get());
    EXPECT_EQ(root.hitTest({10, 10}), below.get());
}

TEST_F(Routing, PressMakesFirstResponderAndDragFollowsThePress) {
    window.sendEvent(mouse(EventType::LeftMouseDown, 150, 50));
    EXPECT_EQ(window.firstResponder(), right.get());
    EXPECT_EQ(right->lastPoint, (Point{50, 50}));
    // Dragging over the other view and releasing there still goes to the pressed one.
    window.sendEvent(mouse(EventType::LeftMouseDragged, 20, 50));
    window.sendEvent(mouse(EventType::LeftMouseUp, 20, 50));
    EXPECT_EQ(right->lastPoint, (Point{-80, 50}));
    EXPECT_EQ(log, (std::vector<std::string>{"right becomes", "right down 1", "right dragged 1",
                                             "right up 1"}));
}

TEST_F(Routing, ClickCountAndPressesOutsideAnyView) {
    window.sendEvent(mouse(EventType::LeftMouseDown, 10, 10, 2));
    window.sendEvent(mouse(EventType::LeftMouseUp, 10, 10, 2));
    left->accepts = false;
    window.sendEvent(mouse(EventType::LeftMouseDown, 150, 10, 3));  // right accepts
    log.clear();
    window.sendEvent(mouse(EventType::LeftMouseDown, 500, 500));  // outside the window
    window.sendEvent(mouse(EventType::LeftMouseUp, 500, 500));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(window.firstResponder(), right.get());

    // A view that declines first responder still gets its press.
    window.sendEvent(mouse(EventType::LeftMouseDown, 10, 10));
    EXPECT_EQ(window.firstResponder(), right.get());
    EXPECT_EQ(log.back(), "left down 1");
}

TEST_F(Routing, ResigningIsAskedWhileStillFirstResponder) {
    ASSERT_TRUE(window.makeFirstResponder(left.get()));
    right->allowsResign = true;
    left->allowsResign = false;
    EXPECT_FALSE(window.makeFirstResponder(right.get()));
    EXPECT_EQ(window.firstResponder(), left.get());
    EXPECT_EQ(left->firstResponderWhileResigning, left.get());

    left->allowsResign = true;
    EXPECT_TRUE(window.makeFirstResponder(right.get()));
    EXPECT_EQ(window.firstResponder(), right.get());
    EXPECT_TRUE(window.makeFirstResponder(nullptr));
    EXPECT_EQ(window.firstResponder(), &window);
    EXPECT_EQ(log, (std::vector<std::string>{"left becomes", "left resigns", "left resigns",
                                             "right becomes", "right resigns"}));
}

TEST_F(Routing, KeysGoToTheFirstResponderAndUpTheChain) {
    Event key = Event::keyEvent(EventType::KeyDown, "x", "x", 7);
    window.sendEvent(key);  // the window itself: nobody hears it
    EXPECT_TRUE(log.empty());
    window.makeFirstResponder(right.get());
    window.sendEvent(key);
    EXPECT_EQ(log.back(), "right key x");

    // A plain view passes keys on to its superview.
    auto inner = std::make_shared<View>(Rect(0, 0, 10, 10));
    right->addSubview(inner);
    window.makeFirstResponder(inner.get());
    window.sendEvent(key);
    EXPECT_EQ(std::count(log.begin(), log.end(), "right key x"), 2);

    // Losing the first responder from the window hands the part back to the window.
    inner->removeFromSuperview();
    EXPECT_EQ(window.firstResponder(), &window);
}

namespace {
class KeyEquivalentView : public View {
  public:
    using View::View;
    int handled = 0;
    bool performKeyEquivalent(const Event& e) override {
        if (e.charactersIgnoringModifiers() == "c" &&
            (e.modifierFlags() & ModifierFlags::DeviceIndependentMask) == ModifierFlags::Command) {
            ++handled;
            return true;
        }
        return View::performKeyEquivalent(e);
    }
};
}  // namespace

TEST_F(Routing, CommandKeysAreOfferedAsKeyEquivalentsFirst) {
    auto deep = std::make_shared<KeyEquivalentView>(Rect(0, 0, 10, 10));
    left->addSubview(deep);
    window.makeFirstResponder(right.get());

    window.sendEvent(Event::keyEvent(EventType::KeyDown, "c", "c", 8, ModifierFlags::Command));
    EXPECT_EQ(deep->handled, 1);
    EXPECT_TRUE(log.empty() || log.back() != "right key c");

    // Command-Shift-C is not taken and reaches the first responder as a key.
    window.sendEvent(Event::keyEvent(EventType::KeyDown, "C", "c", 8,
                                     ModifierFlags::Command | ModifierFlags::Shift));
    EXPECT_EQ(deep->handled, 1);
    EXPECT_EQ(log.back(), "right key C");
    // Without Command the equivalents are not asked.
    window.sendEvent(Event::keyEvent(EventType::KeyDown, "c", "c", 8));
    EXPECT_EQ(deep->handled, 1);
}

TEST(EventFactories, KeepTheirFieldsAndRefuseForeignTypes) {
    Event key = Event::keyEvent(EventType::KeyDown, "é", "e", 14, ModifierFlags::Option, 3.5);
    EXPECT_EQ(key.characters(), "é");
    EXPECT_EQ(key.charactersIgnoringModifiers(), "e");
    EXPECT_EQ(key.keyCode(), 14);
    EXPECT_EQ(key.modifierFlags(), ModifierFlags::Option);
    EXPECT_EQ(key.timestamp(), 3.5);
    EXPECT_EQ(key.clickCount(), 0);
    EXPECT_EQ(ModifierFlags::Command, 0x100000u);

    Event press = Event::mouseEvent(EventType::RightMouseDown, {1, 2}, 1);
    EXPECT_EQ(press.type(), EventType::RightMouseDown);
    EXPECT_EQ(press.locationInWindow(), (Point{1, 2}));
    EXPECT_TRUE(press.characters().empty());

    EXPECT_THROW(Event::mouseEvent(EventType::KeyDown, {0, 0}), std::invalid_argument);
    EXPECT_THROW(Event::keyEvent(EventType::LeftMouseDown, "a", "a", 0), std::invalid_argument);
    EXPECT_THROW(Event::enterExitEvent(EventType::MouseMoved, {0, 0}, nullptr),
                 std::invalid_argument);
}
