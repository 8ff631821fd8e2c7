#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/ui/Event.h"
#include "platform/ui/TableCellView.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"
#include "tests/support/RecordingTableViewBackend.h"

using platform::BackgroundStyle;
using platform::Rect;
using platform::TableCellView;
using platform::TableView;
using platform::TableViewAnimation;

namespace {

// A controller of the simplest kind: rows are numbers, cells remember the row they were made for.
class NumberList : public platform::TableViewDataSource, public platform::TableViewDelegate {
  public:
    int64_t numberOfRowsInTableView(TableView&) override { return rows; }
    std::shared_ptr<platform::View> tableView(TableView& table, const platform::TableColumn& column,
                                              int64_t row) override {
        ++cellsAsked;
        auto cell = table.makeViewWithIdentifier(column.identifier(), this);
        if (cell) madeFor[cell.get()] = row;
        return cell;
    }
    void tableViewSelectionDidChange(TableView& table) override {
        selections.push_back(table.selectedRow());
        if (onSelection) onSelection(table);
    }

    int64_t rows = 0;
    int cellsAsked = 0;
    std::map<const platform::View*, int64_t> madeFor;
    std::vector<int64_t> selections;
    std::function<void(TableView&)> onSelection;
};

class TableViewTest : public ::testing::Test {
  protected:
    TableViewTest() {
        table = std::make_shared<TableView>(Rect(0, 0, 200, 100));
        table->setRowHeight(20);
        table->addTableColumn(platform::TableColumn("cell"));
        table->registerCellFactory("cell", [this] {
            ++cellsMade;
            return std::make_shared<TableCellView>();
        });
        table->setDataSource(&list);
        table->setDelegate(&list);
        table->setBackend(std::make_unique<RecordingTableViewBackend>(&log));
        log.clear();
    }
    ~TableViewTest() override {
        while (platform::RunLoop::mainRunLoop().iterate(false)) {
        }
    }

    TableCellView* cellOf(int64_t row) {
        return dynamic_cast<TableCellView*>(table->viewAtColumn(0, row, false).get());
    }

    NumberList list;
    std::shared_ptr<TableView> table;
    std::vector<std::string> log;
    int cellsMade = 0;
};

}  // namespace

TEST_F(TableViewTest, ReloadKeepsTheSelectedIndexAndDropsOneThatNoLongerExists) {
    list.rows = 5;
    table->reloadData();
    table->selectRowIndexes({3}, false);
    EXPECT_EQ(list.selections, (std::vector<int64_t>{3}));

    list.rows = 4;  // row 3 is still there: the index stays, nothing is announced
    table->reloadData();
    EXPECT_EQ(table->selectedRow(), 3);
    EXPECT_EQ(list.selections.size(), 1u);

    list.rows = 2;  // now it is gone: the selection is cleared and that is a change
    table->reloadData();
    EXPECT_EQ(table->selectedRow(), -1);
    EXPECT_EQ(list.selections, (std::vector<int64_t>{3, -1}));
    EXPECT_EQ(log.back(), "select none");
}

TEST_F(TableViewTest, SelectingTheSelectedRowOrAnOutOfRangeRowChangesNothing) {
    list.rows = 3;
    table->reloadData();
    table->selectRowIndexes({1}, false);
    table->selectRowIndexes({1}, false);
    table->selectRowIndexes({7}, false);
    table->selectRowIndexes({-1}, false);
    table->userSelectRow(9);
    EXPECT_EQ(list.selections, (std::vector<int64_t>{1}));
    table->selectRowIndexes({}, true);  // extending by nothing keeps the selection
    EXPECT_EQ(table->selectedRow(), 1);
    table->selectRowIndexes({}, false);
    EXPECT_EQ(list.selections, (std::vector<int64_t>{1, -1}));
    table->deselectAll();  // already none
    EXPECT_EQ(list.selections.size(), 2u);
}

