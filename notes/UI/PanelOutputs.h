#pragma once

#include <string>

namespace zelvo {

// What the panels see of the main window controller: whether the Unicode and info panels are
// open, and the two outputs the editor feeds. The main window controller posts itself as this
// interface (a PanelOutputs*) with the two panel-switch notifications.
class PanelOutputs {
  public:
    virtual ~PanelOutputs() = default;
    virtual bool unicodeExpanded() const = 0;
    virtual bool infoExpanded() const = 0;
    // The selected text, which the main window renders as code points.
    virtual void setUnicodeString(const std::string& text) = 0;
    virtual void setWordCountOfInfos(const std::string& count) = 0;
};

}  // namespace zelvo
