#include "platform/ui/Cursor.h"

namespace platform {

namespace {
const Cursor* current = nullptr;
}  // namespace

const Cursor& Cursor::arrowCursor() {
    static const Cursor cursor(Shape::Arrow);
    return cursor;
}

const Cursor& Cursor::IBeamCursor() {
    static const Cursor cursor(Shape::IBeam);
    return cursor;
}

const Cursor& Cursor::pointingHandCursor() {
    static const Cursor cursor(Shape::PointingHand);
    return cursor;
}

const Cursor& Cursor::resizeLeftRightCursor() {
    static const Cursor cursor(Shape::ResizeLeftRight);
    return cursor;
}

const Cursor& Cursor::currentCursor() {
    return current ? *current : arrowCursor();
}

void Cursor::set() const {
    switch (m_shape) {
        case Shape::Arrow:
            current = &arrowCursor();
            break;
        case Shape::IBeam:
            current = &IBeamCursor();
            break;
        case Shape::PointingHand:
            current = &pointingHandCursor();
            break;
        case Shape::ResizeLeftRight:
            current = &resizeLeftRightCursor();
            break;
    }
}

std::string_view Cursor::name() const {
    switch (m_shape) {
        case Shape::Arrow:
            return "arrow";
        case Shape::IBeam:
            return "IBeam";
        case Shape::PointingHand:
            return "pointingHand";
        case Shape::ResizeLeftRight:
            return "resizeLeftRight";
    }
    return "arrow";
}

}  // namespace platform
