#include <gtest/gtest.h>

#include <cfloat>

#include "platform/foundation/Log.h"
#include "platform/graphics/Image.h"
#include "tests/textview/TextViewFixtures.h"

using namespace fixtures;
using platform::Color;
using platform::Point;
using platform::Range;
using platform::Size;

namespace {

constexpr Rect ViewFrame(0, 0, 300, 100);
const Size CanvasSize{300, 100};

void expectSameRect(const Rect& actual, const Rect& expected, const char* what) {
    EXPECT_EQ(actual, expected) << what << ": {" << actual.origin.x << ", " << actual.origin.y
                                << ", " << actual.size.width << ", " << actual.size.height
                                << "} expected {" << expected.origin.x << ", " << expected.origin.y
                                << ", " << expected.size.width << ", " << expected.size.height
                                << "}";
}

std::shared_ptr<TXTextView> threeLines() {
    return candidateView(ViewFrame, {Bayarlalaa, Ba, Mongol});
}

void select(TXTextView& view, Range range) {
    auto selection = std::make_shared<TXTextSelection>(int64_t(range.location));
    selection->setSelectionEndAtIndex(int64_t(range.max()));
    view.textLayout()->setTextSelection(selection);
}

}  // namespace

TEST(TXTextViewDisplay, SelectionAcrossLinesLiesUnderTheDrawnGlyphsAndRunsToTheRightEdge) {
    REQUIRE_PINNED_FONTS();
    auto view = threeLines();
    drawn(*view, CanvasSize);  // lay out once to learn the lines
    const auto& lines = view->textLayout()->lineLayouts();
    ASSERT_EQ(lines.size(), 3u);
    uint64_t secondStart = lines[1].stringRange().location;
    select(*view, Range{3, secondStart + 4 - 3});  // from the first word into "2. B"

    auto context = drawn(*view, CanvasSize);
    auto glyphs = texts(*context);
    ASSERT_EQ(glyphs.size(), 3u);
    auto selection = fills(*context, SelectionColor);
    ASSERT_EQ(selection.size(), 2u);

    // The first line's fill starts at the selection and, as the selection goes on, reaches the
    // right edge; its height is that of the drawn line.
    double x3 = lines[0].rectOfStringWithRange({3, 1}).minX();
    Rect t0 = glyphs[0].deviceRect, t1 = glyphs[1].deviceRect;
    Rect first(x3, t0.minY(), ViewFrame.maxX() - x3, t0.height());
    expectSameRect(selection[0].deviceRect, first.integral(), "first line");
    // The second line's fill covers "2. B" and meets the first one: the drawn second line lies
    // above the first.
    double x1 = lines[1].rect().minX();
    double xEnd = lines[1].rectOfStringWithRange({secondStart + 3, 1}).maxX();
    Rect second(x1, first.maxY(), xEnd - x1, t1.maxY() - first.maxY());
    expectSameRect(selection[1].deviceRect, second.integral(), "second line");
    EXPECT_GT(t1.minY(), t0.minY());
}

TEST(TXTextViewDisplay, SelectionEndingAtALineEndIsNotExtended) {
    REQUIRE_PINNED_FONTS();
    auto view = threeLines();
    drawn(*view, CanvasSize);
    const TXLineLayout line = view->textLayout()->lineLayouts()[1];
    select(*view, line.stringRange());
    auto context = drawn(*view, CanvasSize);
    auto selection = fills(*context, SelectionColor);
    ASSERT_EQ(selection.size(), 1u);
    Rect t1 = texts(*context)[1].deviceRect;
    Rect expected = line.rectOfStringWithRange(line.stringRange());
    expectSameRect(selection[0].deviceRect,
                   Rect(expected.minX(), t1.minY(), expected.width(), t1.height()).integral(),
                   "whole line");
    EXPECT_LT(selection[0].deviceRect.maxX(), ViewFrame.maxX());
}

TEST(TXTextViewDisplay, NoSelectionObjectOrAnUnsetOneDrawsNoSelection) {
    REQUIRE_PINNED_FONTS();
    auto view = threeLines();
    EXPECT_TRUE(fills(*drawn(*view, CanvasSize), SelectionColor).empty());
    auto unset = std::make_shared<TXTextSelection>(0);
    unset->setSelectedRange({platform::NotFound, 0});
    view->textLayout()->setTextSelection(unset);
    EXPECT_TRUE(fills(*drawn(*view, CanvasSize), SelectionColor).empty());
}

