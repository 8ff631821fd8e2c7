// The private-use converter on any text: never a crash, and a text without Mongolian letters
// comes back as it went in. The input is read as UTF-16 units, as the programs hand it over.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "platform/foundation/UnicodeString.h"
#include "shaping/ToPua.h"

namespace {

bool touchesMongolian(const std::wstring& text) {
    for (wchar_t c : text) {
        if ((c >= 0x1800 && c <= 0x18AF) || c == 0x200D || c == 0x202F || c == L'!' || c == L'?') {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string units(size / 2, u'\0');
    if (!units.empty()) std::memcpy(units.data(), data, units.size() * 2);
    std::wstring text = platform::wideFromUtf16(units);
    std::wstring converted = CToPua::GetInstance()->Advance(text);
    if (!touchesMongolian(text)) FUZZ_CHECK(converted == text);
    // Whatever comes out is text the programs can hand on.
    std::u16string back = platform::utf16FromWide(converted);
    FUZZ_CHECK(platform::wideFromUtf16(back) == converted);
    return 0;
}
