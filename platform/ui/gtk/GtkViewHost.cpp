#include "platform/ui/gtk/GtkViewHost.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/cairo/CairoHandles.h"
#include "platform/ui/Application.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/Event.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "platform/ui/gtk/GdkEventTranslation.h"
#include "platform/ui/gtk/GtkMenuBar.h"
#include "platform/ui/gtk/GtkViewPeer.h"
#include "platform/ui/gtk/GtkWindowBackend.h"

namespace platform::gtk {

namespace {

constexpr gint AreaEvents = GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                            GDK_POINTER_MOTION_MASK | GDK_LEAVE_NOTIFY_MASK | GDK_SCROLL_MASK |
                            GDK_SMOOTH_SCROLL_MASK;

const char* cursorNameFor(const Cursor& cursor) {
    switch (cursor.shape()) {
        case Cursor::Shape::IBeam:
            return "text";
        case Cursor::Shape::PointingHand:
            return "pointer";
        case Cursor::Shape::ResizeLeftRight:
            return "col-resize";
        case Cursor::Shape::Arrow:
        default:
            return "default";
    }
}

std::vector<GtkViewHost*> allHosts;

}  // namespace

const std::vector<GtkViewHost*>& GtkViewHost::hosts() {
    return allHosts;
}

GtkViewHost::GtkViewHost(Window& window, std::shared_ptr<GtkWindowBackend> backend)
    : m_window(window),
      m_backend(std::move(backend)),
      m_popup(window.styleMask() == WindowStyleMask::Borderless),
      m_modal(Application::sharedApplication().modalWindow() == &window) {
    // A toplevel is kept by GTK's list of toplevels as well; ours is a second reference, and
    // gtk_widget_destroy in the destructor takes it off that list.
    m_gtkWindow = GObjectRef<GtkWidget>::retain(
        gtk_window_new(m_popup ? GTK_WINDOW_POPUP : GTK_WINDOW_TOPLEVEL));
    m_area = GObjectRef<GtkWidget>::retain(gtk_drawing_area_new());
    GtkWindow* gw = GTK_WINDOW(m_gtkWindow.get());

    if (m_popup) {
        // Never focused, never in the task bar; the hint is what compositors key their shadows
        // on, and a window without shadow asks for the plainest kind.
        gtk_window_set_accept_focus(gw, FALSE);
        gtk_window_set_focus_on_map(gw, FALSE);
        gtk_window_set_type_hint(
            gw, window.hasShadow() ? GDK_WINDOW_TYPE_HINT_COMBO : GDK_WINDOW_TYPE_HINT_TOOLTIP);
    } else {
        gtk_window_set_title(gw, window.title().c_str());
        // Our frames are the content's, so a position we ask for is the content's too. With GTK's
        // default gravity a window manager puts the corner of its own frame there instead, and
        // every move (a menu bar shown or hidden, a frame set again) would shift the window by
        // the frame's border and title bar.
        gtk_window_set_gravity(gw, GDK_GRAVITY_STATIC);
        if (window.level() > WindowLevel::Normal) gtk_window_set_keep_above(gw, TRUE);
        if (!(window.styleMask() & WindowStyleMask::Resizable)) gtk_window_set_resizable(gw, FALSE);
    }
    if (!window.isOpaque()) {
        GdkScreen* screen = gtk_widget_get_screen(m_gtkWindow.get());
        if (GdkVisual* rgba = gdk_screen_get_rgba_visual(screen))
            if (gdk_screen_is_composited(screen)) gtk_widget_set_visual(m_gtkWindow.get(), rgba);
        gtk_widget_set_app_paintable(m_gtkWindow.get(), TRUE);
    }
    gtk_widget_set_opacity(m_gtkWindow.get(), window.alphaValue());

    gtk_widget_add_events(m_area.get(), AreaEvents);
    gtk_widget_set_can_focus(m_area.get(), !m_popup);
    m_box = GObjectRef<GtkWidget>::retain(gtk_box_new(GTK_ORIENTATION_VERTICAL, 0));
    m_overlay = GObjectRef<GtkWidget>::retain(gtk_overlay_new());
    gtk_container_add(GTK_CONTAINER(m_overlay.get()), m_area.get());
    gtk_box_pack_end(GTK_BOX(m_box.get()), m_overlay.get(), TRUE, TRUE, 0);
    gtk_container_add(GTK_CONTAINER(m_gtkWindow.get()), m_box.get());
    g_signal_connect(m_overlay.get(), "get-child-position", G_CALLBACK(onChildPosition), this);
    setMinSize(window.minSize());
    m_accelGroup = GObjectRef<GtkAccelGroup>::adopt(gtk_accel_group_new());
    gtk_window_add_accel_group(gw, m_accelGroup.get());
    if (GApplication* app = g_application_get_default(); app && GTK_IS_APPLICATION(app) && !m_popup)
        gtk_window_set_application(gw, GTK_APPLICATION(app));
    g_signal_connect(m_area.get(), "draw", G_CALLBACK(onDraw), this);
    g_signal_connect(m_area.get(), "button-press-event", G_CALLBACK(onButton), this);
    g_signal_connect(m_area.get(), "button-release-event", G_CALLBACK(onButton), this);
    g_signal_connect(m_area.get(), "motion-notify-event", G_CALLBACK(onMotion), this);
    g_signal_connect(m_area.get(), "scroll-event", G_CALLBACK(onScroll), this);
    g_signal_connect(m_gtkWindow.get(), "key-press-event", G_CALLBACK(onKey), this);
    g_signal_connect(m_gtkWindow.get(), "key-release-event", G_CALLBACK(onKey), this);
    g_signal_connect(m_gtkWindow.get(), "configure-event", G_CALLBACK(onConfigure), this);
    g_signal_connect(m_gtkWindow.get(), "delete-event", G_CALLBACK(onDelete), this);
    g_signal_connect(m_gtkWindow.get(), "focus-in-event", G_CALLBACK(onFocusIn), this);
    g_signal_connect(m_gtkWindow.get(), "focus-out-event", G_CALLBACK(onFocusOut), this);
    gtk_widget_show(m_area.get());
    gtk_widget_show(m_overlay.get());
    gtk_widget_show(m_box.get());
    allHosts.push_back(this);
    updateMenuBar();
    setFrame(window.frame());
    if (window.isFullScreen()) setFullScreen(true);
    layoutNativeViews();
}

GtkViewHost::~GtkViewHost() {
    std::erase(allHosts, this);
    if (m_layoutSource) g_source_remove(m_layoutSource);
    detachNativeViews();
    // Unmapping and destroying emit signals of their own: none may reach a host half gone.
    g_signal_handlers_disconnect_by_data(m_overlay.get(), this);
    g_signal_handlers_disconnect_by_data(m_area.get(), this);
    g_signal_handlers_disconnect_by_data(m_gtkWindow.get(), this);
    gtk_widget_destroy(m_gtkWindow.get());
}

void GtkViewHost::setFrame(const Rect& frame) {
    Rect onDesktop = desktopRectFromScreen(frame, m_backend->mainScreenOnDesktop());
    // A full-screen window covers the main screen whatever its frame says: a window manager puts
    // it there, and without one (a bare X server) so do we.
    if (!m_popup && m_window.isFullScreen() && !m_backend->mainScreenOnDesktop().isEmpty()) {
        onDesktop = m_backend->mainScreenOnDesktop();
        Rect covered = screenRectFromDesktop(onDesktop, onDesktop);
        if (covered != frame) m_window.hostMovedWindow(covered);
    }
    m_requested.push_back(onDesktop);
    if (m_requested.size() > kRequestsRemembered) m_requested.pop_front();
    GtkWindow* gw = GTK_WINDOW(m_gtkWindow.get());
    int width = std::max(1, int(std::lround(onDesktop.width())));
    int height = std::max(1, int(std::lround(onDesktop.height() + chromeHeight())));
    if (m_popup) gtk_widget_set_size_request(m_gtkWindow.get(), width, height);
    gtk_window_set_default_size(gw, width, height);
    gtk_window_resize(gw, width, height);
    gtk_window_move(gw, int(std::lround(onDesktop.minX())),
                    int(std::lround(onDesktop.minY() - chromeHeight())));
    setNeedsDisplay();
}

void GtkViewHost::orderFront(bool makeKey) {
    GtkWindow* gw = GTK_WINDOW(m_gtkWindow.get());
    if (m_popup) {
        // The desktop has the popup's place and size before the popup is mapped, not from GTK's
        // layout after it: shown where it stood last, the candidate window would stand at the
        // previous field's caret.
        gtk_widget_realize(m_gtkWindow.get());
        const Rect onDesktop =
            desktopRectFromScreen(m_window.frame(), m_backend->mainScreenOnDesktop());
        gdk_window_move_resize(
            gtk_widget_get_window(m_gtkWindow.get()), int(std::lround(onDesktop.minX())),
            int(std::lround(onDesktop.minY())), std::max(1, int(std::lround(onDesktop.width()))),
            std::max(1, int(std::lround(onDesktop.height()))));
    }
    if (m_popup || !makeKey) {
        gtk_widget_show(m_gtkWindow.get());
        if (GdkWindow* gdkWindow = gtk_widget_get_window(m_gtkWindow.get()))
            gdk_window_raise(gdkWindow);
    } else {
        gtk_window_present(gw);
    }
    setNeedsDisplay();
}

void GtkViewHost::orderOut() {
    gtk_widget_hide(m_gtkWindow.get());
}

void GtkViewHost::setNeedsDisplay() {
    m_pendingDisplay = true;
    gtk_widget_queue_draw(m_area.get());
}

void GtkViewHost::setTitle(const std::string& title) {
    if (!m_popup) gtk_window_set_title(GTK_WINDOW(m_gtkWindow.get()), title.c_str());
}

void GtkViewHost::setFullScreen(bool fullScreen) {
    if (m_popup) return;
    if (fullScreen)
        gtk_window_fullscreen(GTK_WINDOW(m_gtkWindow.get()));
    else
        gtk_window_unfullscreen(GTK_WINDOW(m_gtkWindow.get()));
    setFrame(m_window.frame());
}

void GtkViewHost::setMinSize(Size size) {
    // On the content, under the menu bar: the desktop window is never made smaller than both.
    auto side = [](double length) { return length > 0 ? int(std::lround(length)) : -1; };
    gtk_widget_set_size_request(m_overlay.get(), side(size.width), side(size.height));
}

void GtkViewHost::setModal(bool modal) {
    if (m_popup) return;
    bool changed = modal != m_modal;
    m_modal = modal;
    if (changed) updateMenuBar();
    GtkWindow* gw = GTK_WINDOW(m_gtkWindow.get());
    // Over the window that was key before, as a dialog is.
    if (modal)
        for (GtkViewHost* other : allHosts)
            if (other != this && !other->m_popup &&
                gtk_widget_get_visible(other->m_gtkWindow.get())) {
                gtk_window_set_transient_for(gw, GTK_WINDOW(other->m_gtkWindow.get()));
                break;
            }
    gtk_window_set_modal(gw, modal);
}

void GtkViewHost::updateMenuBar() {
    const double before = chromeHeight();
    if (m_menuBar) {
        gtk_widget_destroy(m_menuBar.get());
        m_menuBar = {};
    }
    const std::shared_ptr<Menu>& mainMenu = Application::sharedApplication().mainMenu();
    // The window of a modal run (a viewer, a dialog) has none: its menus would act on the window
    // it is over.
    bool shows = !m_popup && !m_modal && mainMenu && Application::menuBarVisible() &&
                 (m_window.styleMask() & WindowStyleMask::Resizable) && !m_window.isFullScreen();
    if (shows) {
        m_menuBar =
            GObjectRef<GtkWidget>::retain(buildMenuBar(mainMenu, m_window, m_accelGroup.get()));
        gtk_box_pack_start(GTK_BOX(m_box.get()), m_menuBar.get(), FALSE, FALSE, 0);
        gtk_widget_show_all(m_menuBar.get());
    }
    if (!gtk_widget_get_realized(m_gtkWindow.get())) {
        // Not on the desktop yet: the window is made as large as the content and the bar.
        setFrame(m_window.frame());
        return;
    }
    // On the desktop the window keeps its place and size, and the content gives the bar its room
    // or takes it back. Resizing the desktop window would go through the window manager, and a
    // size it reported meanwhile would be read against the other bar.
    Rect frame = m_window.frame();
    frame.size.height = std::max(0.0, frame.height() - (chromeHeight() - before));
    if (frame != m_window.frame()) m_window.hostMovedWindow(frame);
    setNeedsDisplay();
}

double GtkViewHost::chromeHeight() const {
    if (!m_menuBar) return 0;
    int natural = 0;
    gtk_widget_get_preferred_height(m_menuBar.get(), nullptr, &natural);
    return natural;
}

void GtkViewHost::layoutChanged() {
    if (!m_layoutSource)
        m_layoutSource =
            g_idle_add_full(G_PRIORITY_HIGH_IDLE, GSourceFunc(onLayoutIdle), this, nullptr);
}

gboolean GtkViewHost::onLayoutIdle(GtkViewHost* self) {
    self->m_layoutSource = 0;
    self->layoutNativeViews();
    return G_SOURCE_REMOVE;
}

void GtkViewHost::layoutNativeViews() {
    View* content = m_window.contentView();
    if (!content) return;
    const double contentHeight = content->frame().height();
    std::vector<std::weak_ptr<View>> placed;
    std::function<void(View&, const Rect&)> walk = [&](View& view, const Rect& clip) {
        if (view.isHidden()) return;
        Rect inWindow = view.convertRectToView(view.bounds(), nullptr);
        Rect visible = clip.intersection(inWindow);
        if (view.nativeKind().empty()) {
            std::vector<std::shared_ptr<View>> subviews = view.subviews();
            for (const auto& sub : subviews) walk(*sub, visible);
            return;
        }
        auto* peer = dynamic_cast<GtkViewPeer*>(view.peer());
        if (!peer || peer->kind() != view.nativeKind()) {
            view.setPeer(nullptr);
            std::unique_ptr<GtkViewPeer> made = makePeer(view);
            peer = made.get();
            view.setPeer(std::move(made));
        }
        if (!peer) return;
        GtkWidget* widget = peer->widget();
        if (gtk_widget_get_parent(widget) != m_overlay.get()) {
            if (GtkWidget* parent = gtk_widget_get_parent(widget))
                gtk_container_remove(GTK_CONTAINER(parent), widget);
            gtk_overlay_add_overlay(GTK_OVERLAY(m_overlay.get()), widget);
        }
        placed.push_back(view.weak_from_this());
        if (visible.isEmpty()) {
            gtk_widget_hide(widget);
            return;
        }
        // Desktop y runs down from the content's top edge.
        m_childRects[widget] = GdkRectangle{int(std::lround(inWindow.minX())),
                                            int(std::lround(contentHeight - inWindow.maxY())),
                                            std::max(1, int(std::lround(inWindow.width()))),
                                            std::max(1, int(std::lround(inWindow.height())))};
        gtk_widget_show(widget);
    };
    walk(*content, content->frame());
    // Widgets of views that left this window leave the overlay (their views keep them).
    for (const std::weak_ptr<View>& weak : m_placed) {
        std::shared_ptr<View> view = weak.lock();
        if (!view) continue;
        bool still = std::any_of(placed.begin(), placed.end(),
                                 [&](const std::weak_ptr<View>& w) { return w.lock() == view; });
        auto* peer = dynamic_cast<GtkViewPeer*>(view->peer());
        if (!still && peer && gtk_widget_get_parent(peer->widget()) == m_overlay.get()) {
            m_childRects.erase(peer->widget());
            gtk_container_remove(GTK_CONTAINER(m_overlay.get()), peer->widget());
        }
    }
    m_placed = std::move(placed);
    gtk_widget_queue_resize(m_overlay.get());
}

void GtkViewHost::detachNativeViews() {
    for (const std::weak_ptr<View>& weak : m_placed)
        if (std::shared_ptr<View> view = weak.lock())
            if (auto* peer = dynamic_cast<GtkViewPeer*>(view->peer()))
                if (gtk_widget_get_parent(peer->widget()) == m_overlay.get())
                    gtk_container_remove(GTK_CONTAINER(m_overlay.get()), peer->widget());
    m_placed.clear();
    m_childRects.clear();
}

gboolean GtkViewHost::onChildPosition(GtkOverlay*, GtkWidget* child, GdkRectangle* allocation,
                                      GtkViewHost* self) {
    auto it = self->m_childRects.find(child);
    if (it == self->m_childRects.end()) return FALSE;
    *allocation = it->second;
    return TRUE;
}

bool GtkViewHost::isMapped() const {
    return gtk_widget_get_mapped(m_gtkWindow.get());
}

double GtkViewHost::height() const {
    return gtk_widget_get_allocated_height(m_area.get());
}

gboolean GtkViewHost::onDraw(GtkWidget* area, cairo_t* cr, GtkViewHost* self) {
    Window& window = self->m_window;
    const double width = gtk_widget_get_allocated_width(area);
    const double height = gtk_widget_get_allocated_height(area);
    // The background replaces what was there, so a window that is not opaque shows through where
    // its colour is clear (on a desktop with a compositor).
    Color bg = window.backgroundColor();
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, bg.red, bg.green, bg.blue, window.isOpaque() ? 1.0 : bg.alpha);
    cairo_paint(cr);
    cairo_restore(cr);
    if (View* content = window.contentView()) {
        GraphicsContext context(native(cr), Size{width, height});
        content->displayInContext(context);
    }
    self->m_pendingDisplay = false;
    ++self->m_drawCount;
    window.hostDidDraw();
    return TRUE;
}

