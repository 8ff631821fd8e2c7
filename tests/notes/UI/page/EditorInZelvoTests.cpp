#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <filesystem>

#include "../shell/ShellTestSupport.h"
#include "notes/UI/AppDelegate.h"
#include "notes/UI/EditorViewController.h"
#include "notes/UI/MainWindowController.h"
#include "notes/UI/NoteCellView.h"
#include "notes/UI/NoteExporter.h"
#include "notes/UI/NoteNotifications.h"
#include "notes/UI/NoteViewController.h"
#include "notes/UI/PreviewHTMLWindow.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/gtk/DesktopApplication.h"
#include "platform/ui/gtk/GtkViewHost.h"
#include "platform/ui/gtk/GtkViewPeer.h"
#include "platform/ui/gtk/GtkWindowBackend.h"
#include "platform/web/JavaScriptString.h"
#include "sqdb/SQDatabase.h"
#include "tests/notes/UI/ZelvoDesktopFixture.h"
#include "tests/support/FileContents.h"
#include "tests/support/LoopbackHTTPServer.h"
#include "tests/support/MainLoopWait.h"
#include "tests/support/ModeBitsVfs.h"
#include "tests/support/Patience.h"
#include "tests/support/TestOutput.h"
#include "tests/support/WebViewWaits.h"
#include "textview/TXTextView.h"

// The editor inside Zelvo's window on the desktop, over a notes database of its own: the page is
// shown in the window, a note selected in the list arrives in it, and quitting stores the edit.
namespace {

class EditorInZelvoTest : public ZelvoDesktopFixture {
  protected:
    // The notices queued for the main queue delivered, and what they asked of the page done.
    void deliverQueuedNotices() {
        while (platform::RunLoop::mainRunLoop().iterate(false)) {
        }
        ASSERT_TRUE(turnTheLoopUntil([&] { return !editor || !editor->isBusy(); }));
    }
    std::optional<std::string> editorHTML() {
        std::optional<std::optional<std::string>> html;
        editor->getHTML([&](std::optional<std::string> answer) { html = std::move(answer); });
        EXPECT_TRUE(turnTheLoopUntil([&] { return html.has_value(); }));
        return html.value_or(std::nullopt);
    }
    bool quits() {
        std::optional<bool> quit;
        delegate.applicationShouldTerminate([&](bool answer) { quit = answer; });
        EXPECT_TRUE(turnTheLoopUntil([&] { return quit.has_value(); }));
        return quit.value_or(false);
    }
    std::optional<std::string> storedText(int32_t id) {
        for (const DBUtil::NoteRow& row : DBUtil::getNotesWithFlag(std::string("group_work")))
            if (row.at("n_id").longLongValue() == id) {
                const std::string* text = row.at("n_text").text();
                return text ? std::optional(*text) : std::nullopt;
            }
        return std::nullopt;
    }
    // Zelvo started: its page loaded, its window drawn.
    void launch() {
        app.finishLaunching();
        window = delegate.window();
        editor = dynamic_cast<zelvo::EditorViewController*>(window->editorViewController());
        list = dynamic_cast<zelvo::NoteViewController*>(window->noteViewController());
        ASSERT_TRUE(editor && list && editor->webview());
        ASSERT_TRUE(waitForLoad(*editor->webview(), kPatience));
        ASSERT_TRUE(backend->waitUntilDrawn(*window->window(), kPatience.count()));
    }
    // Typed at the end of the note's first paragraph, as by the keyboard.
    void typeAtEnd(const std::string& text) {
        evaluateNow(*editor->webview(),
                    "(function () { var p = document.querySelector('#zelvo_content p'); var r = "
                    "document.createRange(); r.selectNodeContents(p); r.collapse(false); var s = "
                    "getSelection(); s.removeAllRanges(); s.addRange(r); "
                    "document.execCommand('insertText', false, " +
                        platform::quoteJavaScriptString(text) + "); return 1; })();",
                    kPatience);
    }