TEST(TXTextViewDisplay, MarkedTextIsFilledOnlyWhileEditing) {
    REQUIRE_PINNED_FONTS();
    auto view = threeLines();
    view->textLayout()->setMarkedTextRange({3, 4});
    EXPECT_TRUE(fills(*drawn(*view, CanvasSize), SelectionColor).empty());
    view->setEditing(true);
    auto context = drawn(*view, CanvasSize);
    auto marked = fills(*context, SelectionColor);
    ASSERT_EQ(marked.size(), 1u);
    Rect piece = view->textLayout()->lineLayouts()[0].rectOfStringWithRange({3, 4});
    Rect t0 = texts(*context)[0].deviceRect;
    EXPECT_NEAR(marked[0].deviceRect.minX(), piece.minX(), 1e-6);
    EXPECT_NEAR(marked[0].deviceRect.width(), piece.width(), 1e-6);
    EXPECT_NEAR(marked[0].deviceRect.minY(), t0.minY(), 1e-6);
    EXPECT_NEAR(marked[0].deviceRect.maxY(), t0.maxY(), 1e-6);
    view->textLayout()->setMarkedTextRange({3, 0});
    EXPECT_TRUE(fills(*drawn(*view, CanvasSize), SelectionColor).empty());
}

TEST(TXTextViewDisplay, LinkHighlightsFollowTheTouchPhase) {
    REQUIRE_PINNED_FONTS();
    auto view = threeLines();
    platform::AttributedString text = *view->attributedText();
    platform::TextAttributes link;
    link.link = "https://example.org";
    text.addAttributes(link, {3, Bayarlalaa.size()});
    view->setAttributedText(text);
    WindowWithView w(view, CanvasSize);
    auto context = w.draw();
    Rect t0 = texts(*context)[0].deviceRect;
    Rect piece = view->textLayout()->lineLayouts()[0].rectOfStringWithRange({3, Bayarlalaa.size()});
    Point onLink{piece.midX(), t0.midY()};

    w.press(onLink);  // phase 1: the pressed link is filled, no bar
    EXPECT_EQ(view->touchPhase(), 1u);
    context = w.draw();
    auto pressed = fills(*context, PressColor);
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_NEAR(pressed[0].deviceRect.minX(), piece.minX(), 1e-6);
    EXPECT_NEAR(pressed[0].deviceRect.minY(), t0.minY(), 1e-6);
    EXPECT_NEAR(pressed[0].deviceRect.height(), t0.height(), 1e-6);
    EXPECT_TRUE(fills(*context, RolloverColor).empty());

    w.drag(onLink);  // phase 2: neither
    context = w.draw();
    EXPECT_TRUE(fills(*context, PressColor).empty());
    EXPECT_TRUE(fills(*context, RolloverColor).empty());

    w.release(onLink);  // phase 0: a bar one point high along the bottom of the drawn link
    context = w.draw();
    EXPECT_TRUE(fills(*context, PressColor).empty());
    auto bar = fills(*context, RolloverColor);
    ASSERT_EQ(bar.size(), 1u);
    EXPECT_NEAR(bar[0].deviceRect.minX(), piece.minX(), 1e-6);
    EXPECT_NEAR(bar[0].deviceRect.width(), piece.width(), 1e-6);
    EXPECT_NEAR(bar[0].deviceRect.minY(), t0.minY(), 1e-6);
    EXPECT_NEAR(bar[0].deviceRect.height(), 1.0, 1e-6);

    // Pointer feedback follows the drawn link too.
    ASSERT_EQ(view->trackingAreas().size(), 1u);
    EXPECT_TRUE(view->trackingAreas()[0]->rect().contains(onLink));
    EXPECT_EQ(view->trackingAreas()[0]->options(), 0x21u);
    ASSERT_EQ(view->cursorRects().size(), 2u);
    EXPECT_EQ(view->cursorRects()[0].cursor, platform::Cursor::IBeamCursor());
    EXPECT_EQ(view->cursorRects()[1].cursor, platform::Cursor::pointingHandCursor());
    EXPECT_TRUE(view->cursorRects()[1].rect.contains(onLink));
}