TEST_F(TableViewTest, ReloadAskedDuringTheSelectionNoticeWaitsForTheRunLoop) {
    list.rows = 3;
    table->reloadData();
    std::vector<std::string> order;
    list.onSelection = [&](TableView& t) {
        if (t.selectedRow() != 0) return;
        list.rows = 5;
        t.reloadData([&] { order.push_back("first done"); });
        t.reloadData([&] { order.push_back("second done"); });
        order.push_back("notice returns");
        EXPECT_TRUE(t.isReloadPending());
    };
    log.clear();
    table->selectRowIndexes({0}, false);
    EXPECT_EQ(table->numberOfRows(), 3);  // not rebuilt inside the notice
    EXPECT_EQ(log, (std::vector<std::string>{"display 0", "select 0"}));
    while (platform::RunLoop::mainRunLoop().iterate(false)) {
    }
    EXPECT_EQ(table->numberOfRows(), 5);
    EXPECT_EQ(order, (std::vector<std::string>{"notice returns", "first done", "second done"}));
    // Both asks became one rebuild.
    EXPECT_EQ(std::count(log.begin(), log.end(), "reload 5"), 1);
    EXPECT_FALSE(table->isReloadPending());
}

TEST_F(TableViewTest, AReloadOutsideTheNoticeIsImmediateAndRunsItsCompletionAfterTheRows) {
    list.rows = 2;
    int64_t rowsSeen = -1;
    table->reloadData([&] { rowsSeen = table->numberOfRows(); });
    EXPECT_EQ(rowsSeen, 2);
}

TEST_F(TableViewTest, RemovingRowsRenumbersTheSelectionOrClearsIt) {
    list.rows = 5;
    table->reloadData();
    table->selectRowIndexes({3}, false);
    log.clear();
    table->removeRowsAtIndexes({0, 1}, TableViewAnimation::SlideLeft);
    EXPECT_EQ(table->numberOfRows(), 3);
    EXPECT_EQ(table->selectedRow(), 1);  // the same row, moved up
    EXPECT_EQ(list.selections, (std::vector<int64_t>{3}));
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "remove 0,1 slide-left");

    table->removeRowsAtIndexes({1, 9}, TableViewAnimation::SlideLeft);  // 9 does not exist
    EXPECT_EQ(table->numberOfRows(), 2);
    EXPECT_EQ(table->selectedRow(), -1);
    EXPECT_EQ(list.selections, (std::vector<int64_t>{3, -1}));
    table->removeRowsAtIndexes({5}, TableViewAnimation::SlideLeft);
    EXPECT_EQ(table->numberOfRows(), 2);
}

TEST_F(TableViewTest, OnlyRowsInSightGetCellsAndCellsAreReused) {
    list.rows = 1000;
    table->reloadData();
    EXPECT_EQ(list.cellsAsked, 5);            // 100 points high, 20 a row
    EXPECT_EQ(table->subviews().size(), 6u);  // and the scroll bar
    EXPECT_EQ(table->visibleRowRange(), (std::pair<int64_t, int64_t>{0, 5}));

    table->scrollRowToVisible(999);
    EXPECT_EQ(table->visibleRowRange(), (std::pair<int64_t, int64_t>{995, 1000}));
    EXPECT_EQ(table->subviews().size(), 6u);
    EXPECT_EQ(cellsMade, 5);  // the rows that left gave their cells to the rows that came
    auto* last = table->viewAtColumn(0, 999, false).get();
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(list.madeFor[last], 999);
    // Beside the scroll bar.
    EXPECT_EQ(table->rectOfRow(999), Rect(0, 0, 200 - platform::Scroller::ScrollerWidth, 20));

    table->setScrollOffset(-50);
    EXPECT_EQ(table->scrollOffset(), 0);
    table->reloadData();
    EXPECT_EQ(cellsMade, 5);
}

TEST_F(TableViewTest, TheSelectedRowsCellsGetTheEmphasizedLook) {
    list.rows = 3;
    table->reloadData();
    table->selectRowIndexes({1}, false);
    EXPECT_EQ(cellOf(1)->backgroundStyle(), BackgroundStyle::Emphasized);
    EXPECT_EQ(cellOf(0)->backgroundStyle(), BackgroundStyle::Normal);
    table->selectRowIndexes({2}, false);
    EXPECT_EQ(cellOf(1)->backgroundStyle(), BackgroundStyle::Normal);
    EXPECT_EQ(cellOf(2)->backgroundStyle(), BackgroundStyle::Emphasized);
    // A reused cell that was emphasized comes back with the look of its new row.
    table->reloadData();
    EXPECT_EQ(cellOf(0)->backgroundStyle(), BackgroundStyle::Normal);
    EXPECT_EQ(cellOf(2)->backgroundStyle(), BackgroundStyle::Emphasized);
}

