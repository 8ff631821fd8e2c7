#include "textview/TXTextView.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "platform/foundation/Timer.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/TrackingArea.h"
#include "textview/TXConstants.h"
#include "textview/TXFlippedGeometry.h"

using platform::AttributedString;
using platform::Color;
using platform::GraphicsContext;
using platform::Point;
using platform::Range;
using platform::Rect;
using platform::Size;
using platform::TextAttributes;

namespace {

constexpr uint8_t TruncateTail = 4;
constexpr double LinkCornerRadius = 3.0;

// Spacings and heights are whole points, rounded at single precision.
double roundedPoints(double value) {
    return static_cast<double>(std::roundf(static_cast<float>(value)));
}

platform::ParagraphStyle paragraphStyle(uint8_t alignment, uint8_t lineBreakMode, double lineHeight,
                                        double lineSpacing, double paragraphSpacing) {
    platform::ParagraphStyle style;
    style.alignment = static_cast<platform::TextAlignment>(alignment);
    style.lineBreakMode = static_cast<platform::LineBreakMode>(lineBreakMode);
    style.minimumLineHeight = style.maximumLineHeight = roundedPoints(lineHeight);
    style.lineSpacing = style.minimumLineSpacing = style.maximumLineSpacing =
        roundedPoints(lineSpacing);
    style.paragraphSpacing = roundedPoints(paragraphSpacing);
    return style;
}

}  // namespace

TXTextView::TXTextView(const Rect& frame) : View(frame) {
    commonInit();
    registerActions();
}

TXTextView::~TXTextView() {
    stopLongPressTimer();
}

void TXTextView::awakeFromNib() {
    commonInit();
}

void TXTextView::commonInit() {
    m_textLayout = std::make_unique<TXTextLayout>();
    m_textLayout->setBounds(bounds());
    m_attachments.clear();
    m_highlightedTextColor = Color::whiteColor();
    m_selectedTextBackgroundColor = TXConstants::selectedTextBackgroundColor();
    m_linkHighlightColor = TXConstants::selectedTextBackgroundColor();
    m_linkRolloverEffectColor = TXConstants::linkColor();
    m_minimumLongPressDuration = 0.5;
}

// Text storage.

void TXTextView::markForDisplay(const Rect& rect) {
    if (!m_drawing) setNeedsDisplayInRect(rect);
}

void TXTextView::setText(std::optional<std::u16string> text) {
    m_text = text;
    if (text)
        setAttributedText(AttributedString(std::move(*text)));
    else
        setAttributedText(std::nullopt);
}

void TXTextView::setAttributedText(std::optional<AttributedString> attributedText) {
    m_attributedText = std::move(attributedText);
    m_text =
        m_attributedText ? std::optional<std::u16string>(m_attributedText->string()) : std::nullopt;
    markForDisplay(bounds());
}

void TXTextView::setAttributes(const TextAttributes& attributes) {
    if (!m_attributedText) return;  // nothing to carry them
    AttributedString text = *m_attributedText;
    text.addAttributes(attributes, {0, text.length()});
    setAttributedText(std::move(text));
}

void TXTextView::setAdditionalAttributes() {
    if (m_font) {
        TextAttributes a;
        a.font = m_font;
        setAttributes(a);
    }
    if (m_textColor) {
        TextAttributes a;
        a.foregroundColor = m_textColor;
        setAttributes(a);
    }
    placeAttachments();
    uint8_t alignment = static_cast<uint8_t>(m_textAlignment & 0xff);
    uint8_t mode = static_cast<uint8_t>(m_lineBreakMode & 0xff);
    TextAttributes a;
    a.paragraphStyle = paragraphStyle(alignment, mode == TruncateTail ? 0 : mode, m_lineHeight,
                                      m_lineSpacing, m_paragraphSpacing);
    setAttributes(a);
    m_textLayout->setTextAlignment(alignment);
}

void TXTextView::placeAttachments() {
    std::vector<std::shared_ptr<TXTextAttachment>> order = m_attachments;
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
        return a->range().max() > b->range().max();
    });
    for (const auto& attachment : order) {
        if (attachment->replacedString()) continue;  // placed at an earlier draw
        AttributedString text = editingAttributedText();
        Range range = attachment->range();
        if (range.location > text.length() || range.length > text.length() - range.location)
            continue;  // its place is not in the text
        std::u16string character(1, OBJECT_REPLACEMENT_CHARACTER);
        if (range.length > 0) {
            attachment->setOriginalAttributedString(text.attributedSubstring(range));
            text.replaceCharacters(range, character);
        } else {
            text.insert(AttributedString(character), range.location);
        }
        attachment->setReplacedString(character);
        TextAttributes a;
        a.runDelegate =
            std::make_shared<platform::RunDelegate>(attachment->callbacks(), attachment.get());
        text.addAttributes(a, attachment->range());
        m_placedAttachments.push_back(attachment);
        setAttributedText(std::move(text));
    }
}

