#include "platform/web/webkit/WebKitBackend.h"

#include "platform/ui/gtk/GtkViewPeer.h"
#include "platform/web/WebContentView.h"
#include "platform/web/webkit/WebContext.h"
#include "platform/web/webkit/WebKitPageView.h"
#include "platform/web/webkit/WebViewWidget.h"

namespace platform {

namespace {

// The page's own widget, taken from its off-screen window into the window that shows the view.
// The page keeps owning it.
class WebContentViewPeer : public gtk::GtkViewPeer {
  public:
    WebContentViewPeer(WebContentView& view, GtkWidget* widget)
        : GtkViewPeer(view, widget, false) {}

  private:
    void update() override {}
};

}  // namespace

}  // namespace platform

namespace platform::webkit {

void install(Backends& backends) {
    backends.webViews = WebKitPageView::create;
    // Mostly ready by the time the first page loads, which waits for it.
    compileLocalLoadsOnlyFilter();
    backends.viewPeers["webView"] = [](View& view) -> std::unique_ptr<ViewPeer> {
        auto* content = dynamic_cast<WebContentView*>(&view);
        if (!content || !content->webView()) return nullptr;
        GtkWidget* widget = embeddableWidget(*content->webView());
        if (!widget) return nullptr;
        return std::make_unique<WebContentViewPeer>(*content, widget);
    };
}

}  // namespace platform::webkit
