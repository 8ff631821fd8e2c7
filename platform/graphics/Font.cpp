#include "platform/graphics/Font.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <utility>

#include "platform/graphics/pango/PangoSupport.h"

namespace platform {

namespace {

struct Metrics {
    double ascent = 0;
    double descent = 0;
    double leading = 0;
};

// The family fontconfig really has for the name, or nothing when it would substitute.
std::optional<std::string> resolveFamily(const std::string& name) {
    static std::map<std::string, std::optional<std::string>> cache;
    if (auto found = cache.find(name); found != cache.end()) return found->second;

    std::optional<std::string> family;
    // The name may be a family or a PostScript name; fontconfig must know a font by it.
    for (const char* property : {FC_FAMILY, FC_POSTSCRIPT_NAME}) {
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, property, reinterpret_cast<const FcChar8*>(name.c_str()));
        FcObjectSet* properties = FcObjectSetBuild(FC_FAMILY, nullptr);
        FcFontSet* fonts = FcFontList(nullptr, pattern, properties);
        FcChar8* value = nullptr;
        if (fonts && fonts->nfont > 0 &&
            FcPatternGetString(fonts->fonts[0], FC_FAMILY, 0, &value) == FcResultMatch) {
            family = reinterpret_cast<const char*>(value);
        }
        if (fonts) FcFontSetDestroy(fonts);
        FcObjectSetDestroy(properties);
        FcPatternDestroy(pattern);
        if (family) break;
    }
    cache.emplace(name, family);
    return family;
}

const Metrics& metricsOf(const std::string& family, double size) {
    static std::map<std::pair<std::string, double>, Metrics> cache;
    auto key = std::make_pair(family, size);
    if (auto found = cache.find(key); found != cache.end()) return found->second;

    Metrics m;
    PangoContext* context = pango_support::sharedContext();
    auto desc = pango_support::newFontDescription(family, size);
    if (pango_support::FontOwner font{pango_context_load_font(context, desc.get())}) {
        pango_support::FontMetricsOwner fm(pango_font_get_metrics(font.get(), nullptr));
        m.ascent = pango_support::fromPango(pango_font_metrics_get_ascent(fm.get()));
        m.descent = pango_support::fromPango(pango_font_metrics_get_descent(fm.get()));
        double height = pango_support::fromPango(pango_font_metrics_get_height(fm.get()));
        m.leading = std::max(0.0, height - m.ascent - m.descent);
    }
    return cache.emplace(key, m).first->second;
}

}  // namespace

std::optional<Font> Font::fontWithName(const std::string& name, double size) {
    std::optional<std::string> family = resolveFamily(name);
    if (!family) return std::nullopt;
    return Font(*family, size);
}

Font Font::systemFont(double size) {
    return Font(SystemFontFamily, size);
}

double Font::ascent() const {
    return metricsOf(m_family, m_size).ascent;
}
double Font::descent() const {
    return metricsOf(m_family, m_size).descent;
}
double Font::leading() const {
    return metricsOf(m_family, m_size).leading;
}

}  // namespace platform