void TXTextView::updateLayout() {
    setAdditionalAttributes();
    m_textLayout->setBounds(bounds());
    m_textLayout->setAttributedString(m_attributedText);
    m_textLayout->setLineBreakMode(static_cast<uint8_t>(m_lineBreakMode & 0xff));
    m_textLayout->update();
}

void TXTextView::setHighlighted(bool highlighted) {
    m_highlighted = highlighted;
    if (!m_originalAttributedTextWhenHighlighting)
        m_originalAttributedTextWhenHighlighting = m_attributedText;
    if (highlighted) {
        TextAttributes a;
        a.foregroundColor = m_highlightedTextColor;
        setAttributes(a);
    } else {
        setAttributedText(m_originalAttributedTextWhenHighlighting);
        m_originalAttributedTextWhenHighlighting.reset();
    }
}

void TXTextView::setEditable(bool editable) {
    m_editable = editable;
    if (editable) m_selectable = true;
}

void TXTextView::setEditing(bool editing) {
    m_editing = editing;
    m_textLayout->setEditing(editing);
}

// Derived values.

Rect TXTextView::layoutFrame() const {
    return m_textLayout ? m_textLayout->frameRect() : Rect();
}

Range TXTextView::clampedToText(Range range) const {
    uint64_t length = m_text ? m_text->size() : 0;
    if (range.location == platform::NotFound || range.location >= length)
        return Range{std::min<uint64_t>(range.location, length), 0};
    return Range{range.location, std::min(range.length, length - range.location)};
}

Range TXTextView::selectedRange() const {
    const auto& selection = m_textLayout ? m_textLayout->textSelection() : nullptr;
    return selection ? selection->selectedRange() : Range{0, 0};
}

std::u16string TXTextView::selectedText() const {
    if (!m_text) return {};
    Range r = clampedToText(selectedRange());
    return m_text->substr(r.location, r.length);
}

AttributedString TXTextView::selectedAttributedText() const {
    if (!m_attributedText) return {};
    return m_attributedText->attributedSubstring(clampedToText(selectedRange()));
}

std::u16string TXTextView::editingText() const {
    return m_text.value_or(std::u16string());
}

AttributedString TXTextView::editingAttributedText() const {
    return m_attributedText.value_or(AttributedString());
}

// Geometry and sizing.

void TXTextView::setFrame(const Rect& frame) {
    View::setFrame(frame);
    setNeedsDisplayInRect(bounds());
}

void TXTextView::setBounds(const Rect& bounds) {
    View::setBounds(bounds);
    setNeedsDisplayInRect(this->bounds());
}

Size TXTextView::sizeThatFits(Size constraint) {
    setAdditionalAttributes();
    return measureFrameRect(m_attributedText, constraint, m_lineSpacing, m_font).size;
}

void TXTextView::sizeToFit() {
    Size size = sizeThatFits(Size{bounds().size.width, DBL_MAX});
    setFrame(Rect(frame().origin, size));
}

Rect TXTextView::measureFrameRect(const std::optional<AttributedString>& string, Size constraint,
                                  double lineSpacing,
                                  const std::optional<platform::Font>& font) const {
    return frameRectWithAttributtedString(string, constraint, lineSpacing, font);
}

Rect TXTextView::frameRectWithAttributtedString(const std::optional<AttributedString>& string,
                                                Size constraint) {
    return frameRectWithAttributtedString(string, constraint, 0.0);
}

Rect TXTextView::frameRectWithAttributtedString(const std::optional<AttributedString>& string,
                                                Size constraint, double lineSpacing) {
    return frameRectWithAttributtedString(string, constraint, lineSpacing, std::nullopt);
}

Rect TXTextView::frameRectWithAttributtedString(const std::optional<AttributedString>& string,
                                                Size constraint, double lineSpacing,
                                                const std::optional<platform::Font>& font) {
    return frameRectWithAttributtedString(string, constraint, lineSpacing, 0.0, font);
}

Rect TXTextView::frameRectWithAttributtedString(const std::optional<AttributedString>& string,
                                                Size constraint, double lineSpacing,
                                                double paragraphSpacing,
                                                const std::optional<platform::Font>& font) {
    std::optional<AttributedString> copy = string;
    if (copy) {
        TextAttributes a;
        a.paragraphStyle = paragraphStyle(4, 0, 0, lineSpacing, paragraphSpacing);
        if (font) a.font = font;
        copy->addAttributes(a, {0, copy->length()});
    }
    return TXTextLayout::frameRectWithAttributtedString(copy, constraint);
}

