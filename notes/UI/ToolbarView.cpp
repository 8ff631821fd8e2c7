#include "notes/UI/ToolbarView.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/GraphicsContext.h"

namespace zelvo {

using platform::Color;
using platform::GraphicsContext;
using platform::Rect;

ToolbarView::ToolbarView(const Rect& frame) : View(frame) {}

void ToolbarView::layoutItems() {
    const size_t count = m_items.size();
    const auto fitting =
        size_t(std::max(1.0, std::floor((frame().width() - leadingInset) / itemSize)));
    const size_t rows = std::max<size_t>(1, (count + fitting - 1) / fitting);
    const size_t perRow = std::max<size_t>(1, (count + rows - 1) / rows);
    const double height = double(rows) * itemSize;
    for (size_t i = 0; i < count; ++i) {
        double x = itemSize * double(i % perRow) + leadingInset;
        double y = height - itemSize * double(i / perRow + 1);  // the first row on top
        m_items[i]->setFrame(Rect(x, y, itemSize, itemSize));
    }
    Rect strip = frame();
    if (strip.height() == height) return;
    setFrame(Rect(strip.minX(), strip.maxY() - height, strip.width(), height));
    setNeedsDisplay(true);
    if (m_heightChanged) m_heightChanged();
}

void ToolbarView::resizeWithOldSuperviewSize(platform::Size oldSize) {
    View::resizeWithOldSuperviewSize(oldSize);
    layoutItems();
}

void ToolbarView::drawRect(const Rect& dirtyRect) {
    View::drawRect(dirtyRect);
    GraphicsContext* context = GraphicsContext::current();
    if (!context) return;
    context->setFillColor(Color::calibratedRGB(0.118, 0.125, 0.157, 1.0));
    context->fillRect(dirtyRect);
}

void ToolbarView::drawBorder(const Rect& rect) {
    if (rect.size.height < bounds().size.height) return;
    GraphicsContext* context = GraphicsContext::current();
    if (!context) return;
    Rect inner{{rect.origin.x + 2, rect.origin.y + 2}, {rect.size.width - 3, rect.size.height - 3}};
    context->setStrokeColor(Color::calibratedRGB(1.0, 0.5, 0.0, 1.0));
    context->setLineWidth(1);
    context->strokePath(platform::Path::roundedRect(inner, 1, 1));
}

}  // namespace zelvo
