#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/graphics/Font.h"
#include "platform/ui/View.h"

namespace platform {

// NSControl: a view shown by a toolkit widget, with an action sent when the user works it and a
// font. The action is a block (the target–action pair of AppKit, bound when the interface is
// built).
class Control : public View {
  public:
    explicit Control(const Rect& frame = Rect());

    using Action = std::function<void(Control& sender)>;
    void setAction(Action action) { m_action = std::move(action); }
    // Sends the action, as the widget does when the user works it; whether there was one.
    bool sendAction();

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    const std::optional<Font>& font() const { return m_font; }
    void setFont(std::optional<Font> font);
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    // A short help text shown when the pointer rests on the control.
    const std::string& toolTip() const { return m_toolTip; }
    void setToolTip(std::string tip);

  private:
    Action m_action;
    bool m_enabled = true;
    std::optional<Font> m_font;
    int m_tag = 0;
    std::string m_toolTip;
};

}  // namespace platform
