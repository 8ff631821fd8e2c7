#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ui/Control.h"

namespace platform {

// NSPopUpButton (and the combo box's list): one item chosen among titles.
class PopUpButton : public Control {
  public:
    explicit PopUpButton(const Rect& frame = Rect());

    void addItemsWithTitles(const std::vector<std::string>& titles);
    void removeAllItems();
    int numberOfItems() const { return int(m_titles.size()); }
    const std::vector<std::string>& itemTitles() const { return m_titles; }
    // -1 when nothing is chosen.
    int indexOfSelectedItem() const { return m_selected; }
    std::optional<std::string> titleOfSelectedItem() const;
    void selectItemAtIndex(int index);
    // The user chose an item: it becomes selected and the action runs.
    void userSelected(int index);

    std::string nativeKind() const override { return "popUp"; }

  private:
    std::vector<std::string> m_titles;
    int m_selected = -1;
};

}  // namespace platform
