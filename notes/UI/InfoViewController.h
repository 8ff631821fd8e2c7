#pragma once

#include <memory>

#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

namespace zelvo {

// The narrow panel at the editor's right edge that shows the word count.
class InfoViewController : public platform::ViewController {
  public:
    InfoViewController() : ViewController("InfoViewController") {}
    // Loads the view when needed.
    platform::TextField* wordCountLabel();

  protected:
    void loadView() override;

  private:
    std::shared_ptr<platform::TextField> m_wordCountLabel;
};

}  // namespace zelvo
