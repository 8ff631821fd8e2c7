#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "inputmethod/MongolianConverter/KeyMap.h"
#include "inputmethod/MongolianConverter/MongolianConverter.h"
#include "platform/foundation/UnicodeString.h"
#include "tests/support/ScopedResourceFolder.h"
#include "tests/support/TemporaryFolder.h"

using quillora::KeyMap;
using quillora::MongolianConverter;

namespace {

const std::filesystem::path kShippedMap =
    std::filesystem::path(QUILLORA_BUILD_RESOURCES) / "english_2_mongolian.plist";

std::string utf8(char32_t c) {
    return platform::utf8FromCodePoint(c);
}

std::string asciiPunctuation() {
    std::string all;
    for (char c = 0x21; c < 0x7F; ++c) {
        if (!std::isalnum(static_cast<unsigned char>(c))) all += c;
    }
    return all;
}

}  // namespace

TEST(KeyMap, ShippedMapCoversEveryKeyAndAgreesWithTheVowelClasses) {
    auto map = KeyMap::read(kShippedMap);
    ASSERT_TRUE(map);
    for (char c = 'a'; c <= 'z'; ++c) {
        EXPECT_TRUE(map->mongolian(std::string(1, c))) << c;
        EXPECT_TRUE(map->mongolian(std::string(1, static_cast<char>(c - 'a' + 'A')))) << c;
    }
    std::string punctuation = asciiPunctuation();
    ASSERT_EQ(punctuation.size(), 32u);
    for (char c : punctuation) EXPECT_TRUE(map->mongolian(std::string(1, c))) << c;
    EXPECT_EQ(map->entries().size(), 84u);

    // The word builder's classes: a, q, v back; e, o, u front; i neutral.
    const std::pair<const char*, char32_t> vowels[] = {{"a", 0x1820}, {"e", 0x1821}, {"i", 0x1822},
                                                       {"q", 0x1823}, {"v", 0x1824}, {"o", 0x1825},
                                                       {"u", 0x1826}};
    for (const auto& [key, letter] : vowels) EXPECT_EQ(map->mongolian(key), utf8(letter)) << key;
    EXPECT_EQ(map->mongolian(","), utf8(0x1802));
    EXPECT_EQ(map->mongolian("."), utf8(0x1803));
    EXPECT_EQ(map->mongolian(":"), utf8(0x1804));
    // Upper-case S is the narrow no-break space that joins a suffix; the word builder relies on it.
    EXPECT_EQ(map->mongolian("S"), utf8(0x202F));
    EXPECT_EQ(map->english(utf8(0x202F)), "S");

    // Every letter of the script can be typed, and reads back as one key; where Shift is not
    // needed, the key is the lower-case one.
    for (char32_t letter = 0x1820; letter <= 0x1842; ++letter) {
        auto key = map->english(utf8(letter));
        ASSERT_TRUE(key) << std::hex << static_cast<unsigned>(letter);
        ASSERT_EQ(key->size(), 1u);
        std::string lower(1, static_cast<char>(std::tolower(key->front())));
        if (key->front() >= 'A' && key->front() <= 'Z') {
            EXPECT_NE(map->mongolian(lower), utf8(letter)) << *key;
        }
    }
}

TEST(KeyMap, ReverseLookupWalksTheKeysInOneFixedOrder) {
    // Lower-case letters win over upper-case ones, which win over everything else.
    KeyMap map(
        {{"A", "x"}, {"a", "x"}, {"!", "x"}, {"B", "y"}, {"#", "y"}, {"~", "w"}, {"$", "w"}});
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(map.english("x"), "a");
        EXPECT_EQ(map.english("y"), "B");
        EXPECT_EQ(map.english("w"), "$");
        EXPECT_FALSE(map.english("z"));
        EXPECT_FALSE(map.english(""));
    }
    EXPECT_FALSE(map.mongolian("b"));
    EXPECT_TRUE(map.contains("#"));
    EXPECT_FALSE(map.contains("##"));
}

