#pragma once

#include <string_view>

namespace platform {

// NSCursor: the pointer shapes the views ask for, and the one currently set. On screen the window
// maps them to the desktop's cursors; headless they are plain records.
class Cursor {
  public:
    enum class Shape { Arrow, IBeam, PointingHand, ResizeLeftRight };

    static const Cursor& arrowCursor();
    static const Cursor& IBeamCursor();
    static const Cursor& pointingHandCursor();
    static const Cursor& resizeLeftRightCursor();

    // The cursor last set; the arrow before any.
    static const Cursor& currentCursor();
    // Makes this the current cursor.
    void set() const;

    Shape shape() const { return m_shape; }
    std::string_view name() const;
    bool operator==(const Cursor&) const = default;

  private:
    explicit constexpr Cursor(Shape shape) : m_shape(shape) {}
    Shape m_shape;
};

}  // namespace platform
