#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/ui/Control.h"

namespace platform {

class TextField;

// NSTextFieldDelegate: told after every edit the user makes.
class TextFieldDelegate {
  public:
    virtual ~TextFieldDelegate() = default;
    virtual void controlTextDidChange(TextField& field) = 0;
};

// NSTextField: a one-line entry, or a label when not editable.
class TextField : public Control {
  public:
    explicit TextField(const Rect& frame = Rect());
    // A label: not editable, not bordered, no background.
    static std::shared_ptr<TextField> labelWithString(const std::string& text,
                                                      const Rect& frame = Rect());

    const std::string& stringValue() const { return m_string; }
    void setStringValue(std::string text);
    const std::string& placeholderString() const { return m_placeholder; }
    void setPlaceholderString(std::string text);
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable);
    bool isBordered() const { return m_bordered; }
    void setBordered(bool bordered);
    std::optional<Color> textColor() const { return m_textColor; }
    void setTextColor(std::optional<Color> color);

    TextFieldDelegate* delegate() const { return m_delegate; }
    void setDelegate(TextFieldDelegate* delegate) { m_delegate = delegate; }  // not owned
    // The user typed: the text changes and the delegate is told.
    void userEdited(std::string text);

    std::string nativeKind() const override { return m_editable ? "textField" : "label"; }

  private:
    std::string m_string;
    std::string m_placeholder;
    bool m_editable = true;
    bool m_bordered = true;
    std::optional<Color> m_textColor;
    TextFieldDelegate* m_delegate = nullptr;
};

}  // namespace platform
