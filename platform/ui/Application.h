#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Responder.h"

namespace platform {

class Menu;
class Window;

// A start of the program that the desktop handed over to the copy already running: the
// environment and the working folder that start was given.
struct SecondLaunch {
    std::map<std::string, std::string> environment;
    std::string workingDirectory;
};

// NSApplicationDelegate: what the application asks its delegate.
class ApplicationDelegate {
  public:
    virtual ~ApplicationDelegate() = default;
    virtual void applicationDidFinishLaunching() {}
    // Asked before quitting (terminate); the reply, given now or later, says whether to quit:
    // false keeps the application running.
    virtual void applicationShouldTerminate(std::function<void(bool quit)> reply) { reply(true); }
    virtual void applicationWillTerminate() {}
    virtual bool applicationShouldTerminateAfterLastWindowClosed() { return false; }
    // The program was activated again (started a second time, its launcher clicked); whether the
    // application should do its usual thing.
    virtual bool applicationShouldHandleReopen(bool hasVisibleWindows) {
        (void)hasVisibleWindows;
        return true;
    }
    // Asked after the reopen of a second start (SecondLaunch): what that start should tell its
    // user because this process cannot do what it asked for; nothing when it can.
    virtual std::optional<std::string> messageForSecondLaunch(const SecondLaunch& launch) {
        (void)launch;
        return std::nullopt;
    }
};

// What the on-screen toolkit does for the application (the application slot of Backends).
class ApplicationBackend {
  public:
    virtual ~ApplicationBackend() = default;
    // Runs the application loop until terminate(); the delegate's launch notice comes from it.
    virtual int run(int argc, char** argv) = 0;
    virtual void terminate() = 0;
    virtual void mainMenuChanged() = 0;
    virtual void menuBarVisibilityChanged() = 0;
    virtual bool openURL(const std::string& url) = 0;
};

// NSApplication: the delegate, the main menu, modal runs and the menu bar. Modal runs nest as
// nested main loops; a modal run ends with stopModal or when its window closes. Main thread only.
class Application : public Responder {
  public:
    static Application& sharedApplication();

    ApplicationDelegate* delegate() const { return m_delegate; }
    void setDelegate(ApplicationDelegate* delegate) { m_delegate = delegate; }  // not owned

    const std::shared_ptr<Menu>& mainMenu() const { return m_mainMenu; }
    void setMainMenu(std::shared_ptr<Menu> menu);
    // +[NSMenu setMenuBarVisible:]: the menu bar of the application's windows.
    static void setMenuBarVisible(bool visible);
    static bool menuBarVisible();

    // NSApplicationMain: runs the backend's loop (headless: tells the delegate the launch finished
    // and returns 0).
    int run(int argc, char** argv);
    // Called by the backend once the loop is up.
    void finishLaunching();
    // Called by the backend when the program is activated again: the delegate decides; without
    // one, or when it agrees, the main window (the first window there is) comes to the front.
    void reopen();
    // The same for a second start of the program whose settings the backend knows; answers the
    // delegate's message for that start (messageForSecondLaunch).
    std::optional<std::string> reopen(const SecondLaunch& launch);
    // Quits once the delegate agreed (applicationShouldTerminate).
    void terminate();
    // Called by the backend when the last window closed; whether the application should quit.
    bool lastWindowClosed();

    // Runs a nested loop until stopModal (or the window closes); the window comes to the front
    // first. Answers the code given to stopModalWithCode (Aborted when the window closed).
    static constexpr int ModalResponseStop = -1000;
    static constexpr int ModalResponseAbort = -1001;
    int runModalForWindow(Window& window);
    // Ends the innermost modal run once it is back in its loop; nothing happens outside a modal
    // run or when that run is already ending.
    void stopModal();
    void stopModalWithCode(int code);
    Window* modalWindow() const;

    // NSWorkspace openURL:.
    bool openURL(const std::string& url);

    // The application backend of the Backends in use, or null.
    ApplicationBackend* backend() const;

    // Window.cpp tells the application about closing windows.
    void windowDidClose(Window& window);

  private:
    Application() = default;
    struct ModalSession {
        Window* window;
        bool stopping = false;
        int response = ModalResponseStop;
    };

    ApplicationDelegate* m_delegate = nullptr;
    std::shared_ptr<Menu> m_mainMenu;
    std::vector<ModalSession> m_modalSessions;  // innermost last
    bool m_menuBarVisible = true;
};

}  // namespace platform
