#include "platform/ui/StyledTextView.h"

#include <algorithm>

namespace platform {

StyledTextView::StyledTextView(const Rect& frame) : Control(frame) {}

StyledTextView::~StyledTextView() {
    setPeer(nullptr);
}

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

void StyledTextView::setLineScroll(double points) {
    m_lineScroll = points;
    viewChanged();
}

std::vector<StyledTextView::LineBox> StyledTextView::lineBoxes() const {
    if (m_lineBoxSource) return m_lineBoxSource();
    std::vector<LineBox> boxes;
    size_t lines = size_t(std::count(m_text.begin(), m_text.end(), u'\n')) + 1;
    for (size_t i = 0; i < lines; ++i)
        boxes.push_back(LineBox{double(i) * unplacedLineHeight, unplacedLineHeight});
    return boxes;
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
