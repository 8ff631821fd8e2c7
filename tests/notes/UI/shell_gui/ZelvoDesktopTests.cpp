#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <array>
#include <cstdio>
#include <fstream>

#include "../shell/ShellTestSupport.h"
#include "notes/UI/AlertWindowController.h"
#include "notes/UI/AppDelegate.h"
#include "notes/UI/EditorViewController.h"
#include "notes/UI/Extend/BackgroundView.h"
#include "notes/UI/InfoViewController.h"
#include "notes/UI/MButton.h"
#include "notes/UI/MTextField.h"
#include "notes/UI/MainWindowController.h"
#include "notes/UI/PreviewHTMLWindow.h"
#include "notes/UI/ToolbarView.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/gtk/DesktopApplication.h"
#include "platform/ui/gtk/GtkViewHost.h"
#include "platform/ui/gtk/GtkViewPeer.h"
#include "platform/ui/gtk/GtkWindowBackend.h"
#include "platform/web/WebContentView.h"
#include "tests/notes/UI/ZelvoDesktopFixture.h"
#include "tests/support/MainLoopWait.h"
#include "tests/support/Patience.h"
#include "tests/support/PrivateWindowManager.h"
#include "tests/support/TestOutput.h"
#include "tests/support/WebViewWaits.h"

using platform::gtk::GtkViewPeer;
using platform::gtk::GtkWindowBackend;

namespace {

class ZelvoDesktopTest : public ZelvoDesktopFixture {
  protected:
    void SetUp() override {
        ZelvoDesktopFixture::SetUp();
        app.setMainMenu(delegate.makeMainMenu());
    }
    void TearDown() override {
        app.setMainMenu(nullptr);
        platform::Application::setMenuBarVisible(true);
        ZelvoDesktopFixture::TearDown();
    }
    static GtkWidget* widgetOf(platform::View* view) {
        auto* peer = view ? dynamic_cast<GtkViewPeer*>(view->peer()) : nullptr;
        return peer ? peer->widget() : nullptr;
    }
    // Lets GTK place and draw what changed.
    void settle(platform::Window& window) {
        if (auto* host = dynamic_cast<platform::gtk::GtkViewHost*>(window.host()))
            host->layoutNativeViews();
        backend->waitUntilDrawn(window, kPatience.count());
        backend->processPendingEvents();
    }
    // Launches Zelvo and waits for its main window on screen; its host, null when none.
    platform::gtk::GtkViewHost* launch() {
        app.finishLaunching();
        platform::Window& window = *delegate.window()->window();
        if (!backend->waitUntilDrawn(window, kPatience.count())) return nullptr;
        return dynamic_cast<platform::gtk::GtkViewHost*>(window.host());
    }
};

TEST_F(ZelvoDesktopTest, StartsWithTheMainWindowAndItsFiveContainers) {
    auto* host = launch();
    ASSERT_NE(host, nullptr);
    zelvo::MainWindowController& controller = *delegate.window();
    platform::Window& window = *controller.window();
    EXPECT_TRUE(host->isMapped());
    EXPECT_GT(host->chromeHeight(), 0) << "the menu bar is shown";
    for (platform::View* container :
         {static_cast<platform::View*>(controller.fileView()), controller.left(),
          controller.editorContainer(), controller.unicodeView(), controller.infoView()})
        EXPECT_EQ(container->subviews().size(), 1u);
    // The toolbar's controls are GTK widgets on the window.
    GtkWidget* segment = widgetOf(controller.segment());
    ASSERT_NE(segment, nullptr);
    EXPECT_TRUE(gtk_widget_get_visible(segment));
    // Placed where its view is, y turned over: the view's top edge is 6 points under the
    // window's top.
    backend->processPendingEvents();
    int x = -1, y = -1;
    ASSERT_TRUE(gtk_widget_translate_coordinates(segment, host->gtkWindow(), 0, 0, &x, &y));
    y -= int(host->chromeHeight());  // the menu bar sits above the content
    platform::Rect inWindow =
        controller.segment()->convertRectToView(controller.segment()->bounds(), nullptr);
    EXPECT_EQ(x, int(inWindow.minX()));
    EXPECT_EQ(y, int(window.frame().height() - inWindow.maxY()));
    EXPECT_EQ(y, 6);

    // Open the Unicode panel from the segmented control's own GTK button, as a click would.
    GList* buttons = gtk_container_get_children(GTK_CONTAINER(segment));
    ASSERT_EQ(g_list_length(buttons), 3u);
    gtk_button_clicked(GTK_BUTTON(g_list_nth_data(buttons, 1)));
    g_list_free(buttons);
    EXPECT_TRUE(controller.unicodeExpanded());
    controller.setUnicodeString(u"\u182E\u1823");
    // And the word count, whose label runs down its strip.
    controller.menuExpandInfo();
    controller.setWordCountOfInfos("12 words");
    settle(window);
    GtkWidget* countLabel =
        widgetOf(dynamic_cast<zelvo::InfoViewController*>(controller.infoViewController())
                     ->wordCountLabel());
    ASSERT_NE(countLabel, nullptr);
    EXPECT_TRUE(gtk_widget_get_mapped(countLabel));
    EXPECT_EQ(gtk_label_get_angle(GTK_LABEL(countLabel)), 270.0);  // a quarter turn clockwise
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(countLabel)), "12 words");
    GtkWidget* unicodeText = widgetOf(dynamic_cast<platform::View*>(
        controller.unicodeView()->subviews()[0]->subviews()[0].get()));
    ASSERT_NE(unicodeText, nullptr);
    EXPECT_TRUE(gtk_widget_get_mapped(unicodeText));

    platform::Rect shot = window.frame();
    shot.size.height += host->chromeHeight();
    std::optional<platform::Image> image = backend->snapshot(shot);
    ASSERT_TRUE(image.has_value());
    EXPECT_TRUE(image->writePNG(testOutputPath("zelvo-window.png").string()));

    // Closing leaves the application running; activating it again brings the window back.
    window.performClose();
    backend->processPendingEvents();
    EXPECT_FALSE(host->isMapped());
    app.reopen();
    ASSERT_TRUE(backend->waitUntilDrawn(window, kPatience.count()));
    EXPECT_TRUE(host->isMapped());
    EXPECT_TRUE(controller.unicodeExpanded());
}