void TXTextView::addObject(std::any object, Size size, Range replaceRange) {
    m_attachments.push_back(
        std::make_shared<TXTextAttachment>(std::move(object), size, replaceRange));
}

void TXTextView::addObject(std::any object, Size size, uint64_t atIndex) {
    addObject(std::move(object), size, Range{atIndex, 0});
}

// Drawing.

TXFlippedGeometry TXTextView::flippedGeometry() const {
    return TXFlippedGeometry(m_textLayout->bounds().size.height, m_textLayout->lineLayouts());
}

void TXTextView::drawRect(const Rect& dirtyRect) {
    View::drawRect(dirtyRect);
    GraphicsContext* context = GraphicsContext::current();
    if (!context) return;
    m_drawing = true;
    updateLayout();
    drawSelection(*context);
    if (m_editing) drawMarkedText(*context);
    drawClickedLink(*context);
    drawTextAttachmentsInContext(*context);
    drawRollover(*context);
    addCursorRectsAndTrackingAreas();
    context->saveGState();
    m_textLayout->drawInContext(*context);
    context->restoreGState();
    m_drawing = false;
}

void TXTextView::drawSelection(GraphicsContext& context) const {
    const auto& selection = m_textLayout->textSelection();
    if (!selection || selection->selectedRange().location == platform::NotFound) return;
    Range selected = selection->selectedRange();
    TXFlippedGeometry flip = flippedGeometry();
    const Rect bounds = m_textLayout->bounds();
    double previousMinY = 0.0;
    for (const TXLineLayout& line : m_textLayout->lineLayouts()) {
        Range lineRange = line.stringRange();
        Range onLine = platform::intersectionRange(selected, lineRange);
        if (onLine.length == 0) continue;
        Rect r = line.rectOfStringWithRange(selected);
        if (r.isEmpty()) continue;
        context.setFillColor(m_selectedTextBackgroundColor);
        r.origin.y -= m_lineSpacing;
        r.size.height += m_lineSpacing;
        if (r.origin.y < 0) {
            r.size.height += r.origin.y;
            r.origin.y = 0;
        }
        // The selection runs on past this line: fill to the right edge.
        if (selected.max() != lineRange.max() && onLine.max() == lineRange.max())
            r.size.width = bounds.maxX() - r.minX();
        // Meet the fill of the line before, so the fills neither leave gaps nor pile up.
        if (previousMinY > 0) r.size.height -= r.maxY() - previousMinY;
        context.fillRect(flip.viewRectForBandRect(r, line).integral());
        previousMinY = r.minY();
    }
}

void TXTextView::drawMarkedText(GraphicsContext& context) const {
    Range marked = m_textLayout->markedTextRange();
    if (marked.location == platform::NotFound || marked.length == 0) return;
    TXFlippedGeometry flip = flippedGeometry();
    for (const TXLineLayout& line : m_textLayout->lineLayouts()) {
        Rect r = line.rectOfStringWithRange(marked);
        if (r.isEmpty()) continue;
        context.setFillColor(m_selectedTextBackgroundColor);
        r.origin.y -= m_lineSpacing;
        r.size.height += m_lineSpacing;
        context.fillRect(flip.viewRectForBandRect(r, line));
    }
}

void TXTextView::fillLinkUnderPointer(GraphicsContext& context, const Color& color,
                                      const std::function<void(const Rect& viewRect)>& fill) const {
    std::shared_ptr<TXLinkText> link = linkAtPoint(m_mouseLocation);
    if (!link) return;
    TXFlippedGeometry flip = flippedGeometry();
    for (const TXTextGeometry& geometry : link->geometries()) {
        const TXLineLayout* line = flip.lineWithIndex(geometry.lineNumber());
        if (!line) continue;
        context.setFillColor(color);
        fill(flip.viewRectForLineRect(geometry.rect(), *line));
    }
}

void TXTextView::drawClickedLink(GraphicsContext& context) const {
    if (m_touchPhase != 1) return;
    fillLinkUnderPointer(context, m_linkHighlightColor, [&](const Rect& r) {
        context.fillPath(bezierPathWithRoundedRect(r, LinkCornerRadius));
    });
}

void TXTextView::drawRollover(GraphicsContext& context) const {
    if (m_touchPhase != 0) return;
    // A bar along the bottom of the piece, as the drawn glyphs stand on it.
    fillLinkUnderPointer(context, m_linkRolloverEffectColor, [&](const Rect& r) {
        context.fillRect(Rect(r.origin.x, r.origin.y, r.size.width, 1.0));
    });
}

