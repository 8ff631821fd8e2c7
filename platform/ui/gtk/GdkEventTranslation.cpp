#include "platform/ui/gtk/GdkEventTranslation.h"

#include <string>

#include "platform/foundation/UnicodeString.h"

namespace platform::gtk {

namespace {

std::string utf8Of(guint keyval) {
    // The Mac's Delete key (Backspace here) types DEL; its forward delete types no character.
    if (keyval == GDK_KEY_BackSpace) return "\x7f";
    gunichar c = gdk_keyval_to_unicode(keyval);
    // GDK maps every keysym of the Unicode block, surrogates and values past U+10FFFF included.
    if (c == 0 || c == 0x7f || !isScalarValue(c)) return {};
    char buffer[8];
    int n = g_unichar_to_utf8(c, buffer);
    return std::string(buffer, n);
}

// Mac virtual key codes of the keys that have no character, or whose character varies by layout
// less than their role does.
std::uint16_t macKeyCode(guint keyval) {
    switch (keyval) {
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter:
            return 36;
        case GDK_KEY_Tab:
            return 48;
        case GDK_KEY_space:
            return 49;
        case GDK_KEY_BackSpace:
            return 51;
        case GDK_KEY_Escape:
            return 53;
        case GDK_KEY_Left:
            return 123;
        case GDK_KEY_Right:
            return 124;
        case GDK_KEY_Down:
            return 125;
        case GDK_KEY_Up:
            return 126;
        case GDK_KEY_Home:
        case GDK_KEY_KP_Home:
            return 115;
        case GDK_KEY_Page_Up:
        case GDK_KEY_KP_Page_Up:
            return 116;
        case GDK_KEY_End:
        case GDK_KEY_KP_End:
            return 119;
        case GDK_KEY_Page_Down:
        case GDK_KEY_KP_Page_Down:
            return 121;
        default:
            return 0;
    }
}

}  // namespace

std::uint64_t modifierFlagsFromGdk(guint state) {
    std::uint64_t flags = 0;
    if (state & GDK_SHIFT_MASK) flags |= ModifierFlags::Shift;
    if (state & GDK_LOCK_MASK) flags |= ModifierFlags::CapsLock;
    if (state & GDK_CONTROL_MASK) flags |= ModifierFlags::Command;
    if (state & GDK_MOD1_MASK) flags |= ModifierFlags::Option;
    return flags;
}

Event keyEventFromGdk(const GdkEventKey& key) {
    EventType type = key.type == GDK_KEY_RELEASE ? EventType::KeyUp : EventType::KeyDown;
    // The keyval already has Shift's level and ignores Ctrl; as Ctrl plays Command, whose keys
    // type their plain characters on the Mac, both strings are the keyval's character.
    std::string characters = utf8Of(key.keyval);
    return Event::keyEvent(type, characters, characters, macKeyCode(key.keyval),
                           modifierFlagsFromGdk(key.state), key.time / 1000.0);
}

std::optional<Event> scrollEventFromGdk(const GdkEventScroll& scroll, Point location) {
    double dx = 0, dy = 0;
    switch (scroll.direction) {
        case GDK_SCROLL_UP:
            dy = 1;
            break;
        case GDK_SCROLL_DOWN:
            dy = -1;
            break;
        case GDK_SCROLL_LEFT:
            dx = 1;
            break;
        case GDK_SCROLL_RIGHT:
            dx = -1;
            break;
        case GDK_SCROLL_SMOOTH:
            // GTK counts these in notches as well, a touchpad's in fractions of one.
            dx = -scroll.delta_x;
            dy = -scroll.delta_y;
            break;
    }
    if (dx == 0 && dy == 0) return std::nullopt;
    return Event::scrollWheelEvent(location, dx, dy, modifierFlagsFromGdk(scroll.state),
                                   scroll.time / 1000.0, false);
}

}  // namespace platform::gtk
