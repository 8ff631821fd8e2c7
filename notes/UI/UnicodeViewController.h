#pragma once

#include <memory>

#include "platform/ui/PlainTextView.h"
#include "platform/ui/ViewController.h"

namespace zelvo {

// The panel under the editor that shows the code points of the editor's selection.
class UnicodeViewController : public platform::ViewController {
  public:
    UnicodeViewController() : ViewController("UnicodeViewController") {}
    // Loads the view when needed.
    platform::PlainTextView* unicodeTextView();

  protected:
    void loadView() override;

  private:
    std::shared_ptr<platform::PlainTextView> m_unicodeTextView;
};

}  // namespace zelvo
