#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <vector>

#include "platform/ui/WindowHost.h"
#include "platform/ui/gtk/GObjectRef.h"

namespace platform {
class Event;
class View;
class Window;
}  // namespace platform

namespace platform::gtk {

class GtkWindowBackend;

// A window on the desktop: a GtkWindow holding one GtkDrawingArea, with the widgets of views that
// GTK shows itself (controls, web pages; see GtkViewPeer) laid over it where their views are, and
// the application's menu bar above it in titled, resizable windows that no modal run is for. The
// area draws the window's background and content view through our GraphicsContext, and its mouse
// and key events go to the window as our events, with y turned over at this edge. A borderless
// window is a popup (override-redirect on X11: the window manager neither places nor focuses it,
// and it stays above normal windows); any other is a normal toplevel, kept above when its level is
// above normal.
class GtkViewHost : public WindowHost {
  public:
    GtkViewHost(Window& window, std::shared_ptr<GtkWindowBackend> backend);
    ~GtkViewHost() override;
    GtkViewHost(const GtkViewHost&) = delete;
    GtkViewHost& operator=(const GtkViewHost&) = delete;

    void setFrame(const Rect& frame) override;
    void orderFront(bool makeKey) override;
    void orderOut() override;
    void setNeedsDisplay() override;
    void setTitle(const std::string& title) override;
    void setFullScreen(bool fullScreen) override;
    void setModal(bool modal) override;
    void setMinSize(Size size) override;
    void layoutChanged() override;

    // Rebuilds or hides the menu bar after the main menu or its visibility changed.
    void updateMenuBar();
    // Every host alive, for application-wide changes.
    static const std::vector<GtkViewHost*>& hosts();
    GtkWidget* gtkWindow() const { return m_gtkWindow.get(); }
    // Places the widgets of the views now, instead of at the next idle moment.
    void layoutNativeViews();
    // The height the desktop's window has above the content (the menu bar).
    double chromeHeight() const;

    // Draws counted since the host was made; a mark made after the last draw is pending.
    std::uint64_t drawCount() const { return m_drawCount; }
    bool hasPendingDisplay() const { return m_pendingDisplay; }
    bool isMapped() const;

  private:
    static gboolean onDraw(GtkWidget* area, cairo_t* cr, GtkViewHost* self);
    static gboolean onButton(GtkWidget* area, GdkEventButton* event, GtkViewHost* self);
    static gboolean onMotion(GtkWidget* area, GdkEventMotion* event, GtkViewHost* self);
    static gboolean onScroll(GtkWidget* area, GdkEventScroll* event, GtkViewHost* self);
    static gboolean onKey(GtkWidget* widget, GdkEventKey* event, GtkViewHost* self);
    static gboolean onConfigure(GtkWidget* widget, GdkEventConfigure* event, GtkViewHost* self);
    static gboolean onDelete(GtkWidget* widget, GdkEvent* event, GtkViewHost* self);
    static gboolean onFocusIn(GtkWidget* widget, GdkEventFocus* event, GtkViewHost* self);
    static gboolean onFocusOut(GtkWidget* widget, GdkEventFocus* event, GtkViewHost* self);
    void deliver(const Event& event);
    void applyCursor();
    int clickCountFor(const GdkEventButton& event);
    double height() const;
    static gboolean onLayoutIdle(GtkViewHost* self);
    static gboolean onChildPosition(GtkOverlay* overlay, GtkWidget* child, GdkRectangle* allocation,
                                    GtkViewHost* self);
    void detachNativeViews();

    // Borrowed: the window owns this host and outlives it.
    Window& m_window;
    // Owned.
    std::shared_ptr<GtkWindowBackend> m_backend;  // shared: kept for as long as a window shows
    GObjectRef<GtkWidget> m_gtkWindow;
    GObjectRef<GtkWidget> m_area;
    GObjectRef<GtkWidget> m_box;      // the menu bar over the overlay
    GObjectRef<GtkWidget> m_overlay;  // the drawing area under the widgets of the views
    GObjectRef<GtkWidget> m_menuBar;  // null while none is shown
    GObjectRef<GtkAccelGroup> m_accelGroup;
    // Views whose widgets this host placed (the views own the widgets).
    std::vector<std::weak_ptr<View>> m_placed;
    std::map<GtkWidget*, GdkRectangle> m_childRects;
    guint m_layoutSource = 0;
    // The content's rectangles on the desktop asked for and not yet told of, oldest first.
    static constexpr std::size_t kRequestsRemembered = 8;
    std::deque<Rect> m_requested;

    bool m_popup;
    bool m_modal;  // the window of a modal run
    bool m_pendingDisplay = true;
    std::uint64_t m_drawCount = 0;
    // The last press, for counting multiple clicks the way AppKit does (each press carries its
    // number in the series, and so does its release).
    std::uint32_t m_lastPressTime = 0;
    double m_lastPressX = 0, m_lastPressY = 0;
    int m_clickCount = 0;
    const char* m_cursorName = nullptr;
};

}  // namespace platform::gtk
