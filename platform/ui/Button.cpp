#include "platform/ui/Button.h"

namespace platform {

Button::Button(const Rect& frame, Type type) : Control(frame), m_type(type) {}

void Button::setTitle(std::string title) {
    m_title = std::move(title);
    viewChanged();
}

void Button::setImageName(std::optional<std::string> name) {
    m_imageName = std::move(name);
    viewChanged();
}

void Button::setBordered(bool bordered) {
    if (m_bordered == bordered) return;
    m_bordered = bordered;
    viewChanged();
}

void Button::setState(bool on) {
    if (m_state == on) return;
    m_state = on;
    viewChanged();
}

void Button::performClick() {
    if (!isEnabled()) return;
    if (m_type == Type::Switch) setState(!m_state);
    sendAction();
}

}  // namespace platform
