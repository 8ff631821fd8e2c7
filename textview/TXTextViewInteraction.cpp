// The text view's answers to the user: mouse selection, long press, links, menu, keys,
// pasteboard and first-responder handling.

#include "platform/foundation/Timer.h"
#include "platform/graphics/TextIndexMap.h"
#include "platform/ui/Event.h"
#include "platform/ui/Menu.h"
#include "platform/ui/MenuItem.h"
#include "platform/ui/Pasteboard.h"
#include "platform/ui/Window.h"
#include "textview/TXFlippedGeometry.h"
#include "textview/TXTextView.h"

using platform::Event;
using platform::Point;
using platform::Range;
using platform::Rect;
using Selector = TXTextViewDelegate::Selector;

void TXTextView::registerActions() {
    registerAction("copy:", [this] { copy(); });
    registerAction("cut:", [this] { cut(); });
    registerAction("paste:", [this] { paste(); });
    registerAction("select:", [this] { select(); });
    registerAction("selectAll:", [this] { selectAll(); });
}

bool TXTextView::respondsTo(Selector selector) const {
    std::shared_ptr<TXTextViewDelegate> d = delegate();
    return d && d->respondsToSelector(selector);
}

// Hit testing.

Point TXTextView::layoutPoint(Point viewPoint) const {
    return flippedGeometry().layoutPointForViewPoint(viewPoint);
}

Point TXTextView::mouseLocationOnEvent(const Event& event) const {
    return convertPointFromView(event.locationInWindow(), nullptr);
}

int64_t TXTextView::stringIndexAtPoint(Point point) const {
    return m_textLayout->stringIndexForPosition(layoutPoint(point));
}

bool TXTextView::containsPointInTextFrame(Point point) const {
    return m_textLayout && m_textLayout->frameRect().contains(layoutPoint(point));
}

bool TXTextView::containsPointInSelection(Point point) const {
    int64_t i = stringIndexAtPoint(point);
    Range r = selectedRange();
    return i >= static_cast<int64_t>(r.location) &&
           static_cast<uint64_t>(i - static_cast<int64_t>(r.location)) < r.length;
}

Rect TXTextView::rectOfFirstLineInSelectionRect() const {
    if (!m_textLayout->textSelection()) return Rect();
    TXFlippedGeometry flip = flippedGeometry();
    for (const TXLineLayout& line : m_textLayout->lineLayouts()) {
        Rect r = line.rectOfStringWithRange(selectedRange());
        if (!r.isEmpty()) return flip.viewRectForLineRect(r, line);
    }
    return Rect();
}

// Selection notices.

void TXTextView::clearSelection() {
    m_textLayout->clearSelection();
}

void TXTextView::selectionChanged() {
    notifySelectionChanged();
    setNeedsDisplayInRect(bounds());
}

void TXTextView::notifySelectionChanged() {
    if (respondsTo(Selector::textViewDidChangeSelection))
        delegate()->textViewDidChangeSelection(*this);
}

void TXTextView::finishSelecting() {
    if (respondsTo(Selector::textViewDidEndSelecting)) delegate()->textViewDidEndSelecting(*this);
}

void TXTextView::textChanged() {
    notifyTextChanged();
}

void TXTextView::notifyTextChanged() {
    if (respondsTo(Selector::textViewDidChange)) delegate()->textViewDidChange(*this);
}

// Mouse.

void TXTextView::mouseDown(const Event& event) {
    startLongPressTimer();
    m_mouseLocation = mouseLocationOnEvent(event);
    if (event.clickCount() == 2) {
        m_touchPhase = 2;
        m_textLayout->setSelectionWithPoint(layoutPoint(m_mouseLocation));
    } else if (containsPointInTextFrame(m_mouseLocation)) {
        m_touchPhase = 1;
        m_textLayout->setSelectionStartWithPoint(layoutPoint(m_mouseLocation));
    }
    selectionChanged();
}

void TXTextView::mouseDragged(const Event& event) {
    m_mouseLocation = mouseLocationOnEvent(event);
    m_touchPhase = 2;
    m_textLayout->setSelectionEndWithClosestPoint(layoutPoint(m_mouseLocation));
    selectionChanged();
}

void TXTextView::mouseUp(const Event& event) {
    stopLongPressTimer();
    m_mouseLocation = mouseLocationOnEvent(event);
    m_clickPoint = Point{0, 0};
    m_touchPhase = 0;
    if (m_longPressing) {
        m_longPressing = false;
    } else if (containsPointInTextFrame(m_mouseLocation)) {
        if (std::shared_ptr<TXLinkText> link = linkAtPoint(m_mouseLocation)) clickedOnLink(link);
    }
    setNeedsDisplay(true);
}

