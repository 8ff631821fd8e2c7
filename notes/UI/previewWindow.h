#pragma once

#include <memory>
#include <optional>

#include "platform/graphics/AttributedString.h"
#include "platform/ui/WindowController.h"

class TXTextView;

namespace zelvo {

// A window that shows an attributed text in a text view. Nothing in the program opens it: a
// caller sets attributedString, asks for the window and runs it modally; closing ends the run.
class previewWindow : public platform::WindowController {
  public:
    previewWindow();
    ~previewWindow() override;

    TXTextView* myTextView() const { return m_myTextView.get(); }
    const std::optional<platform::AttributedString>& attributedString() const {
        return m_attributedString;
    }
    void setAttributedString(std::optional<platform::AttributedString> text) {
        m_attributedString = std::move(text);
    }

    bool windowShouldClose(platform::Window& window) override;

  protected:
    void loadWindow() override;
    void windowDidLoad() override;

  private:
    std::shared_ptr<TXTextView> m_myTextView;
    std::optional<platform::AttributedString> m_attributedString;
};

}  // namespace zelvo