// Zelvo on a desktop whose window manager frames, places and moves its windows.
class ZelvoManagedDesktopTest : public ZelvoDesktopTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(manager.ready()) << "no window manager (openbox) on the test's display";
        ZelvoDesktopTest::SetUp();
        // As in the program: the menu bars follow Application::setMenuBarVisible.
        (*installed)->application = platform::gtk::makeDesktopApplication("org.zelvo.ZelvoTest");
    }
    // The desktop window with the manager's frame around it, on the root window.
    static GdkRectangle managedFrame(const platform::gtk::GtkViewHost& host) {
        GdkRectangle frame{};
        gdk_window_get_frame_extents(gtk_widget_get_window(host.gtkWindow()), &frame);
        return frame;
    }
    static bool sameRect(const GdkRectangle& a, const GdkRectangle& b) {
        return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
    }
    // Turns the loop until the condition holds, or the time is up; whether it holds.
    bool waitFor(const std::function<bool()>& condition) {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (!condition()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            backend->processPendingEvents();
            g_usleep(2000);
        }
        return true;
    }
    // Waits until the manager has framed the window and given it the content size: the desktop
    // window is as large as that and the menu bar.
    bool waitUntilManaged(platform::gtk::GtkViewHost& host, platform::Window& window,
                          platform::Size size) {
        return waitFor([&] {
            GdkWindow* desktop = gtk_widget_get_window(host.gtkWindow());
            GdkRectangle frame = managedFrame(host);
            return host.isMapped() && frame.height > gdk_window_get_height(desktop) &&
                   window.frame().size == size &&
                   gdk_window_get_height(desktop) ==
                       int(std::lround(size.height + host.chromeHeight())) &&
                   gdk_window_get_width(desktop) == int(std::lround(size.width));
        });
    }
    // Runs the body on the window of the modal run once that run is on. What comes before the run
    // may turn the loop already (waiting for the page), so the loop looks now and then.
    using ModalBody = std::function<void(platform::Window&)>;
    static void duringModalRun(ModalBody body) {
        g_timeout_add(
            10,
            +[](gpointer data) -> gboolean {
                auto* body = static_cast<ModalBody*>(data);
                platform::Window* modal = platform::Application::sharedApplication().modalWindow();
                if (!modal) return G_SOURCE_CONTINUE;
                (*body)(*modal);
                delete body;
                return G_SOURCE_REMOVE;
            },
            new ModalBody(std::move(body)));
    }
    // Whether the widget of the view is shown wholly inside the desktop window.
    static bool shownInside(GtkWidget* widget, const platform::gtk::GtkViewHost& host) {
        int x = -1, y = -1;
        if (!widget || !gtk_widget_get_mapped(widget) ||
            !gtk_widget_translate_coordinates(widget, host.gtkWindow(), 0, 0, &x, &y))
            return false;
        return x >= 0 && y >= 0 &&
               x + gtk_widget_get_allocated_width(widget) <=
                   gtk_widget_get_allocated_width(host.gtkWindow()) &&
               y + gtk_widget_get_allocated_height(widget) <=
                   gtk_widget_get_allocated_height(host.gtkWindow());
    }

    PrivateWindowManager manager;
};