TEST(TXTextViewDisplay, DrawingDoesNotAskForAnotherDrawing) {
    REQUIRE_PINNED_FONTS();
    auto view = threeLines();
    view->addObject(platform::Image(4, 4), Size{6, 6}, uint64_t(1));
    view->setHighlighted(true);
    EXPECT_TRUE(view->needsDisplay());
    drawn(*view, CanvasSize);
    EXPECT_FALSE(view->needsDisplay());
    view->setText(u"x");
    EXPECT_TRUE(view->needsDisplay());
}

TEST(TXTextViewDisplay, TextSettersKeepTextAndAttributedTextTogether) {
    TXTextView view(ViewFrame);
    view.setText(u"abc");
    ASSERT_TRUE(view.attributedText());
    EXPECT_EQ(view.attributedText()->string(), u"abc");
    EXPECT_EQ(view.attributedText()->attributesAtIndex(0), platform::TextAttributes());
    EXPECT_TRUE(view.needsDisplay());
    view.setNeedsDisplay(false);
    view.setText(std::nullopt);
    EXPECT_FALSE(view.text());
    EXPECT_FALSE(view.attributedText());
    EXPECT_TRUE(view.needsDisplay());
    // Plain setters only store.
    view.setNeedsDisplay(false);
    view.setLineSpacing(3);
    view.setFont(platform::Font::systemFont(12));
    EXPECT_FALSE(view.needsDisplay());
    // Without a text the attribute steps leave it absent.
    view.updateLayout();
    EXPECT_FALSE(view.attributedText());
    EXPECT_TRUE(view.textLayout()->lineLayouts().empty());
}

TEST(TXTextViewDisplay, ParagraphStyleRoundsAndHandsTailTruncationToTheLayout) {
    TXTextView view(ViewFrame);
    view.setText(u"abc");
    view.setLineHeight(24.5);
    view.setLineSpacing(0.4);
    view.setParagraphSpacing(2.5);
    view.setLineBreakMode(4);
    view.setTextAlignment(0x102);  // the low byte counts
    view.updateLayout();
    auto style = view.attributedText()->attributesAtIndex(0).paragraphStyle;
    ASSERT_TRUE(style);
    EXPECT_EQ(style->minimumLineHeight, 25.0);
    EXPECT_EQ(style->maximumLineHeight, 25.0);
    EXPECT_EQ(style->lineSpacing, 0.0);
    EXPECT_EQ(style->paragraphSpacing, 3.0);
    EXPECT_EQ(style->lineBreakMode, platform::LineBreakMode::WordWrapping);
    EXPECT_EQ(style->alignment, platform::TextAlignment::Center);
    EXPECT_EQ(view.textLayout()->lineBreakMode(), 4);
    EXPECT_EQ(view.textLayout()->textAlignment(), 2);
    view.setLineBreakMode(5);
    view.updateLayout();
    EXPECT_EQ(view.attributedText()->attributesAtIndex(0).paragraphStyle->lineBreakMode,
              platform::LineBreakMode::TruncatingMiddle);
    EXPECT_EQ(view.textLayout()->lineBreakMode(), 5);
}

TEST(TXTextViewDisplay, HighlightingShowsTheWholeTextInItsColourAndRestoresItExactly) {
    TXTextView view(ViewFrame);
    platform::AttributedString text(u"abcdef");
    platform::TextAttributes red;
    red.foregroundColor = Color{1, 0, 0, 1};
    text.addAttributes(red, {1, 2});
    view.setAttributedText(text);
    view.setHighlighted(true);
    EXPECT_EQ(view.attributedText()->attributesAtIndex(0).foregroundColor, Color::whiteColor());
    EXPECT_EQ(view.attributedText()->attributesAtIndex(2).foregroundColor, Color::whiteColor());
    view.setHighlighted(false);
    EXPECT_EQ(*view.attributedText(), text);
    EXPECT_FALSE(view.originalAttributedTextWhenHighlighting());
}

