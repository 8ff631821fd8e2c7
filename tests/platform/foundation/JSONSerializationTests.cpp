#include <gtest/gtest.h>

#include "platform/foundation/JSONSerialization.h"

using namespace platform;

TEST(JSONSerialization, ReadsNestedContainersAndEveryScalar) {
    auto value = JSONSerialization::JSONObjectWithData(
        R"({"word": "ᠮᠣᠩᠭᠣᠯ", "list": [-7, 18446744073709551615, 2.5, true, null, {}],
            "twice": 1, "twice": 2})");
    ASSERT_TRUE(value && value->dictionary());
    EXPECT_EQ(*value->find("word")->text(), "ᠮᠣᠩᠭᠣᠯ");
    const auto* list = value->find("list")->array();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->size(), 6u);
    EXPECT_EQ((*list)[0].scalar()->longLongValue(), -7);
    EXPECT_EQ((*list)[1].scalar()->unsignedLongLongValue(), UINT64_MAX);
    EXPECT_DOUBLE_EQ((*list)[2].scalar()->doubleValue(), 2.5);
    EXPECT_TRUE((*list)[3].scalar()->boolValue());
    EXPECT_TRUE((*list)[4].scalar()->isNull());
    EXPECT_NE((*list)[5].dictionary(), nullptr);
    EXPECT_EQ(value->find("twice")->scalar()->intValue(), 2);
}

TEST(JSONSerialization, RefusesWhatIsNotADocument) {
    EXPECT_FALSE(JSONSerialization::JSONObjectWithData("{ not json"));
    EXPECT_FALSE(JSONSerialization::JSONObjectWithData(""));
    EXPECT_FALSE(JSONSerialization::JSONObjectWithData("[1] trailing"));
    EXPECT_FALSE(JSONSerialization::JSONObjectWithData("\"a bare string\""));
    EXPECT_FALSE(JSONSerialization::JSONObjectWithData("[\"\xC3\x28\"]"));
    EXPECT_TRUE(JSONSerialization::JSONObjectWithData(" [] "));
}
