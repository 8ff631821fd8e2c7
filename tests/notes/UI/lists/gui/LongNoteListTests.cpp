// A group of five thousand notes on the desktop, walked as a person walks a long list: End and
// Home, the page keys, the scroll bar and the wheel.
#include <gtk/gtk.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "ListsOnScreenTest.h"
#include "notes/store/SQLite/DBUtil.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Backends.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Scroller.h"
#include "platform/ui/Window.h"
#include "platform/ui/gtk/GtkTableViewBackend.h"
#include "platform/ui/gtk/GtkViewHost.h"
#include "platform/ui/gtk/GtkViewPeer.h"
#include "platform/ui/gtk/GtkWindowBackend.h"
#include "sqdb/SQDatabase.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Patience.h"
#include "tests/support/TestOutput.h"

using platform::Rect;
using zelvo::NoteViewController;

namespace {

constexpr int NoteCount = 5000;

class LongNoteListTest : public ListsOnScreenTest {
  protected:
    void TearDown() override {
        if (window) window->orderOut();
        ListsOnScreenTest::TearDown();
    }
    // The notes in one statement: "note 1" the oldest, "note 5000" the newest, on top.
    static bool storeNotes() {
        const std::string sql =
            "INSERT INTO note (n_summary,n_date,n_text,n_group,n_isRecent) "
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
            std::to_string(NoteCount) +
            ") SELECT 'note ' || i, 1700000000 + i, '<p>note ' || i || '</p>', 'group_work', 0 "
            "FROM n;";
        auto db = SQDatabase::databaseWithPath(DBUtil::databasePath());
        if (!db->open()) return false;
        const bool stored = db->executeUpdate(sql);
        db->close();
        return stored;
    }
    // Turns the loop until the condition holds; whether it did in time.
    bool waitFor(const std::function<bool()>& condition) {
        return waitUntil(
            [&] {
                backend->processPendingEvents();
                return condition();
            },
            kPatience);
    }
    // A point of the window (its coordinates) on the desktop, for xdotool.
    std::string onDesktop(platform::Point point) const {
        Rect screen = window->convertRectToScreen(Rect(point.x, point.y, 0, 0));
        Rect desk = backend->mainScreenOnDesktop();
        return std::to_string(int(screen.minX())) + " " +
               std::to_string(int(desk.height() - screen.minY()));
    }
    static bool xdotool(const std::string& arguments) {
        return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
    }
    bool shoot(const std::string& name) {
        backend->processPendingEvents();
        if (!backend->waitUntilDrawn(*window, kPatience.count())) return false;
        auto shot = backend->snapshot(window->frame());
        return shot && shot->writePNG(testOutputPath(name).string());
    }

    std::optional<platform::Window> window;
};

}  // namespace

TEST_F(LongNoteListTest, FiveThousandNotesAreWalkedByKeysTheScrollBarAndTheWheel) {
    ASSERT_TRUE(storeNotes());
    NoteViewController notes;
    notes.setNoteFlag(std::string("group_work"));
    auto view = notes.viewPointer();
    const double width = 240, height = 600;
    view->setFrame(Rect(0, 0, width, height));
    platform::TableView* table = notes.noteTableView();
    ASSERT_EQ(table->numberOfRows(), NoteCount);

    Rect screen = platform::Screen::mainScreen()->frame();
    window.emplace(Rect(40, screen.height() - 40 - height, width, height));
    window->setTitle("Zelvo");
    window->setContentView(view);
    window->orderFront();
    ASSERT_TRUE(backend->waitUntilDrawn(*window, kPatience.count()));
    if (auto* host = dynamic_cast<platform::gtk::GtkViewHost*>(window->host()))
        host->layoutNativeViews();

    // A scroll bar along the list's right edge, on screen.
    platform::Scroller* bar = table->verticalScroller();
    ASSERT_EQ(bar->superview(), table);
    auto* peer = dynamic_cast<platform::gtk::GtkViewPeer*>(bar->peer());
    ASSERT_NE(peer, nullptr);
    GtkWidget* scrollbar = peer->widget();
    ASSERT_TRUE(GTK_IS_SCROLLBAR(scrollbar));
    ASSERT_TRUE(waitFor([&] { return gtk_widget_get_mapped(scrollbar); }));
    EXPECT_TRUE(shoot("zelvo-long-list.png"));

    // The first row clicked (the keys then go to the list), then End: the last note, in sight.
    Rect row0 = table->convertRectToView(table->rectOfRow(0), nullptr);
    ASSERT_TRUE(xdotool("mousemove " + onDesktop({row0.midX(), row0.midY()}) + " click 1"));
    ASSERT_TRUE(waitFor([&] { return table->selectedRow() == 0; }));
    ASSERT_TRUE(xdotool("key End"));
    ASSERT_TRUE(waitFor([&] { return table->selectedRow() == NoteCount - 1; }));
    EXPECT_EQ(table->visibleRowRange().second, NoteCount);
    EXPECT_EQ(*notes.notes().back().at("n_summary").text(), "note 1");
    EXPECT_TRUE(shoot("zelvo-long-list-end.png"));
    // The bar followed the rows to the end.
    GtkAdjustment* adjustment = gtk_range_get_adjustment(GTK_RANGE(scrollbar));
    EXPECT_DOUBLE_EQ(
        gtk_adjustment_get_value(adjustment) + gtk_adjustment_get_page_size(adjustment),
        gtk_adjustment_get_upper(adjustment));

    // Home, then a page down: a page of rows further, the rows moved with it.
    ASSERT_TRUE(xdotool("key Home"));
    ASSERT_TRUE(waitFor([&] { return table->selectedRow() == 0 && table->scrollOffset() == 0; }));
    const auto page = int64_t(table->bounds().height() / table->rowHeight());
    ASSERT_TRUE(xdotool("key Next"));
    ASSERT_TRUE(waitFor([&] { return table->selectedRow() == page; }));
    EXPECT_EQ(table->scrollOffset(), double(page) * table->rowHeight());
    ASSERT_TRUE(xdotool("key Prior"));
    ASSERT_TRUE(waitFor([&] { return table->selectedRow() == 0; }));
    EXPECT_EQ(table->scrollOffset(), 0);

    // One notch of the wheel down moves about three rows.
    ASSERT_TRUE(xdotool("click 5"));
    ASSERT_TRUE(waitFor([&] { return table->scrollOffset() > 0; }));
    backend->processPendingEvents();
    EXPECT_NEAR(table->scrollOffset() / table->rowHeight(), 3, 0.5);

    // The bar's knob dragged from the top to the bottom of its trough: the end of the list.
    ASSERT_TRUE(xdotool("key Home"));
    ASSERT_TRUE(waitFor([&] { return table->scrollOffset() == 0; }));
    Rect track = bar->convertRectToView(bar->bounds(), nullptr);
    ASSERT_TRUE(xdotool("mousemove " + onDesktop({track.midX(), track.maxY() - 8}) +
                        " mousedown 1 mousemove " + onDesktop({track.midX(), track.midY()}) +
                        " mousemove " + onDesktop({track.midX(), track.minY() - 40}) +
                        " mouseup 1"));
    EXPECT_TRUE(waitFor([&] { return table->visibleRowRange().second == NoteCount; }))
        << table->scrollOffset();
    EXPECT_TRUE(shoot("zelvo-long-list-dragged.png"));
}
