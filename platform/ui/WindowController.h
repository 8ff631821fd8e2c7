#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/Responder.h"
#include "platform/ui/Window.h"

namespace platform {

// NSWindowController: owns a window made on first request. A subclass builds the window of its
// interface file in loadWindow; windowDidLoad runs after. The controller is the window's delegate
// unless the subclass sets another.
class WindowController : public Responder, public WindowDelegate {
  public:
    explicit WindowController(std::optional<std::string> windowNibName = std::nullopt);
    ~WindowController() override;

    const std::optional<std::string>& windowNibName() const { return m_nibName; }
    // Loads the window when needed.
    Window* window();
    bool isWindowLoaded() const { return m_window != nullptr; }
    // showWindow:: loads the window and brings it to the front as key window.
    void showWindow();
    // Closes the window when it is loaded.
    void close();

  protected:
    virtual void loadWindow();
    virtual void windowDidLoad() {}
    void setWindow(std::shared_ptr<Window> window);

  private:
    std::optional<std::string> m_nibName;
    std::shared_ptr<Window> m_window;
    bool m_loading = false;
};

}  // namespace platform
