#include "textview/TXTextLayout.h"

#include <limits>

#include "platform/graphics/Font.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/TextIndexMap.h"
#include "platform/graphics/WordTokenizer.h"

using platform::AttributedString;
using platform::Point;
using platform::Range;
using platform::Rect;
using platform::TextLine;

namespace {

// The frame reaches this far above the top of the bounds.
constexpr double FrameTopMargin = 7.0;

bool isRegionalIndicatorHalf(char16_t unit) {
    return unit >= 0xDDE6 && unit <= 0xDDFF;
}

bool isRegionalIndicatorAt(const std::u16string& text, size_t i) {
    return i + 1 < text.size() && platform::isHighSurrogate(text[i]) &&
           isRegionalIndicatorHalf(text[i + 1]);
}

}  // namespace

TXTextLayout::TXTextLayout() = default;

TXTextLayout::TXTextLayout(const AttributedString& attributedString)
    : m_attributedString(attributedString) {}

void TXTextLayout::createFramesetter() {
    m_framesetter = std::make_unique<platform::TextFramesetter>(
        m_attributedString.value_or(AttributedString()));
}

void TXTextLayout::createFrame() {
    m_frame.reset();
    if (!m_framesetter) createFramesetter();
    uint64_t length = m_framesetter->attributedString().length();
    platform::Size suggested = m_framesetter->suggestFrameSize(
        {0, length}, {m_bounds.size.width, std::numeric_limits<double>::max()});
    double height = suggested.height;
    if (m_editing) {
        height += platform::Font::systemFont(platform::Font::labelFontSize()).leading();
    }
    Rect frameRect(m_bounds.origin.x, m_bounds.maxY() - height, m_bounds.size.width,
                   height + FrameTopMargin);
    m_frame = m_framesetter->createFrame({0, 0}, frameRect);
    m_frameRect = frameRect;
}

void TXTextLayout::detectLinks() {
    std::vector<std::shared_ptr<TXLinkText>> links;
    if (m_attributedString) {
        const AttributedString& s = *m_attributedString;
        s.enumerateAttribute(
            platform::AttributeKey::Link, {0, s.length()},
            [&](const platform::TextAttributes& a, Range range, bool&) {
                if (!a.link) return;
                links.push_back(std::make_shared<TXLinkText>(
                    s.string().substr(range.location, range.length), a.link, range));
            });
    }
    m_links = std::move(links);
}

void TXTextLayout::calculateLines() {
    std::vector<TXLineLayout> records;
    if (!m_frame) createFrame();
    const auto& lines = m_frame->lines();
    std::vector<Point> origins = m_frame->lineOrigins({0, 0});
    bool stopped = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        TXLineMetrics m;
        m.width = lines[i]->typographicBounds(&m.ascent, &m.descent, &m.leading);
        m.trailingWhitespaceWidth = lines[i]->trailingWhitespaceWidth();
        Rect rect(origins[i].x + m_frameRect.origin.x,
                  origins[i].y - m.descent + m_frameRect.origin.y, m.width, m.ascent + m.descent);
        if (i > 0 && m_lineBreakMode == TruncateTail && rect.origin.y < 0) {
            stopped = true;
            break;
        }
        TXLineLayout record(lines[i], static_cast<int64_t>(i), rect, m);
        record.setDrawingRect(rect);
        for (const auto& link : m_links) {
            Rect r = record.rectOfStringWithRange(link->range());
            if (r.isEmpty()) continue;
            link->addLinkGeometry(TXTextGeometry(r, static_cast<int64_t>(i)));
            record.addLink(link);
        }
        records.push_back(std::move(record));
    }
    if (stopped) truncateLastLine(records);
    m_lineLayouts = std::move(records);
}

void TXTextLayout::truncateLastLine(std::vector<TXLineLayout>& records) const {
    const TXLineLayout& last = records.back();
    const AttributedString& text = m_framesetter->attributedString();
    std::shared_ptr<TextLine> token =
        TextLine::create(AttributedString(u"\u2026", text.attributesAtIndex(0)));
    Range range = last.stringRange();
    double limit = last.line()->offsetForStringIndex(static_cast<int64_t>(range.max()) - 1) - 1.0;
    std::shared_ptr<TextLine> cut =
        last.line()->truncatedLine(limit, platform::TruncationType::End, token);
    // Too narrow for even the token: the line stays whole rather than vanish.
    if (!cut) return;

    double w = cut->typographicBounds(nullptr, nullptr, nullptr);
    Rect rect = last.rect();
    if (m_textAlignment == 2) rect.origin.x += (last.rect().size.width - w) / 2;
    if (m_textAlignment == 1) rect.origin.x += last.rect().size.width - w;
    rect.size.width = w;

    TXLineLayout record(cut, last.index(), rect, last.metrics());
    record.setDrawingRect(
        Rect(rect.origin.x, last.drawingRect().origin.y, w, last.drawingRect().size.height));
    record.setTruncationTokenWidth(token->typographicBounds(nullptr, nullptr, nullptr));
    record.setTruncated(true);
    records.back() = std::move(record);
}

