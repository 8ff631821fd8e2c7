#include "platform/ui/gtk/GtkViewHost.h"

#include <cmath>
#include <cstdlib>

#include "platform/graphics/GraphicsContext.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/Event.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"
#include "platform/ui/gtk/GdkEventTranslation.h"
#include "platform/ui/gtk/GtkWindowBackend.h"

namespace platform::gtk {

namespace {

constexpr gint AreaEvents = GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                            GDK_POINTER_MOTION_MASK | GDK_LEAVE_NOTIFY_MASK;

const char* cursorNameFor(const Cursor& cursor) {
    switch (cursor.shape()) {
        case Cursor::Shape::IBeam:
            return "text";
        case Cursor::Shape::PointingHand:
            return "pointer";
        case Cursor::Shape::Arrow:
        default:
            return "default";
    }
}

}  // namespace

GtkViewHost::GtkViewHost(Window& window, GtkWindowBackend& backend)
    : m_window(window),
      m_backend(backend),
      m_popup(window.styleMask() == WindowStyleMask::Borderless) {
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
    gtk_container_add(GTK_CONTAINER(m_gtkWindow.get()), m_area.get());
    g_signal_connect(m_area.get(), "draw", G_CALLBACK(onDraw), this);
    g_signal_connect(m_area.get(), "button-press-event", G_CALLBACK(onButton), this);
    g_signal_connect(m_area.get(), "button-release-event", G_CALLBACK(onButton), this);
    g_signal_connect(m_area.get(), "motion-notify-event", G_CALLBACK(onMotion), this);
    g_signal_connect(m_gtkWindow.get(), "key-press-event", G_CALLBACK(onKey), this);
    g_signal_connect(m_gtkWindow.get(), "key-release-event", G_CALLBACK(onKey), this);
    g_signal_connect(m_gtkWindow.get(), "configure-event", G_CALLBACK(onConfigure), this);
    g_signal_connect(m_gtkWindow.get(), "delete-event", G_CALLBACK(onDelete), this);
    g_signal_connect(m_gtkWindow.get(), "focus-in-event", G_CALLBACK(onFocusIn), this);
    gtk_widget_show(m_area.get());
    setFrame(window.frame());
}

GtkViewHost::~GtkViewHost() {
    // Unmapping and destroying emit signals of their own: none may reach a host half gone.
    g_signal_handlers_disconnect_by_data(m_area.get(), this);
    g_signal_handlers_disconnect_by_data(m_gtkWindow.get(), this);
    gtk_widget_destroy(m_gtkWindow.get());
}

void GtkViewHost::setFrame(const Rect& frame) {
    Rect onDesktop = desktopRectFromScreen(frame, m_backend.mainScreenOnDesktop());
    GtkWindow* gw = GTK_WINDOW(m_gtkWindow.get());
    int width = std::max(1, int(std::lround(onDesktop.width())));
    int height = std::max(1, int(std::lround(onDesktop.height())));
    if (m_popup) gtk_widget_set_size_request(m_gtkWindow.get(), width, height);
    gtk_window_set_default_size(gw, width, height);
    gtk_window_resize(gw, width, height);
    gtk_window_move(gw, int(std::lround(onDesktop.minX())), int(std::lround(onDesktop.minY())));
    setNeedsDisplay();
}

void GtkViewHost::orderFront(bool makeKey) {
    GtkWindow* gw = GTK_WINDOW(m_gtkWindow.get());
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
        GraphicsContext context(cr, Size{width, height});
        content->displayInContext(context);
    }
    self->m_pendingDisplay = false;
    ++self->m_drawCount;
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

gboolean GtkViewHost::onKey(GtkWidget*, GdkEventKey* event, GtkViewHost* self) {
    self->deliver(keyEventFromGdk(*event));
    return TRUE;
}

gboolean GtkViewHost::onConfigure(GtkWidget*, GdkEventConfigure* event, GtkViewHost* self) {
    Rect onDesktop(event->x, event->y, event->width, event->height);
    Rect frame = screenRectFromDesktop(onDesktop, self->m_backend.mainScreenOnDesktop());
    Rect current = self->m_window.frame();
    auto differs = [](double a, double b) { return std::fabs(a - b) >= 0.5; };
    if (differs(frame.minX(), current.minX()) || differs(frame.minY(), current.minY()) ||
        differs(frame.width(), current.width()) || differs(frame.height(), current.height()))
        self->m_window.hostMovedWindow(frame);
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
