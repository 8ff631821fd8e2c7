#include <gtest/gtest.h>

#include <limits>

#include "platform/graphics/Font.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/TextFramesetter.h"
#include "platform/graphics/TextIndexMap.h"
#include "tests/platform/graphics/PinnedFonts.h"

using namespace platform;

namespace {

constexpr double Unbounded = std::numeric_limits<double>::max();

Font mongolian(double size) {
    return *Font::fontWithName(Font::DisplayFontFamily, size);
}

TextAttributes withFont(const Font& font, double lineHeight = 0) {
    TextAttributes a;
    a.font = font;
    if (lineHeight > 0) {
        ParagraphStyle style;
        style.minimumLineHeight = style.maximumLineHeight = lineHeight;
        a.paragraphStyle = style;
    }
    return a;
}

double widthOf(const std::shared_ptr<TextLine>& line) {
    return line->typographicBounds(nullptr, nullptr, nullptr);
}

// "mongγol", "bičig", "sayin": three Mongolian words.
const std::u16string Mongol = u"\u182E\u1823\u1829\u182D\u1823\u182F";
const std::u16string Bichig = u"\u182A\u1822\u1834\u1822\u182D";
const std::u16string Sayin = u"\u1830\u1820\u1836\u1822\u1828";

}  // namespace

TEST(Font, ResolvesInstalledFamiliesOnlyAndReportsMetrics) {
    REQUIRE_PINNED_FONTS();
    auto display = Font::fontWithName("Noto Sans Mongolian", 22);
    ASSERT_TRUE(display);
    EXPECT_EQ(display->fontName(), "Noto Sans Mongolian");
    EXPECT_EQ(display->pointSize(), 22);
    EXPECT_NEAR(display->ascent(), 32.05, 0.01);
    EXPECT_NEAR(display->descent(), 6.45, 0.01);
    EXPECT_NEAR(display->leading(), 0, 0.01);
    EXPECT_TRUE(Font::fontWithName("notosansmongolian-regular", 10));  // PostScript name
    EXPECT_FALSE(Font::fontWithName("Helvetica Neue", 12));            // would be a substitute
    Font system = Font::systemFont(Font::systemFontSize());
    EXPECT_EQ(system.familyName(), "DejaVu Sans");
    EXPECT_EQ(system.pointSize(), 13);
    EXPECT_NEAR(system.ascent(), 13 * 0.928, 0.01);
    EXPECT_NEAR(system.descent(), 13 * 0.236, 0.01);
    EXPECT_EQ(Font::labelFontSize(), 10);
}

TEST(TextFramesetter, LinesIncludeTheirParagraphSeparators) {
    REQUIRE_PINNED_FONTS();
    // CR LF counts as one separator of two units; a trailing separator makes no empty line.
    AttributedString text(u"ab\r\ncd\n\nef\u2029", withFont(Font::systemFont(12)));
    TextFramesetter setter(text);
    auto frame = setter.createFrame({0, 0}, Rect(0, 0, 500, 500));
    ASSERT_EQ(frame->lines().size(), 4u);
    EXPECT_EQ(frame->lines()[0]->stringRange(), (Range{0, 4}));
    EXPECT_EQ(frame->lines()[1]->stringRange(), (Range{4, 3}));
    EXPECT_EQ(frame->lines()[2]->stringRange(), (Range{7, 1}));
    EXPECT_EQ(frame->lines()[3]->stringRange(), (Range{8, 3}));
    EXPECT_EQ(frame->visibleStringRange(), (Range{0, 11}));
    // The empty paragraph still has the height of its font.
    double ascent = 0, descent = 0;
    EXPECT_NEAR(frame->lines()[2]->typographicBounds(&ascent, &descent, nullptr), 0, 0.01);
    EXPECT_NEAR(ascent + descent, Font::systemFont(12).ascent() + Font::systemFont(12).descent(),
                0.01);
    // Positions answer within the line, before its separator.
    EXPECT_EQ(frame->lines()[0]->stringIndexForPosition({1000, 0}), 2);
    EXPECT_EQ(frame->lines()[0]->stringIndexForPosition({-5, 0}), 0);
    EXPECT_EQ(frame->lines()[3]->stringIndexForPosition({1000, 0}), 10);
}

