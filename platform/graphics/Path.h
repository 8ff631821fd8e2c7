#pragma once

#include <vector>

#include "platform/graphics/Geometry.h"

namespace platform {

// A drawing path of lines and cubic curves in user space.
class Path {
  public:
    enum class Op { Move, Line, Curve, Close };
    struct Element {
        Op op;
        Point points[3];  // Move and Line use the first, Curve all three (two controls, the end)
    };

    void moveTo(Point p) { m_elements.push_back({Op::Move, {p, {}, {}}}); }
    void lineTo(Point p) { m_elements.push_back({Op::Line, {p, {}, {}}}); }
    void curveTo(Point control1, Point control2, Point end) {
        m_elements.push_back({Op::Curve, {control1, control2, end}});
    }
    void closePath() { m_elements.push_back({Op::Close, {}}); }

    void addRect(const Rect& r);
    // A rectangle with elliptical corners of the radii (clamped to half the sides).
    void addRoundedRect(const Rect& r, double radiusX, double radiusY);

    static Path rect(const Rect& r) {
        Path p;
        p.addRect(r);
        return p;
    }
    static Path roundedRect(const Rect& r, double radiusX, double radiusY) {
        Path p;
        p.addRoundedRect(r, radiusX, radiusY);
        return p;
    }

    bool isEmpty() const { return m_elements.empty(); }
    const std::vector<Element>& elements() const { return m_elements; }
    // The box around every point of the path, control points included; null when empty.
    Rect boundingBox() const;

  private:
    std::vector<Element> m_elements;
};

}  // namespace platform
