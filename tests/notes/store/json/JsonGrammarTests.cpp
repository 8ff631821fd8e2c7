#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "notes/store/json/JsonGrammar.h"
#include "platform/foundation/UTF8.h"

using namespace notes::json_grammar;

namespace {

// UTF-8 as its definition reads, one byte at a time: what the word-at-a-time checks must match.
bool plainlyValid(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80   ? 1
                        : lead < 0xC2 ? 0
                        : lead < 0xE0 ? 2
                        : lead < 0xF0 ? 3
                        : lead < 0xF5 ? 4
                                      : 0;
        if (length == 0 || i + length > text.size()) return false;
        uint32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (size_t k = 1; k < length; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = code << 6 | (next & 0x3F);
        }
        static const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            return false;
        }
        i += length;
    }
    return true;
}

}  // namespace

// Every sequence of one to three bytes from a set covering each lead and continuation class,
// placed at every offset of an ASCII frame (so that the eight-byte and four-byte steps meet it
// at each alignment and at the very end).
TEST(JsonGrammar, Utf8CheckAgreesWithTheDefinitionEverywhere) {
    const unsigned char bytes[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF,
                                   0xC0, 0xC1, 0xC2, 0xDF, 0xE0, 0xE1, 0xEC, 0xED, 0xEE,
                                   0xEF, 0xF0, 0xF1, 0xF3, 0xF4, 0xF5, 0xFF};
    std::vector<std::string> pieces;
    for (unsigned char a : bytes) {
        pieces.push_back(std::string(1, static_cast<char>(a)));
        for (unsigned char b : bytes) {
            pieces.push_back({static_cast<char>(a), static_cast<char>(b)});
            for (unsigned char c : bytes) {
                pieces.push_back(
                    {static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)});
            }
        }
    }
    pieces.push_back("\xF0\x9F\x98\x80");                      // an emoji
    pieces.push_back("\xF4\x90\x80\x80");                      // past U+10FFFF
    pieces.push_back("\xE1\xA0\xAE\xE1\xA0\xA3\xE1\xA0\xA9");  // Mongolian, one run
    size_t checked = 0;
    for (const std::string& piece : pieces) {
        for (size_t before = 0; before < 10; before += 3) {
            for (size_t after : {size_t{0}, size_t{1}, size_t{9}}) {
                std::string text = std::string(before, 'a') + piece + std::string(after, 'b');
                ASSERT_EQ(platform::utf8::isValid(text), plainlyValid(text)) << checked;
                // String content gives the same answer when it meets no special byte first.
                if (std::none_of(text.begin(), text.end(), [](char ch) {
                        return static_cast<unsigned char>(ch) < 0x20 || ch == '"' || ch == '\\';
                    })) {
                    bool wellFormed = false;
                    const char* stop =
                        scanStringContent(text.data(), text.data() + text.size(), wellFormed);
                    ASSERT_EQ(wellFormed, plainlyValid(text)) << checked;
                    if (wellFormed) {
                        ASSERT_EQ(stop, text.data() + text.size());
                    }
                }
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 100000u);
}

// String content ends at the first quotation mark, backslash or control byte, at any position in
// a word, never at bytes of multi-byte characters; bytes that are not UTF-8 stop it as such.
TEST(JsonGrammar, StringContentEndsAtTheFirstSpecialByte) {
    auto scan = [](const std::string& text, bool& wellFormed) {
        return scanStringContent(text.data(), text.data() + text.size(), wellFormed) - text.data();
    };
    bool wellFormed = false;
    const std::string base = "abcdefgh\xE1\xA0\xAE\xE1\xA0\xA3ijklmnopqrstuvwxyz0123456789";
    for (char special : {'"', '\\', '\0', '\n', '\x1F'}) {
        for (size_t at = 0; at <= base.size(); ++at) {
            std::string text = base;
            // Never inside a character: that would make the text ill-formed instead.
            if (at > 8 && at < 14 && (at - 8) % 3 != 0) continue;
            text.insert(at, 1, special);
            EXPECT_EQ(scan(text, wellFormed), static_cast<std::ptrdiff_t>(at))
                << int(special) << " at " << at;
            EXPECT_TRUE(wellFormed);
        }
    }
    EXPECT_EQ(scan(base, wellFormed), static_cast<std::ptrdiff_t>(base.size()));
    EXPECT_TRUE(wellFormed);
    // 0x20 and DEL are plain, and so are well-formed characters of any length.
    std::string plain = " \x7F\xC2\x80\xF0\x9F\x98\x80 !#[]";
    EXPECT_EQ(scan(plain, wellFormed), static_cast<std::ptrdiff_t>(plain.size()));
    EXPECT_TRUE(wellFormed);
    // Ill-formed bytes stop the scan before any special byte after them, and say so.
    for (const std::string& bad : {std::string("\xFF"), std::string("\xE1\xA0"),
                                   std::string("\xED\xA0\x80"), std::string("\xC0\xAF")}) {
        std::string text = "abcdefghij" + bad + "\"tail";
        EXPECT_EQ(scan(text, wellFormed), 10);
        EXPECT_FALSE(wellFormed) << text;
    }
}