// Preview hides the menu bar of every window and brings it back: the main window, resized for it
// each time, keeps its place on the desktop.
TEST_F(ZelvoManagedDesktopTest, OpeningAndClosingThePreviewLeavesTheMainWindowWhereItIs) {
    auto* host = launch();
    ASSERT_NE(host, nullptr);
    zelvo::MainWindowController& controller = *delegate.window();
    platform::Window& window = *controller.window();
    const platform::Rect before = window.frame();
    ASSERT_TRUE(waitUntilManaged(*host, window, before.size));
    const GdkRectangle framedBefore = managedFrame(*host);
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round);
        bool ran = false, opened = false;
        duringModalRun([&](platform::Window& preview) {
            settle(preview);
            ran = true;
            opened = preview.isFullScreen() && host->chromeHeight() == 0;
            preview.performClose();
        });
        controller.preview();  // shown once the editor page gave its HTML
        ASSERT_TRUE(turnTheLoopUntil([&] { return ran; }));
        EXPECT_TRUE(opened);
        ASSERT_GT(host->chromeHeight(), 0) << "the menu bar is back";
        ASSERT_TRUE(waitUntilManaged(*host, window, before.size))
            << window.frame().width() << "x" << window.frame().height() << " in "
            << gdk_window_get_width(gtk_widget_get_window(host->gtkWindow())) << "x"
            << gdk_window_get_height(gtk_widget_get_window(host->gtkWindow()));
        EXPECT_EQ(window.frame(), before);
        GdkRectangle framed = managedFrame(*host);
        EXPECT_TRUE(sameRect(framed, framedBefore))
            << framed.x << "," << framed.y << " " << framed.width << "x" << framed.height << " was "
            << framedBefore.x << "," << framedBefore.y << " " << framedBefore.width << "x"
            << framedBefore.height;
    }
}

