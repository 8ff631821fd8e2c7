#include <gtest/gtest.h>

#include "platform/graphics/GraphicsContext.h"
#include "platform/ui/View.h"

using platform::GraphicsContext;
using platform::Rect;
using platform::View;

namespace {

// Fills a rectangle of its own coordinates and notes that it drew.
class FillingView : public View {
  public:
    FillingView(const Rect& frame, const Rect& fill) : View(frame), m_fill(fill) {}
    void drawRect(const Rect&) override {
        ++draws;
        GraphicsContext::current()->fillRect(m_fill);
    }
    int draws = 0;

  private:
    Rect m_fill;
};

}  // namespace

TEST(ViewDisplay, DrawsTheTreeThroughFramesBoundsOriginsAndRotations) {
    auto root = std::make_shared<FillingView>(Rect(5, 5, 100, 100), Rect(0, 0, 1, 1));
    auto moved = std::make_shared<FillingView>(Rect(10, 20, 30, 40), Rect(0, 0, 30, 40));
    auto shifted = std::make_shared<FillingView>(Rect(0, 0, 30, 40), Rect(10, 10, 5, 5));
    shifted->setBoundsOrigin({10, 10});
    // A turned view filling its whole bounds covers exactly its frame.
    auto probe = std::make_shared<View>(Rect(50, 0, 20, 60));
    probe->rotateByAngle(-90);
    auto turned = std::make_shared<FillingView>(Rect(50, 0, 20, 60), probe->bounds());
    turned->rotateByAngle(-90);
    turned->setNeedsDisplay(true);
    root->addSubview(moved);
    root->addSubview(shifted);
    root->addSubview(turned);

    auto context = GraphicsContext::recordingContext({200, 200});
    root->displayInContext(*context);
    const auto& r = context->records();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].deviceRect, Rect(5, 5, 1, 1));
    EXPECT_EQ(r[1].deviceRect, Rect(15, 25, 30, 40));
    EXPECT_EQ(r[2].deviceRect, Rect(5, 5, 5, 5));  // the bounds origin sits at the frame's corner
    EXPECT_EQ(r[3].deviceRect, Rect(55, 5, 20, 60));
    EXPECT_FALSE(turned->needsDisplay());
    EXPECT_EQ(moved->draws, 1);
}
