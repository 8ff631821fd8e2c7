#include "platform/ui/gtk/GtkWindowBackend.h"

#include <gtk/gtk.h>

#include <chrono>
#include <cmath>

#include "platform/graphics/cairo/CairoHandles.h"
#include "platform/ui/Window.h"
#include "platform/ui/gtk/GObjectRef.h"
#include "platform/ui/gtk/GtkViewHost.h"
#include "platform/ui/gtk/ProcessEnvironment.h"

namespace platform::gtk {

namespace {

Rect rectOf(const GdkRectangle& r) {
    return Rect(r.x, r.y, r.width, r.height);
}

// The primary monitor is the main screen; a display that names none has its first as main.
GdkMonitor* mainMonitor(GdkDisplay* display) {
    if (GdkMonitor* primary = gdk_display_get_primary_monitor(display)) return primary;
    return gdk_display_get_n_monitors(display) > 0 ? gdk_display_get_monitor(display, 0) : nullptr;
}

}  // namespace

std::shared_ptr<GtkWindowBackend> GtkWindowBackend::create() {
    if (!openDisplay()) return nullptr;
    auto backend = std::shared_ptr<GtkWindowBackend>(new GtkWindowBackend());
    GdkScreen* screen = gdk_screen_get_default();
    for (const char* change : {"monitors-changed", "size-changed"}) {
        g_signal_connect(screen, change, G_CALLBACK(onScreensChanged), backend.get());
    }
    return backend;
}

GtkWindowBackend::~GtkWindowBackend() {
    if (GdkScreen* screen = gdk_screen_get_default()) {
        g_signal_handlers_disconnect_by_data(screen, this);
    }
}

void GtkWindowBackend::onScreensChanged(GdkScreen*, gpointer self) {
    static_cast<GtkWindowBackend*>(self)->m_screens.reset();
}

Rect GtkWindowBackend::mainScreenOnDesktop() const {
    GdkMonitor* main = mainMonitor(gdk_display_get_default());
    if (!main) return Rect();
    GdkRectangle geometry;
    gdk_monitor_get_geometry(main, &geometry);
    return rectOf(geometry);
}

std::vector<Screen> GtkWindowBackend::screens() const {
    // Each monitor's work area is a property of the root window that GDK reads from the X server
    // on every call, two round trips per monitor; the candidate window asks for the screens on
    // every key. Monitors announce their changes; the work area (a panel that comes or goes) is
    // trusted for a moment.
    const auto now = std::chrono::steady_clock::now();
    if (!m_screens || now - m_screensRead > kWorkAreaLifetime) {
        m_screens = readScreens();
        m_screensRead = now;
    }
    return *m_screens;
}

std::vector<Screen> GtkWindowBackend::readScreens() const {
    GdkDisplay* display = gdk_display_get_default();
    std::vector<Screen> list;
    GdkMonitor* main = mainMonitor(display);
    if (!main) return list;
    Rect mainRect = mainScreenOnDesktop();
    auto add = [&](GdkMonitor* monitor) {
        GdkRectangle geometry, workarea;
        gdk_monitor_get_geometry(monitor, &geometry);
        gdk_monitor_get_workarea(monitor, &workarea);
        list.emplace_back(screenRectFromDesktop(rectOf(geometry), mainRect),
                          screenRectFromDesktop(rectOf(workarea), mainRect));
    };
    add(main);
    for (int i = 0, n = gdk_display_get_n_monitors(display); i < n; ++i)
        if (GdkMonitor* m = gdk_display_get_monitor(display, i); m != main) add(m);
    return list;
}

std::optional<Point> GtkWindowBackend::mouseLocation() const {
    GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
    GdkDevice* pointer = seat ? gdk_seat_get_pointer(seat) : nullptr;
    if (!pointer) return std::nullopt;
    gint x = 0, y = 0;
    gdk_device_get_position(pointer, nullptr, &x, &y);
    return screenPointFromDesktop(Point{double(x), double(y)}, mainScreenOnDesktop());
}

std::unique_ptr<WindowHost> GtkWindowBackend::createHost(Window& window) {
    return std::make_unique<GtkViewHost>(window, shared_from_this());
}

void GtkWindowBackend::processPendingEvents() {
    gdk_display_sync(gdk_display_get_default());
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
}

bool GtkWindowBackend::waitUntilDrawn(Window& window, double seconds) {
    auto* host = dynamic_cast<GtkViewHost*>(window.host());
    if (!host) return false;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!(host->isMapped() && !host->hasPendingDisplay() && host->drawCount() > 0)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        gdk_display_sync(gdk_display_get_default());
        if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(2000);
    }
    gdk_display_flush(gdk_display_get_default());
    processPendingEvents();
    return true;
}

std::optional<Image> GtkWindowBackend::snapshot(const Rect& screenRect) const {
    Rect r = desktopRectFromScreen(screenRect, mainScreenOnDesktop());
    GdkWindow* root = gdk_get_default_root_window();
    int width = int(std::lround(r.width())), height = int(std::lround(r.height()));
    if (!root || width <= 0 || height <= 0) return std::nullopt;
    GObjectRef<GdkPixbuf> pixels = GObjectRef<GdkPixbuf>::adopt(gdk_pixbuf_get_from_window(
        root, int(std::lround(r.minX())), int(std::lround(r.minY())), width, height));
    if (!pixels) return std::nullopt;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    gdk_cairo_set_source_pixbuf(cr, pixels.get(), 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    return Image(native(surface));
}

}  // namespace platform::gtk
