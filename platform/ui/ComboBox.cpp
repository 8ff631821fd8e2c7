#include "platform/ui/ComboBox.h"

namespace platform {

ComboBox::ComboBox(const Rect& frame) : Control(frame) {}

void ComboBox::addItemsWithObjectValues(const std::vector<std::string>& items) {
    m_items.insert(m_items.end(), items.begin(), items.end());
    viewChanged();
}

void ComboBox::setStringValue(std::string text) {
    m_string = std::move(text);
    viewChanged();
}

void ComboBox::setEditable(bool editable) {
    m_editable = editable;
    viewChanged();
}

void ComboBox::userEdited(std::string text) {
    if (text == m_string) return;
    m_string = std::move(text);
    sendAction();
}

}  // namespace platform