TEST(KeyMap, RomaniseReadsLettersBackAndSkipsSpellingControls) {
    auto map = KeyMap::read(kShippedMap);
    ASSERT_TRUE(map);
    // ᠮᠣᠩᠭᠣᠯ: M O ANG G O L.
    EXPECT_EQ(map->romanise("\u182E\u1823\u1829\u182D\u1823\u182F"), "mqNgql");
    // Free variation selectors, the vowel separator and the suffix space are not typed.
    EXPECT_EQ(map->romanise("\u202F\u1833\u1824"), "dv");
    EXPECT_EQ(map->romanise("\u182D\u180B\u1820\u180E\u1820"), "gaa");
    EXPECT_EQ(map->romanise(""), "");
    // A character no key stands for makes the word untypeable.
    EXPECT_FALSE(map->romanise("\u182E\u00E9"));
    EXPECT_FALSE(map->romanise("\u182Ex"));
}

TEST(KeyMap, ReadKeepsOnlyTextEntriesOfADictionary) {
    TemporaryFolder folder;
    EXPECT_FALSE(KeyMap::read(folder.file("missing.plist")));
    std::ofstream(folder.file("list.plist"))
        << R"(<?xml version="1.0"?><plist version="1.0"><array><string>a</string></array></plist>)";
    EXPECT_FALSE(KeyMap::read(folder.file("list.plist")));
    std::ofstream(folder.file("mixed.plist")) << R"(<?xml version="1.0"?><plist version="1.0"><dict>
             <key>a</key><string>ᠠ</string><key>b</key><integer>3</integer></dict></plist>)";
    auto mixed = KeyMap::read(folder.file("mixed.plist"));
    ASSERT_TRUE(mixed);
    EXPECT_EQ(mixed->entries().size(), 1u);
    EXPECT_EQ(mixed->mongolian("a"), "ᠠ");
}

class MongolianConverterTest : public ::testing::Test {
  protected:
    void SetUp() override { MongolianConverter::reset(); }
    void TearDown() override { MongolianConverter::reset(); }
};

TEST_F(MongolianConverterTest, MissingMapAnswersAbsentAndIsLoadedOnceItArrives) {
    TemporaryFolder folder;
    ScopedResourceFolder resources("quillora", folder.path());
    EXPECT_FALSE(MongolianConverter::Convert_English_To_Mongolian("a"));
    EXPECT_FALSE(MongolianConverter::Convert_Mongolian_To_English("ᠠ"));
    EXPECT_FALSE(MongolianConverter::Check_English_OR_Symbal("a"));

    std::filesystem::copy_file(kShippedMap, folder.path() / "english_2_mongolian.plist");
    EXPECT_EQ(MongolianConverter::Convert_English_To_Mongolian("a"), "ᠠ");
    EXPECT_EQ(MongolianConverter::Convert_Mongolian_To_English("ᠠ"), "a");
    EXPECT_EQ(MongolianConverter::Convert_Mongolian_To_English("\u1827"), "E");
    EXPECT_TRUE(MongolianConverter::Check_English_OR_Symbal(":"));
    EXPECT_FALSE(MongolianConverter::Check_English_OR_Symbal("1"));
    EXPECT_FALSE(MongolianConverter::Convert_English_To_Mongolian("7"));
    EXPECT_FALSE(MongolianConverter::Convert_English_To_Mongolian("ab"));
    EXPECT_FALSE(MongolianConverter::Convert_English_To_Mongolian(""));

    // Once loaded, the map stays, even when the file goes away.
    std::filesystem::remove(folder.path() / "english_2_mongolian.plist");
    EXPECT_EQ(MongolianConverter::Convert_English_To_Mongolian("v"), "\u1824");
}

TEST_F(MongolianConverterTest, VowelSeparatorAndFourthSelectorSwapEverywhere) {
    const std::string text = "\u180E\u1820\u180E\u182D\u180F";
    EXPECT_EQ(MongolianConverter::Convert_180E_To_180F(text), "\u180F\u1820\u180F\u182D\u180F");
    EXPECT_EQ(MongolianConverter::Convert_180F_To_180E(text), "\u180E\u1820\u180E\u182D\u180E");
    EXPECT_EQ(MongolianConverter::Convert_180E_To_180F(""), "");
    EXPECT_EQ(MongolianConverter::Convert_180F_To_180E("abc"), "abc");
}
