#include <gtest/gtest.h>

#include <string>

#include "platform/foundation/UTF8.h"

using platform::utf8::isAscii;

// The ASCII check reads whole words, the last one overlapping: a high byte must be seen at every
// length and every position, and plain text of every length must pass.
TEST(UTF8, AsciiCheckSeesEveryByte) {
    for (size_t length = 0; length <= 48; ++length) {
        // A high byte just past the end, which must never be read as part of the text.
        std::string text = std::string(length, 'x') + '\x80';
        const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
        EXPECT_TRUE(isAscii(bytes, length)) << length;
        for (size_t at = 0; at < length; ++at) {
            for (char high : {'\x80', '\xFF', '\xE1'}) {
                text[at] = high;
                EXPECT_FALSE(isAscii(bytes, length)) << length << " " << at;
            }
            text[at] = '\x7F';
            EXPECT_TRUE(isAscii(bytes, length)) << length << " " << at;
            text[at] = 'x';
        }
    }
}
