#include "platform/ui/Scroller.h"

#include <algorithm>

namespace platform {

Scroller::Scroller(const Rect& frame) : Control(frame) {}

double Scroller::clamped(double offset) const {
    return std::clamp(offset, 0.0, std::max(0.0, m_contentLength - m_visibleLength));
}

void Scroller::setLineScroll(double points) {
    if (points <= 0 || points == m_lineScroll) return;
    m_lineScroll = points;
    viewChanged();
}

void Scroller::setContent(double contentLength, double visibleLength, double offset) {
    contentLength = std::max(0.0, contentLength);
    visibleLength = std::max(0.0, visibleLength);
    if (contentLength == m_contentLength && visibleLength == m_visibleLength && offset == m_offset)
        return;
    m_contentLength = contentLength;
    m_visibleLength = visibleLength;
    m_offset = clamped(offset);
    viewChanged();
}

void Scroller::userScrolled(double offset) {
    m_offset = clamped(offset);
    sendAction();
}

}  // namespace platform
