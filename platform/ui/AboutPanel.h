#pragma once

#include <memory>
#include <optional>
#include <string>

namespace platform {

// The standard about panel: the program's name, version, a few lines about it (where its word
// list comes from), its icon and its web page.
class AboutPanel {
  public:
    struct Contents {
        std::string name;
        std::string version;
        std::string comments;
        std::string website;
        std::optional<std::string> iconPath;
    };

    class Backend {
      public:
        virtual ~Backend() = default;
        virtual void show(const Contents& contents) = 0;
    };

    // The panel's backend comes from the aboutPanels maker of the Backends in use, if any.
    explicit AboutPanel(Contents contents);
    ~AboutPanel();

    const Contents& contents() const { return m_contents; }
    void makeKeyAndOrderFront();
    // How many times the panel was brought up.
    int timesShown() const { return m_timesShown; }

  private:
    Contents m_contents;
    std::unique_ptr<Backend> m_backend;
    int m_timesShown = 0;
};

}  // namespace platform
