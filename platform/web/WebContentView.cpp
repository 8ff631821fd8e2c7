#include "platform/web/WebContentView.h"

namespace platform {

WebContentView::WebContentView(const Rect& frame)
    : WebContentView(frame, WebView::create(frame.size)) {}

WebContentView::WebContentView(const Rect& frame, std::unique_ptr<WebView> page)
    : View(frame), m_page(std::move(page)) {}

WebContentView::~WebContentView() {
    // The peer lets go of the page's widget before the page goes.
    setPeer(nullptr);
}

void WebContentView::setFrame(const Rect& frame) {
    View::setFrame(frame);
    if (m_page) m_page->setFrameSize(frame.size);
}

}  // namespace platform
