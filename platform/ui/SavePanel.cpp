#include "platform/ui/SavePanel.h"

#include "platform/ui/Backends.h"

namespace platform {

int SavePanel::runModal() {
    m_path.reset();
    const Presenter& presenter = Backends::current().savePanels;
    if (!presenter) return ModalResponseCancel;
    std::optional<std::string> chosen = presenter(*this);
    if (!chosen || chosen->empty()) return ModalResponseCancel;
    m_path = std::move(chosen);
    return ModalResponseOK;
}

}  // namespace platform