// The HTML source window opens over the main window with its frame wholly on that window's
// screen, and without a menu bar of its own.
TEST_F(ZelvoManagedDesktopTest, TheSourceWindowOpensOnTheMainWindowsScreenWithoutAMenuBar) {
    auto* host = launch();
    ASSERT_NE(host, nullptr);
    zelvo::MainWindowController& controller = *delegate.window();
    auto* editor = dynamic_cast<zelvo::EditorViewController*>(controller.editorViewController());
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(waitFor([&] { return editor->editorLoaded(); }));
    ASSERT_TRUE(waitUntilManaged(*host, *controller.window(), controller.window()->frame().size));
    GdkRectangle screen{};
    gdk_monitor_get_workarea(
        gdk_display_get_monitor_at_window(gdk_display_get_default(),
                                          gtk_widget_get_window(host->gtkWindow())),
        &screen);
    std::optional<GdkRectangle> framed;
    double sourceMenuBar = -1;
    bool ran = false;
    duringModalRun([&](platform::Window& source) {
        ran = true;
        settle(source);
        if (auto* sourceHost = dynamic_cast<platform::gtk::GtkViewHost*>(source.host())) {
            if (waitUntilManaged(*sourceHost, source, source.frame().size))
                framed = managedFrame(*sourceHost);
            sourceMenuBar = sourceHost->chromeHeight();
        }
        source.performClose();
    });
    editor->showHTMLSource();  // shown once the page gave its HTML
    ASSERT_TRUE(turnTheLoopUntil([&] { return ran; }));
    ASSERT_TRUE(framed.has_value()) << "the source window was not framed";
    EXPECT_EQ(sourceMenuBar, 0);
    EXPECT_GT(host->chromeHeight(), 0) << "the main window keeps its menu bar";
    EXPECT_GE(framed->x, screen.x);
    EXPECT_GE(framed->y, screen.y);
    EXPECT_LE(framed->x + framed->width, screen.x + screen.width);
    EXPECT_LE(framed->y + framed->height, screen.y + screen.height);
}

// The window cannot be made smaller than its minimum, and there, with the Unicode and word-count
// panels open, the group and note lists, the editor's page and every one of its toolbar buttons,
// and the + and − buttons and the panel switch are all on screen.
TEST_F(ZelvoManagedDesktopTest, AtItsSmallestTheWindowShowsEveryPanelAndButton) {
    auto* host = launch();
    ASSERT_NE(host, nullptr);
    zelvo::MainWindowController& controller = *delegate.window();
    platform::Window& window = *controller.window();
    auto* editor = dynamic_cast<zelvo::EditorViewController*>(controller.editorViewController());
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(waitFor([&] { return editor->editorLoaded(); }));
    ASSERT_TRUE(waitUntilManaged(*host, window, window.frame().size));
    controller.menuExpandInfo();
    controller.menuExpandLog();
    ASSERT_TRUE(controller.unicodeExpanded() && controller.infoExpanded());
    controller.setUnicodeString(u"\u182E\u1823");
    controller.setWordCountOfInfos("12");
    for (const char* shotName : {"zelvo-window-default.png", "zelvo-window-minimum.png"}) {
        SCOPED_TRACE(shotName);
        if (shotName == std::string("zelvo-window-minimum.png")) {
            // Resized on the desktop to far below its minimum, as a drag of its corner does, the
            // window stops at the minimum.
            ASSERT_EQ(std::system("xdotool search --name '^Zelvo$' windowsize %@ 200 200"), 0);
            EXPECT_TRUE(waitUntilManaged(*host, window, window.minSize()))
                << window.frame().width() << "x" << window.frame().height();
        }
        settle(window);
        // A resize reaches the widgets at GTK's next layout pass.
        const auto& items = editor->toolbar().view()->items();
        ASSERT_EQ(items.size(), 24u);
        EXPECT_TRUE(waitFor([&] {
            return std::all_of(items.begin(), items.end(), [&](const auto& item) {
                return shownInside(widgetOf(item.get()), *host);
            });
        })) << "every editor toolbar button";
        const std::vector<platform::View*> controls = {
            controller.addNoteItem(), controller.removeNoteItem(), controller.segment(),
            editor->webContentView(), controller.unicodeView()->subviews()[0]->subviews()[0].get()};
        for (size_t i = 0; i < controls.size(); ++i)
            EXPECT_TRUE(shownInside(widgetOf(controls[i]), *host)) << "control " << i;
        // The lists are drawn by Zelvo itself: each keeps its width, wholly inside the window.
        const platform::Rect content = window.contentView()->bounds();
        for (platform::View* list :
             {static_cast<platform::View*>(controller.fileView()), controller.left()}) {
            platform::Rect inWindow = list->convertRectToView(list->bounds(), nullptr);
            EXPECT_TRUE(content.contains(inWindow));
            EXPECT_GE(inWindow.width(), list == controller.left() ? 200 : 80);
        }
        // The page keeps room to write in under its toolbar and over the Unicode panel.
        platform::Rect page = editor->webContentView()->frame();
        EXPECT_GE(page.width(), 300);
        EXPECT_GE(page.height(), 200);

        settle(window);
        platform::Rect shot = window.frame();
        shot.size.height += host->chromeHeight();
        std::optional<platform::Image> image = backend->snapshot(shot);
        ASSERT_TRUE(image.has_value());
        EXPECT_TRUE(image->writePNG(testOutputPath(shotName).string()));
    }
}

