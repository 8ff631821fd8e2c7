#include <gtest/gtest.h>

#include <array>

#include "platform/graphics/GraphicsContext.h"
#include "tests/textview/LayoutFixtures.h"

using namespace fixtures;
using platform::Point;
using platform::Range;

namespace {

AttributedString threeCandidates() {
    return AttributedString(candidateLines({Mongol, Ba, Bichig}), candidateAttributes());
}

}  // namespace

TEST(TXTextLayout, FrameHangsFromTheTopOfTheBoundsAndReachesSevenAbove) {
    REQUIRE_PINNED_FONTS();
    TXTextLayout layout = updatedLayout(threeCandidates(), Rect(0, 0, 300, 200));
    // Three lines of 30: the frame is 90 + 7 high and its top lies 7 above the bounds.
    expectRect(layout.frameRect(), Rect(0, 110, 300, 97));
    const auto& lines = layout.lineLayouts();
    ASSERT_EQ(lines.size(), 3u);
    Font font = mongolian();
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(lines[i].index(), int64_t(i));
        // The glyph box of each line stands on the bottom of its 30-point line.
        expectRect(
            lines[i].rect(),
            Rect(0, 207 - 30.0 * (i + 1), lines[i].metrics().width, font.ascent() + font.descent()),
            "line " + std::to_string(i));
        expectRect(lines[i].drawingRect(), lines[i].rect());
        EXPECT_FALSE(lines[i].isTruncated());
        EXPECT_EQ(lines[i].truncationTokenWidth(), 0);
    }
    // A line is as tall as the tallest of its fonts (the digits come from the fallback font), so
    // at least the display font, and lines of the same fonts alike.
    EXPECT_GE(lines[0].metrics().ascent, font.ascent());
    EXPECT_GE(lines[0].metrics().descent, font.descent());
    EXPECT_DOUBLE_EQ(lines[1].metrics().ascent, lines[0].metrics().ascent);
    EXPECT_DOUBLE_EQ(lines[2].metrics().descent, lines[0].metrics().descent);
    EXPECT_GT(lines[0].metrics().trailingWhitespaceWidth, 0);
    EXPECT_EQ(lines[2].metrics().trailingWhitespaceWidth, 0);
    EXPECT_EQ(lines[1].stringRange(), (Range{lines[0].stringRange().max(), 7}));  // "2. ba \n"
    EXPECT_EQ(layout.markedTextRange(), (Range{platform::NotFound, 0}));

    // Bounds elsewhere move the frame along.
    TXTextLayout moved = updatedLayout(threeCandidates(), Rect(-50, 20, 300, 200));
    expectRect(moved.frameRect(), Rect(-50, 130, 300, 97));
    EXPECT_NEAR(moved.lineLayouts()[0].rect().origin.x, -50, 0.01);
}

TEST(TXTextLayout, EditingAddsTheLabelFontLeadingAndAbsentTextLaysOutEmpty) {
    REQUIRE_PINNED_FONTS();
    TXTextLayout layout(threeCandidates());
    layout.setBounds(Rect(0, 0, 300, 200));
    layout.setEditing(true);
    layout.update();
    double leading = Font::systemFont(Font::labelFontSize()).leading();
    expectRect(layout.frameRect(), Rect(0, 110 - leading, 300, 97 + leading));
    EXPECT_EQ(layout.lineLayouts().size(), 3u);

    TXTextLayout empty;
    empty.setBounds(Rect(0, 0, 300, 200));
    empty.update();
    expectRect(empty.frameRect(), Rect(0, 200, 300, 7));
    EXPECT_TRUE(empty.lineLayouts().empty());
    EXPECT_TRUE(empty.links().empty());
    EXPECT_EQ(empty.stringIndexForPosition({1, 201}), -1);
    EXPECT_EQ(empty.stringIndexForClosestPosition({1, 300}), -1);
    auto ctx = platform::GraphicsContext::recordingContext({300, 200});
    empty.drawInContext(*ctx);
    EXPECT_TRUE(ctx->records().empty());

    // The measuring operation sets the string into a rectangle at the origin.
    expectRect(TXTextLayout::frameRectWithAttributtedString(threeCandidates(), {300, 1000}),
               Rect(0, 910, 300, 97));
    expectRect(TXTextLayout::frameRectWithAttributtedString(std::nullopt, {40, 50}),
               Rect(0, 50, 40, 7));
}

