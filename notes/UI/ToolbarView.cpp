#include "notes/UI/ToolbarView.h"

#include "platform/graphics/GraphicsContext.h"

namespace zelvo {

using platform::Color;
using platform::GraphicsContext;
using platform::Rect;

ToolbarView::ToolbarView(const Rect& frame) : View(frame) {}

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
