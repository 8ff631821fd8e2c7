#pragma once

#include <memory>
#include <string>

#include "platform/ui/Application.h"
#include "platform/ui/Responder.h"

namespace platform {
class Menu;
}

namespace zelvo {

class MainWindowController;

// Zelvo's application delegate: prepares the notes database and shows the one main window; the
// application keeps running without windows, and activating it again brings the window back.
class AppDelegate : public platform::ApplicationDelegate, public platform::Responder {
  public:
    // The page among the resources that showWebSite opens: what Zelvo is and how to reach its
    // makers.
    static constexpr const char* WebSitePage = "zelvo";

    AppDelegate();
    ~AppDelegate() override;

    // Shows the main window, and tells the user at once when the notes database cannot be read.
    void applicationDidFinishLaunching() override;
    // Quitting stores the note being edited first; when it cannot be stored, the user is asked
    // whether to quit without it.
    void applicationShouldTerminate(std::function<void(bool quit)> reply) override;
    void applicationWillTerminate() override;
    bool applicationShouldTerminateAfterLastWindowClosed() override { return false; }
    bool applicationShouldHandleReopen(bool hasVisibleWindows) override;

    void showHelp() {}
    void showWebSite();

    MainWindowController* window() const { return m_window.get(); }

    // The main menu (the interface file "MainMenu"): each item's action goes to the key window's
    // responder chain, then the main window controller and its panels, then this delegate.
    std::shared_ptr<platform::Menu> makeMainMenu();
    bool performMenuAction(const std::string& action);

  private:
    std::shared_ptr<MainWindowController> m_window;
};

}  // namespace zelvo
