#include "platform/ui/TableCellImageView.h"

#include "platform/graphics/GraphicsContext.h"

namespace platform {

void TableCellImageView::setImage(std::optional<Image> image) {
    m_image = std::move(image);
    setNeedsDisplay(true);
}

void TableCellImageView::drawRect(const Rect&) {
    GraphicsContext* context = GraphicsContext::current();
    if (!context || !m_image) return;
    context->drawImage(*m_image, bounds());
}

}  // namespace platform
