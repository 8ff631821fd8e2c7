#pragma once

#include <functional>
#include <optional>

#include "platform/graphics/Font.h"

namespace platform {

// NSFontPanel of the shared font manager, run modally: the user picks a font or closes the panel.
// The Backends in use give the presenter that shows the toolkit's font chooser; without one
// (headless) no font is picked.
class FontPanel {
  public:
    static FontPanel& sharedFontPanel();

    // The family and size the user picked.
    struct Choice {
        std::string family;
        double pointSize = 0;
    };
    std::optional<Choice> runModal();

    using Presenter = std::function<std::optional<Choice>()>;

  private:
    FontPanel() = default;
};

}  // namespace platform
