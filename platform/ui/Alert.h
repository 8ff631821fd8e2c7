#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

// NSAlert: a message with buttons, run modally or shown as a sheet. The Backends in use give the
// presenters that show a message dialog; without one (headless) the message goes to the log and the
// first button answers.
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
    // Shows the alert over the window that has the focus (if any) and returns at once: nothing
    // runs inside a nested main loop while it is up. `answered` learns FirstButtonReturn + the
    // index of the button pressed, once, when the user answers.
    void beginSheetModal(std::function<void(int response)> answered);

    // Answers the index of the button pressed.
    using Presenter = std::function<int(const Alert&)>;
    // Shows the alert and returns; `answered` learns the index of the button pressed.
    using SheetPresenter =
        std::function<void(const Alert&, std::function<void(int index)> answered)>;

  private:
    std::string m_message;
    std::string m_informative;
    std::vector<std::string> m_buttons;
};

}  // namespace platform
