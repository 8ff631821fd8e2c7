#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <filesystem>

#include "../shell/ShellTestSupport.h"
#include "notes/UI/AppDelegate.h"
#include "notes/UI/EditorViewController.h"
#include "notes/UI/MainWindowController.h"
#include "notes/UI/NoteNotifications.h"
#include "notes/UI/NoteViewController.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TableView.h"
#include "platform/ui/gtk/DesktopApplication.h"
#include "platform/ui/gtk/GtkViewHost.h"
#include "platform/ui/gtk/GtkViewPeer.h"
#include "platform/ui/gtk/GtkWindowBackend.h"
#include "tests/notes/UI/ZelvoDesktopFixture.h"
#include "tests/support/ModeBitsVfs.h"
#include "tests/support/Patience.h"
#include "tests/support/TestOutput.h"

// The editor inside Zelvo's window on the desktop, over a notes database of its own: the page is
// shown in the window, a note selected in the list arrives in it, and quitting stores the edit.
namespace {

class EditorInZelvoTest : public ZelvoDesktopFixture {
  protected:
    static void deliverQueuedNotices() {
        while (platform::RunLoop::mainRunLoop().iterate(false)) {
        }
    }
    std::optional<std::string> storedText(int32_t id) {
        for (const DBUtil::NoteRow& row : DBUtil::getNotesWithFlag(std::string("group_work")))
            if (row.at("n_id").longLongValue() == id) {
                const std::string* text = row.at("n_text").text();
                return text ? std::optional(*text) : std::nullopt;
            }
        return std::nullopt;
    }
};

TEST_F(EditorInZelvoTest, ANoteEditedInTheWindowIsStoredWhenZelvoQuits) {
    app.finishLaunching();
    zelvo::MainWindowController& window = *delegate.window();
    auto* editor = dynamic_cast<zelvo::EditorViewController*>(window.editorViewController());
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(editor->webview(), nullptr);
    ASSERT_TRUE(editor->webview()->waitForLoad(kPatience));
    ASSERT_TRUE(backend->waitUntilDrawn(*window.window(), kPatience.count()));
    if (auto* host = dynamic_cast<platform::gtk::GtkViewHost*>(window.window()->host()))
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
    EXPECT_EQ(editor->webview()->evaluateJavaScript("zelvo_editor.getText();", kPatience).value,
              "\u182E\u1823\u1829\u182D\u1823\u182F C:\\notes");

    editor->webview()->evaluateJavaScript(
        "(function () { var p = document.querySelector('#zelvo_content p'); var r = "
        "document.createRange(); r.selectNodeContents(p); r.collapse(false); var s = "
        "getSelection(); s.removeAllRanges(); s.addRange(r); "
        "document.execCommand('insertText', false, ' \\u1820'); return 1; })();",
        kPatience);
    delegate.applicationWillTerminate();
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
    app.finishLaunching();
    zelvo::MainWindowController& window = *delegate.window();
    auto* editor = dynamic_cast<zelvo::EditorViewController*>(window.editorViewController());
    auto* list = dynamic_cast<zelvo::NoteViewController*>(window.noteViewController());
    ASSERT_TRUE(editor && list && editor->webview());
    ASSERT_TRUE(editor->webview()->waitForLoad(kPatience));
    ASSERT_TRUE(backend->waitUntilDrawn(*window.window(), kPatience.count()));
    list->noteTableView()->userSelectRow(0);
    deliverQueuedNotices();
    ASSERT_TRUE(editor->note());
    const int32_t edited = editor->note()->n_id();
    editor->webview()->evaluateJavaScript(
        "(function () { var p = document.querySelector('#zelvo_content p'); var r = "
        "document.createRange(); r.selectNodeContents(p); r.collapse(false); var s = "
        "getSelection(); s.removeAllRanges(); s.addRange(r); "
        "document.execCommand('insertText', false, ' TYPED'); return 1; })();",
        kPatience);

    DialogAnswerer answerer(*backend);
    app.mainMenu()->itemAtIndex(1)->submenu()->itemWithTitle("Save")->handler()();  // Ctrl+S
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
    EXPECT_EQ(editor->webview()->evaluateJavaScript("zelvo_editor.getText();", kPatience).value,
              "\u182E\u1823\u1829\u182D\u1823\u182F TYPED");
    EXPECT_EQ(storedText(edited), "<p>\u182E\u1823\u1829\u182D\u1823\u182F</p>");

    fs::permissions(folder, fs::perms::owner_all);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    app.mainMenu()->itemAtIndex(1)->submenu()->itemWithTitle("Save")->handler()();
    EXPECT_EQ(answerer.seen.size(), 2u);
    EXPECT_EQ(storedText(edited), "<p>\u182E\u1823\u1829\u182D\u1823\u182F TYPED</p>");
    EXPECT_TRUE(delegate.applicationShouldTerminate());
    app.setMainMenu(nullptr);
}

}  // namespace
