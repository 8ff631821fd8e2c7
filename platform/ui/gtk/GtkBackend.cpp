#include "platform/ui/gtk/GtkBackend.h"

#include <memory>

#include "platform/ui/gtk/GtkPanels.h"
#include "platform/ui/gtk/GtkTableViewBackend.h"
#include "platform/ui/gtk/GtkWindowBackend.h"

namespace platform::gtk {

bool install(Backends& backends) {
    std::shared_ptr<GtkWindowBackend> windows = GtkWindowBackend::create();
    if (!windows) return false;
    backends.windows = windows;
    backends.tables = [] { return std::make_unique<GtkTableViewBackend>(); };
    backends.preferencePanels = makePreferencePanel;
    backends.aboutPanels = makeAboutPanel;
    backends.alerts = runAlert;
    backends.alertSheets = beginAlertSheet;
    backends.savePanels = runSavePanel;
    backends.openPanels = runOpenPanel;
    backends.colorPanels = runColorPanel;
    backends.fontPanels = runFontPanel;
    return true;
}

std::optional<Rect> mainScreenOnDesktop() {
    auto* windows = dynamic_cast<const GtkWindowBackend*>(Backends::current().windows.get());
    if (!windows) return std::nullopt;
    return windows->mainScreenOnDesktop();
}

}  // namespace platform::gtk
