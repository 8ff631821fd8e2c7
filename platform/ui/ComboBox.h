#pragma once

#include <string>
#include <vector>

#include "platform/ui/Control.h"

namespace platform {

// NSComboBox: a text with a list of items to choose it from; when not editable only the items
// can be chosen.
class ComboBox : public Control {
  public:
    explicit ComboBox(const Rect& frame = Rect());

    const std::vector<std::string>& objectValues() const { return m_items; }
    void addItemsWithObjectValues(const std::vector<std::string>& items);
    const std::string& stringValue() const { return m_string; }
    void setStringValue(std::string text);
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable);

    // The user chose an item or typed: the text changes and the action is sent.
    void userEdited(std::string text);

    std::string nativeKind() const override { return "comboBox"; }

  private:
    std::vector<std::string> m_items;
    std::string m_string;
    bool m_editable = true;
};

}  // namespace platform
