#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <numbers>

#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/TextFramesetter.h"
#include "tests/support/PixelBox.h"
#include "tests/support/TestOutput.h"
#include "tests/textview/LayoutFixtures.h"

using namespace fixtures;
using platform::GraphicsContext;
using platform::Image;

namespace {

// A picture of the ink alone: opaque where the drawing is dark (the background is white).
Image inkOf(const Image& drawn) {
    auto inkCtx = GraphicsContext::imageContext(drawn.width(), drawn.height());
    for (int x = 0; x < drawn.width(); ++x)
        for (int y = 0; y < drawn.height(); ++y)
            if (drawn.pixel(x, y).red < 0.5) inkCtx->fillRect(Rect(x, y, 1, 1));
    return inkCtx->makeImage();
}

// The inked columns of a picture of ink alone, grouped into runs of columns with ink separated
// by empty ones; each run's box.
std::vector<PixelBox> inkColumns(const Image& image) {
    return ::inkColumns(
        image, [](const platform::Color& c) { return c.alpha >= 0.5; },
        PixelBox::wholeImage(image));
}

}  // namespace

TEST(TXTextLayoutRendering, CandidateLinesTurnedAQuarterReadAsColumnsFromTheLeft) {
    REQUIRE_PINNED_FONTS();
    // Three candidates of clearly different lengths: long, short, middle.
    AttributedString text(candidateLines({Bayarlalaa, Ba, Mongol}), candidateAttributes());
    platform::Size s = platform::boundingSizeOfAttributedString(text);
    // The window is as wide as the text is high, and as high as its widest line is wide.
    double windowWidth = std::ceil(s.height + 5), windowHeight = std::ceil(s.width + 5);

    // A view of that frame turned by −90°: its bounds run along the window's height.
    auto ctx = GraphicsContext::imageContext(int(windowWidth), int(windowHeight));
    ctx->setFillColor(platform::Color::whiteColor());
    ctx->fillRect(Rect(0, 0, windowWidth, windowHeight));
    ctx->concatCTM(platform::AffineTransform::rotation(-std::numbers::pi / 2));
    TXTextLayout layout = updatedLayout(text, Rect(-windowHeight, 0, windowHeight, windowWidth));
    ASSERT_EQ(layout.lineLayouts().size(), 3u);
    layout.drawInContext(*ctx);

    Image drawn = ctx->makeImage();
    Image ink = inkOf(drawn);

    std::filesystem::path png = testOutputPath("candidates-vertical.png");
    ASSERT_TRUE(drawn.writePNG(png.string()));
    // And four times larger, for a person to read.
    auto large = GraphicsContext::imageContext(drawn.width() * 4, drawn.height() * 4);
    large->drawImage(drawn, Rect(0, 0, drawn.width() * 4, drawn.height() * 4));
    large->makeImage().writePNG((png.parent_path() / "candidates-vertical-x4.png").string());

    std::vector<PixelBox> columns = inkColumns(ink);
    ASSERT_EQ(columns.size(), 3u) << "see " << png;
    // Columns from left to right are lines 1, 2, 3: 30 points apart, as the line height is.
    EXPECT_LT(columns[0].maxX, columns[1].minX);
    EXPECT_LT(columns[1].maxX, columns[2].minX);
    EXPECT_NEAR(columns[1].minX - columns[0].minX, 30, 3);
    EXPECT_NEAR(columns[2].minX - columns[1].minX, 30, 3);
    // Every column starts at the top (lines start at the left edge before the turn) and runs
    // down as far as its line is long: long, short, middle.
    for (const PixelBox& c : columns) EXPECT_GT(c.maxY, windowHeight - 8);
    int length[3];
    for (int i = 0; i < 3; ++i) {
        length[i] = columns[i].maxY - columns[i].minY;
        const TXLineLayout& line = layout.lineLayouts()[i];
        double visible = line.metrics().width - line.metrics().trailingWhitespaceWidth;
        EXPECT_NEAR(length[i], visible, 6) << "column " << i;  // ink lies within the advances
    }
    EXPECT_GT(length[0], length[2]);
    EXPECT_GT(length[2], length[1]);
    // The first column's top is its number: "1." stands above the word.
    int numberBottom = columns[0].maxY;
    for (int y = columns[0].maxY; y > columns[0].minY; --y) {
        bool inked = false;
        for (int x = columns[0].minX; x <= columns[0].maxX && !inked; ++x)
            inked = ink.pixel(x, y).alpha > 0.5;
        if (!inked) {
            numberBottom = y;
            break;
        }
    }
    EXPECT_LT(windowHeight - numberBottom, 25) << "the number's ink ends within its own width";
}

// "erdem" on three lines with room for two, turned as the text view turns them: the second
// column is cut inside the word, keeps its joined letters, and draws nothing of the hidden rest.
TEST(TXTextLayoutRendering, CutWordKeepsItsJoinedFormsAndDrawsNothingPastTheToken) {
    REQUIRE_PINNED_FONTS();
    const std::u16string erdem = u"\u1821\u1837\u1833\u1821\u182E";
    AttributedString text(erdem + u"\n" + erdem + u"\n" + erdem, candidateAttributes());
    const int width = 70, height = 100;
    auto ctx = GraphicsContext::imageContext(width, height);
    ctx->setFillColor(platform::Color::whiteColor());
    ctx->fillRect(Rect(0, 0, width, height));
    ctx->concatCTM(platform::AffineTransform::rotation(-std::numbers::pi / 2));
    TXTextLayout layout = updatedLayout(text, Rect(-height, 0, height, width), 4);
    ASSERT_EQ(layout.lineLayouts().size(), 2u);
    const TXLineLayout& cut = layout.lineLayouts()[1];
    ASSERT_TRUE(cut.isTruncated());
    ASSERT_GT(cut.stringRange().length, 0u);
    ASSERT_LT(cut.stringRange().length, 5u);
    layout.drawInContext(*ctx);
    Image drawn = ctx->makeImage();
    std::filesystem::path png = testOutputPath("truncated-word-vertical.png");
    ASSERT_TRUE(drawn.writePNG(png.string()));
    auto large = GraphicsContext::imageContext(width * 4, height * 4);
    large->drawImage(drawn, Rect(0, 0, width * 4, height * 4));
    large->makeImage().writePNG((png.parent_path() / "truncated-word-vertical-x4.png").string());

    std::vector<PixelBox> columns = inkColumns(inkOf(drawn));
    ASSERT_EQ(columns.size(), 2u) << "see " << png;
    // Both columns start at the top (the ink image counts y upward); the cut one ends where
    // its advance, token included, ends.
    EXPECT_GT(columns[1].maxY, height - 8) << png;
    EXPECT_LE(columns[1].maxY - columns[1].minY, cut.rect().size.width + 2) << png;
    EXPECT_GT(columns[1].minY, columns[0].minY) << png;
}