int GtkViewHost::clickCountFor(const GdkEventButton& event) {
    gint interval = 400, distance = 5;
    g_object_get(gtk_widget_get_settings(m_area.get()), "gtk-double-click-time", &interval,
                 "gtk-double-click-distance", &distance, nullptr);
    bool continues = m_clickCount > 0 && event.time - m_lastPressTime <= guint32(interval) &&
                     std::fabs(event.x - m_lastPressX) <= distance &&
                     std::fabs(event.y - m_lastPressY) <= distance;
    m_clickCount = continues ? m_clickCount + 1 : 1;
    m_lastPressTime = event.time, m_lastPressX = event.x, m_lastPressY = event.y;
    return m_clickCount;
}

gboolean GtkViewHost::onButton(GtkWidget*, GdkEventButton* event, GtkViewHost* self) {
    // GDK follows the second and third press with extra events of its own; the count is already
    // on the plain presses.
    if (event->type == GDK_2BUTTON_PRESS || event->type == GDK_3BUTTON_PRESS) return TRUE;
    bool press = event->type == GDK_BUTTON_PRESS;
    if (press && !self->m_popup) gtk_widget_grab_focus(self->m_area.get());
    EventType type;
    if (event->button == GDK_BUTTON_PRIMARY)
        type = press ? EventType::LeftMouseDown : EventType::LeftMouseUp;
    else if (event->button == GDK_BUTTON_SECONDARY)
        type = press ? EventType::RightMouseDown : EventType::RightMouseUp;
    else
        return FALSE;
    int count = press ? self->clickCountFor(*event) : std::max(1, self->m_clickCount);
    Point location{event->x, self->height() - event->y};
    self->deliver(Event::mouseEvent(type, location, count, modifierFlagsFromGdk(event->state),
                                    event->time / 1000.0));
    return TRUE;
}

