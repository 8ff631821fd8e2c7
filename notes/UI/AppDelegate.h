#pragma once

#include <memory>
#include <optional>
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
// One process uses a notes folder: a Zelvo started on a folder another one holds says so and
// ends without writing, and a second start handed to this process that asked for another
// folder is told which folder this one uses.
class AppDelegate : public platform::ApplicationDelegate, public platform::Responder {
  public:
    // The page among the resources that showWebSite opens: what Zelvo is and how to reach its
    // makers.
    static constexpr const char* WebSitePage = "zelvo";

    AppDelegate();
    ~AppDelegate() override;

    // Shows the main window, and tells the user at once when the notes database cannot be read.
    void applicationDidFinishLaunching() override;
    // Whether the launch ended at once because another process holds the notes folder.
    bool launchRefused() const { return m_launchRefused; }
    // Quitting stores the note being edited first; when it cannot be stored, the user is asked
    // whether to quit without it.
    void applicationShouldTerminate(std::function<void(bool quit)> reply) override;
    void applicationWillTerminate() override;
    bool applicationShouldTerminateAfterLastWindowClosed() override { return false; }
    bool applicationShouldHandleReopen(bool hasVisibleWindows) override;
    std::optional<std::string> messageForSecondLaunch(
        const platform::SecondLaunch& launch) override;

    void showHelp() {}
    void showWebSite();

    MainWindowController* window() const { return m_window.get(); }

    // The main menu (the interface file "MainMenu"): each item's action goes to the key window's
    // responder chain, then the main window controller and its panels, then this delegate.
    std::shared_ptr<platform::Menu> makeMainMenu();
    bool performMenuAction(const std::string& action);

  private:
    void refuseFolderInUse();

    std::shared_ptr<MainWindowController> m_window;
    bool m_launchRefused = false;
};

}  // namespace zelvo
