#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/graphics/Geometry.h"
#include "platform/ui/AboutPanel.h"
#include "platform/ui/Alert.h"
#include "platform/ui/ColorPanel.h"
#include "platform/ui/FontPanel.h"
#include "platform/ui/Menu.h"
#include "platform/ui/OpenPanel.h"
#include "platform/ui/PreferencePanel.h"
#include "platform/ui/SavePanel.h"

namespace platform {

class ApplicationBackend;
class Notifier;
class TableViewBackend;
class View;
class ViewPeer;
class WebView;
class WindowBackend;

// What plugs the layer into a desktop: one slot per facility that shows or sends something, each
// empty by default. An empty slot leaves its facility headless, as its header says. The toolkit
// backends fill a set (platform::gtk::install and the others), a program's main makes that set
// the process's own with a ScopedBackends for as long as it runs, and tests do the same with
// their fakes. Main thread only.
struct Backends {
    // Windows on a display: screens, the pointer and a host per window shown (WindowBackend.h).
    std::shared_ptr<WindowBackend> windows;
    // The application's loop, its quitting, menu bar and URLs (Application.h).
    std::shared_ptr<ApplicationBackend> application;
    // Where notices go (platform/notify's Notifier.h).
    std::shared_ptr<Notifier> notifier;

    // Makers of the on-screen half of each table and panel made from now on; one made without
    // stays headless.
    std::function<std::unique_ptr<TableViewBackend>()> tables;
    std::function<std::unique_ptr<PreferencePanel::Backend>()> preferencePanels;
    std::function<std::unique_ptr<AboutPanel::Backend>()> aboutPanels;
    // Makes the web views WebView::create hands out (platform/web's WebView.h).
    std::function<std::unique_ptr<WebView>(Size frameSize)> webViews;
    // The on-screen widgets of views whose kind (View::nativeKind) the window backend does not
    // show by itself, such as the web engine's page; a maker answers null for a view it cannot
    // show.
    std::map<std::string, std::function<std::unique_ptr<ViewPeer>(View&)>> viewPeers;

    // What shows the modal panels when they run.
    Alert::Presenter alerts;
    // What shows an alert without waiting for its answer.
    Alert::SheetPresenter alertSheets;
    SavePanel::Presenter savePanels;
    OpenPanel::Presenter openPanels;
    ColorPanel::Presenter colorPanels;
    FontPanel::Presenter fontPanels;
    // What shows a context menu popped up for an event (Menu.h).
    Menu::ContextMenuPresenter contextMenus;

    // The set in use: that of the innermost ScopedBackends, else an empty one.
    static const Backends& current();
};

// Makes a set the process's own for the length of a scope and puts back the one before when it
// ends; scopes nest, the last made going first. The scope owns the set: what the set holds lives
// at least as long (longer where something else shares it). A test puts its fakes into the set
// through the scope; what it leaves alone stays as it was.
class ScopedBackends {
  public:
    // A copy of the set in use.
    ScopedBackends();
    explicit ScopedBackends(Backends set);
    ~ScopedBackends();
    ScopedBackends(const ScopedBackends&) = delete;
    ScopedBackends& operator=(const ScopedBackends&) = delete;

    // The set installed; a change to it applies at once.
    Backends& operator*() { return m_set; }
    Backends* operator->() { return &m_set; }

  private:
    Backends m_set;
    const Backends* m_previous;
};

}  // namespace platform
