#include "notes/UI/MTextFieldCell.h"

#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/TextLine.h"

namespace zelvo {

platform::Size MTextFieldCell::cellSizeOfTitle() const {
    if (m_value.empty()) return {0, 0};
    double ascent = 0, descent = 0, leading = 0;
    double width =
        platform::TextLine::create(m_value)->typographicBounds(&ascent, &descent, &leading);
    return {width, ascent + descent};
}

platform::Rect MTextFieldCell::titleRectForBounds(const platform::Rect& bounds) const {
    platform::Rect title(bounds.minX() + 2, bounds.minY(), std::max(0.0, bounds.width() - 4),
                         bounds.height());
    title.origin.y = bounds.minY() - 0.5 + (bounds.height() - cellSizeOfTitle().height) / 2;
    return title;
}

void MTextFieldCell::drawInteriorWithFrame(const platform::Rect& frame, platform::View&) const {
    platform::GraphicsContext* context = platform::GraphicsContext::current();
    if (!context || m_value.empty()) return;
    platform::Rect title = titleRectForBounds(frame);
    auto line = platform::TextLine::create(m_value);
    double ascent = 0, descent = 0, leading = 0;
    line->typographicBounds(&ascent, &descent, &leading);
    context->setTextPosition(title.minX(), title.minY() + descent);
    line->draw(*context);
}

}  // namespace zelvo
