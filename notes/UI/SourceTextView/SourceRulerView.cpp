#include "notes/UI/SourceTextView/SourceRulerView.h"

#include "notes/UI/SourceTextView/SourceTextView.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/graphics/AttributedString.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/TextLine.h"

namespace zelvo {

using platform::Color;
using platform::Rect;

namespace {

const Color kBackground = Color::calibratedRGB(0.9, 0.9, 0.9);
const Color kEdge = Color::calibratedRGB(0.5, 0.5, 0.5);                // the system grey
const Color kNumber = Color::calibratedRGB(1.0 / 3, 1.0 / 3, 1.0 / 3);  // the system dark grey

}  // namespace

SourceRulerView::SourceRulerView(const Rect& frame) : View(frame) {}

void SourceRulerView::setSourceView(SourceTextView* view) {
    m_sourceView = view;
    setNeedsDisplay(true);
}

std::vector<SourceRulerView::Label> SourceRulerView::labelsFor(
    const std::vector<platform::StyledTextView::LineBox>& lines, double dirtyTop,
    double dirtyHeight, double visibleTop, double numberHeight) const {
    std::vector<Label> labels;
    double x0 = bounds().minX();
    for (size_t i = 0; i < lines.size(); ++i) {
        double top = lines[i].top - visibleTop;
        if (top + lines[i].height <= dirtyTop) continue;
        if (top >= dirtyTop + dirtyHeight) break;
        unsigned long number = i + 1;
        double x = number < 10 ? x0 + 20 : number < 100 ? x0 + 13 : x0 + 6;
        labels.push_back(Label{number, x, top + (lines[i].height - numberHeight) / 2});
    }
    return labels;
}

void SourceRulerView::drawRect(const Rect& dirtyRect) {
    platform::GraphicsContext* context = platform::GraphicsContext::current();
    if (!context) return;
    Rect box = bounds();
    context->setFillColor(kBackground);
    context->fillRect(dirtyRect);
    context->setFillColor(kEdge);
    context->fillRect(Rect(box.maxX() - 1, dirtyRect.minY(), 1, dirtyRect.height()));

    // Our views are y up; the ruler counts from its top as the text does.
    double dirtyTop = box.maxY() - dirtyRect.maxY();
    double visibleTop = m_sourceView ? m_sourceView->visibleTop() : 0;
    static const platform::Font font = platform::Font::systemFont(11);
    platform::TextAttributes attributes;
    attributes.font = font;
    attributes.foregroundColor = kNumber;
    context->saveGState();
    context->clipToRect(dirtyRect);
    std::vector<platform::StyledTextView::LineBox> lines;
    if (m_sourceView) lines = m_sourceView->lineBoxes();
    double numberHeight = font.ascent() + font.descent();
    for (const Label& label :
         labelsFor(lines, dirtyTop, dirtyRect.height(), visibleTop, numberHeight)) {
        auto line = platform::TextLine::create(platform::AttributedString(
            platform::utf16FromUtf8(std::to_string(label.number)), attributes));
        context->setTextMatrix(platform::AffineTransform());
        context->setTextPosition(label.x, box.maxY() - label.top - font.ascent());
        line->draw(*context);
    }
    context->restoreGState();
}

}  // namespace zelvo