TEST_F(ZelvoDesktopTest, LinkDialogTakesTypingFromItsGtkFieldsAndReportsOnOk) {
    struct Delegate : zelvo::AlertWindowControllerDelegate {
        void didClickOKButton(const std::string& title, const std::string& content) override {
            got = {title, content};
        }
        std::pair<std::string, std::string> got;
    } receiver;
    auto dialog = std::make_shared<zelvo::AlertWindowController>();
    dialog->setDelegate(&receiver);
    dialog->setTitleString("ᠮᠣᠩᠭᠣᠯ");
    platform::Window* window = dialog->window();
    platform::RunLoop::mainRunLoop().performBlock([&] {
        settle(*window);
        GtkWidget* content = widgetOf(dialog->contentTextFiled());
        GtkWidget* ok = widgetOf(dialog->okBtn());
        ASSERT_NE(content, nullptr);
        ASSERT_NE(ok, nullptr);
        EXPECT_FALSE(gtk_widget_get_sensitive(ok));
        // While it runs, the dialog holds the input of the program's windows.
        auto* dialogHost = dynamic_cast<platform::gtk::GtkViewHost*>(window->host());
        ASSERT_NE(dialogHost, nullptr);
        EXPECT_TRUE(gtk_window_get_modal(GTK_WINDOW(dialogHost->gtkWindow())));
        gtk_entry_set_text(GTK_ENTRY(content), "https://example.org");
        EXPECT_TRUE(gtk_widget_get_sensitive(ok));
        gtk_button_clicked(GTK_BUTTON(ok));
    });
    app.runModalForWindow(*window);
    EXPECT_EQ(receiver.got.first, "ᠮᠣᠩᠭᠣᠯ");
    EXPECT_EQ(receiver.got.second, "https://example.org");
    backend->processPendingEvents();
    auto* host = dynamic_cast<platform::gtk::GtkViewHost*>(window->host());
    ASSERT_NE(host, nullptr);
    EXPECT_FALSE(host->isMapped());
    EXPECT_FALSE(gtk_window_get_modal(GTK_WINDOW(host->gtkWindow())));
}

class PreviewPageTest : public ZelvoDesktopTest {
  protected:
    // A preview whose page has loaded and shown the HTML.
    platform::WebView& open(const std::optional<std::string>& html) {
        preview = std::make_shared<zelvo::PreviewHTMLWindow>();
        preview->setHtmlString(html);
        preview->window();
        platform::WebView* page = preview->previewWebview()->webView();
        EXPECT_NE(page, nullptr);
        EXPECT_TRUE(waitForLoad(*page, kPatience));
        return *page;
    }
    std::string shown(platform::WebView& page, const std::string& expression) {
        platform::JavaScriptResult result = evaluateNow(page, expression, kPatience);
        EXPECT_TRUE(result.succeeded()) << result.error;
        return result.value.value_or("<none>");
    }
    std::shared_ptr<zelvo::PreviewHTMLWindow> preview;
};