    zelvo::MainWindowController* window = nullptr;
    zelvo::EditorViewController* editor = nullptr;
    zelvo::NoteViewController* list = nullptr;
};

TEST_F(EditorInZelvoTest, ANoteEditedInTheWindowIsStoredWhenZelvoQuits) {
    launch();
    if (auto* host = dynamic_cast<platform::gtk::GtkViewHost*>(window->window()->host()))
        host->layoutNativeViews();
    backend->processPendingEvents();

    // The page's widget sits in the window, where the editor's view is.
    auto* peer = dynamic_cast<platform::gtk::GtkViewPeer*>(editor->webContentView()->peer());
    ASSERT_NE(peer, nullptr);
    EXPECT_EQ(gtk_widget_get_toplevel(peer->widget()) != nullptr, true);
    EXPECT_TRUE(gtk_widget_get_mapped(peer->widget()));

    NoteObject fresh(std::nullopt, platform::Date::now());
    fresh.setN_text(std::string("<p>\u182E\u1823\u1829\u182D\u1823\u182F C:\\notes</p>"));
    fresh.setN_summary(std::string("\u182E\u1823\u1829\u182D\u1823\u182F"));
    fresh.setN_group(std::string("group_work"));
    ASSERT_TRUE(DBUtil::insertNote(&fresh));
    auto rows = DBUtil::getNotesWithFlag(std::string("group_work"));
    ASSERT_EQ(rows.size(), 1u);
    auto note = std::make_shared<NoteObject>(fresh);
    note->setN_id(int32_t(rows[0].at("n_id").longLongValue()));

    platform::NotificationCenter::defaultCenter().postNotificationName(NOTI_NOTE_SELECTION_CHANGED,
                                                                       note);
    deliverQueuedNotices();
    EXPECT_EQ(evaluateNow(*editor->webview(), "zelvo_editor.getText();", kPatience).value,
              "\u182E\u1823\u1829\u182D\u1823\u182F C:\\notes");

    typeAtEnd(" \u1820");
    EXPECT_TRUE(quits());
    EXPECT_EQ(storedText(note->n_id()),
              "<p>\u182E\u1823\u1829\u182D\u1823\u182F C:\\notes \u1820</p>");
}

// Answers every message dialog GTK shows while it runs, once the dialog has been on screen for a
// moment: its texts are kept, the first is photographed, and its first button pressed.
class DialogAnswerer {
  public:
    explicit DialogAnswerer(platform::gtk::GtkWindowBackend& backend) : m_backend(backend) {
        m_source = g_timeout_add(50, tick, this);
    }
    ~DialogAnswerer() { g_source_remove(m_source); }

    std::vector<std::pair<std::string, std::string>> seen;  // message, informative text
    std::optional<platform::Image> firstShot;

  private:
    static gboolean tick(gpointer data) {
        auto* self = static_cast<DialogAnswerer*>(data);
        GList* windows = gtk_window_list_toplevels();
        for (GList* at = windows; at; at = at->next) {
            if (!GTK_IS_MESSAGE_DIALOG(at->data) || !gtk_widget_get_mapped(GTK_WIDGET(at->data)))
                continue;
            if (++self->m_ticksShown < 6) break;  // let it draw
            self->m_ticksShown = 0;
            gchar *text = nullptr, *secondary = nullptr;
            g_object_get(at->data, "text", &text, "secondary-text", &secondary, nullptr);
            self->seen.emplace_back(text ? text : "", secondary ? secondary : "");
            g_free(text);
            g_free(secondary);
            if (!self->firstShot)
                if (auto screen = platform::Screen::mainScreen())
                    self->firstShot = self->m_backend.snapshot(screen->frame());
            gtk_dialog_response(GTK_DIALOG(at->data), 0);
            break;
        }
        g_list_free(windows);
        return G_SOURCE_CONTINUE;
    }

    platform::gtk::GtkWindowBackend& m_backend;
    guint m_source = 0;
    int m_ticksShown = 0;
};

// Zelvo on a notes folder the user may not write: the edit stays, the user is told why on screen,
// the note stays selected when another is clicked, and Save stores it once the folder is writable.
TEST_F(EditorInZelvoTest, AnEditThatCannotBeStoredIsShownInAnAlertAndKept) {
    DBUtil::initDBDirectory();
    auto stored = [](const char* text, double seconds) {
        NoteObject note(std::nullopt, platform::Date::dateWithTimeIntervalSince1970(seconds));
        note.setN_text(std::string(text));
        note.setN_summary(std::string(text));
        note.setN_group(std::string("group_work"));
        note.setN_isRecent(1);
        EXPECT_TRUE(DBUtil::insertNote(&note));
    };
    stored("<p>\u182E\u1823\u1829\u182D\u1823\u182F</p>", 2000);
    stored("<p>other</p>", 1000);
    const std::filesystem::path folder = *DBUtil::databaseDirectoryPath();
    const std::filesystem::path file = *DBUtil::databasePath();
    namespace fs = std::filesystem;
    ModeBitsVfs asAnyUser;  // root writes any file: keep to the mode bits as a user would
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);

