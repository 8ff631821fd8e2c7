#pragma once

#include <cstdint>

#include "platform/graphics/Geometry.h"

namespace platform {

class Responder;

// Option bits of a tracking area, with AppKit's values.
struct TrackingAreaOptions {
    static constexpr std::uint32_t MouseEnteredAndExited = 0x01;
    static constexpr std::uint32_t MouseMoved = 0x02;
    static constexpr std::uint32_t ActiveWhenFirstResponder = 0x10;
    static constexpr std::uint32_t ActiveInKeyWindow = 0x20;
    static constexpr std::uint32_t ActiveInActiveApp = 0x40;
    static constexpr std::uint32_t ActiveAlways = 0x80;
    static constexpr std::uint32_t AssumeInside = 0x100;
};

// NSTrackingArea: a rectangle of a view (in its bounds coordinates) whose owner hears the pointer
// enter, leave or move over it. Added to a view with View::addTrackingArea; the owner is not
// owned and must outlive the area's place in a view.
class TrackingArea {
  public:
    TrackingArea(const Rect& rect, std::uint32_t options, Responder* owner)
        : m_rect(rect), m_options(options), m_owner(owner) {}

    const Rect& rect() const { return m_rect; }
    std::uint32_t options() const { return m_options; }
    Responder* owner() const { return m_owner; }

  private:
    friend class Window;
    friend class View;

    Rect m_rect;
    std::uint32_t m_options;
    Responder* m_owner;
    bool m_pointerInside = false;  // kept by the window as the pointer moves
};

}  // namespace platform