TEST_F(TableViewTest, ClicksAndArrowKeysSelectRows) {
    list.rows = 3;
    table->reloadData();
    platform::Window window(Rect(0, 0, 200, 100));
    window.setContentView(table);
    using platform::Event;
    using platform::EventType;
    window.sendEvent(Event::mouseEvent(EventType::LeftMouseDown, {50, 75}));  // second row
    window.sendEvent(Event::mouseEvent(EventType::LeftMouseUp, {50, 75}));
    EXPECT_EQ(table->selectedRow(), 1);
    auto key = [&](uint16_t code) {
        window.sendEvent(Event::keyEvent(EventType::KeyDown, "", "", code));
    };
    key(125);
    key(125);  // stays on the last row
    EXPECT_EQ(list.selections, (std::vector<int64_t>{1, 2}));
    key(126);
    EXPECT_EQ(table->selectedRow(), 1);
    window.sendEvent(Event::mouseEvent(EventType::LeftMouseDown, {50, 5}));  // below the rows
    EXPECT_EQ(table->selectedRow(), -1);
}

namespace {

class SlidingBackend : public RecordingTableViewBackend {
  public:
    using RecordingTableViewBackend::RecordingTableViewBackend;
    bool slidesRemovedRows() const override { return true; }
};

}  // namespace

TEST_F(TableViewTest, ARowRemovedWithASlideLeavesAPictureThatSlidesAwayOnTop) {
    table->setBackend(std::make_unique<SlidingBackend>(&log));
    list.rows = 3;
    table->reloadData();
    table->selectRowIndexes({0}, false);
    table->removeRowsAtIndexes({0}, TableViewAnimation::None);
    EXPECT_FALSE(table->hasRowSlides());

    table->removeRowsAtIndexes({1}, TableViewAnimation::SlideLeft);
    ASSERT_TRUE(table->hasRowSlides());
    list.rows = 1;
    table->reloadData();  // rows made afterwards stay below the picture
    table->advanceRowSlides(0.5);
    ASSERT_FALSE(table->subviews().empty());
    auto overlay = table->subviews().back();
    EXPECT_FALSE(dynamic_cast<TableCellView*>(overlay.get()));
    // The picture of the second row (20 points high, 80 down from the top) is half way out.
    auto context = platform::GraphicsContext::recordingContext({200, 100});
    table->displayInContext(*context);
    bool found = false;
    for (const auto& record : context->records())
        if (record.kind == platform::DrawingRecord::Kind::Image &&
            record.deviceRect == Rect(-100, 60, 200, 20))
            found = true;
    EXPECT_TRUE(found);
    table->advanceRowSlides(1);
    EXPECT_FALSE(table->hasRowSlides());
    EXPECT_EQ(table->subviews().size(), 1u);
}

TEST_F(TableViewTest, TheWheelScrollsTheRowsAndIsPassedOnAtTheEnds) {
    list.rows = 10;  // 200 points of rows in 100
    table->reloadData();
    auto outer = std::make_shared<platform::View>(Rect(0, 0, 200, 100));
    struct Catcher : platform::View {
        using View::View;
        void scrollWheel(const platform::Event&) override { ++passed; }
        int passed = 0;
    };
    auto catcher = std::make_shared<Catcher>(Rect(0, 0, 200, 100));
    catcher->addSubview(table);
    platform::Window window(Rect(0, 0, 200, 100));
    window.setContentView(catcher);
    using platform::Event;
    window.sendEvent(Event::scrollWheelEvent({50, 50}, 0, -30));  // towards the end
    EXPECT_EQ(table->scrollOffset(), 30);
    EXPECT_EQ(table->visibleRowRange(), (std::pair<int64_t, int64_t>{1, 7}));
    window.sendEvent(Event::scrollWheelEvent({50, 50}, 0, -500));
    EXPECT_EQ(table->scrollOffset(), 100);
    EXPECT_EQ(catcher->passed, 0);
    window.sendEvent(Event::scrollWheelEvent({50, 50}, 0, -10));  // already at the end
    EXPECT_EQ(catcher->passed, 1);
    window.sendEvent(Event::scrollWheelEvent({50, 50}, 0, 100));
    EXPECT_EQ(table->scrollOffset(), 0);
    // A click now lands on the row under it at the new position.
    window.sendEvent(Event::scrollWheelEvent({50, 50}, 0, -40));
    window.sendEvent(Event::mouseEvent(platform::EventType::LeftMouseDown, {50, 95}));
    EXPECT_EQ(table->selectedRow(), 2);
}

