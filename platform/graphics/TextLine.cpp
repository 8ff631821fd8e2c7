#include "platform/graphics/TextLine.h"

#include <pango/pangocairo.h>
#include <unicode/uchar.h>

#include "platform/foundation/UnicodeString.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/cairo/CairoHandles.h"
#include "platform/graphics/pango/ParagraphLayout.h"

namespace platform {

namespace {

UJoiningType joiningType(char32_t c) {
    return static_cast<UJoiningType>(
        u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_JOINING_TYPE));
}

// Whether the letters on both sides of the unit boundary join, so that cutting there would
// change the form of the last kept letter. Marks such as variation selectors are transparent:
// the letters around them decide.
bool joinsAcross(const std::u16string& text, size_t boundary) {
    std::optional<UJoiningType> before;
    for (size_t i = boundary; i > 0 && !before;) {
        --i;
        if (i > 0 && isLowSurrogate(text[i]) && isHighSurrogate(text[i - 1])) --i;
        size_t units = 0;
        UJoiningType type = joiningType(codePointAt(text, i, units));
        if (type != U_JT_TRANSPARENT) before = type;
    }
    std::optional<UJoiningType> after;
    for (size_t i = boundary; i < text.size() && !after;) {
        size_t units = 1;
        UJoiningType type = joiningType(codePointAt(text, i, units));
        if (type != U_JT_TRANSPARENT) after = type;
        i += std::max<size_t>(units, 1);
    }
    auto joinsForward = [](UJoiningType t) {
        return t == U_JT_DUAL_JOINING || t == U_JT_JOIN_CAUSING || t == U_JT_LEFT_JOINING;
    };
    auto joinsBackward = [](UJoiningType t) {
        return t == U_JT_DUAL_JOINING || t == U_JT_JOIN_CAUSING || t == U_JT_RIGHT_JOINING;
    };
    return before && after && joinsForward(*before) && joinsBackward(*after);
}

// The units from `start` up to the next whitespace or `end`.
uint64_t restOfWord(const std::u16string& text, uint64_t start, uint64_t end) {
    uint64_t i = start;
    while (i < end) {
        size_t units = 1;
        if (u_isUWhiteSpace(static_cast<UChar32>(codePointAt(text, i, units)))) break;
        i += std::max<size_t>(units, 1);
    }
    return i - start;
}

}  // namespace

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
            // Set alone, the last kept letter of a word cut in two would take its final form
            // and could read as another word, and its form can hang on the letters after it as
            // well. So the rest of the word is shaped with it, as in the whole line, and then
            // hidden.
            uint64_t rest = 0;
            if (kept > 0 && joinsAcross(content.string(), localEnd)) {
                rest = restOfWord(content.string(), localEnd, l.localEnd);
            }
            AttributedString text = content.attributedSubstring({l.localStart, kept + rest});
            text.append(tokenText);
            auto cut =
                ParagraphLayout::truncated(std::move(text), l.rangeStart, kept, Range{kept, rest});
            if (kept == 0 || cut->lines().front().width <= width) {
                return std::make_shared<TextLine>(std::move(cut), 0);
            }
        }
        if (kept == 0) return nullptr;
    }
}

void TextLine::draw(GraphicsContext& context) const {
    const ParagraphLine& l = info();
    cairo_t* cr = cairo(context.prepareTextDrawing());
    pango_cairo_show_layout_line(cr, l.line);
    context.recordText(Rect(0, -l.descent, l.width, l.ascent + l.descent), drawnText());
    context.finishTextDrawing();
}

std::u16string TextLine::drawnText() const {
    const ParagraphLine& l = info();
    std::u16string text =
        m_paragraph->content().string().substr(l.localStart, l.localEnd - l.localStart);
    if (l.hidden.length > 0) text.erase(l.hidden.location - l.localStart, l.hidden.length);
    return text;
}

std::vector<uint32_t> TextLine::glyphs() const {
    std::vector<uint32_t> ids;
    for (GSList* run = info().line->runs; run; run = run->next) {
        auto* item = static_cast<PangoGlyphItem*>(run->data);
        for (int i = 0; i < item->glyphs->num_glyphs; ++i) {
            PangoGlyphInfo& glyph = item->glyphs->glyphs[i];
            // Hidden letters of a cut word, and default-ignorable characters, draw nothing.
            if (glyph.glyph == PANGO_GLYPH_EMPTY) continue;
            ids.push_back(glyph.glyph);
        }
    }
    return ids;
}

}  // namespace platform
