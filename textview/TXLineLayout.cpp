#include "textview/TXLineLayout.h"

using platform::Point;
using platform::Range;
using platform::Rect;

TXLineLayout::TXLineLayout(std::shared_ptr<platform::TextLine> line, int64_t index, Rect rect,
                           TXLineMetrics metrics)
    : m_line(std::move(line)), m_index(index), m_rect(rect), m_metrics(metrics) {}

int64_t TXLineLayout::stringIndexForPosition(Point point) const {
    return m_line->stringIndexForPosition(Point{point.x - m_rect.origin.x, point.y});
}

Rect TXLineLayout::rectOfStringWithRange(Range range) const {
    Range common = platform::intersectionRange(range, stringRange());
    if (common.length == 0) return Rect();
    double a = m_line->offsetForStringIndex(static_cast<int64_t>(common.location));
    double b = m_line->offsetForStringIndex(static_cast<int64_t>(common.max()));
    return Rect(m_rect.origin.x + a, m_rect.origin.y, b - a, m_rect.size.height);
}

void TXLineLayout::addLink(std::shared_ptr<TXLinkText> link) {
    m_links.push_back(std::move(link));
}

std::shared_ptr<TXLinkText> TXLineLayout::linkAtPoint(Point point) const {
    for (const auto& link : m_links) {
        for (const TXTextGeometry& geometry : link->geometries()) {
            if (geometry.rect().contains(point)) return link;
        }
    }
    return nullptr;
}
