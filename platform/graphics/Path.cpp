#include "platform/graphics/Path.h"

#include <algorithm>

namespace platform {

void Path::addRect(const Rect& r) {
    Rect s = r.standardized();
    moveTo({s.minX(), s.minY()});
    lineTo({s.maxX(), s.minY()});
    lineTo({s.maxX(), s.maxY()});
    lineTo({s.minX(), s.maxY()});
    closePath();
}

void Path::addRoundedRect(const Rect& r, double radiusX, double radiusY) {
    Rect s = r.standardized();
    double rx = std::clamp(radiusX, 0.0, s.width() / 2);
    double ry = std::clamp(radiusY, 0.0, s.height() / 2);
    if (rx == 0 || ry == 0) {
        addRect(s);
        return;
    }
    // Quarter ellipses by cubic curves: the control points lie at this share of the radius.
    const double k = 0.5522847498;
    double x0 = s.minX(), x1 = s.maxX(), y0 = s.minY(), y1 = s.maxY();
    moveTo({x0 + rx, y0});
    lineTo({x1 - rx, y0});
    curveTo({x1 - rx + k * rx, y0}, {x1, y0 + ry - k * ry}, {x1, y0 + ry});
    lineTo({x1, y1 - ry});
    curveTo({x1, y1 - ry + k * ry}, {x1 - rx + k * rx, y1}, {x1 - rx, y1});
    lineTo({x0 + rx, y1});
    curveTo({x0 + rx - k * rx, y1}, {x0, y1 - ry + k * ry}, {x0, y1 - ry});
    lineTo({x0, y0 + ry});
    curveTo({x0, y0 + ry - k * ry}, {x0 + rx - k * rx, y0}, {x0 + rx, y0});
    closePath();
}

Rect Path::boundingBox() const {
    Rect box = Rect::null();
    for (const Element& e : m_elements) {
        int n = e.op == Op::Curve ? 3 : e.op == Op::Close ? 0 : 1;
        for (int i = 0; i < n; ++i) box = box.unionWith(Rect(e.points[i], Size{0, 0}));
    }
    return box;
}

}  // namespace platform