void TXTextView::mouseEntered(const Event& event) {
    m_mouseLocation = mouseLocationOnEvent(event);
    setNeedsDisplay(true);
}

void TXTextView::mouseExited(const Event& event) {
    m_mouseLocation = mouseLocationOnEvent(event);
    setNeedsDisplay(true);
}

// Long press and links.

void TXTextView::startLongPressTimer() {
    stopLongPressTimer();
    m_longPressTimer = platform::Timer::scheduledTimerWithTimeInterval(
        m_minimumLongPressDuration, [this](platform::Timer& timer) { handleLongPress(timer); });
}

void TXTextView::stopLongPressTimer() {
    if (std::shared_ptr<platform::Timer> timer = m_longPressTimer.lock())
        if (timer->isValid()) timer->invalidate();
    m_longPressTimer.reset();
}

void TXTextView::handleLongPress(platform::Timer&) {
    stopLongPressTimer();
    if (!containsPointInTextFrame(m_mouseLocation)) return;
    if (std::shared_ptr<TXLinkText> link = linkAtPoint(m_mouseLocation)) {
        longPressedOnLink(link);
        m_longPressing = true;
    }
}

void TXTextView::clickedOnLink(const std::shared_ptr<TXLinkText>& link) {
    if (respondsTo(Selector::textViewClickedOnLink))
        delegate()->textViewClickedOnLink(*this, link, stringIndexAtPoint(m_mouseLocation));
}

void TXTextView::longPressedOnLink(const std::shared_ptr<TXLinkText>& link) {
    if (respondsTo(Selector::textViewLongPressedOnLink))
        delegate()->textViewLongPressedOnLink(*this, link, stringIndexAtPoint(m_mouseLocation));
}

// Menu, keys and actions.

std::shared_ptr<platform::Menu> TXTextView::menuForEvent(const Event&) {
    if (!m_textLayout->textSelection()) return nullptr;
    return platform::Menu::textContextMenu();
}

void TXTextView::quickLookWithEvent(const Event& event) {
    // Without a selection the word under the pointer is what is looked up. The platform has no
    // definition panel to show it in, so the lookup ends with the selection.
    if (!m_textLayout->textSelection()) {
        m_mouseLocation = mouseLocationOnEvent(event);
        m_textLayout->setSelectionWithPoint(layoutPoint(m_mouseLocation));
    }
}

bool TXTextView::performKeyEquivalent(const Event& event) {
    std::uint64_t modifiers =
        event.modifierFlags() & platform::ModifierFlags::DeviceIndependentMask;
    if (m_textLayout->textSelection() && modifiers == platform::ModifierFlags::Command) {
        if (event.characters() == "c") {
            copy();
            return true;
        }
        if (event.characters() == "a") {
            selectAll();
            return true;
        }
    }
    return View::performKeyEquivalent(event);
}

bool TXTextView::validateMenuItem(const platform::MenuItem& item) {
    const std::string& action = item.action();
    if (action == "copy:") return selectedRange().length > 0;
    if (action == "cut:" || action == "paste:" || action == "delete:") return false;
    return true;
}

void TXTextView::copy() {
    if (selectedAttributedText().empty()) return;
    platform::Pasteboard& pasteboard = platform::Pasteboard::generalPasteboard();
    pasteboard.clearContents();
    pasteboard.writeObjects({platform::utf8FromUtf16(selectedText())});
}

void TXTextView::cut() {
    copy();
}

void TXTextView::paste() {}

void TXTextView::select() {
    m_textLayout->setSelectionWithPoint(layoutPoint(m_mouseLocation));
    selectionChanged();
    finishSelecting();
    setNeedsDisplayInRect(bounds());
}

void TXTextView::selectAll() {
    m_textLayout->selectAll();
    selectionChanged();
    finishSelecting();
    setNeedsDisplayInRect(bounds());
}

// First responder.

bool TXTextView::canResignFirstResponder() {
    if (respondsTo(Selector::textViewShouldEndEditing))
        return delegate()->textViewShouldEndEditing(*this);
    return true;
}

bool TXTextView::resignFirstResponder() {
    if (m_editing) {
        setEditing(false);
        if (const auto& selection = m_textLayout->textSelection()) {
            Range r = selection->selectedRange();
            selection->setSelectedRange(Range{r.location + r.length, 0});
        }
        if (respondsTo(Selector::textViewDidEndEditing)) delegate()->textViewDidEndEditing(*this);
    } else if (window() && window()->firstResponder() == this) {
        clearSelection();
    }
    setNeedsDisplayInRect(bounds());
    return View::resignFirstResponder();
}
