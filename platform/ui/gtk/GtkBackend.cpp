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

bool install(Backends& backends) {
    std::shared_ptr<GtkWindowBackend> windows = GtkWindowBackend::create();
    if (!windows) return false;
    backends.windows = windows;
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
    auto* windows = dynamic_cast<const GtkWindowBackend*>(Backends::current().windows.get());
    if (!windows) return std::nullopt;
    return windows->mainScreenOnDesktop();
}

}  // namespace platform::gtk
