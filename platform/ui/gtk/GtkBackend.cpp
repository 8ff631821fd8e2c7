#include "platform/ui/gtk/GtkBackend.h"

#include <memory>

#include "platform/ui/gtk/GtkPanels.h"
#include "platform/ui/gtk/GtkTableViewBackend.h"
#include "platform/ui/gtk/GtkWindowBackend.h"

namespace platform::gtk {

// GtkOpenPanel.cpp, GtkSavePanel.cpp, GtkAlert.cpp, GtkColorPanel.cpp, GtkFontPanel.cpp.
void installOpenPanel();
void installSavePanel();
void installAlert();
void installColorPanel();
void installFontPanel();

namespace {

std::shared_ptr<GtkWindowBackend>& installed() {
    static std::shared_ptr<GtkWindowBackend> backend;
    return backend;
}

}  // namespace

bool install() {
    if (installed()) return true;
    std::shared_ptr<GtkWindowBackend> windows = GtkWindowBackend::create();
    if (!windows) return false;
    installed() = windows;
    WindowBackend::setShared(windows);
    GtkTableViewBackend::install();
    installPanelBackends();
    installOpenPanel();
    installSavePanel();
    installAlert();
    installColorPanel();
    installFontPanel();
    return true;
}

std::optional<Rect> mainScreenOnDesktop() {
    if (!installed()) return std::nullopt;
    return installed()->mainScreenOnDesktop();
}

}  // namespace platform::gtk