namespace {

// Five lines of 30 in bounds 70 high: lines 0 and 1 stand at y 47 and 17, line 2 would be at -13.
AttributedString fiveLines(platform::TextAlignment alignment) {
    TextAttributes a = candidateAttributes();
    a.paragraphStyle->alignment = alignment;
    return AttributedString(candidateLines({Mongol, Bayarlalaa, Bichig, Ba, Mongol}), a);
}

}  // namespace

TEST(TXTextLayout, TailTruncationCutsTheLastKeptLineInEachAlignment) {
    REQUIRE_PINNED_FONTS();
    using platform::TextAlignment;
    struct Case {
        TextAlignment paragraph;
        uint8_t alignment;
    };
    for (Case c : {Case{TextAlignment::Left, 0}, Case{TextAlignment::Right, 1},
                   Case{TextAlignment::Center, 2}}) {
        SCOPED_TRACE(int(c.alignment));
        Rect bounds(0, 0, 300, 70);
        TXTextLayout whole = updatedLayout(fiveLines(c.paragraph), bounds, 0, c.alignment);
        TXTextLayout cut = updatedLayout(fiveLines(c.paragraph), bounds, 4, c.alignment);
        ASSERT_EQ(whole.lineLayouts().size(), 5u);  // other modes keep every line
        ASSERT_EQ(cut.lineLayouts().size(), 2u);
        const TXLineLayout& first = cut.lineLayouts()[0];
        const TXLineLayout& last = cut.lineLayouts()[1];
        const TXLineLayout& uncut = whole.lineLayouts()[1];
        EXPECT_NEAR(first.rect().origin.y, 47, 0.01);
        EXPECT_NEAR(last.rect().origin.y, 17, 0.01);
        EXPECT_FALSE(first.isTruncated());
        EXPECT_TRUE(last.isTruncated());
        EXPECT_EQ(last.index(), 1);
        EXPECT_EQ(last.line()->drawnText().back(), u'\u2026');
        double w = last.rect().size.width;
        EXPECT_LT(w, uncut.rect().size.width);
        EXPECT_NEAR(last.metrics().width, uncut.metrics().width, 0.01);  // the uncut width stays
        expectRect(last.drawingRect(), last.rect());
        EXPECT_NEAR(last.truncationTokenWidth(),
                    widthOf(AttributedString(u"\u2026", candidateAttributes())), 0.01);
        double x = uncut.rect().origin.x;
        if (c.alignment == 1) x += uncut.rect().size.width - w;        // the right edge holds
        if (c.alignment == 2) x += (uncut.rect().size.width - w) / 2;  // the centre holds
        EXPECT_NEAR(last.rect().origin.x, x, 0.01);
    }
}

TEST(TXTextLayout, TruncationTokenTakesTheFirstCharactersAttributes) {
    REQUIRE_PINNED_FONTS();
    AttributedString text = fiveLines(platform::TextAlignment::Left);
    TextAttributes big;
    big.font = Font::systemFont(40);
    text.addAttributes(big, {0, 1});
    TXTextLayout layout = updatedLayout(text, Rect(0, 0, 300, 70), 4);
    ASSERT_EQ(layout.lineLayouts().size(), 2u);
    EXPECT_NEAR(layout.lineLayouts()[1].truncationTokenWidth(),
                widthOf(AttributedString(u"\u2026", text.attributesAtIndex(0))), 0.01);
    EXPECT_GT(layout.lineLayouts()[1].truncationTokenWidth(),
              widthOf(AttributedString(u"\u2026", candidateAttributes())) + 1);

    // Drawing cut text draws the kept lines only, the token with the last.
    auto ctx = platform::GraphicsContext::recordingContext({300, 70});
    layout.drawInContext(*ctx);
    ASSERT_EQ(ctx->records().size(), 2u);
    EXPECT_EQ(ctx->records()[1].text.back(), u'\u2026');
    // In any other mode the whole frame is drawn.
    TXTextLayout whole = updatedLayout(text, Rect(0, 0, 300, 70), 0);
    auto all = platform::GraphicsContext::recordingContext({300, 70});
    whole.drawInContext(*all);
    ASSERT_EQ(all->records().size(), 5u);
    EXPECT_EQ(all->records()[4].text, u"5. " + Mongol);
}

