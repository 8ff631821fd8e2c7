#include "platform/graphics/pango/ParagraphLayout.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "platform/graphics/pango/PangoSupport.h"

namespace platform {

namespace {

using pango_support::fromPango;
using pango_support::toPango;

struct FontMetrics {
    double ascent, descent, leading;
};

FontMetrics metricsOf(PangoFont* font) {
    // Pango keeps fonts alive in its cache; holding a reference keeps the key valid.
    static std::map<PangoFont*, FontMetrics> cache;
    if (auto found = cache.find(font); found != cache.end()) return found->second;
    pango_support::FontMetricsOwner fm(pango_font_get_metrics(font, nullptr));
    double ascent = fromPango(pango_font_metrics_get_ascent(fm.get()));
    double descent = fromPango(pango_font_metrics_get_descent(fm.get()));
    double height = fromPango(pango_font_metrics_get_height(fm.get()));
    g_object_ref(font);
    FontMetrics m{ascent, descent, std::max(0.0, height - ascent - descent)};
    cache.emplace(font, m);
    return m;
}

const PangoAttrShape* shapeOf(const PangoItem* item) {
    for (GSList* a = item->analysis.extra_attrs; a; a = a->next) {
        auto* attr = static_cast<PangoAttribute*>(a->data);
        if (attr->klass->type == PANGO_ATTR_SHAPE) return reinterpret_cast<PangoAttrShape*>(attr);
    }
    return nullptr;
}

void insert(PangoAttrList* list, PangoAttribute* attr, guint start, guint end) {
    attr->start_index = start;
    attr->end_index = end;
    pango_attr_list_insert(list, attr);
}

guint16 channel(double v) {
    return static_cast<guint16>(std::lround(std::clamp(v, 0.0, 1.0) * 65535));
}

PangoAttrList* attributesFor(const AttributedString& text, const TextIndexMap& map) {
    PangoAttrList* list = pango_attr_list_new();
    insert(list, pango_attr_insert_hyphens_new(FALSE), 0, G_MAXUINT);
    // Walk the runs once; each run gets the Pango attributes of what it carries.
    uint64_t index = 0;
    while (index < text.length()) {
        Range run;
        TextAttributes a = text.attributesAtIndex(index, &run);
        guint start = map.utf8Offset(run.location);
        guint end = map.utf8Offset(run.max());
        if (a.font) {
            auto desc =
                pango_support::newFontDescription(a.font->familyName(), a.font->pointSize());
            insert(list, pango_attr_font_desc_new(desc.get()), start, end);
        }
        if (a.foregroundColor) {
            const Color& c = *a.foregroundColor;
            insert(list,
                   pango_attr_foreground_new(channel(c.red), channel(c.green), channel(c.blue)),
                   start, end);
            if (c.alpha < 1)
                insert(list, pango_attr_foreground_alpha_new(channel(c.alpha)), start, end);
        }
        if (a.runDelegate) {
            double ascent = a.runDelegate->ascent(), descent = a.runDelegate->descent();
            PangoRectangle logical{0, toPango(-ascent), toPango(a.runDelegate->width()),
                                   toPango(ascent + descent)};
            insert(list, pango_attr_shape_new(&logical, &logical), start, end);
        }
        if (a.verticalGlyphForm && *a.verticalGlyphForm == 1) {
            insert(list, pango_attr_font_features_new("vert"), start, end);
        }
        index = run.max();
    }
    return list;
}

bool isWhitespace(char32_t c) {
    return u_isUWhiteSpace(static_cast<UChar32>(c));
}

}  // namespace

Font ParagraphLayout::defaultFont() {
    return Font::systemFont(12.0);
}

ParagraphLayout::ParagraphLayout(AttributedString content, double width, bool singleLine,
                                 const ParagraphStyle& style)
    : m_content(std::move(content)), m_map(m_content.string()), m_style(style) {
    m_layout.reset(pango_layout_new(pango_support::sharedContext()));
    PangoLayout* layout = m_layout.get();
    Font base = defaultFont();
    auto desc = pango_support::newFontDescription(base.familyName(), base.pointSize());
    pango_layout_set_font_description(layout, desc.get());
    pango_layout_set_single_paragraph_mode(layout, singleLine);
    pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
    bool wraps =
        !singleLine && width > 0 && std::isfinite(width) && width * PANGO_SCALE < double(G_MAXINT);
    pango_layout_set_width(layout, wraps ? toPango(width) : -1);
    // Every mode but character wrapping breaks at words (a word wider than the line breaks
    // between characters); cutting lines short is left to whoever draws them.
    pango_layout_set_wrap(layout, m_style.lineBreakMode == LineBreakMode::CharWrapping
                                      ? PANGO_WRAP_CHAR
                                      : PANGO_WRAP_WORD_CHAR);
    pango_layout_set_justify(layout, wraps && m_style.alignment == TextAlignment::Justified);
    pango_layout_set_text(layout, m_map.utf8().data(), static_cast<int>(m_map.utf8().size()));
    pango_support::AttrListOwner attrs(attributesFor(m_content, m_map));
    pango_layout_set_attributes(layout, attrs.get());
}

ParagraphLayout::ParagraphLayout(AttributedString content, uint64_t globalStart,
                                 uint64_t separatorLength, double width,
                                 const TextAttributes& atStart)
    : ParagraphLayout(std::move(content), width, false,
                      atStart.paragraphStyle.value_or(ParagraphStyle{})) {
    measureLines(globalStart, separatorLength, atStart.font.value_or(defaultFont()));
}

std::shared_ptr<ParagraphLayout> ParagraphLayout::truncated(AttributedString keptAndToken,
                                                            uint64_t rangeStart,
                                                            uint64_t keptLength, Range hidden) {
    std::shared_ptr<ParagraphLayout> p(
        new ParagraphLayout(std::move(keptAndToken), 0, true, ParagraphStyle{}));
    if (hidden.length > 0) p->hideGlyphs(hidden);
    p->measureLines(0, 0, defaultFont());
    // One line: it draws everything but answers only for the kept characters.
    ParagraphLine& line = p->m_lines.front();
    line.localStart = 0;
    line.localEnd = p->m_content.length();
    line.rangeStart = rangeStart;
    line.rangeLength = keptLength;
    line.contentLength = keptLength;
    line.hidden = hidden;
    p->m_lines.resize(1);
    return p;
}

// Before anything is measured: Pango keeps a line's extents once asked for them.
void ParagraphLayout::hideGlyphs(Range units) {
    auto from = static_cast<int>(m_map.utf8Offset(units.location));
    auto to = static_cast<int>(m_map.utf8Offset(units.max()));
    for (GSList* l = pango_layout_get_lines(m_layout.get()); l; l = l->next) {
        for (GSList* r = static_cast<PangoLayoutLine*>(l->data)->runs; r; r = r->next) {
            auto* run = static_cast<PangoGlyphItem*>(r->data);
            for (int i = 0; i < run->glyphs->num_glyphs; ++i) {
                int byte = run->item->offset + run->glyphs->log_clusters[i];
                if (byte < from || byte >= to) continue;
                run->glyphs->glyphs[i].glyph = PANGO_GLYPH_EMPTY;
                run->glyphs->glyphs[i].geometry.width = 0;
            }
        }
    }
}

ParagraphLayout::~ParagraphLayout() = default;

void ParagraphLayout::measureLines(uint64_t globalStart, uint64_t separatorLength,
                                   const Font& emptyLineFont) {
    int count = pango_layout_get_line_count(m_layout.get());
    m_lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        ParagraphLine info;
        info.line = pango_layout_get_line_readonly(m_layout.get(), i);
        info.localStart = m_map.utf16Index(info.line->start_index);
        info.localEnd = m_map.utf16Index(info.line->start_index + info.line->length);
        info.rangeStart = globalStart + info.localStart;
        info.contentLength = info.localEnd - info.localStart;
        info.rangeLength = info.contentLength + (i == count - 1 ? separatorLength : 0);

        PangoRectangle logical;
        pango_layout_line_get_extents(info.line, nullptr, &logical);
        info.width = fromPango(logical.width);
        bool measured = false;
        for (GSList* r = info.line->runs; r; r = r->next) {
            auto* run = static_cast<PangoGlyphItem*>(r->data);
            FontMetrics m{0, 0, 0};
            if (const PangoAttrShape* shape = shapeOf(run->item)) {
                m.ascent = fromPango(-shape->logical_rect.y);
                m.descent = fromPango(shape->logical_rect.y + shape->logical_rect.height);
            } else if (run->item->analysis.font) {
                m = metricsOf(run->item->analysis.font);
            }
            info.ascent = measured ? std::max(info.ascent, m.ascent) : m.ascent;
            info.descent = measured ? std::max(info.descent, m.descent) : m.descent;
            info.leading = measured ? std::max(info.leading, m.leading) : m.leading;
            measured = true;
        }
        if (!measured) {
            // A line without glyphs takes the height of the font at its place.
            Font font = emptyLineFont;
            if (info.localStart < m_content.length()) {
                if (auto f = m_content.attributesAtIndex(info.localStart).font) font = *f;
            }
            info.ascent = font.ascent();
            info.descent = font.descent();
            info.leading = font.leading();
        }

        // Whitespace at the end of the line hangs past its visible end.
        const std::u16string& s = m_content.string();
        uint64_t ws = info.localEnd;
        while (ws > info.localStart) {
            uint64_t prev = ws - 1;
            char32_t c = s[prev];
            if (isLowSurrogate(s[prev]) && prev > info.localStart && isHighSurrogate(s[prev - 1])) {
                --prev;
                c = 0x10000 + ((char32_t(s[prev]) - 0xD800) << 10) +
                    (char32_t(s[prev + 1]) - 0xDC00);
            }
            if (!isWhitespace(c)) break;
            ws = prev;
        }
        if (ws < info.localEnd && i + 1 < count) {
            // Pango gives the space at a wrap no width; it still belongs to the line.
            double zeroed = finalSpaceWidth(info.localEnd - 1);
            info.width += zeroed;
        }
        if (ws < info.localEnd) {
            int x = 0;
            pango_layout_line_index_to_x(info.line, static_cast<int>(m_map.utf8Offset(ws)), 0, &x);
            info.trailingWhitespaceWidth = std::max(0.0, info.width - fromPango(x));
        }
        m_lines.push_back(info);
    }
}

