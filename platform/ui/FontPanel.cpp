#include "platform/ui/FontPanel.h"

#include "platform/ui/Backends.h"

namespace platform {

FontPanel& FontPanel::sharedFontPanel() {
    static FontPanel panel;
    return panel;
}

std::optional<FontPanel::Choice> FontPanel::runModal() {
    const Presenter& presenter = Backends::current().fontPanels;
    if (!presenter) return std::nullopt;
    std::optional<Choice> choice = presenter();
    if (choice && (choice->family.empty() || choice->pointSize <= 0)) return std::nullopt;
    return choice;
}

}  // namespace platform
