#pragma once

#include <memory>

#include "platform/ui/View.h"
#include "platform/web/WebView.h"

namespace platform {

// The place of a web page in a window's view tree (the view side of WebView): it owns the page
// and gives it its size; on screen the window shows the page's widget where this view is.
class WebContentView : public View {
  public:
    // Makes a page of the installed engine (none without one or without a display).
    explicit WebContentView(const Rect& frame);
    // Takes the given page (tests give a fake); null for a page given later.
    WebContentView(const Rect& frame, std::unique_ptr<WebView> page);
    ~WebContentView() override;

    // Null when no page could be made, or none was given yet.
    WebView* webView() const { return m_page.get(); }
    // Puts a page in a view made without one (a page made once the window is on screen).
    void setWebView(std::unique_ptr<WebView> page);

    void setFrame(const Rect& frame) override;
    std::string nativeKind() const override { return m_page ? "webView" : ""; }

  private:
    std::unique_ptr<WebView> m_page;
};

}  // namespace platform
