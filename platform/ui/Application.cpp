#include "platform/ui/Application.h"

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Backends.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowHost.h"

namespace platform {

Application& Application::sharedApplication() {
    static Application* application = new Application();  // lives as long as the process
    return *application;
}

void Application::setMainMenu(std::shared_ptr<Menu> menu) {
    m_mainMenu = std::move(menu);
    if (ApplicationBackend* desktop = backend()) desktop->mainMenuChanged();
}

void Application::setMenuBarVisible(bool visible) {
    Application& app = sharedApplication();
    if (app.m_menuBarVisible == visible) return;
    app.m_menuBarVisible = visible;
    if (ApplicationBackend* desktop = app.backend()) desktop->menuBarVisibilityChanged();
}

bool Application::menuBarVisible() {
    return sharedApplication().m_menuBarVisible;
}

int Application::run(int argc, char** argv) {
    if (ApplicationBackend* desktop = backend()) return desktop->run(argc, argv);
    finishLaunching();
    return 0;
}

void Application::finishLaunching() {
    if (m_delegate) m_delegate->applicationDidFinishLaunching();
}

void Application::reopen() {
    bool visible = false;
    for (Window* w : Window::windows()) visible = visible || w->isVisible();
    if (m_delegate && !m_delegate->applicationShouldHandleReopen(visible)) return;
    if (m_delegate || visible) return;  // a delegate that agreed has shown what it wants
    std::vector<Window*> windows = Window::windows();
    if (!windows.empty()) windows.front()->makeKeyAndOrderFront();
}

std::optional<std::string> Application::reopen(const SecondLaunch& launch) {
    reopen();
    return m_delegate ? m_delegate->messageForSecondLaunch(launch) : std::nullopt;
}

void Application::terminate() {
    auto quit = [this](bool agreed) {
        if (!agreed) return;
        if (m_delegate) m_delegate->applicationWillTerminate();
        if (ApplicationBackend* desktop = backend()) desktop->terminate();
    };
    if (m_delegate)
        m_delegate->applicationShouldTerminate(quit);
    else
        quit(true);
}

bool Application::lastWindowClosed() {
    return m_delegate && m_delegate->applicationShouldTerminateAfterLastWindowClosed();
}

int Application::runModalForWindow(Window& window) {
    m_modalSessions.push_back(ModalSession{&window});
    window.makeKeyAndOrderFront();
    if (WindowHost* host = window.host()) host->setModal(true);
    // A window that closed while coming up has ended its run already.
    if (!m_modalSessions.back().stopping) RunLoop::mainRunLoop().run();
    int response = m_modalSessions.back().response;
    m_modalSessions.pop_back();
    if (WindowHost* host = window.host()) host->setModal(false);
    return response;
}

void Application::stopModal() {
    stopModalWithCode(ModalResponseStop);
}

void Application::stopModalWithCode(int code) {
    if (m_modalSessions.empty() || m_modalSessions.back().stopping) return;
    m_modalSessions.back().stopping = true;
    m_modalSessions.back().response = code;
    RunLoop::mainRunLoop().stop();
}

Window* Application::modalWindow() const {
    return m_modalSessions.empty() ? nullptr : m_modalSessions.back().window;
}

bool Application::openURL(const std::string& url) {
    ApplicationBackend* desktop = backend();
    return desktop && desktop->openURL(url);
}

ApplicationBackend* Application::backend() const {
    return Backends::current().application.get();
}

void Application::windowDidClose(Window& window) {
    if (!m_modalSessions.empty() && m_modalSessions.back().window == &window)
        stopModalWithCode(ModalResponseAbort);
}

}  // namespace platform