TEST(TextFramesetter, FixedLineHeightsHoldWithFallbackDigits) {
    REQUIRE_PINNED_FONTS();
    // Digits are not in the Mongolian font; they come from DejaVu Sans, with other metrics.
    AttributedString text(u"123 456\n" + Mongol + u"\n" + Bichig + u" 7",
                          withFont(mongolian(22), 30));
    TextFramesetter setter(text);
    Size size = setter.suggestFrameSize({0, 0}, {300, Unbounded});
    EXPECT_NEAR(size.height, 90, 0.01);
    auto frame = setter.createFrame({0, 0}, Rect(0, 0, 300, 97));
    ASSERT_EQ(frame->lines().size(), 3u);
    std::vector<Point> origins = frame->lineOrigins();
    double ascent[3], descent[3];
    for (int i = 0; i < 3; ++i)
        frame->lines()[i]->typographicBounds(&ascent[i], &descent[i], nullptr);
    Font dejavu = Font::systemFont(22);
    EXPECT_NEAR(ascent[0], dejavu.ascent(), 0.01);  // digits only: the fallback's metrics
    EXPECT_NEAR(descent[0], dejavu.descent(), 0.01);
    EXPECT_NEAR(ascent[1], mongolian(22).ascent(), 0.01);
    EXPECT_NEAR(ascent[2], mongolian(22).ascent(), 0.01);  // the taller font wins
    // Each line's box is 30 high whatever its fonts: the bottoms of the glyph boxes lie 30 apart.
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(origins[i].y - descent[i], 97 - 30.0 * (i + 1), 0.01) << "line " << i;
    }
    // Without a fixed height the lines take their natural heights.
    AttributedString natural(u"123\n" + Mongol, withFont(mongolian(22)));
    TextFramesetter naturalSetter(natural);
    EXPECT_NEAR(
        naturalSetter.suggestFrameSize({0, 0}, {300, Unbounded}).height,
        dejavu.ascent() + dejavu.descent() + mongolian(22).ascent() + mongolian(22).descent(),
        0.01);
}

TEST(TextFramesetter, WrapsAtWordsAlignsAndMeasuresTrailingWhitespace) {
    REQUIRE_PINNED_FONTS();
    TextAttributes a = withFont(mongolian(22));
    ParagraphStyle style;
    style.alignment = TextAlignment::Right;
    style.lineSpacing = 4;
    a.paragraphStyle = style;
    std::u16string words = Mongol + u" " + Bichig + u" " + Sayin;
    double wide = widthOf(TextLine::create(AttributedString(Mongol + u" " + Bichig, a)));
    TextFramesetter setter(AttributedString(words, a));
    auto frame = setter.createFrame({0, 0}, Rect(10, 20, wide + 1, 500));
    ASSERT_EQ(frame->lines().size(), 2u);
    auto first = frame->lines()[0];
    EXPECT_EQ(first->stringRange(), (Range{0, Mongol.size() + Bichig.size() + 2}));
    double space = first->trailingWhitespaceWidth();
    EXPECT_GT(space, 1);
    EXPECT_NEAR(widthOf(first) - space, wide, 0.01);
    // Right alignment lets the trailing space hang past the right edge.
    std::vector<Point> origins = frame->lineOrigins();
    EXPECT_NEAR(origins[0].x, 1, 0.01);
    EXPECT_NEAR(origins[1].x, wide + 1 - widthOf(frame->lines()[1]), 0.01);
    // Line spacing lies between the lines.
    double height = mongolian(22).ascent() + mongolian(22).descent();
    EXPECT_NEAR(origins[0].y - origins[1].y, height + 4, 0.01);
    EXPECT_NEAR(setter.suggestFrameSize({0, 0}, {wide + 1, Unbounded}).height, 2 * height + 4,
                0.01);
    // A frame too low for the second line holds only the first.
    auto low = setter.createFrame({0, 0}, Rect(0, 0, wide + 1, height + 2));
    EXPECT_EQ(low->lines().size(), 1u);
    Range fit;
    setter.suggestFrameSize({0, 0}, {wide + 1, height + 2}, &fit);
    EXPECT_EQ(fit, first->stringRange());
}

TEST(TextLine, OffsetsAndIndexesMeetAtCaretPositions) {
    REQUIRE_PINNED_FONTS();
    auto line =
        TextLine::create(AttributedString(u"ab\U0001F600c", withFont(Font::systemFont(20))));
    EXPECT_EQ(line->stringRange(), (Range{0, 5}));
    double b = line->offsetForStringIndex(1);
    double emoji = line->offsetForStringIndex(2);
    double c = line->offsetForStringIndex(4);
    EXPECT_NEAR(line->offsetForStringIndex(0), 0, 0.01);
    EXPECT_LT(b, emoji);
    EXPECT_LT(emoji, c);
    EXPECT_NEAR(line->offsetForStringIndex(5), widthOf(line), 0.01);
    EXPECT_NEAR(line->offsetForStringIndex(99), widthOf(line), 0.01);
    // A position snaps to the nearer edge of the character under it, never into the pair.
    EXPECT_EQ(line->stringIndexForPosition({emoji + 1, 0}), 2);
    EXPECT_EQ(line->stringIndexForPosition({c - 1, 0}), 4);
    EXPECT_EQ(line->stringIndexForPosition({1e6, 0}), 5);
}