TEST(TXTextLayout, ASingleTallLineAndATooNarrowLineStayWhole) {
    REQUIRE_PINNED_FONTS();
    // One line taller than its bounds: kept, not cut.
    TXTextLayout tall = updatedLayout(
        AttributedString(Mongol + u" " + Bichig, candidateAttributes()), Rect(0, 0, 300, 10), 4);
    ASSERT_EQ(tall.lineLayouts().size(), 1u);
    EXPECT_LT(tall.lineLayouts()[0].rect().origin.y, 0);
    EXPECT_FALSE(tall.lineLayouts()[0].isTruncated());

    // The last kept line is one narrow letter: the token cannot fit before it, so the line
    // stays as it was instead of vanishing.
    TextAttributes a = candidateAttributes();
    a.font = Font::systemFont(22);
    AttributedString narrow(u"first\ni\nthird\nfourth\nfifth", a);
    TXTextLayout layout = updatedLayout(narrow, Rect(0, 0, 300, 70), 4);
    ASSERT_EQ(layout.lineLayouts().size(), 2u);
    const TXLineLayout& kept = layout.lineLayouts()[1];
    EXPECT_FALSE(kept.isTruncated());
    EXPECT_EQ(kept.line()->drawnText(), u"i");
    EXPECT_EQ(kept.truncationTokenWidth(), 0);
    auto ctx = platform::GraphicsContext::recordingContext({300, 70});
    layout.drawInContext(*ctx);
    ASSERT_EQ(ctx->records().size(), 2u);
    EXPECT_EQ(ctx->records()[1].text, u"i");
}

TEST(TXTextLayout, ALinkWrappingOverTwoLinesHasOneGeometryPerLine) {
    REQUIRE_PINNED_FONTS();
    TextAttributes a = candidateAttributes(0);
    std::u16string text = Mongol + u" " + Bichig + u" " + Bayarlalaa;
    AttributedString s(text, a);
    TextAttributes link;
    link.link = "https://example.org/word";
    Range linkRange{Mongol.size() + 1, Bichig.size() + 1 + Bayarlalaa.size()};
    s.addAttributes(link, linkRange);
    double width = widthOf(AttributedString(Mongol + u" " + Bichig, a)) + 2;
    TXTextLayout layout = updatedLayout(s, Rect(0, 0, width, 200));
    ASSERT_EQ(layout.lineLayouts().size(), 2u);
    ASSERT_EQ(layout.links().size(), 1u);
    const auto& l = layout.links()[0];
    EXPECT_EQ(l->range(), linkRange);
    EXPECT_EQ(l->text(), text.substr(linkRange.location, linkRange.length));
    EXPECT_EQ(l->object(), "https://example.org/word");
    ASSERT_EQ(l->geometries().size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const TXLineLayout& line = layout.lineLayouts()[i];
        EXPECT_EQ(l->geometries()[i].lineNumber(), i);
        expectRect(l->geometries()[i].rect(), line.rectOfStringWithRange(linkRange));
        ASSERT_EQ(line.numberOfLinks(), 1u);
        EXPECT_TRUE(line.containsLink());
        EXPECT_EQ(line.links()[0].get(), l.get());  // one record, shared
    }
    // The piece on line 0 starts after the first word and runs to the line's end.
    const TXLineLayout& line0 = layout.lineLayouts()[0];
    double start = widthOf(AttributedString(Mongol + u" ", a));
    expectRect(l->geometries()[0].rect(),
               Rect(start, line0.rect().origin.y, line0.rect().size.width - start,
                    line0.rect().size.height));
    // A line finds its link under a point of the piece on the other line too.
    Rect second = l->geometries()[1].rect();
    Point inSecond{second.midX(), second.midY()};
    EXPECT_EQ(line0.linkAtPoint(inSecond).get(), l.get());
    EXPECT_EQ(line0.linkAtPoint({1, line0.rect().midY()}), nullptr);
    // A range off the line gives the zero rectangle.
    expectRect(line0.rectOfStringWithRange({text.size(), 3}), Rect());
    EXPECT_NE(l->description().find("Line: 1, Range: {{"), std::string::npos);
}