gboolean GtkViewHost::onMotion(GtkWidget*, GdkEventMotion* event, GtkViewHost* self) {
    EventType type =
        (event->state & GDK_BUTTON1_MASK) ? EventType::LeftMouseDragged : EventType::MouseMoved;
    Point location{event->x, self->height() - event->y};
    self->deliver(Event::mouseEvent(type, location, 0, modifierFlagsFromGdk(event->state),
                                    event->time / 1000.0));
    return TRUE;
}

gboolean GtkViewHost::onScroll(GtkWidget*, GdkEventScroll* event, GtkViewHost* self) {
    Point location{event->x, self->height() - event->y};
    if (auto scroll = scrollEventFromGdk(*event, location)) self->deliver(*scroll);
    return TRUE;
}

gboolean GtkViewHost::onKey(GtkWidget* widget, GdkEventKey* event, GtkViewHost* self) {
    // Keys for a widget of a view (a text field, a web page) and menu shortcuts are GTK's.
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(widget));
    if (focus && focus != self->m_area.get()) return FALSE;
    if (event->type == GDK_KEY_PRESS && (event->state & GDK_CONTROL_MASK) &&
        gtk_window_activate_key(GTK_WINDOW(widget), event))
        return TRUE;
    self->deliver(keyEventFromGdk(*event));
    return TRUE;
}