TEST(TextLine, TruncationKeepsTheStartAndAddsTheToken) {
    REQUIRE_PINNED_FONTS();
    TextAttributes a = withFont(mongolian(22));
    auto line = TextLine::create(AttributedString(Mongol + u" " + Bichig + u" " + Sayin, a));
    auto token = TextLine::create(AttributedString(u"\u2026", a));
    double tokenWidth = widthOf(token);
    double limit = widthOf(line) / 2;
    auto cut = line->truncatedLine(limit, TruncationType::End, token);
    ASSERT_TRUE(cut);
    EXPECT_LE(widthOf(cut), limit + 0.01);
    EXPECT_GT(widthOf(cut), tokenWidth);
    EXPECT_EQ(cut->drawnText().back(), u'\u2026');
    // The cut line answers for the characters it kept.
    Range kept = cut->stringRange();
    EXPECT_EQ(kept.location, 0u);
    EXPECT_EQ(cut->drawnText(), line->drawnText().substr(0, kept.length) + u"\u2026");
    EXPECT_EQ(cut->stringIndexForPosition({1e6, 0}), int64_t(kept.length));
    // A line that fits comes back whole; a token wider than the width gives nothing.
    auto whole = line->truncatedLine(widthOf(line) + 1, TruncationType::End, token);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->drawnText(), line->drawnText());
    EXPECT_FALSE(line->truncatedLine(tokenWidth - 0.5, TruncationType::End, token));
    // Just the token when nothing else fits beside it.
    auto bare = line->truncatedLine(tokenWidth + 0.1, TruncationType::End, token);
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->drawnText(), u"\u2026");
}

namespace {
double attachmentAscent(void*) {
    return 12;
}
double attachmentDescent(void*) {
    return 0;
}
double attachmentWidth(void*) {
    return 20;
}
}  // namespace

TEST(TextLine, RunDelegateReservesItsRoom) {
    REQUIRE_PINNED_FONTS();
    RunDelegateCallbacks callbacks{1, nullptr, attachmentAscent, attachmentDescent,
                                   attachmentWidth};
    TextAttributes a;
    a.runDelegate = std::make_shared<RunDelegate>(callbacks, nullptr);
    double ascent = 0, descent = -1;
    auto line = TextLine::create(AttributedString(u"\uFFFC", a));
    EXPECT_NEAR(line->typographicBounds(&ascent, &descent, nullptr), 20, 0.01);
    EXPECT_NEAR(ascent, 12, 0.01);
    EXPECT_NEAR(descent, 0, 0.01);
    // Among text the delegate's room adds to the line's width.
    AttributedString mixed(u"a\uFFFCb", withFont(Font::systemFont(10)));
    mixed.addAttributes(a, {1, 1});
    auto withText = TextLine::create(mixed);
    auto plain = TextLine::create(AttributedString(u"ab", withFont(Font::systemFont(10))));
    EXPECT_NEAR(widthOf(withText), widthOf(plain) + 20, 0.05);
    EXPECT_NEAR(withText->offsetForStringIndex(2) - withText->offsetForStringIndex(1), 20, 0.01);
}

TEST(TextLine, DrawingRecordsTheLineBoxAtTheTextPosition) {
    REQUIRE_PINNED_FONTS();
    auto line = TextLine::create(AttributedString(Mongol, withFont(mongolian(22))));
    double ascent = 0, descent = 0;
    double width = line->typographicBounds(&ascent, &descent, nullptr);
    auto ctx = GraphicsContext::recordingContext({300, 100});
    ctx->setTextPosition(10, 40);
    line->draw(*ctx);
    ASSERT_EQ(ctx->records().size(), 1u);
    const DrawingRecord& r = ctx->records()[0];
    EXPECT_EQ(r.kind, DrawingRecord::Kind::Text);
    EXPECT_EQ(r.text, Mongol);
    EXPECT_NEAR(r.deviceRect.origin.x, 10, 0.01);
    EXPECT_NEAR(r.deviceRect.origin.y, 40 - descent, 0.01);
    EXPECT_NEAR(r.deviceRect.size.width, width, 0.01);
    EXPECT_NEAR(r.deviceRect.size.height, ascent + descent, 0.01);
    // Ink lands inside the recorded box.
    Image image = ctx->makeImage();
    int inked = 0;
    for (int x = 0; x < 300; ++x)
        for (int y = 0; y < 100; ++y)
            if (image.pixel(x, y).alpha > 0.5) {
                ++inked;
                EXPECT_TRUE(r.deviceRect.insetBy(-1, -1).contains(Point{x + 0.5, y + 0.5}));
            }
    EXPECT_GT(inked, 50);
}
