#include "notes/UI/Extend/BackgroundView.h"

#include "platform/graphics/GraphicsContext.h"

namespace zelvo {

void BackgroundView::setBackgroundColor(std::optional<platform::Color> color) {
    m_backgroundColor = color;
    setNeedsDisplay(true);
}

void BackgroundView::drawRect(const platform::Rect& dirtyRect) {
    View::drawRect(dirtyRect);
    if (!m_backgroundColor) return;
    platform::GraphicsContext* context = platform::GraphicsContext::current();
    if (!context) return;
    context->setFillColor(*m_backgroundColor);
    context->fillRect(dirtyRect);
}

}  // namespace zelvo