TEST_F(PreviewPageTest, TheHtmlArrivesExactlyThroughASynchronousRoundTrip) {
    platform::WebView& page = open("<p id=\"p\">\"ᠮᠣᠩᠭᠣᠯ\"\r\nC:\\notes \u201Cquoted\u201D</p>");
    EXPECT_EQ(shown(page, "1 + 1"), "2");
    // The HTML parser makes CR LF one line feed; everything else arrives as it stood, curly
    // quotes as straight ones.
    EXPECT_EQ(shown(page, "document.getElementById('p').textContent"),
              "\"ᠮᠣᠩᠭᠣᠯ\"\nC:\\notes \"quoted\"");

    auto fallback = std::make_shared<zelvo::PreviewHTMLWindow>();
    preview.swap(fallback);
    platform::WebView& plain = open(std::nullopt);
    EXPECT_EQ(shown(plain, "document.querySelector('#content h3').textContent"),
              " ᠨᠢᠭᠡ ᠲᠡᠮᠳᠡᠭᠯᠡᠯ\u202Fᠢᠶᠡᠨ ᠰᠤᠩᠭ\u180Bᠤᠭᠠᠷᠠᠢ");
}

TEST_F(PreviewPageTest, ShowsTheNoteFullScreenUntilItsCloseControl) {
    platform::WebView& page = open("<h3>ᠮᠣᠩᠭᠣᠯ ᠪᠢᠴᠢᠭ</h3><p>ᠨᠢᠭᠡ ᠬᠣᠶᠠᠷ ᠭᠤᠷᠪᠠ</p>");
    platform::Window& window = *preview->window();
    bool coversScreen = false;
    platform::RunLoop::mainRunLoop().performBlock([&] {
        settle(window);
        // Give the page a moment to draw into its place in the window.
        platform::RunLoop::mainRunLoop().runUntilDate(
            platform::Date::now().dateByAddingTimeInterval(0.6));
        // Full screen: the window covers the main screen.
        std::optional<platform::Screen> screen = platform::Screen::mainScreen();
        ASSERT_TRUE(screen.has_value());
        coversScreen = window.isFullScreen() && window.frame() == screen->frame();
        if (std::optional<platform::Image> image = backend->snapshot(screen->frame()))
            image->writePNG(testOutputPath("zelvo-preview.png").string());
        // The page's own close control.
        // Not waited for: the click ends the modal run, which a wait here would stand in for.
        page.evaluateJavaScript("document.getElementById('exit').click()", nullptr);
    });
    app.runModalForWindow(window);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(platform::Application::menuBarVisible());
    EXPECT_TRUE(coversScreen);
}

TEST_F(PreviewPageTest, NoteHtmlIsShownButNeverRun) {
    platform::WebView& page = open(
        "<img src=\"missing.png\" onerror=\"window.ran = 1\"><a id=\"a\" "
        "href=\"javascript:window.ran = 2\">x</a><script>window.ran = 3</script>");
    backend->processPendingEvents();
    EXPECT_EQ(shown(page, "String(window.ran)"), "undefined");
    EXPECT_EQ(shown(page, "String(document.getElementById('a').hasAttribute('href'))"), "false");
    EXPECT_EQ(shown(page, "String(document.querySelectorAll('#content script').length)"), "0");
}

TEST_F(PreviewPageTest, PrintsThePageToAPdfWithItsText) {
    platform::WebView& page = open("<p>Zelvo preview 42</p><p>ᠮᠣᠩᠭᠣᠯ</p>");
    std::string pdf = testOutputPath("zelvo-preview.pdf").string();
    std::remove(pdf.c_str());
    ASSERT_TRUE(printToPDFNow(page, pdf, zelvo::PreviewHTMLWindow::printSetup()));
    std::string command = "pdftotext '" + pdf + "' -";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string text;
    std::array<char, 4096> buffer;
    while (size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) text.append(buffer.data(), n);
    pclose(pipe);
    EXPECT_NE(text.find("42"), std::string::npos) << text;
    EXPECT_NE(text.find("Zelvo"), std::string::npos) << text;
}

}  // namespace
