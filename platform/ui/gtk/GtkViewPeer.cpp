#include "platform/ui/gtk/GtkViewPeer.h"

#include <map>
#include <sstream>

#include "platform/foundation/Bundle.h"

namespace platform::gtk {

// GtkControlPeers.cpp: the makers of the controls' peers.
void addControlPeers(PeerMakers& makers);

namespace {
const PeerMakers& controlPeers() {
    static const PeerMakers makers = [] {
        PeerMakers all;
        addControlPeers(all);
        return all;
    }();
    return makers;
}
}  // namespace

GtkViewPeer::GtkViewPeer(View& view, GtkWidget* widget, bool ownsWidget)
    : m_view(view), m_widget(GObjectRef<GtkWidget>::retain(widget)), m_ownsWidget(ownsWidget) {}

GtkViewPeer::~GtkViewPeer() {
    if (m_ownsWidget) {
        gtk_widget_destroy(m_widget.get());
    } else if (GtkWidget* parent = gtk_widget_get_parent(m_widget.get())) {
        gtk_container_remove(GTK_CONTAINER(parent), m_widget.get());
    }
}

void GtkViewPeer::viewChanged() {
    m_updating = true;
    update();
    m_updating = false;
}

std::unique_ptr<GtkViewPeer> makePeer(View& view) {
    const std::string kind = view.nativeKind();
    const PeerMakers::mapped_type* maker = nullptr;
    for (const PeerMakers* makers : {&controlPeers(), &Backends::current().viewPeers}) {
        auto it = makers->find(kind);
        if (it == makers->end()) continue;
        maker = &it->second;
        break;
    }
    if (!maker || !*maker) return nullptr;
    std::unique_ptr<ViewPeer> made = (*maker)(view);
    auto* ours = dynamic_cast<GtkViewPeer*>(made.get());
    if (!ours) return nullptr;
    made.release();
    std::unique_ptr<GtkViewPeer> peer(ours);
    peer->m_kind = view.nativeKind();
    peer->viewChanged();
    return peer;
}

void applyFont(GtkWidget* widget, const std::optional<Font>& font) {
    GtkStyleContext* style = gtk_widget_get_style_context(widget);
    auto* old = static_cast<GtkStyleProvider*>(g_object_get_data(G_OBJECT(widget), "mw-font"));
    if (old) gtk_style_context_remove_provider(style, old);
    g_object_set_data(G_OBJECT(widget), "mw-font", nullptr);
    if (!font) return;
    std::ostringstream css;
    css << "* { font-family: \"" << font->familyName() << "\"; font-size: " << font->pointSize()
        << "px; }";
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, css.str().c_str(), -1, nullptr);
    gtk_style_context_add_provider(style, GTK_STYLE_PROVIDER(provider),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    // The widget keeps the provider for as long as it is the widget's font.
    g_object_set_data_full(G_OBJECT(widget), "mw-font", provider, g_object_unref);
}

GObjectRef<GdkPixbuf> loadNamedImage(const std::string& name, int width, int height,
                                     bool keepAspect) {
    const Bundle& bundle = Bundle::mainBundle();
    std::optional<std::filesystem::path> path = bundle.pathForResource(name, "svg");
    if (!path) path = bundle.pathForResource(name, "png");
    if (!path) return {};
    GdkPixbuf* pixbuf =
        width > 0 || height > 0
            ? gdk_pixbuf_new_from_file_at_scale(path->c_str(), width, height, keepAspect, nullptr)
            : gdk_pixbuf_new_from_file(path->c_str(), nullptr);
    return GObjectRef<GdkPixbuf>::adopt(pixbuf);
}

}  // namespace platform::gtk
