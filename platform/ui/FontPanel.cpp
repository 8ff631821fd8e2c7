#include "platform/ui/FontPanel.h"

namespace platform {

namespace {
FontPanel::Presenter& presenter() {
    static FontPanel::Presenter shared;
    return shared;
}
}  // namespace

FontPanel& FontPanel::sharedFontPanel() {
    static FontPanel panel;
    return panel;
}

void FontPanel::setPresenter(Presenter shown) {
    presenter() = std::move(shown);
}

std::optional<FontPanel::Choice> FontPanel::runModal() {
    if (!presenter()) return std::nullopt;
    std::optional<Choice> choice = presenter()();
    if (choice && (choice->family.empty() || choice->pointSize <= 0)) return std::nullopt;
    return choice;
}

}  // namespace platform
