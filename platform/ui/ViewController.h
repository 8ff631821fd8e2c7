#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/Responder.h"

namespace platform {

class View;

// NSViewController: owns a view made on first request. The interface file named at creation is
// code here: a subclass builds its view in loadView (the plain controller makes an empty view),
// then viewDidLoad runs.
class ViewController : public Responder {
  public:
    // initWithNibName:bundle: (the bundle is always the main one).
    explicit ViewController(std::optional<std::string> nibName = std::nullopt);
    ~ViewController() override;

    const std::optional<std::string>& nibName() const { return m_nibName; }
    // Loads the view when needed.
    View* view();
    std::shared_ptr<View> viewPointer();
    void setView(std::shared_ptr<View> view);
    bool isViewLoaded() const { return m_view != nullptr; }

  protected:
    virtual void loadView();
    virtual void viewDidLoad() {}

  private:
    std::optional<std::string> m_nibName;
    std::shared_ptr<View> m_view;
    bool m_loading = false;
};

}  // namespace platform
