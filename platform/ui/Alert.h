#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

// NSAlert: a message with buttons, run modally. The Backends in use give the presenter that shows a
// message dialog; without one (headless) the message goes to the log and the first button answers.
class Alert {
  public:
    static constexpr int FirstButtonReturn = 1000;

    const std::string& messageText() const { return m_message; }
    void setMessageText(std::string text) { m_message = std::move(text); }
    const std::string& informativeText() const { return m_informative; }
    void setInformativeText(std::string text) { m_informative = std::move(text); }
    const std::vector<std::string>& buttons() const { return m_buttons; }
    void addButtonWithTitle(std::string title) { m_buttons.push_back(std::move(title)); }

    // FirstButtonReturn + the index of the button pressed.
    int runModal();

    // Answers the index of the button pressed.
    using Presenter = std::function<int(const Alert&)>;

  private:
    std::string m_message;
    std::string m_informative;
    std::vector<std::string> m_buttons;
};

}  // namespace platform
