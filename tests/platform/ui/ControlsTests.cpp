#include <gtest/gtest.h>

#include "platform/ui/Button.h"
#include "platform/ui/Event.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/SplitView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Window.h"

using platform::Rect;
using platform::View;

namespace {

TEST(Autoresizing, FlexibleMarginsAndSizesShareTheChange) {
    auto parent = std::make_shared<View>(Rect(0, 0, 100, 100));
    auto stretch = std::make_shared<View>(Rect(10, 10, 80, 80));
    stretch->setAutoresizingMask(View::ViewWidthSizable | View::ViewHeightSizable);
    auto pinnedRight = std::make_shared<View>(Rect(80, 0, 20, 20));
    pinnedRight->setAutoresizingMask(View::ViewMinXMargin);
    auto centred = std::make_shared<View>(Rect(40, 40, 20, 20));
    centred->setAutoresizingMask(View::ViewMinXMargin | View::ViewMaxXMargin);
    auto fixed = std::make_shared<View>(Rect(0, 0, 10, 10));
    for (auto& v : {stretch, pinnedRight, centred, fixed}) parent->addSubview(v);
    parent->setFrame(Rect(0, 0, 160, 50));
    EXPECT_EQ(stretch->frame(), Rect(10, 10, 140, 30));
    EXPECT_EQ(pinnedRight->frame(), Rect(140, 0, 20, 20));
    EXPECT_EQ(centred->frame(), Rect(70, 40, 20, 20));
    EXPECT_EQ(fixed->frame(), Rect(0, 0, 10, 10));
    // Shrinking below zero keeps sizes at zero.
    parent->setFrame(Rect(0, 0, 0, 0));
    EXPECT_EQ(stretch->frame().width(), 0);
}

TEST(Controls, HiddenViewsAreNotHit) {
    auto parent = std::make_shared<View>(Rect(0, 0, 100, 100));
    auto child = std::make_shared<View>(Rect(0, 0, 50, 50));
    parent->addSubview(child);
    EXPECT_EQ(parent->hitTest({10, 10}), child.get());
    parent->setHidden(true);
    EXPECT_TRUE(child->isHiddenOrHasHiddenAncestor());
    EXPECT_EQ(parent->hitTest({10, 10}), nullptr);
}

TEST(Controls, SegmentsSelectByTrackingModeAndSendTheAction) {
    platform::SegmentedControl control;
    control.setSegmentCount(3);
    int actions = 0;
    control.setAction([&](platform::Control&) { ++actions; });
    control.clickSegment(1);
    control.clickSegment(2);
    EXPECT_TRUE(control.isSelectedForSegment(1));
    EXPECT_TRUE(control.isSelectedForSegment(2));
    control.clickSegment(1);
    EXPECT_FALSE(control.isSelectedForSegment(1));
    EXPECT_EQ(actions, 3);
    control.setTrackingMode(platform::SegmentedControl::Tracking::SelectOne);
    control.clickSegment(0);
    EXPECT_TRUE(control.isSelectedForSegment(0));
    EXPECT_FALSE(control.isSelectedForSegment(2));
    control.clickSegment(7);  // no such segment: nothing, no action
    EXPECT_EQ(actions, 4);
    control.setEnabled(false);
    control.clickSegment(1);
    EXPECT_EQ(actions, 4);
}

TEST(Controls, TextFieldTellsItsDelegateOnlyAboutTheUsersEdits) {
    struct Delegate : platform::TextFieldDelegate {
        void controlTextDidChange(platform::TextField& field) override {
            seen.push_back(field.stringValue());
        }
        std::vector<std::string> seen;
    } delegate;
    platform::TextField field;
    field.setDelegate(&delegate);
    field.setStringValue("set by code");
    field.userEdited("typed");
    field.userEdited("typed");  // no change, no notice
    EXPECT_EQ(delegate.seen, std::vector<std::string>{"typed"});
    EXPECT_EQ(field.nativeKind(), "textField");
    EXPECT_EQ(platform::TextField::labelWithString("x")->nativeKind(), "label");
}

TEST(Controls, DisabledButtonsIgnoreClicksAndSwitchesFlip) {
    platform::Button check(Rect(), platform::Button::Type::Switch);
    int clicks = 0;
    check.setAction([&](platform::Control&) { ++clicks; });
    check.performClick();
    EXPECT_TRUE(check.state());
    check.setEnabled(false);
    check.performClick();
    EXPECT_TRUE(check.state());
    EXPECT_EQ(clicks, 1);
}

class SplitViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        split = std::make_shared<platform::SplitView>(Rect(0, 0, 299, 100));
        for (double x : {0.0, 100.0, 200.0}) {
            panes.push_back(std::make_shared<View>(Rect(x, 0, 99, 100)));
            split->addSubview(panes.back());
        }
        split->adjustSubviews();
    }
    std::shared_ptr<platform::SplitView> split;
    std::vector<std::shared_ptr<View>> panes;
};