void TXTextView::drawTextAttachmentsInContext(GraphicsContext& context) {
    std::vector<std::shared_ptr<TXTextAttachment>> found;
    auto known = [&](const void* reference) -> std::shared_ptr<TXTextAttachment> {
        for (const auto& a : m_placedAttachments)
            if (a.get() == reference) return a;
        return nullptr;
    };
    if (m_attributedText) {
        TXFlippedGeometry flip = flippedGeometry();
        const AttributedString& text = *m_attributedText;
        text.enumerateAttribute(
            platform::AttributeKey::RunDelegate, {0, text.length()},
            [&](const TextAttributes& attributes, Range run, bool&) {
                if (!attributes.runDelegate) return;
                std::shared_ptr<TXTextAttachment> attachment =
                    known(attributes.runDelegate->refCon());
                if (!attachment) return;
                if (std::find(found.begin(), found.end(), attachment) == found.end())
                    found.push_back(attachment);
                for (const TXLineLayout& line : m_textLayout->lineLayouts()) {
                    Rect r = line.rectOfStringWithRange(run);
                    if (r.isEmpty() || line.rect().maxX() - line.truncationTokenWidth() < r.maxX())
                        continue;
                    Size size = attachment->size();
                    r.origin.x += (r.size.width - size.width) / 2.0;
                    r.origin.y += r.size.height - size.height;
                    r.size = size;
                    r = flip.viewRectForLineRect(r, line).integral();
                    const std::any& object = attachment->object();
                    if (const auto* view =
                            std::any_cast<std::shared_ptr<platform::View>>(&object)) {
                        if (!*view) continue;
                        (*view)->setFrame(r);
                        if (!(*view)->superview()) addSubview(*view);
                    } else if (const auto* image = std::any_cast<platform::Image>(&object)) {
                        context.drawImage(*image, r, 1.0);
                    } else if (const auto* block =
                                   std::any_cast<TXAttachmentDrawingBlock>(&object)) {
                        if (!*block) continue;
                        context.saveGState();
                        (*block)(context, r);
                        context.restoreGState();
                    }
                }
            });
    }
    for (const auto& attachment : m_attachments)
        if (std::find(found.begin(), found.end(), attachment) == found.end())
            attachment->removeViewFromSuperview();
    m_attachments = std::move(found);
}

void TXTextView::addCursorRectsForLayout() {
    TXFlippedGeometry flip = flippedGeometry();
    addCursorRect(flip.viewRectForLayoutRect(m_textLayout->frameRect()),
                  platform::Cursor::IBeamCursor());
    enumerateLinksUsingBlock([&](const std::shared_ptr<TXLinkText>& link, bool&) {
        for (const TXTextGeometry& geometry : link->geometries())
            if (const TXLineLayout* line = flip.lineWithIndex(geometry.lineNumber()))
                addCursorRect(flip.viewRectForLineRect(geometry.rect(), *line),
                              platform::Cursor::pointingHandCursor());
    });
}

void TXTextView::resetCursorRects() {
    if (m_textLayout) addCursorRectsForLayout();
}

void TXTextView::addCursorRectsAndTrackingAreas() {
    discardCursorRects();
    addCursorRectsForLayout();
    std::vector<std::shared_ptr<platform::TrackingArea>> areas = trackingAreas();
    for (const auto& area : areas) removeTrackingArea(area);
    TXFlippedGeometry flip = flippedGeometry();
    enumerateLinksUsingBlock([&](const std::shared_ptr<TXLinkText>& link, bool&) {
        for (const TXTextGeometry& geometry : link->geometries())
            if (const TXLineLayout* line = flip.lineWithIndex(geometry.lineNumber()))
                addTrackingArea(std::make_shared<platform::TrackingArea>(
                    flip.viewRectForLineRect(geometry.rect(), *line),
                    platform::TrackingAreaOptions::MouseEnteredAndExited |
                        platform::TrackingAreaOptions::ActiveInKeyWindow,
                    this));
    });
}

std::shared_ptr<TXLinkText> TXTextView::linkAtPoint(Point point) const {
    Point p = layoutPoint(point);
    for (const TXLineLayout& line : m_textLayout->lineLayouts())
        if (std::shared_ptr<TXLinkText> link = line.linkAtPoint(p)) return link;
    return nullptr;
}

void TXTextView::enumerateLinksUsingBlock(
    const std::function<void(const std::shared_ptr<TXLinkText>&, bool& stop)>& block) const {
    bool stop = false;
    for (const TXLineLayout& line : m_textLayout->lineLayouts()) {
        for (const auto& link : line.links()) {
            block(link, stop);
            if (stop) return;
        }
    }
}

platform::Path TXTextView::bezierPathWithRoundedRect(const Rect& rect, double cornerRadius) {
    return platform::Path::roundedRect(rect, cornerRadius, cornerRadius);
}
