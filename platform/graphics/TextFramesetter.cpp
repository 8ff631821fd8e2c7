#include "platform/graphics/TextFramesetter.h"

#include <algorithm>
#include <limits>

#include "platform/graphics/pango/ParagraphLayout.h"

namespace platform {

namespace {

// Lines touching the bottom edge within this much still fit.
constexpr double FitTolerance = 1e-6;

bool isParagraphSeparator(char16_t c) {
    return c == u'\n' || c == u'\r' || c == u'\u2029';
}

}  // namespace

TextFramesetter::TextFramesetter(AttributedString string) : m_string(std::move(string)) {}

TextFramesetter::~TextFramesetter() = default;

const std::vector<std::shared_ptr<ParagraphLayout>>& TextFramesetter::paragraphsFor(double width) {
    if (width == m_layoutWidth) return m_paragraphs;
    m_paragraphs.clear();
    m_layoutWidth = width;
    const std::u16string& s = m_string.string();
    uint64_t start = 0;
    while (start < s.size()) {
        uint64_t end = start;
        while (end < s.size() && !isParagraphSeparator(s[end])) ++end;
        uint64_t separator = 0;
        if (end < s.size())
            separator = (s[end] == u'\r' && end + 1 < s.size() && s[end + 1] == u'\n') ? 2 : 1;
        // An empty paragraph still has its separator's font and style.
        TextAttributes atStart = m_string.attributesAtIndex(start);
        AttributedString content = m_string.attributedSubstring({start, end - start});
        m_paragraphs.push_back(std::make_shared<ParagraphLayout>(std::move(content), start,
                                                                 separator, width, atStart));
        start = end + separator;
    }
    return m_paragraphs;
}

std::vector<TextFramesetter::Placed> TextFramesetter::stack(Range range, double width,
                                                            double height) {
    uint64_t from = std::min<uint64_t>(range.location, m_string.length());
    uint64_t to =
        range.length == 0 ? m_string.length() : std::min<uint64_t>(range.max(), m_string.length());
    std::vector<Placed> placed;
    double top = 0;
    double gap = 0;  // spacing owed after the previous line
    for (const auto& paragraph : paragraphsFor(width)) {
        const ParagraphStyle& style = paragraph->style();
        const auto& lines = paragraph->lines();
        for (size_t i = 0; i < lines.size(); ++i) {
            const ParagraphLine& l = lines[i];
            if (l.rangeStart < from || l.rangeStart >= to) continue;
            double natural = l.ascent + l.descent + l.leading;
            double boxHeight = natural;
            if (style.minimumLineHeight > 0)
                boxHeight = std::max(boxHeight, style.minimumLineHeight);
            if (style.maximumLineHeight > 0)
                boxHeight = std::min(boxHeight, style.maximumLineHeight);
            double lineTop = placed.empty() ? 0 : top + gap;
            double bottom = lineTop + boxHeight;
            if (bottom > height + FitTolerance) return placed;
            // A fixed height moves the glyphs down from the top; the descent and leading stay
            // below the baseline.
            double visible = l.width - l.trailingWhitespaceWidth;
            double x = 0;
            if (style.alignment == TextAlignment::Right) x = width - visible;
            if (style.alignment == TextAlignment::Center) x = (width - visible) / 2;
            placed.push_back({std::make_shared<TextLine>(paragraph, i), x,
                              bottom - l.descent - l.leading, bottom, visible});
            top = bottom;
            gap = style.lineSpacing + (i + 1 == lines.size() ? style.paragraphSpacing : 0);
        }
    }
    return placed;
}

Size TextFramesetter::suggestFrameSize(Range range, Size constraints, Range* fitRange) {
    std::vector<Placed> placed = stack(range, constraints.width, constraints.height);
    Size size;
    for (const Placed& p : placed) size.width = std::max(size.width, p.width);
    if (!placed.empty()) size.height = placed.back().bottom;
    if (fitRange) {
        *fitRange = {range.location, 0};
        if (!placed.empty()) {
            uint64_t start = placed.front().line->stringRange().location;
            *fitRange = {start, placed.back().line->stringRange().max() - start};
        }
    }
    return size;
}

std::unique_ptr<TextFrame> TextFramesetter::createFrame(Range range, const Rect& path) {
    Rect box = path.standardized();
    std::vector<Placed> placed = stack(range, box.width(), box.height());
    std::vector<std::shared_ptr<TextLine>> lines;
    std::vector<Point> origins;
    for (Placed& p : placed) {
        lines.push_back(std::move(p.line));
        origins.push_back({p.x, box.height() - p.baseline});
    }
    return std::make_unique<TextFrame>(box, std::move(lines), std::move(origins));
}

Size boundingSizeOfAttributedString(const AttributedString& string) {
    constexpr double Unbounded = std::numeric_limits<double>::max();
    return TextFramesetter(string).suggestFrameSize({0, 0}, {Unbounded, Unbounded});
}

}  // namespace platform
