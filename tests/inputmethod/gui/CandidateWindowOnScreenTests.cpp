#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "inputmethod/CandidateWindow.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/ui/Backends.h"
#include "platform/ui/Screen.h"
#include "platform/ui/gtk/GtkWindowBackend.h"
#include "tests/inputmethod/CandidateFixtures.h"
#include "tests/platform/graphics/PinnedFonts.h"
#include "tests/support/Patience.h"
#include "tests/support/PixelBox.h"
#include "tests/support/TestOutput.h"

using platform::Image;
using platform::Rect;

namespace {

// The desktop of the private X server is black; the window's background is light.
bool isWindow(const platform::Color& c) {
    return c.red > 0.8 && c.green > 0.8 && c.blue > 0.8;
}
bool isInk(const platform::Color& c) {
    return c.red < 0.5 && c.green < 0.5 && c.blue < 0.5;
}

void writeEnlarged(const Image& image, const PixelBox& box, int scale, const std::string& path) {
    int w = box.maxX - box.minX + 1, h = box.maxY - box.minY + 1;
    auto context = platform::GraphicsContext::imageContext(w * scale, h * scale);
    context->drawImage(image, Rect(-box.minX * scale, -box.minY * scale, image.width() * scale,
                                   image.height() * scale));
    context->makeImage().writePNG(path);
}

}  // namespace

// Nine candidates shown next to a caret on a real X server: the window is where the placement
// puts it, and the candidates read as nine columns from the left, each from the top down.
TEST(CandidateWindowOnScreen, NineCandidatesStandAsColumnsBelowTheCaret) {
    REQUIRE_PINNED_FONTS();
    auto backend = platform::gtk::GtkWindowBackend::create();
    if (!backend) GTEST_SKIP() << "no display (run under xvfb-run -a)";
    platform::ScopedBackends installed;
    installed->windows = backend;

    {
        quillora::CandidateWindow candidates;
        // Low on the right of the screen, room for the window below and beside the caret.
        const Rect caret(1100, 450, 2, 20);
        candidates.showCandidates(fixtures::candidates(fixtures::NineWords), caret);
        ASSERT_TRUE(backend->waitUntilDrawn(candidates.window(), kPatience.count()));
        Rect frame = candidates.window().frame();
        EXPECT_DOUBLE_EQ(frame.origin.x, 1102);
        EXPECT_DOUBLE_EQ(frame.maxY(), 448);

        // The neighbourhood of the window; image coordinates are screen coordinates less the
        // margin's corner.
        const int margin = 20;
        Rect around(frame.minX() - margin, frame.minY() - margin,
                    std::ceil(frame.width()) + 2 * margin, std::ceil(frame.height()) + 2 * margin);
        auto shot = backend->snapshot(around);
        ASSERT_TRUE(shot.has_value());
        std::string png = testOutputPath("candidate-window.png").string();
        ASSERT_TRUE(shot->writePNG(png));

        // The window, to the pixel (the frame's edges rounded as the desktop has them).
        PixelBox window = pixelsWhere(*shot, isWindow, PixelBox::wholeImage(*shot));
        ASSERT_FALSE(window.empty()) << png;
        EXPECT_EQ(window.minX, margin) << png;
        EXPECT_EQ(window.maxX + 1, margin + std::lround(frame.width())) << png;
        // The top edge lies on whole points; the bottom one is rounded by the desktop.
        EXPECT_EQ(window.maxY + 1, margin + std::lround(frame.height())) << png;
        EXPECT_LE(std::abs(window.minY - margin), 1) << png;
        writeEnlarged(*shot, window, 3, testOutputPath("candidate-window-x3.png").string());

        std::vector<PixelBox> columns = inkColumns(*shot, isInk, window);
        ASSERT_EQ(columns.size(), 9u) << png;
        int longest = 0;
        for (int i = 0; i < 9; ++i) {
            const PixelBox& c = columns[i];
            // Every line starts at the window's top and runs down; the lines stand 30 apart.
            EXPECT_GT(c.maxY, window.maxY - 8) << "column " << i;
            if (i > 0) {
                EXPECT_NEAR(c.minX - columns[i - 1].minX, 30, 3) << "column " << i;
            }
            longest = std::max(longest, c.maxY - c.minY);
        }
        EXPECT_LT(columns[0].minX - window.minX, 20) << "the first candidate is leftmost";
        // The first word is the longest, the second the shortest: bayarlalaa, ba, mongγol.
        int length0 = columns[0].maxY - columns[0].minY;
        int length1 = columns[1].maxY - columns[1].minY;
        int length2 = columns[2].maxY - columns[2].minY;
        EXPECT_EQ(length0, longest);
        EXPECT_GT(length0, length2);
        EXPECT_GT(length2, length1);

        candidates.hideCandidates();
        backend->processPendingEvents();
        auto after = backend->snapshot(Rect(frame.minX() + 5, frame.minY() + 5, 10, 10));
        ASSERT_TRUE(after.has_value());
        EXPECT_FALSE(isWindow(after->pixel(5, 5))) << "the window left the screen";
    }
}
