#pragma once

#include "platform/graphics/AttributedString.h"
#include "platform/graphics/Geometry.h"

namespace platform {
class View;
}

namespace zelvo {

// The cell of a text field that centres its title vertically in the cell's frame and draws
// nothing but the title.
class MTextFieldCell {
  public:
    const platform::AttributedString& attributedStringValue() const { return m_value; }
    void setAttributedStringValue(platform::AttributedString value) { m_value = std::move(value); }

    // The size the title takes on one line.
    platform::Size cellSizeOfTitle() const;
    // The plain cell's title area (the bounds less a two-point margin left and right) with its y
    // moved so the title sits in the middle of the bounds, half a point lower.
    platform::Rect titleRectForBounds(const platform::Rect& bounds) const;
    // Draws the title into titleRectForBounds(frame) of the current context.
    void drawInteriorWithFrame(const platform::Rect& frame, platform::View& controlView) const;

  private:
    platform::AttributedString m_value;
};

}  // namespace zelvo
