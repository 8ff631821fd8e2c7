#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform::imk::ibus {

// What the controller sees of one IBus key event: the two event kinds it recognises, with
// macOS key codes and device-independent modifier flags (platform::ModifierFlags values).
struct KeyStroke {
    enum class Kind { KeyDown = 10, FlagsChanged = 12 };

    Kind kind = Kind::KeyDown;
    std::uint16_t keyCode = 0;
    std::uint64_t modifierFlags = 0;
    // UTF-8; empty for keys that type no character (arrows, function keys, modifiers).
    std::string characters;

    bool operator==(const KeyStroke&) const = default;
};

// Translates an IBus key event (keysym, hardware key code as IBus gives it, that is the evdev
// code, and the modifier state including the release bit) into a KeyStroke, or nothing for the
// events the controller never sees: releases of ordinary keys.
//
// A modifier key's press or release becomes a flags-changed stroke carrying the flags as they are
// after the event, which is what the lone-Shift toggle reads: Shift pressed alone gives the flags
// Shift, its release gives no flags at all. Key codes name the physical key (US positions) when the
// hardware code is known, else the key the keysym sits on in the US layout. Keypad keys, and the
// arrow keys, carry the numeric-pad flag as they do on a Mac keyboard.
std::optional<KeyStroke> translateKey(std::uint32_t keyval, std::uint32_t keycode,
                                      std::uint32_t state);

// The modifier flags of an IBus modifier state.
std::uint64_t modifierFlagsForState(std::uint32_t state);

}  // namespace platform::imk::ibus
