#include "platform/ui/WindowController.h"

namespace platform {

WindowController::WindowController(std::optional<std::string> windowNibName)
    : m_nibName(std::move(windowNibName)) {}

WindowController::~WindowController() {
    if (m_window && m_window->delegate() == this) m_window->setDelegate(nullptr);
}

Window* WindowController::window() {
    if (!m_window && !m_loading) {
        m_loading = true;
        loadWindow();
        if (!m_window) setWindow(std::make_shared<Window>(Rect(0, 0, 480, 360)));
        m_loading = false;
        windowDidLoad();
    }
    return m_window.get();
}

void WindowController::showWindow() {
    if (Window* w = window()) w->makeKeyAndOrderFront();
}

void WindowController::close() {
    if (m_window) m_window->close();
}

void WindowController::loadWindow() {}

void WindowController::setWindow(std::shared_ptr<Window> window) {
    m_window = std::move(window);
    if (m_window && !m_window->delegate()) m_window->setDelegate(this);
}

}  // namespace platform
