#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/graphics/Image.h"
#include "tests/support/PixelBox.h"
#include "tests/support/TestOutput.h"
#include "tests/textview/TextViewFixtures.h"

using namespace fixtures;
using platform::Image;

namespace {

bool isInk(const platform::Color& c) {
    return c.red < 0.3 && c.green < 0.3 && c.blue < 0.3;
}
bool isSelection(const platform::Color& c) {
    return c.blue > 0.8 && c.red < 0.35 && c.green < 0.55 && c.green > 0.25;
}

}  // namespace

TEST(TXTextViewRendering, SelectionInATurnedViewCoversTheInkOfTheSelectedColumn) {
    REQUIRE_PINNED_FONTS();
    const int width = 100, height = 300;
    auto view = candidateView(Rect(0, 0, width, height), {Bayarlalaa, Ba, Mongol});
    view->rotateByAngle(-90);
    auto background = std::make_shared<platform::View>(Rect(0, 0, width, height));
    background->addSubview(view);

    auto probe = GraphicsContext::recordingContext({double(width), double(height)});
    background->displayInContext(*probe);
    const auto lines = view->textLayout()->lineLayouts();
    ASSERT_EQ(lines.size(), 3u);
    std::vector<Rect> columns;
    for (const auto& r : texts(*probe)) columns.push_back(r.deviceRect);
    // The middle column, "2. Ba", is selected whole.
    auto selection = std::make_shared<TXTextSelection>(int64_t(lines[1].stringRange().location));
    selection->setSelectionEndAtIndex(int64_t(lines[1].stringRange().max()));
    view->textLayout()->setTextSelection(selection);

    auto context = GraphicsContext::imageContext(width, height);
    context->setFillColor(platform::Color::whiteColor());
    context->fillRect(Rect(0, 0, width, height));
    background->displayInContext(*context);
    Image image = context->makeImage();
    std::filesystem::path png = testOutputPath("textview-turned-selection.png");
    ASSERT_TRUE(image.writePNG(png.string()));

    PixelBox selected = pixelsWhere(image, isSelection, PixelBox::wholeImage(image));
    ASSERT_GE(selected.maxX, 0) << "no selection drawn; see " << png;
    int inside = 0, outsideSelected = 0, strayInside = 0;
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            if (!isInk(image.pixel(x, y))) continue;
            bool inMiddle = x >= columns[1].minX() && x < columns[1].maxX();
            if (inMiddle && x > columns[0].maxX() && x < columns[2].minX()) {
                (selected.holds(x, y) ? inside : outsideSelected)++;
            } else if (!inMiddle && selected.holds(x, y)) {
                ++strayInside;
            }
        }
    }
    EXPECT_GT(inside, 20) << png;
    EXPECT_EQ(outsideSelected, 0) << png;  // every ink pixel of the column is on the fill
    EXPECT_EQ(strayInside, 0) << png;      // no other column's ink is
    // The fill starts at the top, where the column starts, and lies across the middle column.
    EXPECT_GE(selected.maxY, height - 2);
    EXPECT_LE(selected.minX, int(columns[1].minX()) + 1);
    EXPECT_GE(selected.maxX, int(columns[1].maxX()) - 2);
}
