#include "platform/ui/StyledTextView.h"

#include <algorithm>

namespace platform {

StyledTextView::StyledTextView(const Rect& frame) : Control(frame) {}

void StyledTextView::showText(std::u16string text, Range selection, std::vector<Span> foreground,
                              std::vector<Span> background) {
    m_text = std::move(text);
    m_selection = selection;
    m_foreground = std::move(foreground);
    m_background = std::move(background);
    viewChanged();
}

void StyledTextView::setEditable(bool editable) {
    m_editable = editable;
    viewChanged();
}

void StyledTextView::setWrapsLines(bool wraps) {
    m_wraps = wraps;
    viewChanged();
}

void StyledTextView::userReplacedCharacters(Range range, const std::u16string& replacement) {
    uint64_t location = std::min<uint64_t>(range.location, m_text.size());
    m_text.replace(location, std::min<uint64_t>(range.length, m_text.size() - location),
                   replacement);
    m_selection = Range{location + replacement.size(), 0};
}

void StyledTextView::userSelected(Range range) {
    m_selection = range;
}

bool StyledTextView::userCommand(const std::string&) {
    return false;
}

void StyledTextView::userScrolled(double top) {
    m_visibleTop = top;
    if (m_scrolled) m_scrolled(top);
}

}  // namespace platform
