#pragma once

#include <memory>
#include <string>

#include "inputmethod/CandidatePresenter.h"

namespace platform {
class Menu;
}

namespace quillora {

// What an input controller asks of the input method's application delegate, the one object of
// the process that owns the candidate window, the input menu and the panels. The program's
// delegate implements it; tests use a fake. Every controller of the process is handed the same
// delegate, and through it the same candidate window.
class InputMethodDelegate {
  public:
    virtual ~InputMethodDelegate() = default;

    // The one candidate window; it outlives every controller.
    virtual CandidatePresenter& candidateWindow() = 0;
    // A short notice to the user (the switch to English mode).
    virtual void messageNotify(const std::string& message) = 0;
    // Takes the notice back off the desktop when it is still up (English mode has ended).
    virtual void withdrawNotice() = 0;
    // Whether the controller should ask its client for the US keyboard layout on activation.
    virtual bool usingUSKbLayout() const = 0;
    // The input menu.
    virtual std::shared_ptr<platform::Menu> menu() = 0;

    // The input menu's actions, which the controller forwards.
    virtual void showPreferences() = 0;
    virtual void showAboutUs() = 0;
    virtual void feedback() = 0;
};

}  // namespace quillora
