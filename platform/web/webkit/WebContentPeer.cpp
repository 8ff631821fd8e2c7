// A web view in a window on the desktop: the peer of a WebContentView is a box holding the web
// view's own widget, which the window's host places over the view's frame.
#include "platform/ui/gtk/GtkViewPeer.h"
#include "platform/web/WebContentView.h"
#include "platform/web/webkit/WebViewWidget.h"

namespace platform {

namespace {

class WebContentPeer : public gtk::GtkViewPeer {
  public:
    explicit WebContentPeer(WebContentView& view)
        : GtkViewPeer(view, gtk_box_new(GTK_ORIENTATION_VERTICAL, 0)),
          m_page(embeddableWidget(view.webView())) {
        if (m_page) gtk_box_pack_start(GTK_BOX(widget()), m_page, TRUE, TRUE, 0);
        gtk_widget_show_all(widget());
    }
    ~WebContentPeer() override {
        // The box goes with the peer; the page's widget belongs to its WebView and stays.
        if (m_page && gtk_widget_get_parent(m_page) == widget())
            gtk_container_remove(GTK_CONTAINER(widget()), m_page);
    }

  private:
    void update() override {}
    GtkWidget* m_page;  // borrowed from the WebView
};

}  // namespace

void registerWebContentPeer() {
    gtk::registerPeerMaker("web", [](View& view) -> std::unique_ptr<gtk::GtkViewPeer> {
        auto* content = dynamic_cast<WebContentView*>(&view);
        if (!content) return nullptr;
        return std::make_unique<WebContentPeer>(*content);
    });
}

}  // namespace platform