TEST(TXTextLayout, NearestIndexAboveBelowBesideAndBetweenLines) {
    REQUIRE_PINNED_FONTS();
    // Natural heights and 20 points between lines leave gaps that belong to no line.
    AttributedString s(candidateLines({Mongol, Ba, Bichig}), candidateAttributes(0, 20));
    TXTextLayout layout = updatedLayout(s, Rect(0, 0, 300, 300));
    const auto& lines = layout.lineLayouts();
    ASSERT_EQ(lines.size(), 3u);
    Rect r0 = lines[0].rect(), r1 = lines[1].rect(), r2 = lines[2].rect();
    EXPECT_NEAR(r0.minY() - r1.maxY(), 20, 0.01);
    auto endOf = [&](size_t i) { return int64_t(lines[i].stringRange().max()) - 2; };  // " \n"

    EXPECT_EQ(layout.stringIndexForClosestPosition({10, r0.maxY() + 5}), 0);   // above
    EXPECT_EQ(layout.stringIndexForClosestPosition({-10, r0.maxY() + 1}), 0);  // above, left
    EXPECT_EQ(layout.stringIndexForClosestPosition({10, r2.minY() - 50}),
              int64_t(s.length()));  // below
    EXPECT_EQ(layout.stringIndexForClosestPosition({r1.maxX() + 40, r1.midY()}),
              endOf(1) + 1);  // beside line 1: its end, after the blank
    EXPECT_EQ(layout.stringIndexForClosestPosition({-20, r1.midY()}), endOf(1) + 1);
    EXPECT_EQ(layout.stringIndexForClosestPosition({10, r1.maxY() + 10}), -1);  // between
    // On a line: the caret nearest under the point.
    EXPECT_EQ(layout.stringIndexForClosestPosition({0.5, r2.midY()}),
              int64_t(lines[2].stringRange().location));
    EXPECT_EQ(layout.stringIndexForPosition({0.5, r2.midY()}),
              int64_t(lines[2].stringRange().location));
    // The index under a point needs a line under it.
    EXPECT_EQ(layout.stringIndexForPosition({10, r1.maxY() + 10}), -1);
    EXPECT_EQ(layout.stringIndexForPosition({r1.maxX() + 1, r1.midY()}), -1);
}