    std::unique_ptr<platform::ApplicationBackend> desktop =
        platform::gtk::makeDesktopApplication("org.zelvo.ZelvoTest");  // the desktop's alerts
    app.setMainMenu(delegate.makeMainMenu());
    launch();
    list->noteTableView()->userSelectRow(0);
    deliverQueuedNotices();
    ASSERT_TRUE(editor->note());
    const int32_t edited = editor->note()->n_id();
    typeAtEnd(" TYPED");

    DialogAnswerer answerer(*backend);
    app.mainMenu()->itemAtIndex(1)->submenu()->itemWithTitle("Save")->handler()();  // Ctrl+S
    deliverQueuedNotices();
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].first, "The note could not be saved.");
    EXPECT_TRUE(answerer.seen[0].second.starts_with("attempt to write a readonly database"))
        << answerer.seen[0].second;
    ASSERT_TRUE(answerer.firstShot);
    EXPECT_TRUE(answerer.firstShot->writePNG(testOutputPath("zelvo-save-failed.png").string()));

    // Another note clicked: refused, told again, and the edited note stays highlighted.
    list->noteTableView()->userSelectRow(1);
    deliverQueuedNotices();
    EXPECT_EQ(answerer.seen.size(), 2u);
    EXPECT_EQ(editor->note()->n_id(), edited);
    EXPECT_EQ(list->noteTableView()->selectedRow(), 0);
    EXPECT_EQ(evaluateNow(*editor->webview(), "zelvo_editor.getText();", kPatience).value,
              "\u182E\u1823\u1829\u182D\u1823\u182F TYPED");
    EXPECT_EQ(storedText(edited), "<p>\u182E\u1823\u1829\u182D\u1823\u182F</p>");

    fs::permissions(folder, fs::perms::owner_all);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    app.mainMenu()->itemAtIndex(1)->submenu()->itemWithTitle("Save")->handler()();
    deliverQueuedNotices();
    EXPECT_EQ(answerer.seen.size(), 2u);
    EXPECT_EQ(storedText(edited), "<p>\u182E\u1823\u1829\u182D\u1823\u182F TYPED</p>");
    EXPECT_TRUE(quits());
    app.setMainMenu(nullptr);
}