double ParagraphLayout::finalSpaceWidth(uint64_t localIndex) const {
    const std::u16string& s = m_content.string();
    if (isLowSurrogate(s[localIndex])) return 0;  // no wide space is outside the BMP
    TextAttributes a = m_content.attributesAtIndex(localIndex);
    Font font = a.font.value_or(defaultFont());
    static std::map<std::tuple<char16_t, std::string, double>, double> cache;
    auto key = std::make_tuple(s[localIndex], font.familyName(), font.pointSize());
    if (auto found = cache.find(key); found != cache.end()) return found->second;
    a.runDelegate.reset();
    ParagraphLayout alone(AttributedString(std::u16string(1, s[localIndex]), a), 0, true,
                          ParagraphStyle{});
    PangoRectangle logical;
    pango_layout_get_extents(alone.m_layout.get(), nullptr, &logical);
    double width = fromPango(logical.width);
    cache.emplace(key, width);
    return width;
}

double ParagraphLayout::offsetForIndex(const ParagraphLine& line, uint64_t index) const {
    uint64_t rel =
        index < line.rangeStart ? 0 : std::min(index - line.rangeStart, line.contentLength);
    uint32_t byte = m_map.utf8Offset(line.localStart + rel);
    if (byte >= static_cast<uint32_t>(line.line->start_index + line.line->length))
        return line.width;
    int x = 0;
    pango_layout_line_index_to_x(line.line, static_cast<int>(byte), 0, &x);
    return fromPango(x);
}

uint64_t ParagraphLayout::indexForOffset(const ParagraphLine& line, double x) const {
    int byte = 0, trailing = 0;
    pango_layout_line_x_to_index(line.line, toPango(x), &byte, &trailing);
    const char* text = m_map.utf8().data();
    const char* p = text + byte;
    for (int i = 0; i < trailing && *p; ++i) p = g_utf8_next_char(p);
    uint64_t local = m_map.utf16Index(static_cast<size_t>(p - text));
    local = std::clamp(local, line.localStart, line.localStart + line.contentLength);
    return line.rangeStart + (local - line.localStart);
}

bool ParagraphLayout::isCursorPosition(uint64_t localIndex) const {
    int count = 0;
    const PangoLogAttr* attrs = pango_layout_get_log_attrs_readonly(m_layout.get(), &count);
    // Log attributes count characters; find the character starting at the unit.
    uint32_t byte = m_map.utf8Offset(localIndex);
    long chars = g_utf8_pointer_to_offset(m_map.utf8().data(), m_map.utf8().data() + byte);
    return chars < count && attrs[chars].is_cursor_position;
}

}  // namespace platform