gboolean GtkViewHost::onConfigure(GtkWidget*, GdkEventConfigure* event, GtkViewHost* self) {
    // Our frame is the content's: the menu bar above it is the desktop window's own.
    double chrome = self->chromeHeight();
    Rect onDesktop(event->x, event->y + chrome, event->width,
                   std::max(0.0, event->height - chrome));
    auto differs = [](double a, double b) { return std::fabs(a - b) >= 0.5; };
    auto same = [&differs](const Rect& a, const Rect& b) {
        return !differs(a.minX(), b.minX()) && !differs(a.minY(), b.minY()) &&
               !differs(a.width(), b.width()) && !differs(a.height(), b.height());
    };
    // The X server tells of each move when it has made it, and a busy program reads that late:
    // the news of a move asked for before the latest one says where the window was on its way
    // from, not where it is going. Anything else is the desktop's own say.
    std::deque<Rect>& requested = self->m_requested;
    auto answered = std::find_if(requested.rbegin(), requested.rend(),
                                 [&](const Rect& rect) { return same(rect, onDesktop); });
    const bool earlier = answered != requested.rend() && answered != requested.rbegin();
    requested.erase(requested.begin(),
                    answered == requested.rend() ? requested.end() : answered.base());
    if (earlier) return FALSE;
    Rect frame = screenRectFromDesktop(onDesktop, self->m_backend->mainScreenOnDesktop());
    if (!same(frame, self->m_window.frame())) self->m_window.hostMovedWindow(frame);
    return FALSE;
}