// A stored note holding bytes that are no UTF-8, of every kind (a byte no character begins with, a
// lone continuation, a lead without its continuations, an overlong form, an encoded surrogate, a
// cut sequence): wherever it goes it shows U+FFFD for each such byte and every readable character,
// its row stays as stored until the user edits it, and the edit keeps those characters.
TEST_F(EditorInZelvoTest, ANoteWithMalformedBytesShowsEveryReadableCharacterEverywhere) {
    DBUtil::initDBDirectory();
    const std::string storedHex =
        "3C703EE1A0ACE1A0A62042414420FF2080C320C0AF20EDA08020E1A020454E443C2F703E";
    const std::string shownText =
        "\u182C\u1826 BAD \uFFFD \uFFFD\uFFFD \uFFFD\uFFFD "
        "\uFFFD\uFFFD\uFFFD \uFFFD\uFFFD END";
    {
        auto db = SQDatabase::databaseWithPath(*DBUtil::databasePath());
        ASSERT_TRUE(db->open());
        ASSERT_TRUE(db->executeUpdate(
            "insert into note (n_summary,n_date,n_text,n_group,n_isRecent) values (CAST(X'" +
            storedHex.substr(6, 24) + "' AS TEXT), 2000, CAST(X'" + storedHex +
            "' AS TEXT), 'group_work', 1)"));
        ASSERT_TRUE(
            db->executeUpdate("insert into note (n_summary,n_date,n_text,n_group,"
                              "n_isRecent) values ('o', 1000, '<p>other</p>', "
                              "'group_work', 1)"));
        db->close();
    }
    auto storedBytes = [] {
        auto db = SQDatabase::databaseWithPath(*DBUtil::databasePath());
        db->open();
        std::optional<std::string> hex = db->stringForQuery(
            "select hex(n_text) from note "
            "where n_id = 1");
        db->close();
        return hex.value_or("");
    };

    launch();
    auto pageText = [&] {
        return evaluateNow(*editor->webview(), "zelvo_editor.getText();", kPatience).value;
    };
    auto select = [&](int64_t row) {
        list->noteTableView()->userSelectRow(row);
        deliverQueuedNotices();
    };
    auto summary = std::dynamic_pointer_cast<zelvo::NoteCellView>(
        list->noteTableView()->viewAtColumn(0, 0, true));
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->seTextView()->text(),
              std::optional<std::u16string>(u"\u182C\u1826 BAD \uFFFD"));

    // Into the page: the first selection, a switch back, a reload of the list after another
    // note was saved.
    select(0);
    EXPECT_EQ(pageText(), shownText) << "first selection";
    select(1);
    select(0);
    EXPECT_EQ(pageText(), shownText) << "switch";
    select(1);
    typeAtEnd(" saved");
    select(0);  // saves the other note, the list reloads
    EXPECT_EQ(pageText(), shownText) << "after a reload";
    EXPECT_EQ(storedBytes(), storedHex);

    // Out of the page: what the source viewer, the preview and every export are given.
    std::optional<std::string> html = editorHTML();
    ASSERT_TRUE(html);
    EXPECT_NE(html->find(shownText), std::string::npos) << *html;
    zelvo::NoteExporter exporter(*window);
    const std::string base = testOutputPath("zelvo-malformed").string();
    for (const char* format : {".txt", ".html", ".rtf", ".pdf"}) {
        std::filesystem::remove(base + format);
        std::optional<bool> written;
        exporter.exportToPath(format, base + format, [&](bool done) { written = done; });
        ASSERT_TRUE(turnTheLoopUntil([&] { return written.has_value(); })) << format;
        ASSERT_TRUE(*written) << format;
    }
    EXPECT_NE(fileContents(base + ".txt").find(shownText), std::string::npos);
    EXPECT_NE(fileContents(base + ".html").find(shownText), std::string::npos);
    std::string rtf = fileContents(base + ".rtf");
    EXPECT_NE(rtf.find("\\u-3?"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("END"), std::string::npos) << rtf;
    std::string pdfText = commandOutput("pdftotext '" + base + ".pdf' -");
    EXPECT_NE(pdfText.find("BAD"), std::string::npos) << pdfText;
    EXPECT_NE(pdfText.find("END"), std::string::npos) << pdfText;
    auto preview = std::make_shared<zelvo::PreviewHTMLWindow>();
    preview->setHtmlString(*html);
    preview->window();
    platform::WebView* previewPage = preview->previewWebview()->webView();
    ASSERT_TRUE(previewPage && waitForLoad(*previewPage, kPatience));
    EXPECT_EQ(
        evaluateNow(*previewPage, "document.getElementById('content').innerText", kPatience).value,
        shownText);

    if (auto* host = dynamic_cast<platform::gtk::GtkViewHost*>(window->window()->host())) {
        host->layoutNativeViews();
    }
    backend->processPendingEvents();
    platform::RunLoop::mainRunLoop().runUntilDate(
        platform::Date::now().dateByAddingTimeInterval(0.5));
    std::optional<platform::Image> shot = backend->snapshot(window->window()->frame());
    ASSERT_TRUE(shot);
    EXPECT_TRUE(shot->writePNG(testOutputPath("zelvo-malformed-note.png").string()));
    EXPECT_EQ(storedBytes(), storedHex);

    // One letter typed at the end, then another note: the row takes the text as shown.
    typeAtEnd("x");
    select(0);  // the other note, first since it was saved
    ASSERT_EQ(editor->note()->n_id(), 2);
    EXPECT_EQ(storedText(1), "<p>" + shownText + "x</p>");
}

