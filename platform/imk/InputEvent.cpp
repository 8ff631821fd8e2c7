#include "platform/imk/InputEvent.h"

namespace platform::imk {

InputEvent InputEvent::keyDown(std::uint16_t keyCode, std::u16string characters,
                               std::uint64_t modifierFlags) {
    return InputEvent(InputEventType::KeyDown, keyCode, std::move(characters), modifierFlags);
}

InputEvent InputEvent::keyUp(std::uint16_t keyCode, std::u16string characters,
                             std::uint64_t modifierFlags) {
    return InputEvent(InputEventType::KeyUp, keyCode, std::move(characters), modifierFlags);
}

InputEvent InputEvent::flagsChanged(std::uint64_t modifierFlags, std::uint16_t keyCode) {
    return InputEvent(InputEventType::FlagsChanged, keyCode, u"", modifierFlags);
}

}  // namespace platform::imk
