#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "../shell/ShellTestSupport.h"
#include "notes/UI/AppDelegate.h"
#include "notes/UI/EditorViewController.h"
#include "notes/UI/MainWindowController.h"
#include "notes/UI/NoteNotifications.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/gtk/GtkViewHost.h"
#include "platform/ui/gtk/GtkViewPeer.h"
#include "platform/ui/gtk/GtkWindowBackend.h"
#include "tests/notes/UI/ZelvoDesktopFixture.h"
#include "tests/support/Patience.h"

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

}  // namespace
