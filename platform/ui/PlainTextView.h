#pragma once

#include <optional>
#include <string>

#include "platform/ui/Control.h"

namespace platform {

// NSTextView as a plain scrolling text area (the rich text view of the programs is TXTextView).
class PlainTextView : public Control {
  public:
    explicit PlainTextView(const Rect& frame = Rect());

    const std::string& string() const { return m_string; }
    // Replaces the whole text.
    void setString(std::string text);
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable);
    // The user typed: the text follows the widget.
    void userEdited(std::string text) { m_string = std::move(text); }

    std::string nativeKind() const override { return "textView"; }

  private:
    std::string m_string;
    bool m_editable = true;
};

// NSImageView showing a named resource image (none when absent).
class ImageView : public Control {
  public:
    explicit ImageView(const Rect& frame = Rect());
    const std::optional<std::string>& imageName() const { return m_imageName; }
    void setImageName(std::optional<std::string> name);
    std::string nativeKind() const override { return "image"; }

  private:
    std::optional<std::string> m_imageName;
};

}  // namespace platform
