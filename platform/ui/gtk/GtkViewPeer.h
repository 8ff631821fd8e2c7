#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/graphics/Font.h"
#include "platform/ui/Backends.h"
#include "platform/ui/View.h"
#include "platform/ui/gtk/GObjectRef.h"

namespace platform::gtk {

// The GTK widget that shows one view of ours (a control, a web page) on top of the window's
// drawing area. The view owns its peer, the peer holds the widget; the window's host places the
// widget where the view is. The peer brings the widget up to date from the view in update(), and
// hands the user's work on the widget back to the view.
class GtkViewPeer : public ViewPeer {
  public:
    // A peer that does not own its widget (a web page's, owned by its web view) only takes it out
    // of its container when it goes.
    GtkViewPeer(View& view, GtkWidget* widget, bool ownsWidget = true);
    ~GtkViewPeer() override;
    GtkViewPeer(const GtkViewPeer&) = delete;
    GtkViewPeer& operator=(const GtkViewPeer&) = delete;

    GtkWidget* widget() const { return m_widget.get(); }
    View& view() const { return m_view; }
    // The view's nativeKind() when the peer was made; a view whose kind changed needs another.
    const std::string& kind() const { return m_kind; }
    void viewChanged() final;

  protected:
    // Brings the widget up to date; signals the widget emits meanwhile are not the user's.
    virtual void update() = 0;
    bool isUpdating() const { return m_updating; }

  private:
    friend std::unique_ptr<GtkViewPeer> makePeer(View& view);
    View& m_view;  // borrowed: the view owns this peer
    std::string m_kind;
    GObjectRef<GtkWidget> m_widget;
    bool m_ownsWidget;
    bool m_updating = false;
};

// Makers of peers by the view's nativeKind().
using PeerMakers = decltype(Backends::viewPeers);
// A peer for the view: the controls of platform/ui have theirs here, other kinds (the web page)
// get theirs from the viewPeers of the Backends in use. Null when its kind has no maker, or the
// maker's peer is not a GTK one.
std::unique_ptr<GtkViewPeer> makePeer(View& view);

// Sets a widget's font from ours (sizes in points of the layer, which are pixels on screen).
void applyFont(GtkWidget* widget, const std::optional<Font>& font);
// A resource image by name ("<name>.svg", else "<name>.png" in the resource folder), scaled to
// fit the size when one is given (to fill it exactly unless the aspect is kept); null when there
// is none.
GObjectRef<GdkPixbuf> loadNamedImage(const std::string& name, int width = -1, int height = -1,
                                     bool keepAspect = true);

}  // namespace platform::gtk