TEST(TXTextLayout, NearestIndexLeavesSurrogatePairsWholeAndStaysInTheText) {
    const std::u16string flag = u"\U0001F1F2\U0001F1F3";           // two regional indicators
    const std::u16string text = u"a\U0001F600b" + flag;            // a, pair, b, flag (6 units)
    EXPECT_EQ(TXTextLayout::indexAfterSurrogateHalf(text, 2), 3);  // after the emoji
    EXPECT_EQ(TXTextLayout::indexAfterSurrogateHalf(text, 5), 8);  // after the whole flag
    EXPECT_EQ(TXTextLayout::indexAfterSurrogateHalf(text, 7), 8);  // last half: the end
    EXPECT_EQ(TXTextLayout::indexAfterSurrogateHalf(text, 1), 1);
    EXPECT_EQ(TXTextLayout::indexAfterSurrogateHalf(text, 8), 8);
    EXPECT_EQ(TXTextLayout::indexAfterSurrogateHalf(text, -1), -1);
    // A lone regional indicator before other text: just past the pair, not into the text.
    EXPECT_EQ(TXTextLayout::indexAfterSurrogateHalf(u"\U0001F1F2xy", 1), 2);
    EXPECT_EQ(TXTextLayout::indexAfterSurrogateHalf(u"\U0001F1F2\U0001F600", 1), 2);

    REQUIRE_PINNED_FONTS();
    TXTextLayout layout =
        updatedLayout(AttributedString(text, candidateAttributes(0)), Rect(0, 0, 300, 100));
    ASSERT_EQ(layout.lineLayouts().size(), 1u);
    const Rect& r = layout.lineLayouts()[0].rect();
    for (double x = 0; x < r.maxX(); x += 0.5) {
        int64_t k = layout.stringIndexForClosestPosition({x, r.midY()});
        ASSERT_TRUE(k == 0 || k == 1 || k == 3 || k == 4 || k == 8) << "x " << x << " gives " << k;
    }
}

TEST(TXTextLayout, WordSelectionKeepsSuffixesAndVariantSelectorsInTheWord) {
    REQUIRE_PINNED_FONTS();
    // A word with a suffix after U+202F, then one with an MVS and an FVS inside.
    std::u16string first = Mongol + u"\u202F\u1836\u1822\u1828";
    std::u16string second = u"\u1828\u1820\u180E\u1820\u182D\u180B\u1820";
    std::u16string text = first + u" " + second + u" " + Ba;
    TXTextLayout layout =
        updatedLayout(AttributedString(text, candidateAttributes(0)), Rect(0, 0, 500, 100));
    ASSERT_EQ(layout.lineLayouts().size(), 1u);
    const TXLineLayout& line = layout.lineLayouts()[0];
    double y = line.rect().midY();
    auto selectAt = [&](uint64_t index, double nudge) {
        layout.clearSelection();
        double x = line.line()->offsetForStringIndex(int64_t(index)) + nudge;
        layout.setSelectionWithPoint({x, y});
        return layout.textSelection() ? layout.textSelection()->selectedRange() : Range{99, 99};
    };
    Range firstWord{0, first.size()}, secondWord{first.size() + 1, second.size()};
    EXPECT_EQ(selectAt(2, 0.5), firstWord);
    EXPECT_EQ(selectAt(first.size() - 1, 0.5), firstWord);  // in the suffix
    EXPECT_EQ(selectAt(secondWord.location + 3, 0.5), secondWord);
    EXPECT_EQ(selectAt(secondWord.max() - 1, 0.5), secondWord);
    // On the end of a word (the caret just after it): that word.
    EXPECT_EQ(selectAt(first.size(), 0.2), firstWord);
    EXPECT_EQ(layout.textSelection()->initialIndex(), 0);
    // Off the text nothing changes.
    layout.setSelectionWithPoint({1, y + 500});
    EXPECT_EQ(layout.textSelection()->selectedRange(), firstWord);
}

TEST(TXTextLayout, SelectionFromPointsAndAll) {
    REQUIRE_PINNED_FONTS();
    TXTextLayout layout = updatedLayout(threeCandidates(), Rect(0, 0, 300, 200));
    const auto& lines = layout.lineLayouts();
    Rect r0 = lines[0].rect();
    layout.setSelectionStartWithPoint({0.5, r0.midY()});
    ASSERT_TRUE(layout.textSelection());
    EXPECT_EQ(layout.textSelection()->initialIndex(), 0);
    EXPECT_EQ(layout.textSelection()->selectedRange(), (Range{0, 0}));
    // Dragging past the end of the second line selects to its end.
    layout.setSelectionEndWithClosestPoint({299, lines[1].rect().midY()});
    EXPECT_EQ(layout.textSelection()->selectedRange(),
              (Range{0, lines[1].stringRange().max() - 1}));
    // A point near no line leaves the selection.
    layout.setSelectionEndWithClosestPoint({10, -500});
    EXPECT_EQ(layout.textSelection()->selectedRange().location, 0u);
    // Pressing where there is no text removes the selection.
    layout.setSelectionStartWithPoint({10, 500});
    EXPECT_FALSE(layout.textSelection());
    layout.setSelectionEndWithClosestPoint({0.5, r0.midY()});  // no selection: nothing happens
    EXPECT_FALSE(layout.textSelection());
    layout.selectAll();
    EXPECT_EQ(layout.textSelection()->selectedRange(), (Range{0, threeCandidates().length()}));
    layout.clearSelection();
    EXPECT_FALSE(layout.textSelection());
    // The selection survives an update.
    layout.selectAll();
    layout.update();
    EXPECT_TRUE(layout.textSelection());
}

