#pragma once

#include <cmath>
#include <limits>

namespace platform {

// Geometry with Core Graphics rules: doubles, origin at the lower left, y up.

struct Point {
    double x = 0;
    double y = 0;
    constexpr bool operator==(const Point&) const = default;
};

struct Size {
    double width = 0;
    double height = 0;
    constexpr bool operator==(const Size&) const = default;
};

struct Rect {
    Point origin;
    Size size;

    constexpr Rect() = default;
    constexpr Rect(double x, double y, double width, double height)
        : origin{x, y}, size{width, height} {}
    constexpr Rect(Point o, Size s) : origin(o), size(s) {}

    // CGRectNull: the rectangle with no position, result of a failed intersection.
    static Rect null() {
        double inf = std::numeric_limits<double>::infinity();
        return Rect(inf, inf, 0, 0);
    }
    bool isNull() const { return std::isinf(origin.x) || std::isinf(origin.y); }

    // The CGRectGet* accessors work on the standardised rectangle (negative sizes allowed).
    double minX() const { return size.width < 0 ? origin.x + size.width : origin.x; }
    double minY() const { return size.height < 0 ? origin.y + size.height : origin.y; }
    double maxX() const { return size.width < 0 ? origin.x : origin.x + size.width; }
    double maxY() const { return size.height < 0 ? origin.y : origin.y + size.height; }
    double midX() const { return origin.x + size.width / 2; }
    double midY() const { return origin.y + size.height / 2; }
    double width() const { return std::fabs(size.width); }
    double height() const { return std::fabs(size.height); }

    // CGRectIsEmpty: null, or zero width or zero height.
    bool isEmpty() const { return isNull() || size.width == 0 || size.height == 0; }

    Rect standardized() const {
        if (isNull()) return *this;
        return Rect(minX(), minY(), width(), height());
    }

    // CGRectContainsPoint: the lower and left edges belong to the rectangle, the upper and right
    // edges do not.
    bool contains(Point p) const {
        if (isNull()) return false;
        return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
    }
    // CGRectContainsRect.
    bool contains(const Rect& r) const;

    Rect offsetBy(double dx, double dy) const {
        if (isNull()) return *this;
        Rect s = standardized();
        return Rect(s.origin.x + dx, s.origin.y + dy, s.size.width, s.size.height);
    }
    // CGRectInset: a rectangle that becomes negative is null.
    Rect insetBy(double dx, double dy) const;
    // CGRectIntegral: the smallest rectangle with whole-number edges that contains this one.
    Rect integral() const;
    // CGRectIntersection: null when the rectangles do not meet (touching edges meet in an empty
    // rectangle).
    Rect intersection(const Rect& other) const;
    // CGRectUnion: null rectangles are ignored.
    Rect unionWith(const Rect& other) const;
    bool intersects(const Rect& other) const { return !intersection(other).isNull(); }

    bool operator==(const Rect& other) const = default;
};

// CGAffineTransform: (x', y') = (a x + c y + tx, b x + d y + ty).
struct AffineTransform {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    static AffineTransform identity() { return {}; }
    static AffineTransform translation(double tx, double ty) { return {1, 0, 0, 1, tx, ty}; }
    static AffineTransform scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    // Counter-clockwise by the angle in radians, as CGAffineTransformMakeRotation.
    static AffineTransform rotation(double radians);

    // The transform that applies `first`, then this one (CGAffineTransformConcat(first, *this)).
    AffineTransform after(const AffineTransform& first) const;
    AffineTransform translated(double x, double y) const { return after(translation(x, y)); }
    AffineTransform scaled(double sx, double sy) const { return after(scale(sx, sy)); }
    AffineTransform rotated(double radians) const { return after(rotation(radians)); }
    AffineTransform inverted() const;

    Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
    Size apply(Size s) const { return {a * s.width + c * s.height, b * s.width + d * s.height}; }
    // CGRectApplyAffineTransform: the bounding box of the transformed corners.
    Rect apply(const Rect& r) const;

    bool isIdentity() const { return a == 1 && b == 0 && c == 0 && d == 1 && tx == 0 && ty == 0; }
    bool operator==(const AffineTransform&) const = default;
};

}  // namespace platform