void TXTextLayout::update() {
    createFramesetter();
    createFrame();
    detectLinks();
    calculateLines();
}

void TXTextLayout::drawFrameInContext(platform::GraphicsContext& context) {
    context.translateCTM(0, m_bounds.size.height);
    context.scaleCTM(1, -1);
    context.setTextMatrix(platform::AffineTransform::scale(1, -1));
    if (m_lineBreakMode == TruncateTail) {
        for (const TXLineLayout& record : m_lineLayouts) {
            const Rect& r = record.drawingRect();
            context.setTextPosition(r.origin.x, r.origin.y + record.metrics().descent);
            record.line()->draw(context);
        }
    } else if (m_frame) {
        m_frame->draw(context);
    }
}

int64_t TXTextLayout::stringIndexForPosition(Point point) const {
    for (const TXLineLayout& line : m_lineLayouts) {
        if (!line.containsPoint(point)) continue;
        int64_t index = line.stringIndexForPosition(point);
        if (index != -1) return index;
    }
    return -1;
}

int64_t TXTextLayout::indexAfterSurrogateHalf(const std::u16string& text, int64_t index) {
    if (index < 0 || static_cast<uint64_t>(index) >= text.size()) return index;
    if (!platform::isLowSurrogate(text[index])) return index;
    bool regional = isRegionalIndicatorHalf(text[index]);
    index += 1;
    // A flag is two regional indicators: step past the second one too, when there is one.
    if (regional && isRegionalIndicatorAt(text, static_cast<size_t>(index))) index += 2;
    return std::min<int64_t>(index, static_cast<int64_t>(text.size()));
}

int64_t TXTextLayout::stringIndexForClosestPosition(Point p) const {
    static const std::u16string empty;
    const std::u16string& text = m_attributedString ? m_attributedString->string() : empty;
    for (size_t i = 0; i < m_lineLayouts.size(); ++i) {
        const TXLineLayout& line = m_lineLayouts[i];
        const Rect& r = line.rect();
        double lead = line.metrics().leading;
        Point lineEnd{r.maxX(), r.maxY()};
        if (line.containsPoint(p)) {
            int64_t k = indexAfterSurrogateHalf(text, line.stringIndexForPosition(p));
            if (k != -1) return k;
        }
        if (i == 0 && p.y > r.maxY()) return 0;
        if (i + 1 == m_lineLayouts.size() && p.y < r.minY() - lead) {
            return line.stringIndexForPosition(lineEnd);
        }
        if (r.minY() - lead < p.y && p.y < r.maxY()) return line.stringIndexForPosition(lineEnd);
    }
    return -1;
}

void TXTextLayout::setSelectionStartWithPoint(Point point) {
    int64_t k = stringIndexForPosition(point);
    m_textSelection = k == -1 ? nullptr : std::make_shared<TXTextSelection>(k);
}

void TXTextLayout::setSelectionEndWithClosestPoint(Point point) {
    int64_t k = stringIndexForClosestPosition(point);
    if (k != -1 && m_textSelection) m_textSelection->setSelectionEndAtIndex(k);
}

void TXTextLayout::setSelectionWithPoint(Point point) {
    int64_t k = stringIndexForPosition(point);
    if (k == -1 || !m_attributedString) return;
    platform::WordTokenizer tokenizer(m_attributedString->string());
    for (auto token = tokenizer.first(); token; token = tokenizer.next()) {
        auto location = static_cast<int64_t>(token->location);
        if (location <= k && k <= location + static_cast<int64_t>(token->length)) {
            m_textSelection = std::make_shared<TXTextSelection>(location);
            m_textSelection->setSelectionEndAtIndex(location + static_cast<int64_t>(token->length));
            return;
        }
    }
}

void TXTextLayout::selectAll() {
    m_textSelection = std::make_shared<TXTextSelection>(0);
    m_textSelection->setSelectionEndAtIndex(
        m_attributedString ? static_cast<int64_t>(m_attributedString->length()) : 0);
}

void TXTextLayout::clearSelection() {
    m_textSelection = nullptr;
}

Rect TXTextLayout::frameRectWithAttributtedString(
    const std::optional<AttributedString>& attributedString, platform::Size constraintSize) {
    TXTextLayout layout;
    layout.setAttributedString(attributedString);
    layout.setBounds(Rect(platform::Point{0, 0}, constraintSize));
    layout.createFramesetter();
    layout.createFrame();
    return layout.frameRect();
}
