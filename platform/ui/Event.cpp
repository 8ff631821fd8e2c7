#include "platform/ui/Event.h"

#include <stdexcept>

namespace platform {

bool Event::isMouseEvent() const {
    switch (m_type) {
        case EventType::LeftMouseDown:
        case EventType::LeftMouseUp:
        case EventType::RightMouseDown:
        case EventType::RightMouseUp:
        case EventType::MouseMoved:
        case EventType::LeftMouseDragged:
        case EventType::RightMouseDragged:
            return true;
        default:
            return false;
    }
}

Event Event::mouseEvent(EventType type, Point locationInWindow, int clickCount,
                        std::uint64_t modifierFlags, double timestamp) {
    Event event(type);
    if (!event.isMouseEvent()) throw std::invalid_argument("mouseEvent needs a mouse event type");
    event.m_location = locationInWindow;
    event.m_clickCount = clickCount;
    event.m_modifierFlags = modifierFlags;
    event.m_timestamp = timestamp;
    return event;
}

Event Event::scrollWheelEvent(Point locationInWindow, double deltaX, double deltaY,
                              std::uint64_t modifierFlags, double timestamp, bool preciseDeltas) {
    Event event(EventType::ScrollWheel);
    event.m_location = locationInWindow;
    event.m_deltaX = deltaX;
    event.m_deltaY = deltaY;
    event.m_preciseDeltas = preciseDeltas;
    event.m_modifierFlags = modifierFlags;
    event.m_timestamp = timestamp;
    return event;
}

Event Event::keyEvent(EventType type, std::string characters,
                      std::string charactersIgnoringModifiers, std::uint16_t keyCode,
                      std::uint64_t modifierFlags, double timestamp) {
    Event event(type);
    if (!event.isKeyEvent()) throw std::invalid_argument("keyEvent needs a key event type");
    event.m_characters = std::move(characters);
    event.m_charactersIgnoringModifiers = std::move(charactersIgnoringModifiers);
    event.m_keyCode = keyCode;
    event.m_modifierFlags = modifierFlags;
    event.m_timestamp = timestamp;
    return event;
}

Event Event::enterExitEvent(EventType type, Point locationInWindow,
                            std::shared_ptr<TrackingArea> trackingArea, std::uint64_t modifierFlags,
                            double timestamp) {
    Event event(type);
    if (type != EventType::MouseEntered && type != EventType::MouseExited)
        throw std::invalid_argument("enterExitEvent needs an entered or exited type");
    event.m_location = locationInWindow;
    event.m_trackingArea = std::move(trackingArea);
    event.m_modifierFlags = modifierFlags;
    event.m_timestamp = timestamp;
    return event;
}

}  // namespace platform
