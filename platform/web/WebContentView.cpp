#include "platform/web/WebContentView.h"

#include "platform/ui/Window.h"

namespace platform {

WebContentView::WebContentView(const Rect& frame)
    : WebContentView(frame, WebView::create(frame.size)) {}

WebContentView::WebContentView(const Rect& frame, std::unique_ptr<WebView> page)
    : View(frame), m_page(std::move(page)) {}

WebContentView::~WebContentView() {
    // The peer lets go of the page's widget before the page goes.
    setPeer(nullptr);
}

void WebContentView::setWebView(std::unique_ptr<WebView> page) {
    setPeer(nullptr);
    m_page = std::move(page);
    if (m_page) m_page->setFrameSize(frame().size);
    // The window shows the page's widget from its next layout on.
    if (Window* shown = window()) shown->viewGeometryChanged();
}

void WebContentView::setFrame(const Rect& frame) {
    View::setFrame(frame);
    if (m_page) m_page->setFrameSize(frame.size);
}

}  // namespace platform
