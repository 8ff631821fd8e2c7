#include <gtest/gtest.h>

#include "platform/graphics/Image.h"
#include "tests/textview/LayoutFixtures.h"
#include "textview/TXConstants.h"
#include "textview/TXLinkText.h"
#include "textview/TXTextAttachment.h"
#include "textview/TXTextGeometry.h"
#include "textview/TXTextSelection.h"

using platform::Range;
using platform::Rect;

TEST(TXTextSelection, GrowsFromItsAnchorInEitherDirection) {
    TXTextSelection selection(5);
    EXPECT_EQ(selection.selectedRange(), (Range{0, 0}));  // no end yet
    selection.setSelectionEndAtIndex(2);
    EXPECT_EQ(selection.selectedRange(), (Range{2, 3}));
    EXPECT_EQ(selection.description(), "{2, 3}");
    selection.setSelectionEndAtIndex(5);
    EXPECT_EQ(selection.selectedRange(), (Range{5, 0}));
    selection.setSelectionEndAtIndex(9);
    EXPECT_EQ(selection.selectedRange(), (Range{5, 4}));
    EXPECT_EQ(selection.initialIndex(), 5);
}

TEST(TXTextAttachment, ReservesItsSizeThroughTheRunDelegate) {
    TXTextAttachment attachment(platform::Image(4, 4), {20, 12}, {7, 3});
    const platform::RunDelegateCallbacks& cb = attachment.callbacks();
    EXPECT_EQ(cb.version, 1);
    EXPECT_EQ(cb.getWidth(&attachment), 20);
    EXPECT_EQ(cb.getAscent(&attachment), 12);
    EXPECT_EQ(cb.getDescent(&attachment), 0);
    EXPECT_NE(attachment.description().find(", <Image 4x4>, size: {20, 12}, range: {7, 3}"),
              std::string::npos)
        << attachment.description();

    attachment.setReplacedString(u"\uFFFC");
    EXPECT_EQ(attachment.range(), (Range{7, 1}));
    EXPECT_EQ(attachment.replacedString(), u"\uFFFC");
    attachment.setOriginalAttributedString(platform::AttributedString(u"bc"));
    EXPECT_EQ(attachment.originalAttributedString()->string(), u"bc");

    REQUIRE_PINNED_FONTS();
    // In a line, the attachment's character takes exactly that room.
    platform::TextAttributes a = fixtures::candidateAttributes(0);
    a.runDelegate = std::make_shared<platform::RunDelegate>(cb, &attachment);
    platform::AttributedString text(u"\uFFFC", a);
    double ascent = 0, descent = 0;
    EXPECT_NEAR(platform::TextLine::create(text)->typographicBounds(&ascent, &descent, nullptr), 20,
                0.01);
    EXPECT_NEAR(ascent, 12, 0.01);
    EXPECT_NEAR(descent, 0, 0.01);
}

TEST(TXTextAttachment, HoldsDrawingBlocks) {
    bool drawn = false;
    TXAttachmentDrawingBlock block = [&](platform::GraphicsContext&, Rect) { drawn = true; };
    TXTextAttachment attachment(block, {5, 5}, {0, 0});
    EXPECT_NE(attachment.description().find("<block>"), std::string::npos);
    EXPECT_NE(std::any_cast<TXAttachmentDrawingBlock>(&attachment.object()), nullptr);
    EXPECT_FALSE(drawn);
}

TEST(TXLinkText, CollectsGeometriesAndDescribesItself) {
    TXLinkText link(u"word", "https://example.org", {3, 4});
    EXPECT_TRUE(link.geometries().empty());
    link.addLinkGeometry(TXTextGeometry(Rect(1, 2, 3, 4.5), 0));
    link.addLinkGeometry(TXTextGeometry(Rect(0, 0, 8, 4), 1));
    ASSERT_EQ(link.geometries().size(), 2u);
    EXPECT_EQ(link.geometries()[1].lineNumber(), 1);
    EXPECT_EQ(link.description(),
              "word https://example.org {3, 4} (\n    Line: 0, Range: {{1, 2}, {3, 4.5}},\n"
              "    Line: 1, Range: {{0, 0}, {8, 4}}\n)");
    TXLinkText empty;
    EXPECT_EQ(empty.text(), u"");
    EXPECT_FALSE(empty.object());
    EXPECT_EQ(empty.range(), (Range{0, 0}));
    TXTextGeometry none;
    EXPECT_EQ(none.lineNumber(), int64_t(platform::NotFound));
    EXPECT_EQ(none.rect(), Rect());
}

TEST(TXConstants, OffersTheViewsColours) {
    EXPECT_EQ(TXConstants::linkColor(), platform::Color::calibratedRGB(0.286, 0.549, 0.859, 1.0));
    EXPECT_EQ(TXConstants::selectionCaretColor(),
              platform::Color::calibratedRGB(0.075, 0.435, 0.882, 1.0));
    EXPECT_EQ(TXConstants::caretColor(), platform::Color::calibratedRGB(0.118, 0.447, 0.871, 1.0));
    EXPECT_EQ(TXConstants::selectedTextBackgroundColor().alpha, 1.0);
    EXPECT_EQ(TXConstants::linkColor().components().size(), 4u);
}