// A long list is walked as a desktop list is: a scroll bar while the rows do not fit, which moves
// the rows when dragged and follows them when they move; a wheel notch of three rows; Home, End
// and the page keys moving the selection and the rows with it.
TEST_F(TableViewTest, ALongListHasAScrollBarAndIsWalkedByPagesAndToItsEnds) {
    list.rows = 4;  // 80 points of rows in 100: no bar
    table->reloadData();
    platform::Scroller* bar = table->verticalScroller();
    ASSERT_NE(bar, nullptr);
    EXPECT_NE(bar->superview(), table.get());
    EXPECT_EQ(table->rectOfRow(0).width(), 200);

    list.rows = 5000;
    table->reloadData();
    ASSERT_EQ(bar->superview(), table.get());
    EXPECT_EQ(bar->frame(), Rect(200 - platform::Scroller::ScrollerWidth, 0,
                                 platform::Scroller::ScrollerWidth, 100));
    EXPECT_EQ(bar->contentLength(), 100000);
    EXPECT_EQ(bar->visibleLength(), 100);
    int actions = 0;
    // Dragged to its end, the bar brings the last rows into sight.
    bar->userScrolled(1e9);
    EXPECT_EQ(table->scrollOffset(), 99900);
    EXPECT_EQ(table->visibleRowRange(), (std::pair<int64_t, int64_t>{4995, 5000}));
    bar->setAction([&](platform::Control&) { ++actions; });  // the table's own is replaced
    table->setScrollOffset(40);
    EXPECT_EQ(bar->offset(), 40);  // the bar follows, and tells nobody
    EXPECT_EQ(actions, 0);

    platform::Window window(Rect(0, 0, 200, 100));
    window.setContentView(table);
    using platform::Event;
    // A notch of the wheel (in lines, as the desktop counts them) moves three rows.
    table->setScrollOffset(0);
    window.sendEvent(Event::scrollWheelEvent({50, 50}, 0, -1, 0, 0, false));
    EXPECT_EQ(table->scrollOffset(), 3 * 20);
    window.sendEvent(Event::scrollWheelEvent({50, 50}, 0, 1, 0, 0, false));
    EXPECT_EQ(table->scrollOffset(), 0);

    ASSERT_TRUE(window.makeFirstResponder(table.get()));
    auto key = [&](uint16_t code) {
        window.sendEvent(Event::keyEvent(platform::EventType::KeyDown, "", "", code));
    };
    constexpr uint16_t Home = 115, PageUp = 116, End = 119, PageDown = 121;
    key(End);
    EXPECT_EQ(table->selectedRow(), 4999);
    EXPECT_EQ(table->visibleRowRange().second, 5000);
    key(Home);
    EXPECT_EQ(table->selectedRow(), 0);
    EXPECT_EQ(table->scrollOffset(), 0);
    // A page is the five rows in sight; the rows move with the selection.
    key(PageDown);
    EXPECT_EQ(table->selectedRow(), 5);
    EXPECT_EQ(table->scrollOffset(), 100);
    key(PageDown);
    key(PageUp);
    EXPECT_EQ(table->selectedRow(), 5);
    EXPECT_EQ(table->scrollOffset(), 100);
    EXPECT_EQ(list.selections, (std::vector<int64_t>{4999, 0, 5, 10, 5}));

    // Rows that fit again give the bar's room back.
    list.rows = 2;
    table->reloadData();
    EXPECT_NE(bar->superview(), table.get());
    EXPECT_EQ(table->rectOfRow(0).width(), 200);
}