TEST(TXTextLayout, DrawingFlipsTheContextOverTheBounds) {
    REQUIRE_PINNED_FONTS();
    Rect bounds(0, 0, 300, 200);
    for (uint8_t mode : {uint8_t(0), uint8_t(4)}) {
        SCOPED_TRACE(int(mode));
        TXTextLayout layout = updatedLayout(threeCandidates(), bounds, mode);
        auto ctx = platform::GraphicsContext::recordingContext({300, 200});
        layout.drawInContext(*ctx);
        ASSERT_EQ(ctx->records().size(), 3u);
        for (size_t i = 0; i < 3; ++i) {
            // The baseline at layout y is drawn at height − y, the glyphs upright above it: the
            // first line is drawn lowest.
            const TXLineLayout& line = layout.lineLayouts()[i];
            double baseline = line.rect().origin.y + line.metrics().descent;
            expectRect(ctx->records()[i].deviceRect,
                       Rect(line.rect().origin.x, 200 - baseline - line.metrics().descent,
                            line.rect().size.width, line.rect().size.height));
        }
        platform::AffineTransform m = ctx->textMatrix();
        EXPECT_EQ((std::array<double, 4>{m.a, m.b, m.c, m.d}),
                  (std::array<double, 4>{1, 0, 0, -1}));
        EXPECT_EQ(ctx->ctm(), (platform::AffineTransform{1, 0, 0, -1, 0, 200}));
    }
}

// The cut line draws the kept letters with the glyphs the uncut line has for them: a word cut in
// two keeps its medial forms rather than ending as another, complete word.
TEST(TXTextLayout, TruncatedLineKeepsTheUncutLinesLetterForms) {
    REQUIRE_PINNED_FONTS();
    AttributedString text(candidateLines({Mongol, Bayarlalaa, Bichig, Ba, Mongol}),
                          candidateAttributes());
    Rect bounds(0, 0, 300, 70);
    TXTextLayout whole = updatedLayout(text, bounds, 0);
    TXTextLayout cut = updatedLayout(text, bounds, 4);
    ASSERT_EQ(cut.lineLayouts().size(), 2u);
    const TXLineLayout& last = cut.lineLayouts()[1];
    ASSERT_TRUE(last.isTruncated());
    Range kept = last.stringRange();
    const std::u16string& chars = text.string();
    // The cut falls inside "bayarlalaa".
    ASSERT_NE(chars[kept.max()], u' ');
    ASSERT_NE(chars[kept.max() - 1], u' ');
    auto uncut = whole.lineLayouts()[1].line()->glyphs();
    auto glyphs = last.line()->glyphs();
    size_t tokenGlyphs =
        platform::TextLine::create(AttributedString(u"\u2026", candidateAttributes()))
            ->glyphs()
            .size();
    ASSERT_GT(glyphs.size(), tokenGlyphs);
    glyphs.resize(glyphs.size() - tokenGlyphs);
    ASSERT_LE(glyphs.size(), uncut.size());
    EXPECT_EQ(glyphs, std::vector<uint32_t>(uncut.begin(), uncut.begin() + glyphs.size()));
}
