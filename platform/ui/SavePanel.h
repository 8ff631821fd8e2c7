#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class View;

// NSSavePanel: choose where to write a file in a modal dialog that may carry an accessory view
// of controls (a format chooser). Paths are absolute. (Reading files: OpenPanel.)
class SavePanel {
  public:
    static constexpr int ModalResponseOK = 1;
    static constexpr int ModalResponseCancel = 0;

    static std::shared_ptr<SavePanel> savePanel();

    const std::string& title() const { return m_title; }
    void setTitle(std::string title) { m_title = std::move(title); }
    // The file name offered.
    const std::string& nameFieldStringValue() const { return m_name; }
    void setNameFieldStringValue(std::string name) { m_name = std::move(name); }
    const std::optional<std::string>& directory() const { return m_directory; }
    void setDirectory(std::optional<std::string> folder) { m_directory = std::move(folder); }
    // Extensions without the dot; empty allows every file.
    const std::vector<std::string>& allowedFileTypes() const { return m_types; }
    void setAllowedFileTypes(std::vector<std::string> types) { m_types = std::move(types); }
    // Controls shown below the file chooser; their actions run while the panel is up.
    const std::shared_ptr<View>& accessoryView() const { return m_accessory; }
    void setAccessoryView(std::shared_ptr<View> view) { m_accessory = std::move(view); }

    // Runs the panel; ModalResponseOK when the user chose, with the path in url().
    int runModal();
    const std::optional<std::string>& url() const { return m_url; }

    // What shows the panel: the path chosen, or nothing when cancelled.
    using Runner = std::function<std::optional<std::string>(SavePanel&)>;
    static Runner setRunner(Runner runner);

  private:
    std::string m_title;
    std::string m_name;
    std::optional<std::string> m_directory;
    std::vector<std::string> m_types;
    std::shared_ptr<View> m_accessory;
    std::optional<std::string> m_url;
};

}  // namespace platform
