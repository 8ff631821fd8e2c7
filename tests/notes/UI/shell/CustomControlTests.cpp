#include <gtest/gtest.h>

#include "notes/UI/Extend/BackgroundView.h"
#include "notes/UI/MButton.h"
#include "notes/UI/MTextFieldCell.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Image.h"

using platform::Rect;

namespace {

TEST(BackgroundView, FillsOnlyTheDirtyRectWithItsColour) {
    auto context = platform::GraphicsContext::imageContext(40, 40);
    auto view = std::make_shared<zelvo::BackgroundView>(Rect(0, 0, 40, 40));
    {
        platform::GraphicsContext::CurrentScope scope(*context);
        view->drawRect(Rect(0, 0, 20, 40));  // no colour: nothing drawn
        view->setBackgroundColor(platform::Color::calibratedRGB(1, 0, 0));
        view->setBackgroundImage("ignored");
        view->drawRect(Rect(0, 0, 20, 40));
    }
    platform::Image image = context->makeImage();
    EXPECT_EQ(image.pixel(5, 20), platform::Color::calibratedRGB(1, 0, 0));
    EXPECT_EQ(image.pixel(30, 20).alpha, 0);
}

TEST(MTextFieldCell, CentresTheTitleVerticallyHalfAPointLow) {
    zelvo::MTextFieldCell cell;
    platform::TextAttributes attributes;
    attributes.font = zelvo::displayFont(14);
    cell.setAttributedStringValue(platform::AttributedString(u"ᠮᠣᠩᠭᠣᠯ", attributes));
    platform::Size title = cell.cellSizeOfTitle();
    ASSERT_GT(title.height, 10);
    Rect bounds(10, 20, 100, 60);
    Rect rect = cell.titleRectForBounds(bounds);
    EXPECT_DOUBLE_EQ(rect.minY(), 20 - 0.5 + (60 - title.height) / 2);
    EXPECT_EQ(rect.minX(), 12);
    EXPECT_EQ(rect.width(), 96);
    EXPECT_EQ(rect.height(), 60);

    // An empty title centres a zero height.
    zelvo::MTextFieldCell empty;
    EXPECT_DOUBLE_EQ(empty.titleRectForBounds(bounds).minY(), 20 - 0.5 + 30);
}

TEST(MButton, UsesTheDisplayFontAtFourteenPoints) {
    zelvo::MButton button(Rect(0, 0, 80, 30));
    button.awakeFromNib();
    ASSERT_TRUE(button.font().has_value());
    EXPECT_EQ(button.font()->pointSize(), 14);
}

}  // namespace
