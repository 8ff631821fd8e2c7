#pragma once

#include <any>
#include <functional>
#include <optional>
#include <string>

#include "platform/foundation/Range.h"
#include "platform/graphics/AttributedString.h"
#include "platform/graphics/Geometry.h"

namespace platform {
class GraphicsContext;
}

// An attachment drawn by a block: called with the context and the attachment's rectangle.
using TXAttachmentDrawingBlock = std::function<void(platform::GraphicsContext&, platform::Rect)>;

// An object shown inline in the text in place of a run of characters. What it shows is held as
// given: a view, an image or a drawing block; whoever draws attachments tells them apart.
class TXTextAttachment {
  public:
    TXTextAttachment(std::any object, platform::Size size, platform::Range range);
    // An attachment view still shown leaves its superview with the attachment.
    ~TXTextAttachment();
    TXTextAttachment(const TXTextAttachment&) = delete;
    TXTextAttachment& operator=(const TXTextAttachment&) = delete;

    // When the object is a view inside another, takes it out.
    void removeViewFromSuperview() const;

    const std::any& object() const { return m_object; }
    // The room the attachment takes: width across the line, height above the baseline.
    platform::Size size() const { return m_size; }
    platform::Range range() const { return m_range; }

    const std::optional<platform::AttributedString>& originalAttributedString() const {
        return m_originalAttributedString;
    }
    void setOriginalAttributedString(std::optional<platform::AttributedString> text) {
        m_originalAttributedString = std::move(text);
    }
    const std::optional<std::u16string>& replacedString() const { return m_replacedString; }
    // Stores the string now standing for the attachment; the range keeps its location and takes
    // the string's length.
    void setReplacedString(std::optional<std::u16string> string);

    // Run-delegate callbacks that reserve the attachment's room; the reference value they get is
    // the attachment itself, which the delegate does not own.
    const platform::RunDelegateCallbacks& callbacks() const;

    std::string description() const;

  private:
    std::any m_object;
    std::optional<platform::AttributedString> m_originalAttributedString;
    std::optional<std::u16string> m_replacedString;
    platform::Size m_size;
    platform::Range m_range;
};