// Whatever a note refers to on the network stays there: opening it in the editor and previewing
// it request nothing, while pictures given as data: URLs or local files still show.
TEST_F(EditorInZelvoTest, NotesOpenedAndPreviewedRequestNothingFromTheNetwork) {
    LoopbackHTTPServer server;
    ASSERT_NE(server.port(), 0);
    const std::string at = server.url();
    const std::string kinds[] = {
        "<img src='" + at + "/img'><img srcset='" + at + "/srcset 2x'>",
        "<picture><source srcset='" + at + "/picture'><img alt='p'></picture>",
        "<input type='image' src='" + at + "/input'>",
        "<p style='background:url(" + at + "/background)'>b</p>",
        "<table background='" + at + "/attribute'><tr><td>t</td></tr></table>",
        "<video poster='" + at + "/poster' src='" + at + "/video'></video>",
        "<audio src='" + at + "/audio' autoplay></audio><video><source src='" + at +
            "/source'><track src='" + at + "/track'></video>",
        "<link rel='stylesheet' href='" + at + "/sheet'><style>@import url(" + at +
            "/import); @font-face { font-family: remote; src: url(" + at +
            "/font); } p { font-family: remote; }</style><p>f</p>",
        "<iframe src='" + at + "/frame'></iframe><object data='" + at + "/object'></object>" +
            "<embed src='" + at + "/embed'>",
        "<link rel='prefetch' href='" + at + "/prefetch'><link rel='preload' as='image' href='" +
            at + "/preload'><link rel='preconnect' href='" + at + "'><meta http-equiv='refresh' " +
            "content='0; url=" + at + "/refresh'>",
        "<svg width='10' height='10'><image href='" + at +
            "/svg' width='10' height='10'></image></svg>",
        "<ul style='list-style-image:url(" + at + "/list)'><li style='cursor:url(" + at +
            "/cursor), auto; border: 4px solid; border-image: url(" + at +
            "/border) 4'>l</li></ul>",
    };
    launch();
    auto preview = std::make_shared<zelvo::PreviewHTMLWindow>();
    preview->window();
    platform::WebView* previewPage = preview->previewWebview()->webView();
    ASSERT_TRUE(previewPage && waitForLoad(*previewPage, kPatience));
    int32_t id = 1;
    for (const std::string& html : kinds) {
        auto note = std::make_shared<NoteObject>();
        note->setN_id(id++);
        note->setN_text("<p>" + html + "</p>");
        editor->noteSelectionChanged(note);
        preview->setHtmlString(editorHTML());
        preview->updateHTML();
        preview->setHtmlString(note->n_text());
        preview->updateHTML();
    }
    platform::RunLoop::mainRunLoop().runUntilDate(
        platform::Date::now().dateByAddingTimeInterval(1.0));
    EXPECT_EQ(server.requests(), std::vector<std::string>{});

    // A data: picture and a file of the program's own show in both.
    const std::string pictures =
        "<p><img id='data' src='data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAIAAAACCAYAAABytg0k"
        "AAAAEUlEQVR4nGP4z8DwH4QZYAwAR8oH+WdZbrcAAAAASUVORK5CYII='><img id='file' src='file://" +
        std::string(ZELVO_TEST_RESOURCES) + "/Bold.png'></p>";
    auto note = std::make_shared<NoteObject>();
    note->setN_id(id);
    note->setN_text(pictures);
    editor->noteSelectionChanged(note);
    preview->setHtmlString(pictures);
    preview->updateHTML();
    const std::string widths =
        "(function () { var d = document.getElementById('data'), f = "
        "document.getElementById('file'); if (!d.complete || !f.complete) return ''; return "
        "d.naturalWidth + ' ' + (f.naturalWidth > 0); })()";
    for (platform::WebView* page : {editor->webview(), previewPage}) {
        std::string shown;
        for (int tries = 0; tries < 100 && shown.empty(); ++tries) {
            shown = evaluateNow(*page, widths, kPatience).value.value_or("");
            if (shown.empty())
                platform::RunLoop::mainRunLoop().runUntilDate(
                    platform::Date::now().dateByAddingTimeInterval(0.05));
        }
        EXPECT_EQ(shown, "2 true") << (page == previewPage ? "preview" : "editor");
    }
}

}  // namespace
