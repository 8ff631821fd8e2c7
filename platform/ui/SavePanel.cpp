#include "platform/ui/SavePanel.h"

#include "platform/ui/PanelRunner.h"

namespace platform {

std::shared_ptr<SavePanel> SavePanel::savePanel() {
    return std::make_shared<SavePanel>(Mode::Save);
}

std::shared_ptr<SavePanel> SavePanel::openPanel() {
    return std::make_shared<SavePanel>(Mode::Open);
}

int SavePanel::runModal() {
    m_url.reset();
    m_urls.clear();
    bool chosen = runPanel<SavePanel>(*this, false);
    return chosen && m_url ? ModalResponseOK : ModalResponseCancel;
}

void SavePanel::setChosen(std::vector<std::string> paths) {
    m_urls = std::move(paths);
    m_url = m_urls.empty() ? std::nullopt : std::optional<std::string>(m_urls.front());
}

SavePanel::Runner SavePanel::setRunner(Runner runner) {
    return installPanelRunner<SavePanel>(std::move(runner));
}

}  // namespace platform
