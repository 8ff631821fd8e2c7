#include "notes/UI/SourceTextView/SourceRulerView.h"

#include <cmath>

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

std::vector<SourceRulerView::Label> SourceRulerView::labelsFor(double dirtyTop, double dirtyHeight,
                                                               double visibleTop) const {
    std::vector<Label> labels;
    double v = visibleTop + dirtyTop;
    auto first = static_cast<unsigned long>(v / lineHeight + 1);
    double offset = std::fmod(v, lineHeight);
    double x0 = bounds().minX();
    for (unsigned long k = 0; dirtyHeight / lineHeight + 1 > k; ++k) {
        unsigned long number = first + k;
        double x = number < 10 ? x0 + 20 : number < 100 ? x0 + 13 : x0 + 6;
        labels.push_back(Label{number, x, (dirtyTop / lineHeight + k) * lineHeight - offset});
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
    for (const Label& label : labelsFor(dirtyTop, dirtyRect.height(), visibleTop)) {
        auto line = platform::TextLine::create(platform::AttributedString(
            platform::utf16FromUtf8(std::to_string(label.number)), attributes));
        context->setTextMatrix(platform::AffineTransform());
        context->setTextPosition(label.x, box.maxY() - label.top - font.ascent());
        line->draw(*context);
    }
    context->restoreGState();
}

}  // namespace zelvo