gboolean GtkViewHost::onDelete(GtkWidget*, GdkEvent*, GtkViewHost* self) {
    self->m_window.performClose();
    return TRUE;  // the window decides; GTK must not destroy the widget behind our back
}

gboolean GtkViewHost::onFocusIn(GtkWidget*, GdkEventFocus*, GtkViewHost* self) {
    if (!self->m_popup) self->m_window.makeKeyWindow();
    return FALSE;
}

gboolean GtkViewHost::onFocusOut(GtkWidget*, GdkEventFocus*, GtkViewHost* self) {
    if (!self->m_popup) self->m_window.hostResignedKey();
    return FALSE;
}

void GtkViewHost::deliver(const Event& event) {
    m_window.sendEvent(event);
    applyCursor();
}

void GtkViewHost::applyCursor() {
    const char* name = cursorNameFor(Cursor::currentCursor());
    if (name == m_cursorName) return;
    GdkWindow* gdkWindow = gtk_widget_get_window(m_area.get());
    if (!gdkWindow) return;
    m_cursorName = name;
    GObjectRef<GdkCursor> cursor = GObjectRef<GdkCursor>::adopt(
        gdk_cursor_new_from_name(gdk_window_get_display(gdkWindow), name));
    gdk_window_set_cursor(gdkWindow, cursor.get());
}

}  // namespace platform::gtk
