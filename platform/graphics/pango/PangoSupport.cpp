#include "platform/graphics/pango/PangoSupport.h"

#include <cmath>
#include <limits>
#include <mutex>

namespace platform::pango_support {

PangoContext* sharedContext() {
    static PangoContext* context = [] {
        PangoFontMap* fontMap = pango_cairo_font_map_new();
        pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(fontMap), 72.0);
        PangoContext* ctx = pango_font_map_create_context(fontMap);
        g_object_unref(fontMap);  // the context keeps it
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        pango_cairo_context_set_font_options(ctx, options);
        cairo_font_options_destroy(options);
        pango_cairo_context_set_resolution(ctx, 72.0);
        pango_context_set_round_glyph_positions(ctx, FALSE);
        return ctx;
    }();
    return context;
}

FontDescriptionOwner newFontDescription(const std::string& family, double size) {
    FontDescriptionOwner desc(pango_font_description_new());
    pango_font_description_set_family(desc.get(), family.c_str());
    pango_font_description_set_absolute_size(desc.get(), size * PANGO_SCALE);
    return desc;
}

int toPango(double points) {
    double units = std::round(points * PANGO_SCALE);
    if (units > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (units < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(units);
}

}  // namespace platform::pango_support
