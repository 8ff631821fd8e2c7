#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/View.h"
#include "platform/ui/Window.h"

using namespace platform;

TEST(ViewTree, AddingMovesAViewAndRefusesCycles) {
    auto a = std::make_shared<View>(Rect(0, 0, 10, 10));
    auto b = std::make_shared<View>(Rect(0, 0, 10, 10));
    auto child = std::make_shared<View>(Rect(0, 0, 1, 1));
    a->addSubview(child);
    b->addSubview(child);
    EXPECT_TRUE(a->subviews().empty());
    ASSERT_EQ(b->subviews().size(), 1u);
    EXPECT_EQ(child->superview(), b.get());

    child->addSubview(b);  // b is child's ancestor
    child->addSubview(child);
    EXPECT_TRUE(child->subviews().empty());
    EXPECT_EQ(b->superview(), nullptr);
    EXPECT_TRUE(child->isDescendantOf(b.get()));
    EXPECT_FALSE(b->isDescendantOf(child.get()));
}

TEST(ViewTree, RemovingTheLastReferenceFreesTheView) {
    auto parent = std::make_shared<View>(Rect(0, 0, 10, 10));
    std::weak_ptr<View> watch;
    {
        auto child = std::make_shared<View>(Rect(0, 0, 1, 1));
        watch = child;
        parent->addSubview(child);
    }
    EXPECT_FALSE(watch.expired());
    parent->subviews().front()->removeFromSuperview();
    EXPECT_TRUE(watch.expired());
    EXPECT_TRUE(parent->subviews().empty());
}

TEST(ViewTree, WindowPointerFollowsTheTree) {
    auto subtree = std::make_shared<View>(Rect(0, 0, 10, 10));
    auto leaf = std::make_shared<View>(Rect(0, 0, 1, 1));
    subtree->addSubview(leaf);
    {
        Window window(Rect(0, 0, 100, 100));
        EXPECT_EQ(window.contentView()->window(), &window);
        EXPECT_EQ(window.contentView()->nextResponder(), &window);
        window.contentView()->addSubview(subtree);
        EXPECT_EQ(leaf->window(), &window);
        EXPECT_EQ(leaf->nextResponder(), subtree.get());
        subtree->removeFromSuperview();
        EXPECT_EQ(leaf->window(), nullptr);
        window.contentView()->addSubview(subtree);
    }
    // The window is gone; the views it held no longer point at it.
    EXPECT_EQ(leaf->window(), nullptr);
}

TEST(ViewTree, ContentViewTakesTheWindowSize) {
    Window window(Rect(50, 60, 0, 0));
    auto content = std::make_shared<View>(Rect(7, 7, 1, 1));
    content->rotateByAngle(-90);
    window.setContentView(content);
    EXPECT_EQ(content->frame(), Rect(0, 0, 0, 0));
    // As the candidate window does: size the window, the turned content follows.
    window.setFrame(Rect(50, 60, 40, 120), true);
    EXPECT_EQ(window.frame(), Rect(50, 60, 40, 120));
    EXPECT_EQ(content->frame(), Rect(0, 0, 40, 120));
    EXPECT_EQ(content->bounds(), Rect(-120, 0, 120, 40));

    Window other(Rect(0, 0, 10, 10));
    other.setContentView(content);  // taken from the first window
    EXPECT_EQ(window.contentView(), nullptr);
    EXPECT_EQ(content->window(), &other);
    EXPECT_EQ(content->frame(), Rect(0, 0, 10, 10));
}

TEST(ViewTree, NeedsDisplayCollectsMarkedRectangles) {
    View view(Rect(0, 0, 100, 50));
    EXPECT_FALSE(view.needsDisplay());
    EXPECT_TRUE(view.needsDisplayRect().isNull());
    view.setNeedsDisplayInRect(Rect(10, 10, 5, 5));
    view.setNeedsDisplayInRect(Rect(20, 0, 5, 5));
    EXPECT_TRUE(view.needsDisplay());
    EXPECT_EQ(view.needsDisplayRect(), Rect(10, 0, 15, 15));
    view.setNeedsDisplay(true);
    EXPECT_EQ(view.needsDisplayRect(), Rect(0, 0, 100, 50));
    view.setNeedsDisplay(false);
    EXPECT_FALSE(view.needsDisplay());
    EXPECT_TRUE(view.needsDisplayRect().isNull());

    // A view without extent can still be marked.
    View empty;
    empty.setNeedsDisplayInRect(empty.bounds());
    EXPECT_TRUE(empty.needsDisplay());
}

TEST(ViewTree, WindowVisibilityAndKeyWindow) {
    Window a(Rect(0, 0, 10, 10));
    Window b(Rect(0, 0, 10, 10));
    EXPECT_FALSE(a.isVisible());
    a.orderFront();  // shown without becoming key
    EXPECT_TRUE(a.isVisible());
    EXPECT_FALSE(a.isKeyWindow());
    a.makeKeyAndOrderFront();
    EXPECT_EQ(Window::keyWindow(), &a);
    b.makeKeyWindow();
    EXPECT_FALSE(a.isKeyWindow());
    b.orderOut();
    EXPECT_EQ(Window::keyWindow(), nullptr);
    EXPECT_FALSE(b.isVisible());
}
