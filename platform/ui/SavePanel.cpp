#include "platform/ui/SavePanel.h"

#include "platform/ui/PanelRunner.h"

namespace platform {

std::shared_ptr<SavePanel> SavePanel::savePanel() {
    return std::make_shared<SavePanel>();
}

int SavePanel::runModal() {
    m_url = runPanel<SavePanel>(*this, std::optional<std::string>());
    if (m_url && m_url->empty()) m_url.reset();
    return m_url ? ModalResponseOK : ModalResponseCancel;
}

SavePanel::Runner SavePanel::setRunner(Runner runner) {
    return installPanelRunner<SavePanel>(std::move(runner));
}

}  // namespace platform
