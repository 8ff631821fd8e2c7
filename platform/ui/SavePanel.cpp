#include "platform/ui/SavePanel.h"

namespace platform {

namespace {
SavePanel::Presenter& presenter() {
    static SavePanel::Presenter shared;
    return shared;
}
}  // namespace

void SavePanel::setPresenter(Presenter shown) {
    presenter() = std::move(shown);
}

int SavePanel::runModal() {
    m_path.reset();
    if (!presenter()) return ModalResponseCancel;
    std::optional<std::string> chosen = presenter()(*this);
    if (!chosen || chosen->empty()) return ModalResponseCancel;
    m_path = std::move(chosen);
    return ModalResponseOK;
}

}  // namespace platform
