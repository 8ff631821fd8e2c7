#include "tests/inputmethod/wordbuilder/WordBuilderTestSupport.h"

using namespace wordbuilder_test;
using quillora::wordbuilder::Controller;
using quillora::wordbuilder::Sang;

namespace {

// Each piece's tokens name the piece, so the pieces found can be read back.
std::vector<Sang::Tokens> segment(const std::optional<std::string>& key, int32_t start = 0) {
    std::vector<Sang::Tokens> pieces;
    Controller::keyEachSearch(key, start, pieces);
    return pieces;
}

Strings names(const std::vector<Sang::Tokens>& pieces) {
    Strings result;
    for (const auto& tokens : pieces) result.push_back(tokens.front());
    return result;
}

class SegmentationTest : public OwnStemTableTest {
  protected:
    void SetUp() override {
        OwnStemTableTest::SetUp();
        writeStemTable({{"ab", {"AB"}}, {"a", {"A"}}, {"b", {"B"}}, {"bc", {"BC"}}, {"c", {"C"}}});
    }
};

}  // namespace

TEST_F(SegmentationTest, LongestListedPrefixIsTakenFirst) {
    EXPECT_EQ(names(segment("abc")), (Strings{"AB", "C"}));
    EXPECT_EQ(names(segment("abbc")), (Strings{"AB", "BC"}));
    EXPECT_EQ(names(segment("aab")), (Strings{"A", "AB"}));
    // Greedy: "ab" is taken although "a" + "bc" would have used every letter.
    EXPECT_EQ(names(segment("abcc")), (Strings{"AB", "C", "C"}));
}

TEST_F(SegmentationTest, AnUnlistedRestIsDropped) {
    EXPECT_EQ(names(segment("abx")), (Strings{"AB"}));
    EXPECT_EQ(names(segment("abxc")), (Strings{"AB"}));
    EXPECT_EQ(names(segment("xab")), Strings{});
    EXPECT_EQ(names(segment("")), Strings{});
    EXPECT_EQ(names(segment(std::nullopt)), Strings{});
    // Lookups are exact: the table has no upper-case pieces.
    EXPECT_EQ(names(segment("AB")), Strings{});
}

TEST_F(SegmentationTest, StartIndexShortensOnlyTheFirstPrefix) {
    EXPECT_EQ(names(segment("abc", 1)), (Strings{"AB", "C"}));
    EXPECT_EQ(names(segment("abc", 2)), (Strings{"A", "BC"}));
    EXPECT_EQ(names(segment("abc", 3)), Strings{});
    EXPECT_EQ(names(segment("abc", 9)), Strings{});
}

TEST_F(SegmentationTest, MissingStemTableFindsNothingAndIsReadOnceItArrives) {
    std::filesystem::remove(folder.path() / "BaseSang.plist");
    EXPECT_FALSE(Sang::searchBaseSang("a"));
    EXPECT_EQ(Controller::execute("ab"), Strings{});
    writeStemTable({{"a", {"A", "x"}}});
    EXPECT_EQ(Sang::searchBaseSang("a"), (Sang::Tokens{"A", "x"}));
    EXPECT_FALSE(Sang::searchBaseSang("b"));
    EXPECT_FALSE(Sang::searchExtendSang("a"));
    EXPECT_FALSE(Sang::searchUserSang("a"));
}

TEST_F(SegmentationTest, StemTableKeepsOnlyTextTokensOfArrays) {
    std::ofstream(folder.file("BaseSang.plist")) << R"(<?xml version="1.0"?>
<plist version="1.0"><dict>
  <key>a</key><array><string>A</string><integer>4</integer><string>^a</string></array>
  <key>b</key><string>not a list</string>
</dict></plist>)";
    EXPECT_EQ(Sang::searchBaseSang("a"), (Sang::Tokens{"A", "^a"}));
    EXPECT_FALSE(Sang::searchBaseSang("b"));
}
