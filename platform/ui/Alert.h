#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

// NSAlert: a message, an explanation and buttons, run modally; the answer names the button by
// its place (AlertFirstButtonReturn for the first added, and so on). On screen the window backend
// shows a dialog; headless the installed runner answers (tests), else the first button.
class Alert {
  public:
    enum class Style { Warning, Informational, Critical };
    static constexpr int AlertFirstButtonReturn = 1000;

    const std::string& messageText() const { return m_messageText; }
    void setMessageText(std::string text) { m_messageText = std::move(text); }
    const std::string& informativeText() const { return m_informativeText; }
    void setInformativeText(std::string text) { m_informativeText = std::move(text); }
    Style alertStyle() const { return m_style; }
    void setAlertStyle(Style style) { m_style = style; }
    // Buttons in the order added; without any the alert offers "OK".
    void addButtonWithTitle(std::string title) { m_buttons.push_back(std::move(title)); }
    std::vector<std::string> buttonTitles() const;

    int runModal();

    // What shows alerts; answers the index of the chosen button (0 for the first).
    using Runner = std::function<int(const Alert&)>;
    static Runner setRunner(Runner runner);

  private:
    std::string m_messageText;
    std::string m_informativeText;
    Style m_style = Style::Warning;
    std::vector<std::string> m_buttons;
};

}  // namespace platform
