#include "platform/graphics/TextLine.h"

#include <pango/pangocairo.h>

#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/ParagraphLayout.h"

namespace platform {

std::shared_ptr<TextLine> TextLine::create(const AttributedString& string) {
    auto paragraph = ParagraphLayout::truncated(string, 0, string.length());
    return std::make_shared<TextLine>(std::move(paragraph), 0);
}

TextLine::TextLine(std::shared_ptr<const ParagraphLayout> paragraph, size_t lineNumber)
    : m_paragraph(std::move(paragraph)), m_lineNumber(lineNumber) {}

const ParagraphLine& TextLine::info() const {
    return m_paragraph->lines()[m_lineNumber];
}

double TextLine::typographicBounds(double* ascent, double* descent, double* leading) const {
    const ParagraphLine& l = info();
    if (ascent) *ascent = l.ascent;
    if (descent) *descent = l.descent;
    if (leading) *leading = l.leading;
    return l.width;
}

double TextLine::trailingWhitespaceWidth() const {
    return info().trailingWhitespaceWidth;
}

Range TextLine::stringRange() const {
    return {info().rangeStart, info().rangeLength};
}

int64_t TextLine::stringIndexForPosition(Point position) const {
    return static_cast<int64_t>(m_paragraph->indexForOffset(info(), position.x));
}

double TextLine::offsetForStringIndex(int64_t index) const {
    return m_paragraph->offsetForIndex(info(), index < 0 ? 0 : static_cast<uint64_t>(index));
}

std::shared_ptr<TextLine> TextLine::truncatedLine(double width, TruncationType type,
                                                  const std::shared_ptr<TextLine>& token) const {
    if (!token || type != TruncationType::End) return nullptr;
    double tokenWidth = token->typographicBounds(nullptr, nullptr, nullptr);
    if (tokenWidth > width) return nullptr;
    const ParagraphLine& l = info();
    if (l.width <= width) return std::make_shared<TextLine>(m_paragraph, m_lineNumber);

    const AttributedString& tokenText = token->m_paragraph->content();
    const AttributedString& content = m_paragraph->content();
    // Give up characters from the end, a whole cluster at a time, until the start that is kept
    // and the token fit together; the kept end is set afresh, so its width is measured again.
    for (uint64_t kept = l.contentLength;; --kept) {
        uint64_t localEnd = l.localStart + kept;
        bool boundary = kept == 0 || m_paragraph->isCursorPosition(localEnd);
        if (boundary &&
            (kept == 0 ||
             m_paragraph->offsetForIndex(l, l.rangeStart + kept) + tokenWidth <= width)) {
            AttributedString text = content.attributedSubstring({l.localStart, kept});
            text.append(tokenText);
            auto cut = ParagraphLayout::truncated(std::move(text), l.rangeStart, kept);
            if (kept == 0 || cut->lines().front().width <= width) {
                return std::make_shared<TextLine>(std::move(cut), 0);
            }
        }
        if (kept == 0) return nullptr;
    }
}

void TextLine::draw(GraphicsContext& context) const {
    const ParagraphLine& l = info();
    cairo_t* cr = context.prepareTextDrawing();
    pango_cairo_show_layout_line(cr, l.line);
    context.recordText(Rect(0, -l.descent, l.width, l.ascent + l.descent), drawnText());
    context.finishTextDrawing();
}

std::u16string TextLine::drawnText() const {
    const ParagraphLine& l = info();
    return m_paragraph->content().string().substr(l.localStart, l.localEnd - l.localStart);
}

}  // namespace platform
