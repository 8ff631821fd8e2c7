#include "notes/UI/Extend/BackgroundView.h"

#include "platform/graphics/GraphicsContext.h"

namespace zelvo {

void BackgroundView::setBackgroundColor(std::optional<platform::Color> color) {
    m_color = color;
    setNeedsDisplay(true);
}

void BackgroundView::drawRect(const platform::Rect& dirtyRect) {
    platform::GraphicsContext* context = platform::GraphicsContext::current();
    if (!m_color || !context) return;
    context->setFillColor(*m_color);
    context->fillRect(dirtyRect);
}

}  // namespace zelvo
