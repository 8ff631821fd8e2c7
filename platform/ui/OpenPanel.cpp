#include "platform/ui/OpenPanel.h"

#include <algorithm>
#include <filesystem>

#include "platform/ui/Backends.h"

namespace platform {

namespace {
bool allowed(const OpenPanel& panel, const std::string& path) {
    if (panel.allowedFileTypes().empty()) return true;
    std::string extension = std::filesystem::path(path).extension().string();
    if (!extension.empty()) extension.erase(0, 1);
    const auto& types = panel.allowedFileTypes();
    return std::find(types.begin(), types.end(), extension) != types.end();
}
}  // namespace

int OpenPanel::runModal() {
    m_paths.clear();
    const Presenter& presenter = Backends::current().openPanels;
    if (!presenter) return ModalResponseCancel;
    std::optional<std::vector<std::string>> chosen = presenter(*this);
    if (!chosen || chosen->empty()) return ModalResponseCancel;
    // The chooser's filter is a hint the user can get round (typing a name): the panel's own
    // rules decide.
    for (const std::string& path : *chosen)
        if (allowed(*this, path)) m_paths.push_back(path);
    if (!m_multiple && m_paths.size() > 1) m_paths.resize(1);
    return m_paths.empty() ? ModalResponseCancel : ModalResponseOK;
}

}  // namespace platform
