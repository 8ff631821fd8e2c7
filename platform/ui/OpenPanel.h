#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// NSOpenPanel: asks the user for files, modally. The Backends in use give the presenter that shows
// the toolkit's file chooser; without one (headless) every run answers Cancel.
class OpenPanel {
  public:
    static constexpr int ModalResponseCancel = 0;
    static constexpr int ModalResponseOK = 1;

    bool isFloatingPanel() const { return m_floating; }
    void setFloatingPanel(bool flag) { m_floating = flag; }
    bool canChooseFiles() const { return m_files; }
    void setCanChooseFiles(bool flag) { m_files = flag; }
    bool canChooseDirectories() const { return m_directories; }
    void setCanChooseDirectories(bool flag) { m_directories = flag; }
    bool allowsMultipleSelection() const { return m_multiple; }
    void setAllowsMultipleSelection(bool flag) { m_multiple = flag; }
    // File name extensions, matched as given ("png" and "PNG" are two); empty allows every file.
    const std::vector<std::string>& allowedFileTypes() const { return m_types; }
    void setAllowedFileTypes(std::vector<std::string> types) { m_types = std::move(types); }

    // Shows the panel until the user chooses or cancels.
    int runModal();
    // The chosen files (absolute paths) of the last run that ended with OK.
    const std::vector<std::string>& paths() const { return m_paths; }

    // The chosen paths, or absent when the user cancelled.
    using Presenter = std::function<std::optional<std::vector<std::string>>(const OpenPanel&)>;

  private:
    bool m_floating = false;
    bool m_files = true;
    bool m_directories = false;
    bool m_multiple = false;
    std::vector<std::string> m_types;
    std::vector<std::string> m_paths;
};

}  // namespace platform
