// One show of a nine-candidate list as the input method does it after a key: build the numbered
// text, measure it, place the window, give the text to the turned text view and draw the window's
// content into a bitmap of the window's size (what the on-screen host does at the next frame).
// Side by side: raw Pango doing the same work with one layout (measure, turn, draw at 30-point
// lines). Run with --benchmark_enable_random_interleaving=true --benchmark_repetitions=10 to
// interleave the two.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>

#include <cmath>
#include <string>
#include <vector>

#include "inputmethod/CandidateWindow.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/ui/Backends.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WindowBackend.h"
#include "platform/ui/WindowHost.h"

namespace {

const std::vector<std::u16string> Words = {
    u"\u182A\u1820\u1836\u1820\u1837\u182F\u1820\u182F\u1820\u1820",
    u"\u182A\u1820",
    u"\u182E\u1823\u1829\u182D\u1823\u182F",
    u"\u182A\u1822\u1834\u1822\u182D",
    u"\u1835\u1823\u1837\u1822\u182D",
    u"\u1832\u1820\u1837\u1820\u182D\u1820\u1828",
    u"\u1823\u182F\u1823\u1828",
    u"\u1833\u1821\u1837\u1821",
    u"\u202F\u1824\u1828",
};

quillora::CandidateList nineCandidates() {
    quillora::CandidateList list;
    for (const auto& w : Words) list.push_back({{"char_word", platform::utf8FromUtf16(w)}});
    return list;
}

const platform::Rect Caret(300, 600, 2, 20);

// One screen and no desktop: the window is placed and drawn but never shown.
class OneScreen : public platform::WindowBackend {
  public:
    std::vector<platform::Screen> screens() const override {
        platform::Rect frame(0, 0, 1600, 1000);
        return {platform::Screen(frame, frame)};
    }
    std::optional<platform::Point> mouseLocation() const override { return std::nullopt; }
    std::unique_ptr<platform::WindowHost> createHost(platform::Window&) override { return nullptr; }
};

void BM_ShowNineCandidates(benchmark::State& state) {
    platform::ScopedBackends installed;
    installed->windows = std::make_shared<OneScreen>();
    quillora::CandidateWindow window;
    quillora::CandidateList list = nineCandidates();
    for (auto _ : state) {
        window.showCandidates(list, Caret);
        platform::Rect frame = window.window().frame();
        auto context = platform::GraphicsContext::imageContext(int(std::ceil(frame.width())),
                                                               int(std::ceil(frame.height())));
        context->setFillColor(window.window().backgroundColor());
        context->fillRect(platform::Rect(0, 0, frame.width(), frame.height()));
        window.window().contentView()->displayInContext(*context);
        benchmark::DoNotOptimize(context->size());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ShowNineCandidates)->Unit(benchmark::kMicrosecond);

void BM_ShowNineCandidates_RawPango(benchmark::State& state) {
    std::string text;
    for (size_t i = 0; i < Words.size(); ++i) {
        text += std::to_string(i + 1) + (Words[i][0] == u'\u202F' ? "." : ". ") +
                platform::utf8FromUtf16(Words[i]);
        if (i + 1 < Words.size()) text += " \n";
    }
    PangoFontMap* fontMap = pango_cairo_font_map_get_default();
    PangoContext* pango = pango_font_map_create_context(fontMap);
    pango_cairo_context_set_resolution(pango, 72);
    PangoFontDescription* font = pango_font_description_from_string("Noto Sans Mongolian 22");
    for (auto _ : state) {
        // Measure in the font's own line height, as the window does.
        PangoLayout* measure = pango_layout_new(pango);
        pango_layout_set_font_description(measure, font);
        pango_layout_set_text(measure, text.c_str(), -1);
        PangoRectangle logical;
        pango_layout_get_extents(measure, nullptr, &logical);
        double w = logical.height / double(PANGO_SCALE) + 5;
        double h = logical.width / double(PANGO_SCALE) + 5;
        double x = std::max(0.0, Caret.origin.x + 2), y = Caret.origin.y - h - 2;
        benchmark::DoNotOptimize(x + y);
        // Draw at 30-point lines, turned so each line runs down.
        PangoLayout* draw = pango_layout_new(pango);
        pango_layout_set_font_description(draw, font);
        PangoAttrList* attrs = pango_attr_list_new();
        pango_attr_list_insert(attrs, pango_attr_line_height_new_absolute(30 * PANGO_SCALE));
        pango_layout_set_attributes(draw, attrs);
        pango_attr_list_unref(attrs);
        pango_layout_set_text(draw, text.c_str(), -1);
        cairo_surface_t* surface =
            cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(std::ceil(w)), int(std::ceil(h)));
        cairo_t* cr = cairo_create(surface);
        cairo_set_source_rgb(cr, 0.93, 0.93, 0.93);
        cairo_paint(cr);
        cairo_translate(cr, w, 0);
        cairo_rotate(cr, M_PI / 2);
        cairo_set_source_rgb(cr, 0, 0, 0);
        pango_cairo_update_context(cr, pango);
        pango_cairo_show_layout(cr, draw);
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        g_object_unref(draw);
        g_object_unref(measure);
    }
    pango_font_description_free(font);
    g_object_unref(pango);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ShowNineCandidates_RawPango)->Unit(benchmark::kMicrosecond);

}  // namespace
