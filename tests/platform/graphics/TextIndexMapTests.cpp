#include <gtest/gtest.h>

#include "platform/graphics/TextIndexMap.h"

using namespace platform;

TEST(TextIndexMap, RoundTripsMongolianEmojiAndCrlf) {
    // Mongolian letters take 3 bytes, the emoji a surrogate pair and 4 bytes, CR LF one byte each.
    std::u16string text = u"\u182E\u1823\u202F\u1833\r\n\U0001F600a";
    TextIndexMap map(text);
    EXPECT_EQ(map.utf8(),
              "\xE1\xA0\xAE\xE1\xA0\xA3\xE2\x80\xAF\xE1\xA0\xB3\r\n\xF0\x9F\x98\x80"
              "a");
    EXPECT_EQ(map.utf16Length(), text.size());
    EXPECT_EQ(utf16FromUtf8(map.utf8()), text);
    EXPECT_EQ(utf8FromUtf16(text), map.utf8());

    const uint32_t bytes[] = {0, 3, 6, 9, 12, 13, 14, 14, 18, 19};
    for (size_t i = 0; i <= text.size(); ++i) {
        EXPECT_EQ(map.utf8Offset(i), bytes[i]) << "unit " << i;
    }
    // Each character start maps back; a byte inside a character gives the character's start.
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == 7) continue;  // second half of the pair
        EXPECT_EQ(map.utf16Index(bytes[i]), i);
    }
    EXPECT_EQ(map.utf16Index(1), 0u);
    EXPECT_EQ(map.utf16Index(16), 6u);
    EXPECT_EQ(map.utf16Index(1000), text.size());
    EXPECT_EQ(map.utf8Offset(1000), 19u);
}

TEST(TextIndexMap, LoneSurrogatesAndBadBytesBecomeReplacementCharacters) {
    std::u16string text = u"a";
    text += char16_t(0xD83D);  // a high half with nothing after it
    text += u"b";
    text += char16_t(0xDE00);  // a low half alone
    TextIndexMap map(text);
    EXPECT_EQ(map.utf8(),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
    EXPECT_EQ(map.utf8Offset(2), 4u);
    EXPECT_EQ(map.utf16Index(4), 2u);
    EXPECT_EQ(utf16FromUtf8("x\xFFy\xE1\xA0"), u"x\uFFFDy\uFFFD\uFFFD");
    EXPECT_EQ(utf16FromUtf8(""), u"");
    EXPECT_EQ(TextIndexMap(u"").utf8Offset(0), 0u);
}
