#include "platform/ui/TableCellTextField.h"

#include "platform/foundation/UnicodeString.h"
#include "platform/graphics/AttributedString.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/TextLine.h"
#include "platform/ui/TableCellView.h"

namespace platform {

TableCellTextField::TableCellTextField(const Rect& frame)
    : View(frame),
      m_font(Font::systemFont(Font::systemFontSize())),
      m_backgroundStyle(BackgroundStyle::Normal) {}

void TableCellTextField::setStringValue(std::string value) {
    m_stringValue = std::move(value);
    setNeedsDisplay(true);
}

void TableCellTextField::setBackgroundStyle(BackgroundStyle style) {
    if (m_backgroundStyle == style) return;
    m_backgroundStyle = style;
    setNeedsDisplay(true);
}

Color TableCellTextField::drawnTextColor() const {
    return m_backgroundStyle == BackgroundStyle::Emphasized ? Color::whiteColor() : m_textColor;
}

void TableCellTextField::drawRect(const Rect&) {
    GraphicsContext* context = GraphicsContext::current();
    if (!context || m_stringValue.empty()) return;
    TextAttributes attributes;
    attributes.font = m_font;
    attributes.foregroundColor = drawnTextColor();
    auto line = TextLine::create(AttributedString(utf16FromUtf8(m_stringValue), attributes));
    Rect box = bounds();
    double ascent = 0, descent = 0, leading = 0;
    double width = line->typographicBounds(&ascent, &descent, &leading);
    if (width > box.size.width) {
        TextAttributes tokenAttributes = attributes;
        auto token = TextLine::create(AttributedString(u"\u2026", tokenAttributes));
        if (auto cut = line->truncatedLine(box.size.width, TruncationType::End, token)) {
            line = cut;
            width = line->typographicBounds(&ascent, &descent, &leading);
        }
    }
    double x = box.minX();
    if (m_alignment == 1) x = box.maxX() - width;
    if (m_alignment == 2) x = box.minX() + (box.size.width - width) / 2;
    double baseline = box.minY() + (box.size.height - (ascent + descent)) / 2 + descent;
    context->saveGState();
    // The text matrix is not part of the saved state: whatever drew text before may have left
    // it turned or flipped.
    context->setTextMatrix(AffineTransform());
    context->setTextPosition(x, baseline);
    line->draw(*context);
    context->restoreGState();
}

}  // namespace platform
