#include "notes/UI/PreviewHTMLWindow.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileURL.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/web/JavaScriptString.h"
#include "platform/web/WebContentView.h"

namespace zelvo {

using platform::Rect;

namespace {

// The page and the program talk through these message names.
constexpr const char* PrintMessage = "print";
constexpr const char* ExitMessage = "exitFullScreen";

}  // namespace

const std::string PreviewHTMLWindow::DefaultHTML =
    "<h3> ᠨᠢᠭᠡ ᠲᠡᠮᠳᠡᠭᠯᠡᠯ\u202Fᠢᠶᠡᠨ ᠰᠤᠩᠭ\u180Bᠤᠭᠠᠷᠠᠢ</h3>";

PreviewHTMLWindow::PreviewHTMLWindow() : WindowController("PreviewHTMLWindow") {}

PreviewHTMLWindow::~PreviewHTMLWindow() {
    if (m_previewWebview && m_previewWebview->webView()) {
        platform::WebView& page = *m_previewWebview->webView();
        page.setLoadFinishedHandler(nullptr);
        page.setNavigationHandler(nullptr);
        page.addScriptMessageHandler(PrintMessage, nullptr);
        page.addScriptMessageHandler(ExitMessage, nullptr);
    }
}

std::unique_ptr<platform::WebView> PreviewHTMLWindow::makeWebView(platform::Size size) {
    return platform::WebView::create(size);
}

// The interface file "PreviewHTMLWindow": a window filled by the page.
void PreviewHTMLWindow::loadWindow() {
    auto window = std::make_shared<platform::Window>(Rect(0, 0, 800, 600));
    m_previewWebview =
        std::make_shared<platform::WebContentView>(Rect(0, 0, 800, 600), makeWebView({800, 600}));
    m_previewWebview->setAutoresizingMask(platform::View::ViewWidthSizable |
                                          platform::View::ViewHeightSizable);
    window->contentView()->addSubview(m_previewWebview);
    if (platform::WebView* page = m_previewWebview->webView()) {
        page->setLoadFinishedHandler([this] { webViewDidFinishLoad(); });
        page->addScriptMessageHandler(PrintMessage,
                                      [this](const std::string&) { printFrameView(); });
        page->addScriptMessageHandler(ExitMessage,
                                      [this](const std::string&) { exitFullScreen(); });
        // Note HTML may hold links and forms: the preview never leaves its own page.
        page->setNavigationHandler([this](const platform::NavigationAction& action) {
            if (!action.opensNewWindow && m_pageURL && action.url == *m_pageURL)
                return platform::NavigationPolicy::Allow;
            platform::logf("Preview: navigation to %s refused", action.url.c_str());
            return platform::NavigationPolicy::Ignore;
        });
    }
    setWindow(window);
}

void PreviewHTMLWindow::windowDidLoad() {
    WindowController::windowDidLoad();
    platform::Window& w = *window();
    w.setStyleMask(platform::WindowStyleMask::Titled | platform::WindowStyleMask::Closable |
                   platform::WindowStyleMask::TexturedBackground |
                   platform::WindowStyleMask::FullScreen);
    platform::Application::setMenuBarVisible(false);
    std::optional<platform::Screen> screen = platform::Screen::mainScreen();
    Rect frame = screen ? screen->frame() : Rect();
    w.setFrame(frame, true);
    frame.origin = {0, 40};
    w.setFrame(frame, true);
    w.setHasShadow(false);
    w.setTitle("");
    // The page runs its own script; the engine opens no windows for scripts and runs no plug-ins
    // (WebKitGTK has none), and navigation stays on the page (see loadWindow).

    if (m_resourcesLoaded) return;
    m_baseURL = platform::fileURL(platform::Bundle::mainBundle().bundlePath()).value_or("");
    platform::logf("baseURL-----> %s", m_baseURL->c_str());
    std::optional<std::filesystem::path> page =
        platform::Bundle::mainBundle().pathForResource("preview", "html");
    if (!page) {
        platform::log("Preview: the page preview.html is missing from the resources");
    } else if (platform::WebView* web = m_previewWebview->webView()) {
        m_pageURL = platform::fileURL(*page).value_or("");
        web->loadFileURL(page->string());
    }
    m_resourcesLoaded = true;
}

void PreviewHTMLWindow::webViewDidFinishLoad() {
    platform::log("-[PreviewHTMLWindow webView:didFinishLoadForFrame:]");
    if (!m_htmlString) m_htmlString = DefaultHTML;
    updateHTML();
}

void PreviewHTMLWindow::updateHTML() {
    platform::WebView* page = m_previewWebview ? m_previewWebview->webView() : nullptr;
    if (!page) return;
    page->evaluateJavaScript(
        "zelvo_editor.setHTML(\"" + removeQuotesFromHTML(m_htmlString.value_or("")) + "\");",
        platform::WebView::JavaScriptCompletion());
}

std::string PreviewHTMLWindow::removeQuotesFromHTML(const std::string& html) {
    std::string curlyFree;
    curlyFree.reserve(html.size());
    for (std::size_t i = 0; i < html.size();) {
        // U+201C and U+201D are E2 80 9C and E2 80 9D in UTF-8.
        if (html.compare(i, 2, "\xE2\x80") == 0 && i + 2 < html.size() &&
            (html[i + 2] == '\x9C' || html[i + 2] == '\x9D')) {
            curlyFree += "&quot;";
            i += 3;
        } else {
            curlyFree += html[i++];
        }
    }
    return platform::escapeJavaScriptString(curlyFree);
}

platform::PrintSetup PreviewHTMLWindow::printSetup() {
    platform::PrintSetup setup;
    setup.orientation = platform::PrintSetup::Orientation::Landscape;
    setup.paperSize = {120.0, 240.0};
    setup.scalingFactor = 1.0;
    const double left = -5.0, top = 0.0, right = 0.0, bottom = -30.0;
    if (left < 0 || top < 0 || right < 0 || bottom < 0)
        platform::log("Preview: page margins below zero cannot be printed; using zero instead");
    setup.leftMargin = std::max(0.0, left);
    setup.topMargin = std::max(0.0, top);
    setup.rightMargin = std::max(0.0, right);
    setup.bottomMargin = std::max(0.0, bottom);
    return setup;
}

void PreviewHTMLWindow::printFrameView() {
    platform::log("-[PreviewHTMLWindow webView:printFrameView:]");
    platform::WebView* page = m_previewWebview ? m_previewWebview->webView() : nullptr;
    // An HTML page never prints itself the way a PDF document view does: the print operation
    // with the preview's page setup and the print panel.
    if (page) page->print(printSetup());
}

void PreviewHTMLWindow::exitFullScreen() {
    platform::Application::setMenuBarVisible(true);
    platform::Application::sharedApplication().stopModal();
    platform::logf("%s self:%p", "-[PreviewHTMLWindow exitFullScreen:]", static_cast<void*>(this));
    close();
}

bool PreviewHTMLWindow::windowShouldClose(platform::Window&) {
    platform::Application::sharedApplication().stopModal();
    return true;
}

void PreviewHTMLWindow::windowWillClose(platform::Window&) {
    // However the preview ends, the other windows get their menu bar back.
    platform::Application::setMenuBarVisible(true);
}

}  // namespace zelvo
