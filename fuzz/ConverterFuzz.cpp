// The private-use converter on any text: never a crash, and a text without Mongolian letters
// comes back as it went in. A space cuts the text into parts converted on their own, so two texts
// joined by a space convert as each alone, joined by the space. And a word of the basic letters
// (A to CHI) keeps none of them: each takes a glyph of the display font, alone or within a
// ligature or a cluster. The input is read as UTF-16 units, as the programs hand it over.
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

// The same units as basic letters, at most 24 of them.
std::wstring lettersWord(const std::wstring& text) {
    std::wstring word;
    for (wchar_t c : text.substr(0, 24)) word += wchar_t(MN_A + uint32_t(c) % (MN_CHI - MN_A + 1));
    return word;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string units(size / 2, u'\0');
    if (!units.empty()) std::memcpy(units.data(), data, units.size() * 2);
    std::wstring text = platform::wideFromUtf16(units);
    CToPua& converter = *CToPua::GetInstance();
    std::wstring converted = converter.Advance(text);
    if (!touchesMongolian(text)) FUZZ_CHECK(converted == text);
    // Whatever comes out is text the programs can hand on.
    std::u16string back = platform::utf16FromWide(converted);
    FUZZ_CHECK(platform::wideFromUtf16(back) == converted);

    std::wstring a = text.substr(0, text.size() / 2), b = text.substr(text.size() / 2);
    FUZZ_CHECK(converter.Advance(a + L" " + b) ==
               converter.Advance(a) + L" " + converter.Advance(b));

    // As the commit hands a word over: after one space.
    std::wstring word = lettersWord(text);
    std::wstring glyphs = converter.Advance(L" " + word);
    FUZZ_CHECK(!glyphs.empty() && glyphs[0] == L' ');
    for (wchar_t c : glyphs) FUZZ_CHECK(c < MN_A || c > MN_CHI);
    return 0;
}
