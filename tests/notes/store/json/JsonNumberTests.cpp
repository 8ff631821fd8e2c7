#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "notes/store/json/JsonParser.h"
#include "notes/store/json/JsonValue.h"

namespace notes {
namespace {

// Texts on both sides of the length a number keeps inside itself, and far beyond it.
std::vector<std::string> numberTexts() {
    std::vector<std::string> texts = {"0", "-0", "7"};
    for (std::size_t length = 2; length <= 40; ++length) {
        std::string text = "-1";
        while (text.size() < length) text += static_cast<char>('0' + text.size() % 10);
        texts.push_back(text);
    }
    texts.push_back("1." + std::string(300, '3') + "e-2");
    return texts;
}

TEST(JsonNumberTest, TextSurvivesCopiesMovesAndAssignmentsAtEveryLength) {
    for (const std::string& text : numberTexts()) {
        JsonNumber original(text);
        ASSERT_EQ(original.text(), text);
        JsonNumber copy(original);
        EXPECT_EQ(copy.text(), text);
        JsonNumber moved(std::move(copy));
        EXPECT_EQ(moved.text(), text);
        // Assignments in both directions between short and long texts free and take storage.
        for (const std::string& other : {std::string("5"), std::string(60, '9')}) {
            JsonNumber target(other);
            target = original;
            EXPECT_EQ(target.text(), text);
            JsonNumber source(other);
            source = std::move(target);
            EXPECT_EQ(source.text(), text);
            target = JsonNumber(other);
            EXPECT_EQ(target.text(), other);
        }
        JsonNumber& self = moved;
        moved = self;
        EXPECT_EQ(moved.text(), text);
        moved = std::move(self);
        EXPECT_EQ(moved.text(), text);
        EXPECT_TRUE(original.isValid()) << text;
        EXPECT_EQ(original, JsonNumber(text));
    }
}

TEST(JsonNumberTest, ParsedTextsKeepEveryDigit) {
    JsonParser parser;
    for (const std::string& text : numberTexts()) {
        auto value = parser.fragmentWithString("[" + text + "," + text + "]");
        ASSERT_TRUE(value.has_value()) << text;
        for (const JsonValue& element : *value->array()) EXPECT_EQ(element.number()->text(), text);
        // A number that ends the text exactly, with nothing readable after it.
        auto alone = parser.fragmentWithString(text);
        ASSERT_TRUE(alone.has_value());
        EXPECT_EQ(alone->number()->text(), text);
    }
}

// One parser reads documents of very different shapes in turn; what it learnt from one must not
// change what it makes of the next.
TEST(JsonNumberTest, ReusedParserReadsEachShapeAfresh) {
    auto texts = [](int count, const std::string& item) {
        std::string text = "[";
        for (int i = 0; i < count; ++i) text += (i ? "," : "") + item;
        return text + "]";
    };
    std::string wide = texts(3000, "1");
    std::string nested = texts(50, texts(3, R"({"a":[1,2],"b":{"c":[]}})"));
    std::string objects = texts(40, "{" + std::string(R"("k":1,)") + R"("k":2,"m":[[],[3]]})");
    std::string alternating = "[" + texts(2000, "2") + ",[]," + texts(5, "3") + ",[]]";
    JsonParser parser;
    for (int round = 0; round < 2; ++round) {
        for (const std::string* text : {&wide, &nested, &objects, &alternating, &wide}) {
            JsonParser fresh;
            auto expected = fresh.fragmentWithString(*text);
            auto value = parser.fragmentWithString(*text);
            ASSERT_TRUE(value.has_value());
            EXPECT_EQ(*value, *expected);
        }
        // A failure half-way leaves nothing behind for the next document.
        EXPECT_FALSE(parser.fragmentWithString(R"([[1,2],{"a":[1,{"b":)").has_value());
    }
    auto object = parser.fragmentWithString(objects);
    const JsonObject& first = *(*object->array())[0].object();
    EXPECT_EQ(first.size(), 2u);
    EXPECT_EQ(*first.find("k"), JsonValue(2));
    EXPECT_EQ(first.begin()->first, "k");
    auto alternatingValue = parser.fragmentWithString(alternating);
    EXPECT_EQ((*alternatingValue->array())[0].array()->size(), 2000u);
    EXPECT_TRUE((*alternatingValue->array())[1].array()->empty());
    EXPECT_EQ((*alternatingValue->array())[2].array()->size(), 5u);
}

}  // namespace
}  // namespace notes
