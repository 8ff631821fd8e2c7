#include <benchmark/benchmark.h>

#include <cmath>

#include "platform/graphics/AttributedString.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/GraphicsContext.h"
#include "textview/TXTextLayout.h"

namespace {

using platform::AttributedString;
using platform::Rect;

// A paragraph of 2,000 UTF-16 units of Mongolian words, some with suffixes after U+202F.
AttributedString mongolianParagraph(const platform::Font& font) {
    const std::u16string words[] = {
        u"\u182E\u1823\u1829\u182D\u1823\u182F",                          // mongγol
        u"\u182A\u1822\u1834\u1822\u182D",                                // bičig
        u"\u182A\u1820\u1836\u1820\u1837\u182F\u1820\u182F\u1820\u1820",  // bayarlalaa
        u"\u1830\u1820\u1836\u1822\u1828\u202F\u1824",                    // sayin-u
        u"\u1820\u1837\u1820\u1833",                                      // arad
    };
    std::u16string text;
    for (size_t i = 0; text.size() < 2000; ++i) text += words[i % 5] + u" ";
    text.resize(2000);
    platform::TextAttributes a;
    a.font = font;
    return AttributedString(text, a);
}

constexpr double Width = 400;

void layOut(benchmark::State& state, bool draw) {
    auto font = platform::Font::fontWithName(platform::Font::DisplayFontFamily, 22);
    if (!font) {
        state.SkipWithError("Noto Sans Mongolian is not installed");
        return;
    }
    AttributedString text = mongolianParagraph(*font);
    Rect frame = TXTextLayout::frameRectWithAttributtedString(text, {Width, 1e6});
    double height = std::ceil(frame.size.height);
    auto ctx = platform::GraphicsContext::imageContext(int(Width), int(height));
    TXTextLayout layout(text);
    layout.setBounds(Rect(0, 0, Width, height));
    for (auto _ : state) {
        layout.update();
        if (draw) {
            ctx->saveGState();
            layout.drawInContext(*ctx);
            ctx->restoreGState();
        }
        benchmark::DoNotOptimize(layout.lineLayouts().size());
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["lines"] = double(layout.lineLayouts().size());
}

void BM_LayOutMongolianParagraph(benchmark::State& state) {
    layOut(state, false);
}
void BM_LayOutAndDrawMongolianParagraph(benchmark::State& state) {
    layOut(state, true);
}

}  // namespace

BENCHMARK(BM_LayOutMongolianParagraph)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayOutAndDrawMongolianParagraph)->Unit(benchmark::kMillisecond);
