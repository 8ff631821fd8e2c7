#include "platform/ui/TextField.h"

namespace platform {

TextField::TextField(const Rect& frame) : Control(frame) {}

std::shared_ptr<TextField> TextField::labelWithString(const std::string& text, const Rect& frame) {
    auto label = std::make_shared<TextField>(frame);
    label->setEditable(false);
    label->setBordered(false);
    label->setStringValue(text);
    return label;
}

void TextField::setStringValue(std::string text) {
    m_string = std::move(text);
    viewChanged();
}

void TextField::setPlaceholderString(std::string text) {
    m_placeholder = std::move(text);
    viewChanged();
}

void TextField::setEditable(bool editable) {
    m_editable = editable;
    viewChanged();
}

void TextField::setBordered(bool bordered) {
    m_bordered = bordered;
    viewChanged();
}

void TextField::setTextColor(std::optional<Color> color) {
    m_textColor = color;
    viewChanged();
}

void TextField::userEdited(std::string text) {
    if (text == m_string) return;
    m_string = std::move(text);  // the widget shows it already
    if (m_delegate) m_delegate->controlTextDidChange(*this);
}

}  // namespace platform
