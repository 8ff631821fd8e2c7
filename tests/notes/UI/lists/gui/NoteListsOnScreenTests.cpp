#include <cstdlib>
#include <optional>

#include "ListsOnScreenTest.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Backends.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "platform/ui/gtk/GtkTableViewBackend.h"
#include "platform/ui/gtk/GtkWindowBackend.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Patience.h"
#include "tests/support/PixelBox.h"
#include "tests/support/TestOutput.h"

using platform::Color;
using platform::Rect;
using zelvo::FileViewController;
using zelvo::NoteViewController;

namespace {

bool isInk(const Color& c) {
    return c.red < 0.45 && c.green < 0.45 && c.blue < 0.5;
}
bool isSelection(const Color& c) {
    Color s = platform::TableView::selectionColor();
    return std::abs(c.red - s.red) < 0.03 && std::abs(c.green - s.green) < 0.03 &&
           std::abs(c.blue - s.blue) < 0.03;
}

// Dark ink in a rectangle of the picture (rows counted from the bottom).
PixelBox inkIn(const platform::Image& image, const Rect& r) {
    return pixelsWhere(
        image, isInk,
        PixelBox::spanning(int(r.minX()), int(r.maxX()) - 1, int(r.minY()), int(r.maxY()) - 1));
}

using NoteListsOnScreenTest = ListsOnScreenTest;

}  // namespace

TEST_F(NoteListsOnScreenTest, BothListsShowMongolianSummariesAsVerticalColumns) {
    // Oldest first; the list shows them newest first.
    storeNote("ᠮᠣᠩᠭᠣᠯ ᠪᠢᠴᠢᠭ ᠦᠨ ᠵᠢᠷᠤᠮ ᠳᠤ ᠪᠢᠴᠢᠭᠰᠡᠨ ᠲᠡᠮᠳᠡᠭᠯᠡᠯ", "group_life", 1706947300, 1);
    storeNote("ᠡᠷᠳᠡᠮ ᠰᠣᠶᠣᠯ", "group_work", 1706947400, 1);
    int32_t top = storeNote("ᠰᠠᠶᠢᠨ ᠪᠠᠶᠢᠨ᠎ᠠ ᠤᠤ", "group_work", 1706947500, 1);

    NoticeRecorder recorder;
    NoteViewController notes;
    FileViewController groups;
    const double groupWidth = 72, noteWidth = 240, height = 440;
    auto content = std::make_shared<platform::View>(Rect(0, 0, groupWidth + noteWidth, height));
    auto groupView = groups.viewPointer();
    auto noteView = notes.viewPointer();
    groupView->setFrame(Rect(0, 0, groupWidth, height));
    noteView->setFrame(Rect(groupWidth, 0, noteWidth, height));
    content->addSubview(groupView);
    content->addSubview(noteView);
    notes.noteTableView()->userSelectRow(0);

    Rect mainFrame = platform::Screen::mainScreen()->frame();
    const Rect frame(60, mainFrame.height() - 60 - height, groupWidth + noteWidth, height);
    platform::Window window(frame);
    window.setTitle("Zelvo");
    window.setBackgroundColor(Color::whiteColor());
    window.setContentView(content);
    window.orderFront();
    // A window manager, if any, frames and places the window before it maps it: once it is drawn,
    // the window stays where it is; then whatever its placement asked for is drawn too.
    ASSERT_TRUE(backend->waitUntilDrawn(window, kPatience.count()));
    ASSERT_TRUE(backend->waitUntilDrawn(window, kPatience.count()));

    auto shot = backend->snapshot(window.frame());
    ASSERT_TRUE(shot.has_value());
    std::string png = testOutputPath("zelvo-lists.png").string();
    ASSERT_TRUE(shot->writePNG(png));

    // The selected note's row is filled with the selection colour.
    auto* table = notes.noteTableView();
    Rect row0 = table->convertRectToView(table->rectOfRow(0), nullptr);
    int selected = 0;
    for (int x = int(row0.minX()); x < int(row0.maxX()); ++x)
        if (isSelection(shot->pixel(x, int(row0.minY()) + 3))) ++selected;
    EXPECT_GT(selected, int(row0.width() * 0.6)) << png;

    // The second row's summary: one short note, a few columns, each taller than the run of
    // columns is wide, starting at the left and reading down from the top of the text area.
    Rect row1 = table->convertRectToView(table->rectOfRow(1), nullptr);
    Rect summary(row1.minX() + 4, row1.minY() + 2, row1.width() - 8, row1.height() - 34);
    PixelBox ink = inkIn(*shot, summary);
    ASSERT_GT(ink.count, 50) << png;
    EXPECT_GT(ink.maxY - ink.minY, 3 * (ink.maxX - ink.minX) / 2) << "not vertical; " << png;
    EXPECT_LT(ink.minX, summary.minX() + 30) << "first column not at the left; " << png;
    EXPECT_GT(ink.maxY, summary.maxY() - 20) << "column does not start at the top; " << png;

    // A click on the third row reaches the list through the desktop.
    Rect row2 = table->convertRectToView(table->rectOfRow(2), nullptr);
    Rect onScreen = window.convertRectToScreen(row2);
    Rect desk = backend->mainScreenOnDesktop();
    int deskX = int(onScreen.midX()), deskY = int(desk.height() - onScreen.midY());
    recorder.notices.clear();
    std::string click = "xdotool mousemove " + std::to_string(deskX) + " " + std::to_string(deskY) +
                        " click 1 >/dev/null 2>&1";
    if (std::system(click.c_str()) != 0) GTEST_SKIP() << "xdotool cannot reach the display";
    waitUntil(
        [&] {
            backend->processPendingEvents();
            return !recorder.selections().empty();
        },
        kPatience);
    ASSERT_EQ(recorder.selections().size(), 1u);
    ASSERT_TRUE(recorder.selections()[0].note);
    EXPECT_NE(recorder.selections()[0].note->n_id(), top);
    EXPECT_EQ(table->selectedRow(), 2);

    // Remove: the row slides away on the main loop (when the desktop animates), then is gone.
    int32_t removed = recorder.selections()[0].note->n_id();
    notes.removeNote();
    auto* gtkTable = dynamic_cast<platform::gtk::GtkTableViewBackend*>(table->backend());
    ASSERT_NE(gtkTable, nullptr);
    waitUntil(
        [&] {
            backend->processPendingEvents();
            return !gtkTable->isSliding();
        },
        kPatience);
    EXPECT_FALSE(table->hasRowSlides());
    EXPECT_EQ(table->numberOfRows(), 2);
    for (const auto& row : notes.notes()) EXPECT_NE(row.at("n_id").intValue(), removed);
    window.orderOut();
    backend->processPendingEvents();
}
