#pragma once

#include "platform/ui/Control.h"

namespace platform {

// NSScroller, upright: a scroll bar showing which stretch of a longer content is in sight, which
// the user drags, clicks or turns the wheel on to move it. Lengths are points of the content, the
// offset counts from the content's top. The action goes out when the user moves it, never when
// its owner does (setContent).
class Scroller : public Control {
  public:
    // The width it takes beside the content.
    static constexpr double ScrollerWidth = 14;

    explicit Scroller(const Rect& frame = Rect());

    double contentLength() const { return m_contentLength; }
    double visibleLength() const { return m_visibleLength; }
    double offset() const { return m_offset; }
    // How far an arrow step or a line moves.
    double lineScroll() const { return m_lineScroll; }
    void setLineScroll(double points);
    // The offset is kept within the content.
    void setContent(double contentLength, double visibleLength, double offset);
    // The user moved it: the offset, kept within the content, then the action.
    void userScrolled(double offset);

    std::string nativeKind() const override { return "scroller"; }

  private:
    double clamped(double offset) const;

    double m_contentLength = 0;
    double m_visibleLength = 0;
    double m_offset = 0;
    double m_lineScroll = 10;
};

}  // namespace platform
