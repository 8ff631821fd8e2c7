#pragma once

#include "platform/ui/View.h"
#include "platform/web/WebView.h"

namespace platform {

// The place of a web view in a view tree: the window host shows the web view's own widget over
// this view's frame (see embeddableWidget in the WebKit backend). The web view is borrowed and
// must outlive this view's time in a window.
class WebContentView : public View {
  public:
    WebContentView(const Rect& frame, WebView& webView) : View(frame), m_webView(webView) {}

    WebView& webView() const { return m_webView; }
    std::string nativeKind() const override { return "web"; }
    void setFrame(const Rect& frame) override {
        View::setFrame(frame);
        m_webView.setFrameSize(frame.size);
    }

  private:
    WebView& m_webView;
};

}  // namespace platform
