#include "platform/web/WebView.h"

#include "platform/foundation/Log.h"
#include "platform/ui/Backends.h"

namespace platform {

std::unique_ptr<WebView> WebView::create(Size frameSize) {
    const auto& make = Backends::current().webViews;
    if (!make) {
        log("WebView: no web engine installed");
        return nullptr;
    }
    return make(frameSize);
}

void WebView::addScriptMessageHandler(const std::string& name, MessageHandler handler) {
    bool known = m_messageHandlers.count(name) > 0;
    m_messageHandlers[name] = std::move(handler);
    if (!known) registerScriptMessageName(name);
}

void WebView::didReceiveScriptMessage(const std::string& name, const std::string& body) {
    auto found = m_messageHandlers.find(name);
    if (found == m_messageHandlers.end() || !found->second) return;
    // A copy: the handler may replace itself while it runs.
    MessageHandler handler = found->second;
    handler(body);
}

void WebView::didFinishLoad() {
    if (!m_loadFinished) return;
    LoadHandler handler = m_loadFinished;
    handler();
}

void WebView::didPassButtonPress() {
    if (!m_buttonPressed) return;
    std::function<void()> handler = m_buttonPressed;
    handler();
}

NavigationPolicy WebView::decideNavigation(const NavigationAction& action) {
    if (!m_navigation) return NavigationPolicy::Allow;
    NavigationHandler handler = m_navigation;
    return handler(action);
}

}  // namespace platform
