#pragma once

#include <optional>
#include <string>

#include "platform/ui/Control.h"

namespace platform {

// NSButton: a push button with a title and/or an image (named resource image), or a check box.
class Button : public Control {
  public:
    enum class Type { Push, Switch };
    explicit Button(const Rect& frame = Rect(), Type type = Type::Push);

    Type buttonType() const { return m_type; }
    const std::string& title() const { return m_title; }
    void setTitle(std::string title);
    const std::optional<std::string>& imageName() const { return m_imageName; }
    void setImageName(std::optional<std::string> name);
    // Whether the bezel is drawn (setBordered:); a borderless button shows only its image and
    // title.
    bool isBordered() const { return m_bordered; }
    void setBordered(bool bordered);

    // Check boxes: whether ticked.
    bool state() const { return m_state; }
    void setState(bool on);
    // The user's click: a check box flips, then the action is sent.
    void performClick();

    std::string nativeKind() const override { return "button"; }

  private:
    Type m_type;
    std::string m_title;
    std::optional<std::string> m_imageName;
    bool m_state = false;
    bool m_bordered = true;
};

}  // namespace platform
