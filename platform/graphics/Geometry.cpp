#include "platform/graphics/Geometry.h"

#include <algorithm>

namespace platform {

bool Rect::contains(const Rect& r) const {
    if (isNull() || r.isNull()) return false;
    return r.minX() >= minX() && r.maxX() <= maxX() && r.minY() >= minY() && r.maxY() <= maxY();
}

Rect Rect::insetBy(double dx, double dy) const {
    if (isNull()) return *this;
    Rect s = standardized();
    double w = s.size.width - 2 * dx;
    double h = s.size.height - 2 * dy;
    if (w < 0 || h < 0) return null();
    return Rect(s.origin.x + dx, s.origin.y + dy, w, h);
}

Rect Rect::integral() const {
    if (isNull()) return *this;
    Rect s = standardized();
    double x0 = std::floor(s.minX());
    double y0 = std::floor(s.minY());
    double x1 = std::ceil(s.maxX());
    double y1 = std::ceil(s.maxY());
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

Rect Rect::intersection(const Rect& other) const {
    if (isNull() || other.isNull()) return null();
    double x0 = std::max(minX(), other.minX());
    double y0 = std::max(minY(), other.minY());
    double x1 = std::min(maxX(), other.maxX());
    double y1 = std::min(maxY(), other.maxY());
    if (x1 < x0 || y1 < y0) return null();
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

Rect Rect::unionWith(const Rect& other) const {
    if (isNull()) return other.standardized();
    if (other.isNull()) return standardized();
    double x0 = std::min(minX(), other.minX());
    double y0 = std::min(minY(), other.minY());
    double x1 = std::max(maxX(), other.maxX());
    double y1 = std::max(maxY(), other.maxY());
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

AffineTransform AffineTransform::rotation(double radians) {
    double c = std::cos(radians);
    double s = std::sin(radians);
    return {c, s, -s, c, 0, 0};
}

AffineTransform AffineTransform::after(const AffineTransform& t) const {
    // Matrix product t * this in Core Graphics' row-vector convention.
    return {t.a * a + t.b * c, t.a * b + t.b * d,        t.c * a + t.d * c,
            t.c * b + t.d * d, t.tx * a + t.ty * c + tx, t.tx * b + t.ty * d + ty};
}

AffineTransform AffineTransform::inverted() const {
    double det = a * d - b * c;
    if (det == 0) return *this;  // CGAffineTransformInvert returns the input when singular
    return {d / det, -b / det, -c / det, a / det, (c * ty - d * tx) / det, (b * tx - a * ty) / det};
}

Rect AffineTransform::apply(const Rect& r) const {
    if (r.isNull()) return r;
    Point corners[4] = {apply(Point{r.minX(), r.minY()}), apply(Point{r.maxX(), r.minY()}),
                        apply(Point{r.minX(), r.maxY()}), apply(Point{r.maxX(), r.maxY()})};
    double x0 = corners[0].x, x1 = corners[0].x, y0 = corners[0].y, y1 = corners[0].y;
    for (const Point& p : corners) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

}  // namespace platform
