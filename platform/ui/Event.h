#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/graphics/Geometry.h"

namespace platform {

class TrackingArea;

// Event kinds, numbered as AppKit numbers them.
enum class EventType {
    LeftMouseDown = 1,
    LeftMouseUp = 2,
    RightMouseDown = 3,
    RightMouseUp = 4,
    MouseMoved = 5,
    LeftMouseDragged = 6,
    RightMouseDragged = 7,
    MouseEntered = 8,
    MouseExited = 9,
    KeyDown = 10,
    KeyUp = 11,
    ScrollWheel = 22,
};

// Modifier bits of Event::modifierFlags, with AppKit's values; the device-independent ones live
// in bits 16 to 31.
struct ModifierFlags {
    static constexpr std::uint64_t CapsLock = 1u << 16;
    static constexpr std::uint64_t Shift = 1u << 17;
    static constexpr std::uint64_t Control = 1u << 18;
    static constexpr std::uint64_t Option = 1u << 19;
    static constexpr std::uint64_t Command = 1u << 20;
    static constexpr std::uint64_t NumericPad = 1u << 21;
    static constexpr std::uint64_t Help = 1u << 22;
    static constexpr std::uint64_t Function = 1u << 23;
    static constexpr std::uint64_t DeviceIndependentMask = 0xffff0000u;
};

// One input event, a value. Mouse locations are in the window's coordinates (origin lower left).
// The factories throw std::invalid_argument when the type does not belong to them.
class Event {
  public:
    // A mouse button or movement event (down, up, dragged, moved).
    static Event mouseEvent(EventType type, Point locationInWindow, int clickCount = 1,
                            std::uint64_t modifierFlags = 0, double timestamp = 0);
    // A key event; `characters` and `charactersIgnoringModifiers` are UTF-8.
    static Event keyEvent(EventType type, std::string characters,
                          std::string charactersIgnoringModifiers, std::uint16_t keyCode,
                          std::uint64_t modifierFlags = 0, double timestamp = 0);
    // A turn of the wheel or a swipe on a touchpad, over the point: deltaY > 0 moves the content
    // down (towards its top), in points; in lines (a wheel's notches) when the deltas are not
    // precise, which the view under the pointer turns into its own distance.
    static Event scrollWheelEvent(Point locationInWindow, double deltaX, double deltaY,
                                  std::uint64_t modifierFlags = 0, double timestamp = 0,
                                  bool preciseDeltas = true);
    // A tracking area's entered or exited event.
    static Event enterExitEvent(EventType type, Point locationInWindow,
                                std::shared_ptr<TrackingArea> trackingArea,
                                std::uint64_t modifierFlags = 0, double timestamp = 0);

    EventType type() const { return m_type; }
    Point locationInWindow() const { return m_location; }
    int clickCount() const { return m_clickCount; }
    std::uint64_t modifierFlags() const { return m_modifierFlags; }
    double timestamp() const { return m_timestamp; }
    const std::string& characters() const { return m_characters; }
    const std::string& charactersIgnoringModifiers() const { return m_charactersIgnoringModifiers; }
    std::uint16_t keyCode() const { return m_keyCode; }
    const std::shared_ptr<TrackingArea>& trackingArea() const { return m_trackingArea; }
    double scrollingDeltaX() const { return m_deltaX; }
    double scrollingDeltaY() const { return m_deltaY; }
    bool hasPreciseScrollingDeltas() const { return m_preciseDeltas; }

    bool isMouseEvent() const;
    bool isKeyEvent() const { return m_type == EventType::KeyDown || m_type == EventType::KeyUp; }

  private:
    explicit Event(EventType type) : m_type(type) {}

    EventType m_type;
    Point m_location;
    int m_clickCount = 0;
    std::uint64_t m_modifierFlags = 0;
    double m_timestamp = 0;
    std::string m_characters;
    std::string m_charactersIgnoringModifiers;
    std::uint16_t m_keyCode = 0;
    std::shared_ptr<TrackingArea> m_trackingArea;
    double m_deltaX = 0;
    double m_deltaY = 0;
    bool m_preciseDeltas = true;
};

}  // namespace platform
