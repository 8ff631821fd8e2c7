#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/Event.h"

namespace platform::imk {

// Event types as AppKit numbers them; an input controller sees key downs and modifier changes.
enum class InputEventType : std::uint64_t {
    KeyDown = 10,
    KeyUp = 11,
    FlagsChanged = 12,
};

// Masks of recognizedEvents, one bit per event type (1 << type).
struct EventMask {
    static constexpr std::uint64_t KeyDown = std::uint64_t{1} << 10;
    static constexpr std::uint64_t KeyUp = std::uint64_t{1} << 11;
    static constexpr std::uint64_t FlagsChanged = std::uint64_t{1} << 12;
};

// Virtual key codes of the ANSI keyboard, with the Mac's numbers, for the keys the input method
// treats apart from their characters.
struct KeyCode {
    static constexpr std::uint16_t Return = 36;
    static constexpr std::uint16_t Tab = 48;
    static constexpr std::uint16_t Space = 49;
    static constexpr std::uint16_t Delete = 51;
    static constexpr std::uint16_t Escape = 53;
    static constexpr std::uint16_t Shift = 56;
    static constexpr std::uint16_t F5 = 96;
    static constexpr std::uint16_t F6 = 97;
    static constexpr std::uint16_t F7 = 98;
    static constexpr std::uint16_t F3 = 99;
    static constexpr std::uint16_t F8 = 100;
    static constexpr std::uint16_t F9 = 101;
    static constexpr std::uint16_t F11 = 103;
    static constexpr std::uint16_t F10 = 109;
    static constexpr std::uint16_t F12 = 111;
    static constexpr std::uint16_t Home = 115;
    static constexpr std::uint16_t PageUp = 116;
    static constexpr std::uint16_t ForwardDelete = 117;
    static constexpr std::uint16_t F4 = 118;
    static constexpr std::uint16_t End = 119;
    static constexpr std::uint16_t F2 = 120;
    static constexpr std::uint16_t PageDown = 121;
    static constexpr std::uint16_t F1 = 122;
    static constexpr std::uint16_t LeftArrow = 123;
    static constexpr std::uint16_t RightArrow = 124;
    static constexpr std::uint16_t DownArrow = 125;
    static constexpr std::uint16_t UpArrow = 126;
};

// The modifier bits are AppKit's, shared with the view layer: platform::ModifierFlags.

// One event as the input-method framework hands it to a controller: a value.
//
// The characters are UTF-16, as the controller counts units. A key that produces no character
// (arrows, Home, End, Page Up/Down, function keys, a bare modifier) carries an empty string;
// the layer never invents private-use characters for them.
class InputEvent {
  public:
    static InputEvent keyDown(std::uint16_t keyCode, std::u16string characters,
                              std::uint64_t modifierFlags = 0);
    static InputEvent keyUp(std::uint16_t keyCode, std::u16string characters,
                            std::uint64_t modifierFlags = 0);
    // The modifier keys now held; keyCode names the modifier key that changed, when known.
    static InputEvent flagsChanged(std::uint64_t modifierFlags, std::uint16_t keyCode = 0);

    InputEventType type() const { return m_type; }
    std::uint16_t keyCode() const { return m_keyCode; }
    std::uint64_t modifierFlags() const { return m_modifierFlags; }
    const std::u16string& characters() const { return m_characters; }

  private:
    InputEvent(InputEventType type, std::uint16_t keyCode, std::u16string characters,
               std::uint64_t modifierFlags)
        : m_type(type),
          m_keyCode(keyCode),
          m_modifierFlags(modifierFlags),
          m_characters(std::move(characters)) {}

    InputEventType m_type;
    std::uint16_t m_keyCode;
    std::uint64_t m_modifierFlags;
    std::u16string m_characters;
};

}  // namespace platform::imk
