#include "platform/ui/PopUpButton.h"

namespace platform {

PopUpButton::PopUpButton(const Rect& frame) : Control(frame) {}

void PopUpButton::addItemsWithTitles(const std::vector<std::string>& titles) {
    m_titles.insert(m_titles.end(), titles.begin(), titles.end());
    if (m_selected < 0 && !m_titles.empty()) m_selected = 0;
    viewChanged();
}

void PopUpButton::removeAllItems() {
    m_titles.clear();
    m_selected = -1;
    viewChanged();
}

std::optional<std::string> PopUpButton::titleOfSelectedItem() const {
    if (m_selected < 0) return std::nullopt;
    return m_titles[m_selected];
}

void PopUpButton::selectItemAtIndex(int index) {
    m_selected = index >= 0 && index < numberOfItems() ? index : -1;
    viewChanged();
}

void PopUpButton::userSelected(int index) {
    if (index < 0 || index >= numberOfItems() || index == m_selected) return;
    m_selected = index;
    sendAction();
}

}  // namespace platform
