#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/WindowController.h"
#include "platform/web/WebView.h"

namespace platform {
class WebContentView;
}

namespace zelvo {

// The full-screen preview of a note's HTML: a window filled by the page "preview.html", which
// shows the HTML it is given and offers printing and a way out. The caller sets htmlString, asks
// for the window and runs it modally; closing the window ends the run.
class PreviewHTMLWindow : public platform::WindowController {
  public:
    PreviewHTMLWindow();
    ~PreviewHTMLWindow() override;

    // The heading shown when no HTML was given.
    static const std::string DefaultHTML;

    const std::optional<std::string>& htmlString() const { return m_htmlString; }
    void setHtmlString(std::optional<std::string> html) { m_htmlString = std::move(html); }
    bool resourcesLoaded() const { return m_resourcesLoaded; }
    // The file URL of the program's folder, once the page was requested.
    const std::optional<std::string>& baseURL() const { return m_baseURL; }
    platform::WebContentView* previewWebview() const { return m_previewWebview.get(); }

    // The page finished loading: the HTML (or the default heading) goes in.
    void webViewDidFinishLoad();
    void updateHTML();
    // The HTML as the body of the string literal the page's setHTML receives: curly double quotes
    // become "&quot;", and quotes, backslashes and line breaks are escaped so the text arrives as
    // it stands.
    static std::string removeQuotesFromHTML(const std::string& html);
    // The page asked to print.
    void printFrameView();
    // How the preview lays its pages out: a 120 × 240 point landscape page, scale 1, no margins.
    static platform::PrintSetup printSetup();
    void exitFullScreen();

    bool windowShouldClose(platform::Window& window) override;
    void windowWillClose(platform::Window& window) override;

  protected:
    void loadWindow() override;
    void windowDidLoad() override;
    // The page's engine; tests put a fake in its place.
    virtual std::unique_ptr<platform::WebView> makeWebView(platform::Size size);

  private:
    std::shared_ptr<platform::WebContentView> m_previewWebview;
    std::optional<std::string> m_htmlString;
    bool m_resourcesLoaded = false;
    std::optional<std::string> m_baseURL;
    std::optional<std::string> m_pageURL;
};

}  // namespace zelvo
