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
#include "platform/ui/gtk/GtkViewHost.h"
#include "platform/ui/gtk/GtkViewPeer.h"
#include "platform/ui/gtk/GtkWindowBackend.h"
#include "platform/web/WebContentView.h"
#include "tests/notes/UI/ZelvoDesktopFixture.h"
#include "tests/support/Patience.h"
#include "tests/support/TestOutput.h"

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

// Every editor toolbar button is a mapped GTK button wholly inside the window, at the default
// size and at the smallest, with the word count open.
TEST_F(ZelvoDesktopTest, EveryToolbarButtonIsOnScreenAtDefaultAndSmallestSize) {
    auto* host = launch();
    ASSERT_NE(host, nullptr);
    zelvo::MainWindowController& controller = *delegate.window();
    platform::Window& window = *controller.window();
    auto* editor = dynamic_cast<zelvo::EditorViewController*>(controller.editorViewController());
    ASSERT_NE(editor, nullptr);
    controller.menuExpandInfo();
    // Where GTK has put a button in the window; (-1, -1) until it is placed there.
    auto placeOf = [&](const std::shared_ptr<platform::View>& item) {
        int x = -1, y = -1;
        GtkWidget* button = widgetOf(item.get());
        if (!button || !gtk_widget_get_mapped(button) ||
            !gtk_widget_translate_coordinates(button, host->gtkWindow(), 0, 0, &x, &y))
            return std::pair(-1, -1);
        return std::pair(x, y);
    };
    for (const char* shotName : {"zelvo-window-default.png", "zelvo-window-minimum.png"}) {
        SCOPED_TRACE(shotName);
        settle(window);
        // A resize reaches the widgets at GTK's next layout pass.
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < deadline &&
               std::any_of(editor->toolBar()->items().begin(), editor->toolBar()->items().end(),
                           [&](const auto& item) { return placeOf(item).first < 0; })) {
            backend->processPendingEvents();
            g_usleep(2000);
        }
        GtkAllocation content;
        gtk_widget_get_allocation(host->gtkWindow(), &content);
        const auto& items = editor->toolBar()->items();
        ASSERT_EQ(items.size(), 24u);
        for (const auto& item : items) {
            GtkWidget* button = widgetOf(item.get());
            ASSERT_NE(button, nullptr);
            auto [x, y] = placeOf(item);
            EXPECT_GE(x, 0);
            EXPECT_LE(x + gtk_widget_get_allocated_width(button), content.width);
            EXPECT_LE(y + gtk_widget_get_allocated_height(button), content.height);
        }
        platform::Rect shot = window.frame();
        shot.size.height += host->chromeHeight();
        std::optional<platform::Image> image = backend->snapshot(shot);
        ASSERT_TRUE(image.has_value());
        EXPECT_TRUE(image->writePNG(testOutputPath(shotName).string()));
        // Then the smallest size the window allows.
        platform::Rect smallest = window.frame();
        smallest.size = window.minSize();
        window.setFrame(smallest, true);
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
        EXPECT_TRUE(page->waitForLoad(kPatience));
        return *page;
    }
    std::string shown(platform::WebView& page, const std::string& expression) {
        platform::JavaScriptResult result = page.evaluateJavaScript(expression, kPatience);
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
        page.evaluateJavaScript("document.getElementById('exit').click()");
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
    ASSERT_TRUE(
        page.printToPDF(pdf, zelvo::PreviewHTMLWindow::printSetup(), std::chrono::seconds(30)));
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
