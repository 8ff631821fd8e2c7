// Key translation, IBus's and GDK's, on any keysym, code and state: the characters of a key are
// well-formed UTF-8 that converts to UTF-16 and back unchanged (no surrogates, nothing past
// U+10FFFF).
#include <cstdint>
#include <cstring>

#include "fuzz/FuzzCheck.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/imk/ibus/KeyTranslation.h"
#include "platform/ui/gtk/GdkEventTranslation.h"

namespace {

void checkCharacters(const std::string& characters) {
    FUZZ_CHECK(platform::validUtf8(characters) == characters);
    FUZZ_CHECK(platform::utf8FromUtf16(platform::utf16FromUtf8(characters)) == characters);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (; size >= 12; data += 12, size -= 12) {
        uint32_t keyval, keycode, state;
        std::memcpy(&keyval, data, 4);
        std::memcpy(&keycode, data + 4, 4);
        std::memcpy(&state, data + 8, 4);
        if (auto stroke = platform::imk::ibus::translateKey(keyval, keycode, state)) {
            checkCharacters(stroke->characters);
        }
        GdkEventKey key{};
        key.type = (state & 1) ? GDK_KEY_RELEASE : GDK_KEY_PRESS;
        key.keyval = keyval;
        key.state = state;
        key.hardware_keycode = static_cast<guint16>(keycode);
        platform::Event event = platform::gtk::keyEventFromGdk(key);
        checkCharacters(event.characters());
        checkCharacters(event.charactersIgnoringModifiers());
    }
    return 0;
}
