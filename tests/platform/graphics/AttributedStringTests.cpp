#include <gtest/gtest.h>

#include "platform/graphics/AttributedString.h"

using namespace platform;

namespace {

TextAttributes colored(Color c) {
    TextAttributes a;
    a.foregroundColor = c;
    return a;
}

TextAttributes linked(const std::string& url) {
    TextAttributes a;
    a.link = url;
    return a;
}

std::vector<Range> runsOf(const AttributedString& s, AttributeKey key) {
    std::vector<Range> runs;
    s.enumerateAttribute(key, {0, s.length()},
                         [&](const TextAttributes&, Range r, bool&) { runs.push_back(r); });
    return runs;
}

}  // namespace

TEST(AttributedString, AddingMergesAndEnumerationJoinsEqualValues) {
    AttributedString s(u"abcdefgh", colored(Color::blackColor()));
    s.addAttributes(linked("x"), {2, 3});
    Range effective;
    TextAttributes at3 = s.attributesAtIndex(3, &effective);
    EXPECT_EQ(at3.link, "x");
    EXPECT_EQ(at3.foregroundColor, Color::blackColor());  // kept under the new attribute
    EXPECT_EQ(effective, (Range{2, 3}));

    // The colour is the same across all runs: one run for it, three for the link.
    EXPECT_EQ(runsOf(s, AttributeKey::ForegroundColor), (std::vector<Range>{{0, 8}}));
    EXPECT_EQ(runsOf(s, AttributeKey::Link), (std::vector<Range>{{0, 2}, {2, 3}, {5, 3}}));

    s.removeAttribute(AttributeKey::Link, {0, 100});
    s.attributesAtIndex(0, &effective);
    EXPECT_EQ(effective, (Range{0, 8}));  // runs joined again

    EXPECT_FALSE(s.attributesAtIndex(8, &effective).foregroundColor);
    EXPECT_EQ(effective, (Range{8, 0}));
}

TEST(AttributedString, EnumerationStopsAndStaysInsideTheRange) {
    AttributedString s(u"aaabbbccc");
    s.addAttributes(linked("b"), {3, 3});
    std::vector<Range> seen;
    s.enumerateAttribute(AttributeKey::Link, {1, 4},
                         [&](const TextAttributes&, Range r, bool&) { seen.push_back(r); });
    EXPECT_EQ(seen, (std::vector<Range>{{1, 2}, {3, 2}}));
    seen.clear();
    s.enumerateAttribute(AttributeKey::Link, {0, 9},
                         [&](const TextAttributes&, Range r, bool& stop) {
                             seen.push_back(r);
                             stop = true;
                         });
    EXPECT_EQ(seen.size(), 1u);
}

TEST(AttributedString, SubstringAndReplacementKeepAttributes) {
    AttributedString s(u"abcdef");
    s.addAttributes(linked("L"), {1, 2});
    AttributedString sub = s.attributedSubstring({2, 3});
    EXPECT_EQ(sub.string(), u"cde");
    EXPECT_EQ(sub.attributesAtIndex(0).link, "L");
    EXPECT_FALSE(sub.attributesAtIndex(1).link);

    // A plain replacement takes the attributes of the first replaced character.
    AttributedString r = s;
    r.replaceCharacters(Range{1, 2}, u"\uFFFC");
    EXPECT_EQ(r.string(), u"a\uFFFCdef");
    EXPECT_EQ(r.attributesAtIndex(1).link, "L");
    // Inserting an attributed string keeps its own attributes.
    r.insert(AttributedString(u"Z", colored(Color::whiteColor())), 0);
    EXPECT_EQ(r.string(), u"Za\uFFFCdef");
    EXPECT_EQ(r.attributesAtIndex(0).foregroundColor, Color::whiteColor());
    EXPECT_FALSE(r.attributesAtIndex(1).foregroundColor);
    r.append(AttributedString(u"!"));
    EXPECT_EQ(r.string(), u"Za\uFFFCdef!");
    // Ranges past the end are clipped.
    r.addAttributes(linked("end"), {6, 50});
    EXPECT_EQ(r.attributesAtIndex(6).link, "end");
    EXPECT_EQ(r.attributedSubstring({5, 50}).string(), u"f!");
}
