#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <numbers>

#include "platform/graphics/GraphicsContext.h"
#include "tests/support/TestOutput.h"

using namespace platform;

namespace {

void expectRect(const Rect& actual, const Rect& expected) {
    EXPECT_NEAR(actual.origin.x, expected.origin.x, 0.01);
    EXPECT_NEAR(actual.origin.y, expected.origin.y, 0.01);
    EXPECT_NEAR(actual.size.width, expected.size.width, 0.01);
    EXPECT_NEAR(actual.size.height, expected.size.height, 0.01);
}

std::string outputPath(const std::string& name) {
    return testOutputPath(name).string();
}

}  // namespace

TEST(GraphicsContext, RecordsFillsInDeviceSpaceThroughTheTransforms) {
    auto ctx = GraphicsContext::recordingContext({200, 100});
    ctx->setFillColor(Color::blueColor());
    ctx->translateCTM(10, 20);
    ctx->fillRect(Rect(0, 0, 5, 5));
    ctx->saveGState();
    ctx->scaleCTM(2, 3);
    ctx->fillRect(Rect(1, 1, 5, 5));
    // A quarter turn clockwise: (x, y) becomes (y, -x) before the earlier transforms.
    ctx->rotateCTM(-std::numbers::pi / 2);
    ctx->fillRect(Rect(0, 0, 4, 2));
    ctx->restoreGState();
    ctx->concatCTM(AffineTransform{1, 0, 0, -1, 0, 50});  // a flip, as a view does
    ctx->fillRect(Rect(0, 0, 10, 10));

    const auto& r = ctx->records();
    ASSERT_EQ(r.size(), 4u);
    expectRect(r[0].deviceRect, Rect(10, 20, 5, 5));
    EXPECT_EQ(r[0].color, Color::blueColor());
    EXPECT_EQ(r[0].kind, DrawingRecord::Kind::Fill);
    expectRect(r[1].deviceRect, Rect(12, 23, 10, 15));
    expectRect(r[2].deviceRect, Rect(10, 8, 4, 12));
    // After the restore only the translation holds; the flip puts y = 0 at 50.
    expectRect(r[3].deviceRect, Rect(10, 60, 10, 10));
}

TEST(GraphicsContext, TextMatrixIsNotPartOfTheSavedState) {
    auto ctx = GraphicsContext::recordingContext({100, 100});
    ctx->setTextMatrix(AffineTransform::scale(1, -1));
    ctx->setTextPosition(5, 6);
    ctx->saveGState();
    ctx->setFillColor(Color::whiteColor());
    ctx->setTextMatrix(AffineTransform::identity());
    ctx->restoreGState();
    EXPECT_EQ(ctx->fillColor(), Color::blackColor());
    EXPECT_EQ(ctx->textMatrix(), AffineTransform::identity());
    ctx->setTextPosition(5, 6);
    EXPECT_EQ(ctx->textPosition(), (Point{5, 6}));
    // A text box goes through the text matrix, then the CTM: y from -4 to 12 becomes 34 to 18
    // under the text matrix and 66 to 82 under the flip.
    ctx->translateCTM(0, 100);
    ctx->scaleCTM(1, -1);
    ctx->setTextMatrix(AffineTransform::scale(1, -1));
    ctx->setTextPosition(10, 30);
    ctx->recordText(Rect(0, -4, 20, 16), u"x");
    ASSERT_EQ(ctx->records().size(), 1u);
    expectRect(ctx->records()[0].deviceRect, Rect(10, 66, 20, 16));
    EXPECT_EQ(ctx->records()[0].text, u"x");
    // Restoring more often than saving changes nothing.
    ctx->restoreGState();
    EXPECT_EQ(ctx->ctm(), (AffineTransform{1, 0, 0, -1, 0, 100}));
}

TEST(GraphicsContext, StrokesAndImagesAreRecordedWithTheirBoxes) {
    auto ctx = GraphicsContext::recordingContext({100, 100});
    ctx->setStrokeColor(Color::whiteColor());
    ctx->setLineWidth(2);
    ctx->strokeRect(Rect(10, 10, 20, 20));
    ctx->drawImage(Image(4, 4), Rect(50, 50, 8, 8));
    ctx->fillPath(Path::roundedRect(Rect(0, 0, 10, 6), 3, 3));
    const auto& r = ctx->records();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].kind, DrawingRecord::Kind::Stroke);
    expectRect(r[0].deviceRect, Rect(9, 9, 22, 22));
    EXPECT_EQ(r[1].kind, DrawingRecord::Kind::Image);
    expectRect(r[1].deviceRect, Rect(50, 50, 8, 8));
    expectRect(r[2].deviceRect, Rect(0, 0, 10, 6));
}

TEST(GraphicsContext, CurrentContextFollowsNestedScopes) {
    EXPECT_EQ(GraphicsContext::current(), nullptr);
    auto a = GraphicsContext::recordingContext({10, 10});
    auto b = GraphicsContext::recordingContext({10, 10});
    {
        GraphicsContext::CurrentScope outer(*a);
        EXPECT_EQ(GraphicsContext::current(), a.get());
        {
            GraphicsContext::CurrentScope inner(*b);
            EXPECT_EQ(GraphicsContext::current(), b.get());
        }
        EXPECT_EQ(GraphicsContext::current(), a.get());
    }
    EXPECT_EQ(GraphicsContext::current(), nullptr);
}

TEST(GraphicsContext, ImageContextHasItsOriginAtTheLowerLeft) {
    auto ctx = GraphicsContext::imageContext(20, 10);
    ctx->setFillColor(Color::calibratedRGB(1, 0, 0, 1));
    ctx->fillRect(Rect(0, 0, 5, 2));
    ctx->saveGState();
    ctx->clipToRect(Rect(15, 0, 5, 10));
    ctx->setFillColor(Color::blueColor());
    ctx->fillRect(Rect(10, 8, 10, 2));  // only the clipped right half lands
    ctx->restoreGState();
    Image image = ctx->makeImage();
    EXPECT_EQ(image.pixel(1, 0), Color::calibratedRGB(1, 0, 0, 1));
    EXPECT_EQ(image.pixel(1, 9).alpha, 0);
    EXPECT_EQ(image.pixel(17, 9), Color::blueColor());
    EXPECT_EQ(image.pixel(12, 9).alpha, 0);

    // Drawing an image keeps it upright: its top row goes to the top of the rectangle.
    auto target = GraphicsContext::imageContext(20, 10);
    target->drawImage(image, Rect(0, 0, 20, 10));
    EXPECT_EQ(target->makeImage().pixel(18, 9), Color::blueColor());
    EXPECT_EQ(target->makeImage().pixel(2, 0), Color::calibratedRGB(1, 0, 0, 1));

    std::string png = outputPath("graphics-context-image.png");
    ASSERT_TRUE(image.writePNG(png));
    auto loaded = Image::fromPNG(png);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->pixel(17, 9), Color::blueColor());
    EXPECT_FALSE(Image::fromPNG(outputPath("no-such-file.png")));
}

TEST(GraphicsContext, PdfContextWritesADocument) {
    std::string path = outputPath("graphics-context.pdf");
    std::filesystem::remove(path);
    {
        auto ctx = GraphicsContext::pdfContext(path, {200, 100});
        ctx->fillRect(Rect(10, 10, 50, 50));
        ctx->showPage();
    }
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_GT(std::filesystem::file_size(path), 100u);
}
