#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "../shell/ShellTestSupport.h"
#include "notes/UI/AppDelegate.h"
#include "notes/UI/EditorViewController.h"
#include "notes/UI/MainWindowController.h"
#include "notes/UI/SourceTextView/SourceRulerView.h"
#include "notes/UI/SourceTextView/SourceTextView.h"
#include "notes/UI/SourceTextView/SourceWindowController.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/ui/Application.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/SavePanel.h"
#include "platform/ui/gtk/GtkViewHost.h"
#include "platform/ui/gtk/GtkViewPeer.h"
#include "platform/ui/gtk/GtkWindowBackend.h"
#include "platform/web/WebView.h"
#include "tests/notes/UI/ZelvoDesktopFixture.h"
#include "tests/support/FileContents.h"
#include "tests/support/FullDiskFolder.h"
#include "tests/support/MainLoopWait.h"
#include "tests/support/Patience.h"
#include "tests/support/RecordedAlerts.h"
#include "tests/support/TestOutput.h"
#include "tests/support/WebViewWaits.h"

using platform::gtk::GtkWindowBackend;

namespace {

const char* kMongolianNote =
    "<h3>ᠮᠣᠩᠭᠣᠯ ᠪᠢᠴᠢᠭ</h3><p>ᠨᠢᠭᠡ ᠲᠡᠮᠳᠡᠭᠯᠡᠯ\u202Fᠢᠶᠡᠨ ᠰᠤᠩᠭ\u180Bᠤᠭᠠᠷᠠᠢ</p>"
    "<p>ᠮᠣᠩᠭᠣᠯ ᠦᠰᠦᠭ ᠢᠶᠡᠷ ᠪᠢᠴᠢᠬᠦ Zelvo</p><ul><li>ᠨᠢᠭᠡ</li><li>ᠬᠣᠶᠠᠷ</li></ul>";

// A stretch of pixel columns holding ink, and how far down its ink reaches.
struct InkRun {
    int left, right, top, bottom;
};

// The runs of inked pixel columns of a binary PGM picture (P5), left to right.
std::vector<InkRun> inkColumns(const std::string& pgm) {
    std::vector<InkRun> runs;
    int width = 0, height = 0, maximum = 0;
    size_t at = 0;
    if (std::sscanf(pgm.c_str(), "P5 %d %d %d%zn", &width, &height, &maximum, &at) != 3)
        return runs;
    const unsigned char* pixels = reinterpret_cast<const unsigned char*>(pgm.data()) + at + 1;
    if (pgm.size() < at + 1 + size_t(width) * height) return runs;
    std::optional<InkRun> open;
    for (int x = 0; x < width; ++x) {
        int top = height, bottom = -1;
        for (int y = 0; y < height; ++y) {
            if (pixels[y * width + x] < maximum / 2) {
                top = std::min(top, y);
                bottom = y;
            }
        }
        if (bottom >= 0) {
            if (!open) open = InkRun{x, x, top, bottom};
            open->right = x;
            open->top = std::min(open->top, top);
            open->bottom = std::max(open->bottom, bottom);
        } else if (open) {
            runs.push_back(*open);
            open.reset();
        }
    }
    if (open) runs.push_back(*open);
    return runs;
}

class ExportDesktopTest : public ZelvoDesktopFixture {
  protected:
    // The main window with the note shown in the editor page.
    zelvo::MainWindowController& windowWithNote(const std::string& html) {
        app.finishLaunching();
        zelvo::MainWindowController& controller = *delegate.window();
        auto* editor =
            dynamic_cast<zelvo::EditorViewController*>(controller.editorViewController());
        EXPECT_NE(editor, nullptr);
        EXPECT_TRUE(backend->waitUntilDrawn(*controller.window(), kPatience.count()));
        if (editor && editor->webview() && !editor->editorLoaded())
            waitForLoad(*editor->webview(), std::chrono::seconds(20));
        if (editor) editor->setHTML(html);
        return controller;
    }
    // Save As, until what it does shows (the editor's page is read and printed in its time).
    static void saveAs(zelvo::MainWindowController& controller, const std::function<bool()>& done) {
        controller.saveDocumentAs();
        ASSERT_TRUE(turnTheLoopUntil(done));
    }
};

TEST_F(ExportDesktopTest, SaveAsPDFPrintsTheVerticalNoteWithItsFontEmbedded) {
    zelvo::MainWindowController& controller = windowWithNote(kMongolianNote);
    std::string chosen = testOutputPath("zelvo-export").string();
    std::filesystem::remove(chosen + ".pdf");
    // The save panel as the user fills it: a name, then ".pdf" in the accessory's chooser.
    (*installed)->savePanels = [&](platform::SavePanel& panel) {
        EXPECT_EQ(panel.nameFieldStringValue(), "未命名");
        auto* formats =
            dynamic_cast<platform::ComboBox*>(panel.accessoryView()->subviews().at(1).get());
        EXPECT_NE(formats, nullptr);
        if (formats) formats->userEdited(".pdf");
        return std::optional<std::string>(chosen);
    };
    std::string pdf = chosen + ".pdf";
    saveAs(controller, [&] { return std::filesystem::exists(pdf); });
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_TRUE(fileContents(pdf).starts_with("%PDF"));

    std::string info = commandOutput("pdfinfo '" + pdf + "'");
    EXPECT_NE(info.find("Pages:"), std::string::npos) << info;
    EXPECT_EQ(info.find("Pages:          0"), std::string::npos) << info;
    std::string fonts = commandOutput("pdffonts '" + pdf + "'");
    size_t mongolian = fonts.find("NotoSansMongolian");
    ASSERT_NE(mongolian, std::string::npos) << fonts;
    std::string row = fonts.substr(mongolian, fonts.find('\n', mongolian) - mongolian);
    EXPECT_NE(row.find(" yes "), std::string::npos) << "embedded: " << row;
    // The engine's PDF writer maps the shaped (positional) Mongolian glyphs to no characters, so
    // only the Latin words come back as text; the Mongolian ones are checked as ink below.
    std::string text = commandOutput("pdftotext '" + pdf + "' -");
    EXPECT_NE(text.find("Zelvo"), std::string::npos) << text;

    // The first page in grey: the note stands in vertical columns read left to right, one per
    // block (heading, two paragraphs, two list items), each taller than it is wide.
    std::string grey = commandOutput("pdftoppm -gray -r 36 -f 1 -l 1 '" + pdf + "'");
    std::vector<InkRun> columns = inkColumns(grey);
    EXPECT_GE(columns.size(), 5u);
    for (const InkRun& column : columns) {
        EXPECT_GT(column.bottom - column.top, column.right - column.left)
            << "a column from x " << column.left;
    }

    std::string png = testOutputPath("zelvo-export").string();
    EXPECT_EQ(
        std::system(
            ("pdftoppm -png -r 72 -f 1 -l 1 -singlefile '" + pdf + "' '" + png + "'").c_str()),
        0);
    EXPECT_TRUE(std::filesystem::exists(png + ".png"));
}

class FullDiskExportTest : public ExportDesktopTest {
  protected:
    // Made before the display and the web engine start, so that they write to it too.
    FullDiskFolder full;
};

TEST_F(FullDiskExportTest, APDFThatFindsNoRoomSaysWhyAsTheOtherFormatsDo) {
    ASSERT_TRUE(full.ready()) << "no file system could be mounted for the full disk";
    zelvo::MainWindowController& controller = windowWithNote(kMongolianNote);
    const char* format = nullptr;
    (*installed)->savePanels = [&](platform::SavePanel& panel) {
        auto* formats =
            dynamic_cast<platform::ComboBox*>(panel.accessoryView()->subviews().at(1).get());
        if (formats) formats->userEdited(format);
        return std::optional<std::string>(full.file("note"));
    };
    // Made after the save panel is in place: the alerts' set is a copy of the one in use.
    RecordedAlerts alerts;
    for (const char* each : {".txt", ".pdf"}) {
        format = each;
        SCOPED_TRACE(format);
        saveAs(controller, [&] { return !alerts.shown.empty(); });
        ASSERT_EQ(alerts.shown.size(), 1u);
        const std::string& told = alerts.shown[0].informativeText();
        EXPECT_TRUE(told.starts_with(full.file("note") + format + "\n")) << told;
        EXPECT_TRUE(told.ends_with("No space left on device")) << told;
        EXPECT_FALSE(std::filesystem::exists(full.file("note") + format));
        alerts.shown.clear();
    }
}

TEST_F(ExportDesktopTest, SourceWindowShowsTheColouredHTMLWithLineNumbers) {
    auto controller = std::make_shared<zelvo::SourceWindowController>();
    controller->setSourceText(
        "<div class=\"editor\">\n\t<p>ᠮᠣᠩᠭᠣᠯ</p>\n\t<!-- x --> -- note\n</div>\n--[[ a\nb ]] lua");
    platform::Window& window = *controller->window();
    window.makeKeyAndOrderFront();
    ASSERT_TRUE(backend->waitUntilDrawn(window, kPatience.count()));
    zelvo::SourceTextView& view = *controller->sourceView();
    EXPECT_EQ(view.language(), 4);
    ASSERT_TRUE(view.buffer().keywordColors());
    EXPECT_EQ(view.buffer().keywordColors()->at("lua"), platform::Color::calibratedRGB(1, 0, 0));
    EXPECT_EQ(view.buffer().keywordColors()->at("div"), view.buffer().keywordColors()->at("p"));
    EXPECT_FALSE(view.wrapsLines()) << "with line numbers lines run on";
    EXPECT_FALSE(controller->rulerView()->isHidden());
    EXPECT_FALSE(view.foregroundSpans().empty());

    if (auto* host = dynamic_cast<platform::gtk::GtkViewHost*>(window.host()))
        host->layoutNativeViews();
    backend->waitUntilDrawn(window, kPatience.count());
    backend->processPendingEvents();
    std::optional<platform::Image> image = backend->snapshot(window.frame());
    ASSERT_TRUE(image.has_value());
    EXPECT_TRUE(image->writePNG(testOutputPath("zelvo-source-window.png").string()));

    // One number per line, each on its line as GTK lays the lines out (the Mongolian line is
    // taller); the arrows and wheel move by the view's 13-point line scroll.
    auto* peer = dynamic_cast<platform::gtk::GtkViewPeer*>(view.peer());
    ASSERT_NE(peer, nullptr);
    GtkWidget* textView = gtk_bin_get_child(GTK_BIN(peer->widget()));
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(textView));
    std::vector<platform::StyledTextView::LineBox> lines = view.lineBoxes();
    ASSERT_EQ(lines.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        GtkTextIter line;
        gtk_text_buffer_get_iter_at_line(buffer, &line, i);
        gint y = 0, height = 0;
        gtk_text_view_get_line_yrange(GTK_TEXT_VIEW(textView), &line, &y, &height);
        EXPECT_EQ(lines[size_t(i)], (platform::StyledTextView::LineBox{double(y), double(height)}));
    }
    auto labels = controller->rulerView()->labelsFor(lines, 0, window.frame().height(), 0, 13);
    ASSERT_EQ(labels.size(), 6u);
    EXPECT_EQ(labels.back().number, 6u);
    EXPECT_NEAR(labels[1].top + 6.5, lines[1].top + lines[1].height / 2, 0.01);
    EXPECT_EQ(gtk_adjustment_get_step_increment(
                  gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(peer->widget()))),
              13);

    // Typing into the GTK text reaches the buffer once GTK is done with it, and is coloured.
    GtkTextIter end;
    gtk_text_buffer_get_end_iter(buffer, &end);
    gtk_text_buffer_place_cursor(buffer, &end);
    gtk_text_buffer_insert_interactive_at_cursor(buffer, "\n\t\tᠮ -- done", -1, TRUE);
    backend->processPendingEvents();
    EXPECT_TRUE(platform::utf8FromUtf16(view.buffer().text()).ends_with("lua\n\t\tᠮ -- done"));
    ASSERT_FALSE(view.foregroundSpans().empty());
    const auto& last = view.foregroundSpans().back();
    EXPECT_EQ(view.text().substr(last.range.location, last.range.length), u"-- done");

    // Return through the widget's key handling keeps the indentation.
    GdkEvent* key = gdk_event_new(GDK_KEY_PRESS);
    key->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(textView)));
    key->key.keyval = GDK_KEY_Return;
    key->key.state = 0;
    gboolean handled = FALSE;
    g_signal_emit_by_name(textView, "key-press-event", key, &handled);
    gdk_event_free(key);
    EXPECT_TRUE(handled);
    backend->processPendingEvents();
    EXPECT_TRUE(platform::utf8FromUtf16(view.buffer().text()).ends_with("-- done\n\t\t"));
    GtkTextIter start;
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    gchar* shown = gtk_text_buffer_get_text(buffer, &start, &end, TRUE);
    EXPECT_EQ(platform::utf16FromUtf8(shown), view.buffer().text()) << "the widget follows";
    g_free(shown);

    EXPECT_TRUE(controller->windowShouldClose(window));
    window.close();
}

TEST_F(ExportDesktopTest, TheFormatChooserTellsTheComboBoxTheUsersChoice) {
    platform::ComboBox box(platform::Rect(0, 0, 80, 25));
    box.setEditable(false);
    box.addItemsWithObjectValues({".txt", ".html", ".rtf", ".pdf"});
    box.setStringValue(".txt");
    std::unique_ptr<platform::gtk::GtkViewPeer> peer = platform::gtk::makePeer(box);
    ASSERT_NE(peer, nullptr);
    GtkComboBox* combo = GTK_COMBO_BOX(peer->widget());
    EXPECT_EQ(gtk_combo_box_get_active(combo), 0);
    gtk_combo_box_set_active(combo, 2);
    EXPECT_EQ(box.stringValue(), ".rtf");
    box.setStringValue(".pdf");
    peer->viewChanged();
    EXPECT_EQ(gtk_combo_box_get_active(combo), 3);
}

}  // namespace
