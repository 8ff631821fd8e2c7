#include "platform/ui/Control.h"

namespace platform {

Control::Control(const Rect& frame) : View(frame) {}

bool Control::sendAction() {
    if (!m_action || !m_enabled) return false;
    Action action = m_action;  // the action may replace itself
    action(*this);
    return true;
}

void Control::setEnabled(bool enabled) {
    if (m_enabled == enabled) return;
    m_enabled = enabled;
    viewChanged();
}

void Control::setFont(std::optional<Font> font) {
    m_font = std::move(font);
    viewChanged();
}

void Control::setToolTip(std::string tip) {
    m_toolTip = std::move(tip);
    viewChanged();
}

}  // namespace platform
