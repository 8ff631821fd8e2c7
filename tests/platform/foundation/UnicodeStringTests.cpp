#include <gtest/gtest.h>

#include "platform/foundation/UnicodeString.h"

using namespace platform;

TEST(UnicodeString, RoundTripsMongolianEmojiAndLineBreaks) {
    std::string text = "ᠮᠣᠩᠭᠣᠯ\u202Fᠤᠨ 😀\r\n";
    std::u16string units = utf16FromUtf8(text);
    EXPECT_EQ(units.size(), 6u + 1 + 2 + 1 + 2 + 2);
    EXPECT_TRUE(isHighSurrogate(units[10]));
    EXPECT_TRUE(isLowSurrogate(units[11]));
    EXPECT_EQ(utf8FromUtf16(units), text);
}

TEST(UnicodeString, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(utf16FromUtf8("a\xC0\xAF"
                            "b"),
              u"a\uFFFD\uFFFDb");                                     // overlong slash
    EXPECT_EQ(utf16FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
    EXPECT_EQ(utf16FromUtf8("\xE1\xA0"), u"\uFFFD\uFFFD");            // cut sequence
    std::u16string lone = u"x";
    lone += char16_t(0xD800);
    EXPECT_EQ(utf8FromUtf16(lone), "x\xEF\xBF\xBD");
    size_t units = 0;
    EXPECT_EQ(codePointAt(lone, 1, units), 0xFFFDu);
    EXPECT_EQ(units, 1u);
}

TEST(UnicodeString, ConverterTextRoundTripsAndRefusesNonScalars) {
    std::u16string text = u" \u182E\u1823\u1829\u182D\u202F\U0001F600";
    std::wstring wide = wideFromUtf16(text);
    ASSERT_EQ(wide.size(), 7u);  // the emoji is one 32-bit unit, not two
    EXPECT_EQ(wide[6], wchar_t(0x1F600));
    EXPECT_EQ(utf16FromWide(wide), text);
    EXPECT_EQ(wideFromUtf16(u""), L"");

    std::u16string lone = u"a";
    lone += char16_t(0xDC00);
    EXPECT_EQ(wideFromUtf16(lone), L"a\uFFFD");
    std::wstring bad = L"x";
    bad += wchar_t(0x110000);
    bad += wchar_t(0xD800);
    EXPECT_EQ(utf16FromWide(bad), u"x\uFFFD\uFFFD");
}

// Going through a text character by character: a character outside the basic plane is one code
// point, not two halves, and malformed bytes stand as U+FFFD one for one, as in UTF-16.
TEST(UnicodeString, CodePointsOfUtf8TextAreWholeCharacters) {
    EXPECT_EQ(utf32FromUtf8("a\u182E\U0001F600"), U"a\u182E\U0001F600");
    EXPECT_EQ(utf32FromUtf8("a\xC0\xAF"
                            "b\xE1\xA0"),
              U"a\uFFFD\uFFFDb\uFFFD\uFFFD");
    EXPECT_EQ(utf32FromUtf8(""), U"");
    for (char32_t c : {U'a', U'\u182E', U'\U0001F600'})
        EXPECT_EQ(utf32FromUtf8(utf8FromCodePoint(c)), std::u32string(1, c));
}

TEST(UnicodeString, RepairedTextKeepsEveryReadableCharacter) {
    EXPECT_EQ(validUtf8("\xE1\xA0\xAC\xC3(\xE1\xA0\xA0"), "\xE1\xA0\xAC\xEF\xBF\xBD(\xE1\xA0\xA0");
    EXPECT_EQ(validUtf8("\xED\xA0\x80x"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDx");
    EXPECT_EQ(validUtf8("\xEF\xBF\xBF"), "\xEF\xBF\xBF");  // a noncharacter is still a character
}