TEST_F(SplitViewTest, SetPositionKeepsTheNextPanesTrailingEdge) {
    EXPECT_EQ(split->dividerCount(), 2);
    EXPECT_EQ(panes[2]->frame().maxX(), 299);
    split->setPosition(150, 0);
    EXPECT_EQ(panes[0]->frame().width(), 150);
    EXPECT_EQ(panes[1]->frame(), Rect(151, 0, 48, 100));
    // Beyond the neighbour's room the divider stops at its edge.
    split->setPosition(500, 0);
    EXPECT_EQ(*split->positionOfDivider(0), 198);
    EXPECT_EQ(panes[1]->frame().width(), 0);
    EXPECT_EQ(split->positionOfDivider(2), std::nullopt);
    split->setPosition(10, 5);  // no such divider
}

TEST_F(SplitViewTest, DragsFollowTheDelegateAndCollapseOnlyWhereAllowed) {
    struct Limits : platform::SplitViewDelegate {
        double constrainMinCoordinate(platform::SplitView&, double, int) override { return 60; }
        double constrainMaxCoordinate(platform::SplitView&, double, int) override { return 150; }
        bool canCollapseSubview(platform::SplitView&, View& v) override { return &v == first; }
        View* first = nullptr;
    } limits;
    limits.first = panes[0].get();
    split->setDelegate(&limits);
    split->dragDivider(0, 40);  // below the minimum but above half of it
    EXPECT_EQ(*split->positionOfDivider(0), 60);
    split->dragDivider(0, 20);  // past half: the first pane may collapse
    EXPECT_EQ(*split->positionOfDivider(0), 0);
    split->dragDivider(0, 180);  // past the maximum; the second pane may not collapse
    EXPECT_EQ(*split->positionOfDivider(0), 150);
}

TEST_F(SplitViewTest, ResizeGoesToThePanesTheDelegateLetsGrow) {
    struct OnlyLast : platform::SplitViewDelegate {
        bool shouldAdjustSizeOfSubview(platform::SplitView&, View& v) override {
            return &v == last;
        }
        View* last = nullptr;
    } delegate;
    delegate.last = panes[2].get();
    split->setDelegate(&delegate);
    split->setFrame(Rect(0, 0, 399, 80));
    EXPECT_EQ(panes[0]->frame(), Rect(0, 0, 99, 80));
    EXPECT_EQ(panes[1]->frame(), Rect(100, 0, 99, 80));
    EXPECT_EQ(panes[2]->frame(), Rect(200, 0, 199, 80));
    // Without a delegate every pane takes an equal share.
    split->setDelegate(nullptr);
    split->setFrame(Rect(0, 0, 429, 80));
    EXPECT_EQ(panes[0]->frame().width(), 109);
    EXPECT_EQ(panes[2]->frame().maxX(), 429);
}

TEST_F(SplitViewTest, MouseOnADividerDragsIt) {
    platform::Window window(Rect(0, 0, 299, 100));
    window.contentView()->addSubview(split);
    EXPECT_EQ(window.contentView()->hitTest({100, 50}), split.get());
    EXPECT_EQ(window.contentView()->hitTest({50, 50}), panes[0].get());
    using platform::Event;
    using platform::EventType;
    window.sendEvent(Event::mouseEvent(EventType::LeftMouseDown, {100, 50}));
    window.sendEvent(Event::mouseEvent(EventType::LeftMouseDragged, {130, 50}));
    window.sendEvent(Event::mouseEvent(EventType::LeftMouseUp, {130, 50}));
    EXPECT_EQ(*split->positionOfDivider(0), 130);
}

}  // namespace
