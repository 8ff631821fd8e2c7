#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class View;

// NSSavePanel and NSOpenPanel: choose where to write a file, or files to read, in a modal
// dialog that may carry an accessory view of controls (a format chooser). Paths are absolute.
class SavePanel {
  public:
    enum class Mode { Save, Open };
    static constexpr int ModalResponseOK = 1;
    static constexpr int ModalResponseCancel = 0;

    static std::shared_ptr<SavePanel> savePanel();
    static std::shared_ptr<SavePanel> openPanel();
    explicit SavePanel(Mode mode) : m_mode(mode) {}

    Mode mode() const { return m_mode; }
    const std::string& title() const { return m_title; }
    void setTitle(std::string title) { m_title = std::move(title); }
    // The file name offered (save panels).
    const std::string& nameFieldStringValue() const { return m_name; }
    void setNameFieldStringValue(std::string name) { m_name = std::move(name); }
    const std::optional<std::string>& directory() const { return m_directory; }
    void setDirectory(std::optional<std::string> folder) { m_directory = std::move(folder); }
    // Extensions without the dot; empty allows every file.
    const std::vector<std::string>& allowedFileTypes() const { return m_types; }
    void setAllowedFileTypes(std::vector<std::string> types) { m_types = std::move(types); }
    bool allowsMultipleSelection() const { return m_multiple; }
    void setAllowsMultipleSelection(bool flag) { m_multiple = flag; }
    // Controls shown below the file chooser; their actions run while the panel is up.
    const std::shared_ptr<View>& accessoryView() const { return m_accessory; }
    void setAccessoryView(std::shared_ptr<View> view) { m_accessory = std::move(view); }

    // Runs the panel; ModalResponseOK when the user chose, with the choice in url()/urls().
    int runModal();
    const std::optional<std::string>& url() const { return m_url; }
    const std::vector<std::string>& urls() const { return m_urls; }

    // What shows the panel: sets the choice (setChosen) and answers whether there was one.
    using Runner = std::function<bool(SavePanel&)>;
    static Runner setRunner(Runner runner);
    void setChosen(std::vector<std::string> paths);

  private:
    Mode m_mode;
    std::string m_title;
    std::string m_name;
    std::optional<std::string> m_directory;
    std::vector<std::string> m_types;
    bool m_multiple = false;
    std::shared_ptr<View> m_accessory;
    std::optional<std::string> m_url;
    std::vector<std::string> m_urls;
};

}  // namespace platform
