#include "platform/ui/gtk/GtkViewPeer.h"

#include <map>
#include <sstream>

#include "platform/foundation/Bundle.h"

namespace platform::gtk {

namespace {
std::map<std::string, PeerMaker>& makers() {
    static std::map<std::string, PeerMaker> table;
    return table;
}
}  // namespace

// GtkControlPeers.cpp: the makers of the controls' peers.
void registerControlPeers();

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

void registerPeerMaker(const std::string& kind, PeerMaker maker) {
    makers()[kind] = std::move(maker);
}

std::unique_ptr<GtkViewPeer> makePeer(View& view) {
    static const bool controlsRegistered = (registerControlPeers(), true);
    (void)controlsRegistered;
    auto it = makers().find(view.nativeKind());
    if (it == makers().end()) return nullptr;
    std::unique_ptr<GtkViewPeer> peer = it->second(view);
    if (!peer) return nullptr;
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

GObjectRef<GdkPixbuf> loadNamedImage(const std::string& name, int width, int height) {
    const Bundle& bundle = Bundle::mainBundle();
    std::optional<std::filesystem::path> path = bundle.pathForResource(name, "svg");
    if (!path) path = bundle.pathForResource(name, "png");
    if (!path) return {};
    GdkPixbuf* pixbuf = width > 0 || height > 0 ? gdk_pixbuf_new_from_file_at_size(
                                                      path->c_str(), width, height, nullptr)
                                                : gdk_pixbuf_new_from_file(path->c_str(), nullptr);
    return GObjectRef<GdkPixbuf>::adopt(pixbuf);
}

}  // namespace platform::gtk
