#include "textview/TXFlippedGeometry.h"

#include <cmath>
#include <limits>

using platform::Point;
using platform::Rect;

TXFlippedGeometry::TXFlippedGeometry(double boundsHeight, const std::vector<TXLineLayout>& lines)
    : m_height(boundsHeight), m_lines(lines) {}

double TXFlippedGeometry::baseline(const TXLineLayout& line) {
    return line.drawingRect().origin.y + line.metrics().descent;
}

double TXFlippedGeometry::mirrorShift(const TXLineLayout& line) {
    return line.metrics().ascent - line.metrics().descent;
}

double TXFlippedGeometry::mirror(double y, const TXLineLayout* line) const {
    return m_height + (line ? mirrorShift(*line) : 0) - y;
}

Rect TXFlippedGeometry::mirrored(const Rect& rect, const TXLineLayout* line) const {
    Rect r = rect.standardized();
    return Rect(r.origin.x, mirror(r.maxY(), line), r.size.width, r.size.height);
}

Rect TXFlippedGeometry::viewRectForLineRect(const Rect& rect, const TXLineLayout& line) const {
    return rect.offsetBy(0, m_height - 2 * baseline(line));
}

Rect TXFlippedGeometry::viewRectForBandRect(const Rect& rect, const TXLineLayout& line) const {
    return mirrored(rect, &line);
}

Rect TXFlippedGeometry::viewRectForLayoutRect(const Rect& rect) const {
    return mirrored(rect, m_lines.empty() ? nullptr : &m_lines.front());
}

Point TXFlippedGeometry::layoutPointForViewPoint(Point point) const {
    const TXLineLayout* nearest = nullptr;
    double best = std::numeric_limits<double>::infinity();
    for (const TXLineLayout& line : m_lines) {
        double bottom = m_height - baseline(line) - line.metrics().descent;
        double top = m_height - baseline(line) + line.metrics().ascent;
        double distance = point.y < bottom ? bottom - point.y : point.y > top ? point.y - top : 0;
        if (distance < best) {
            best = distance;
            nearest = &line;
        }
    }
    return Point{point.x, mirror(point.y, nearest)};
}

const TXLineLayout* TXFlippedGeometry::lineWithIndex(int64_t index) const {
    for (const TXLineLayout& line : m_lines)
        if (line.index() == index) return &line;
    return nullptr;
}