TEST(TXTextViewDisplay, AttachmentsTakeTheirPlaceOnceAndRangesBeyondTheTextAreIgnored) {
    REQUIRE_PINNED_FONTS();
    TXTextView inserted(ViewFrame);
    inserted.setText(u"abcdef");
    inserted.addObject(platform::Image(2, 2), Size{20, 12}, uint64_t(3));
    drawn(inserted, CanvasSize);
    EXPECT_EQ(*inserted.text(), u"abc\uFFFCdef");
    ASSERT_EQ(inserted.attachments().size(), 1u);
    EXPECT_EQ(inserted.attachments()[0]->range(), (Range{3, 1}));

    TXTextView replaced(ViewFrame);
    replaced.setText(u"abcdef");
    replaced.addObject(platform::Image(2, 2), Size{20, 12}, Range{1, 2});
    replaced.addObject(platform::Image(2, 2), Size{20, 12}, Range{4, 9});  // beyond the text
    drawn(replaced, CanvasSize);
    drawn(replaced, CanvasSize);  // a second draw changes nothing more
    EXPECT_EQ(*replaced.text(), u"a\uFFFCdef");
    ASSERT_EQ(replaced.attachments().size(), 1u);
    EXPECT_EQ(replaced.attachments()[0]->originalAttributedString()->string(), u"bc");
    // The attachment's box takes its room in the line and is drawn through the block.
    std::vector<Rect> drawnAt;
    TXTextView block(ViewFrame);
    block.setText(u"ab");
    block.addObject(
        TXAttachmentDrawingBlock([&](GraphicsContext&, Rect r) { drawnAt.push_back(r); }),
        Size{20, 12}, uint64_t(1));
    auto context = drawn(block, CanvasSize);
    ASSERT_EQ(drawnAt.size(), 1u);
    // Made integral, the box may grow by a point in each direction.
    EXPECT_NEAR(drawnAt[0].size.width, 20, 1.0);
    EXPECT_NEAR(drawnAt[0].size.height, 12, 1.0);
    // The box stands on the drawn baseline: inside the drawn line's band.
    Rect line = texts(*context)[0].deviceRect;
    EXPECT_GE(drawnAt[0].minY(), std::floor(line.minY()));
    EXPECT_LE(drawnAt[0].maxY(), std::ceil(line.maxY()));
}

TEST(TXTextViewDisplay, AttachmentViewsJoinOnceFollowTheTextAndLeaveWithTheAttachment) {
    REQUIRE_PINNED_FONTS();
    auto view = std::make_shared<TXTextView>(ViewFrame);
    view->setText(u"abc");
    auto child = std::make_shared<platform::View>();
    view->addObject(std::shared_ptr<platform::View>(child), Size{10, 10}, uint64_t(0));
    drawn(*view, CanvasSize);
    drawn(*view, CanvasSize);
    EXPECT_EQ(view->subviews().size(), 1u);
    EXPECT_EQ(child->superview(), view.get());
    EXPECT_NEAR(child->frame().size.width, 10, 1.0);
    EXPECT_NEAR(child->frame().size.height, 10, 1.0);
    Rect before = child->frame();
    view->setTextAlignment(1);  // right-aligned: the text moves, and the view with it
    drawn(*view, CanvasSize);
    EXPECT_GT(child->frame().minX(), before.minX());
    // A new text without the attachment's character forgets it and takes its view out.
    view->setText(u"xyz");
    drawn(*view, CanvasSize);
    EXPECT_TRUE(view->attachments().empty());
    EXPECT_EQ(child->superview(), nullptr);
}

TEST(TXTextViewDisplay, SizingMeasuresWithNaturalAlignmentAndKeepsTheOrigin) {
    REQUIRE_PINNED_FONTS();
    auto view = candidateView(Rect(5, 7, 200, 40), {Bayarlalaa, Ba, Mongol});
    view->setTextAlignment(2);
    platform::AttributedString before = *view->attributedText();
    view->sizeToFit();
    EXPECT_EQ(view->frame().origin, (Point{5, 7}));
    EXPECT_EQ(view->frame().size.width, 200);
    // Measured without the line height: the natural height of three lines, plus the margin.
    Rect measured = TXTextView::frameRectWithAttributtedString(
        platform::AttributedString(candidateLines({Bayarlalaa, Ba, Mongol})), Size{200, DBL_MAX},
        0.0, mongolian());
    EXPECT_EQ(view->frame().size.height, measured.size.height);
    EXPECT_NE(view->frame().size.height, 3 * 30 + 7.0);
    platform::AttributedString given(u"abc");
    TXTextView::frameRectWithAttributtedString(given, Size{100, 100}, 2.0, mongolian());
    EXPECT_EQ(given, platform::AttributedString(u"abc"));
}
