#include "platform/web/PDFView.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/GraphicsContext.h"

namespace platform {

namespace {
const Color kGround = Color::calibratedRGB(0.6, 0.6, 0.62);
}  // namespace

PDFView::PDFView(const Rect& frame) : View(frame) {}

void PDFView::setDocument(std::shared_ptr<PDFDocument> document) {
    m_document = std::move(document);
    m_rendered.assign(m_document ? size_t(m_document->pageCount()) : 0, Rendered{});
    setNeedsDisplay(true);
}

void PDFView::setFrame(const Rect& frame) {
    View::setFrame(frame);
    setNeedsDisplay(true);
}

double PDFView::pageScale(int index) const {
    Size page = m_document->pageSize(index);
    if (page.width <= 0) return 0;
    return std::max(0.0, bounds().width() - 2 * margin) / page.width;
}

Rect PDFView::pageRect(int index) const {
    if (!m_document || index < 0 || index >= m_document->pageCount()) return Rect::null();
    Rect box = bounds();
    double top = box.maxY() - margin;
    for (int i = 0; i < index; ++i) top -= m_document->pageSize(i).height * pageScale(i) + margin;
    double scale = pageScale(index);
    Size page = m_document->pageSize(index);
    double width = page.width * scale, height = page.height * scale;
    return Rect(box.minX() + (box.width() - width) / 2, top - height, width, height);
}

void PDFView::drawRect(const Rect& dirtyRect) {
    GraphicsContext* context = GraphicsContext::current();
    if (!context) return;
    context->setFillColor(kGround);
    context->fillRect(dirtyRect);
    if (!m_document) return;
    for (int i = 0; i < m_document->pageCount(); ++i) {
        Rect place = pageRect(i);
        if (place.isNull() || place.isEmpty() || !place.intersects(dirtyRect)) continue;
        Rendered& rendered = m_rendered[size_t(i)];
        double scale = pageScale(i);
        // Drawn afresh only when the width changed: a page costs a full rasterisation.
        if (!rendered.image || std::abs(rendered.scale - scale) > 1e-6) {
            rendered.image = m_document->renderPage(i, scale);
            rendered.scale = scale;
        }
        if (rendered.image) context->drawImage(*rendered.image, place);
    }
}

}  // namespace platform
