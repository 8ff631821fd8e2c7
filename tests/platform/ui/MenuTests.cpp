#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Backends.h"
#include "platform/ui/Event.h"
#include "platform/ui/Menu.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

using namespace platform;

namespace {

// Answers "copy:" and "selectAll:", and enables copying only while it has a selection.
class SelectingView : public View {
  public:
    explicit SelectingView(const Rect& frame) : View(frame) {
        registerAction("copy:", [this] { ++copies; });
        registerAction("selectAll:", [this] { ++selectAlls; });
    }
    bool hasSelection = false;
    int copies = 0;
    int selectAlls = 0;
    bool offerMenu = true;

    bool acceptsFirstResponder() override { return true; }
    bool validateMenuItem(const MenuItem& item) override {
        if (item.action() == "copy:") return hasSelection;
        return true;
    }
    std::shared_ptr<Menu> menuForEvent(const Event&) override {
        return offerMenu ? Menu::textContextMenu() : nullptr;
    }
};

// Installs a presenter that keeps what it was shown, and puts the previous one back.
struct PresenterSpy {
    std::vector<std::shared_ptr<Menu>> shown;
    std::vector<View*> views;
    platform::ScopedBackends installed;
    PresenterSpy() {
        installed->contextMenus = [this](const std::shared_ptr<Menu>& m, const Event&, View* v) {
            shown.push_back(m);
            views.push_back(v);
        };
    }
};

}  // namespace

TEST(Menu, ValidatesThroughTheTargetOrTheResponderChain) {
    Window window(Rect(0, 0, 100, 100));
    auto view = std::make_shared<SelectingView>(Rect(0, 0, 100, 100));
    auto inner = std::make_shared<View>(Rect(0, 0, 10, 10));
    window.contentView()->addSubview(view);
    view->addSubview(inner);

    Menu menu("Edit");
    MenuItem& copy = menu.addItemWithTitle("Copy", "copy:", "c");
    MenuItem& paste = menu.addItemWithTitle("Paste", "paste:", "v");
    MenuItem& all = menu.addItemWithTitle("Select All", "selectAll:", "a");
    MenuItem& none = menu.addItemWithTitle("Nothing", "", "");
    all.setTag(7);
    EXPECT_EQ(menu.itemWithTag(7), &all);
    EXPECT_EQ(menu.itemWithTitle("Paste"), &paste);
    EXPECT_EQ(menu.itemAtIndex(9), nullptr);

    // From a first responder below the view, the chain finds the view.
    menu.update(inner.get());
    EXPECT_FALSE(copy.isEnabled());   // no selection
    EXPECT_FALSE(paste.isEnabled());  // nobody answers
    EXPECT_TRUE(all.isEnabled());
    EXPECT_FALSE(none.isEnabled());
    view->hasSelection = true;
    menu.update(inner.get());
    EXPECT_TRUE(copy.isEnabled());
    EXPECT_TRUE(menu.performActionForItemAtIndex(0, inner.get()));
    EXPECT_EQ(view->copies, 1);
    EXPECT_FALSE(menu.performActionForItemAtIndex(1, inner.get()));  // disabled

    // With the window as first responder nothing answers.
    menu.update(&window);
    EXPECT_FALSE(copy.isEnabled());
    EXPECT_FALSE(all.isEnabled());

    // An explicit target is asked alone, wherever the chain starts.
    all.setTarget(view.get());
    paste.setTarget(view.get());
    menu.update(&window);
    EXPECT_TRUE(all.isEnabled());
    EXPECT_FALSE(paste.isEnabled());
    EXPECT_TRUE(menu.performActionForItemAtIndex(2, &window));
    EXPECT_EQ(view->selectAlls, 1);

    // Without automatic enabling the flags stay as set.
    menu.setAutoenablesItems(false);
    paste.setEnabled(true);
    menu.update(&window);
    EXPECT_TRUE(paste.isEnabled());
}

TEST(Menu, BlockItemsRunTheirBlockAndAskTheirTarget) {
    SelectingView view(Rect(0, 0, 10, 10));
    Menu menu;
    int runs = 0;
    MenuItem& item = menu.addItemWithTitle("Copy", "copy:", "c");
    item.setHandler([&] { ++runs; });
    menu.update(nullptr);
    EXPECT_TRUE(item.isEnabled());  // its own block answers
    EXPECT_TRUE(menu.performActionForItemAtIndex(0, nullptr));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(view.copies, 0);

    item.setTarget(&view);  // validated by the target, still run as a block
    menu.update(nullptr);
    EXPECT_FALSE(item.isEnabled());
    view.hasSelection = true;
    menu.update(nullptr);
    EXPECT_TRUE(item.isEnabled());
    menu.addItem(MenuItem::separatorItem());
    menu.update(nullptr);
    EXPECT_FALSE(menu.itemAtIndex(1)->isEnabled());
    EXPECT_FALSE(menu.performActionForItemAtIndex(1, nullptr));
}

TEST(Menu, RightClickPopsUpTheViewsMenuValidated) {
    PresenterSpy spy;
    Window window(Rect(0, 0, 100, 100));
    auto view = std::make_shared<SelectingView>(Rect(0, 0, 100, 100));
    window.contentView()->addSubview(view);
    window.sendEvent(Event::mouseEvent(EventType::LeftMouseDown, {10, 10}));
    window.sendEvent(Event::mouseEvent(EventType::LeftMouseUp, {10, 10}));
    ASSERT_EQ(window.firstResponder(), view.get());

    window.sendEvent(Event::mouseEvent(EventType::RightMouseDown, {20, 20}));
    ASSERT_EQ(spy.shown.size(), 1u);
    EXPECT_EQ(spy.views.front(), view.get());
    const Menu& menu = *spy.shown.front();
    ASSERT_EQ(menu.numberOfItems(), 6u);
    EXPECT_FALSE(menu.itemWithTitle("Cut")->isEnabled());
    EXPECT_FALSE(menu.itemWithTitle("Copy")->isEnabled());
    EXPECT_FALSE(menu.itemWithTitle("Delete")->isEnabled());
    EXPECT_TRUE(menu.itemAtIndex(4)->isSeparatorItem());
    EXPECT_TRUE(menu.itemWithTitle("Select All")->isEnabled());
    // Its items act on the first responder.
    view->hasSelection = true;
    spy.shown.front()->update(window.firstResponder());
    EXPECT_TRUE(spy.shown.front()->performActionForItemAtIndex(1, window.firstResponder()));
    EXPECT_EQ(view->copies, 1);

    // No menu: the click goes on up the chain and nothing is shown.
    view->offerMenu = false;
    window.sendEvent(Event::mouseEvent(EventType::RightMouseDown, {20, 20}));
    EXPECT_EQ(spy.shown.size(), 1u);
}
