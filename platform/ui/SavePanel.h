#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace platform {

class View;

// NSSavePanel: asks the user where to save, modally, with an optional accessory view of our own
// controls under the file chooser. The Backends in use give the presenter that shows the toolkit's
// file chooser; without one (headless) every run answers Cancel.
class SavePanel {
  public:
    static constexpr int ModalResponseCancel = 0;
    static constexpr int ModalResponseOK = 1;

    const std::string& nameFieldStringValue() const { return m_name; }
    void setNameFieldStringValue(std::string name) { m_name = std::move(name); }
    const std::string& message() const { return m_message; }
    void setMessage(std::string message) { m_message = std::move(message); }
    bool isExtensionHidden() const { return m_extensionHidden; }
    void setExtensionHidden(bool flag) { m_extensionHidden = flag; }
    bool canCreateDirectories() const { return m_createDirectories; }
    void setCanCreateDirectories(bool flag) { m_createDirectories = flag; }
    // Whether the panel asks before the user picks an existing file (on by default). Off for a
    // caller that writes another name than the one chosen and asks about that itself.
    bool asksBeforeReplacing() const { return m_asksBeforeReplacing; }
    void setAsksBeforeReplacing(bool flag) { m_asksBeforeReplacing = flag; }
    // Shown under the chooser while the panel runs; its controls keep what the user did there.
    const std::shared_ptr<View>& accessoryView() const { return m_accessory; }
    void setAccessoryView(std::shared_ptr<View> view) { m_accessory = std::move(view); }

    // Shows the panel until the user saves or cancels.
    int runModal();
    // The chosen file (an absolute path) of the last run that ended with OK.
    const std::optional<std::string>& path() const { return m_path; }

    // The chosen path, or absent when the user cancelled.
    using Presenter = std::function<std::optional<std::string>(SavePanel&)>;

  private:
    std::string m_name;
    std::string m_message;
    bool m_extensionHidden = false;
    bool m_createDirectories = false;
    bool m_asksBeforeReplacing = true;
    std::shared_ptr<View> m_accessory;
    std::optional<std::string> m_path;
};

}  // namespace platform
