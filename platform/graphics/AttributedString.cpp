#include "platform/graphics/AttributedString.h"

#include <algorithm>

namespace platform {

void TextAttributes::merge(const TextAttributes& other) {
    if (other.font) font = other.font;
    if (other.foregroundColor) foregroundColor = other.foregroundColor;
    if (other.paragraphStyle) paragraphStyle = other.paragraphStyle;
    if (other.link) link = other.link;
    if (other.runDelegate) runDelegate = other.runDelegate;
    if (other.verticalGlyphForm) verticalGlyphForm = other.verticalGlyphForm;
}

namespace {

bool sameValue(AttributeKey key, const TextAttributes& a, const TextAttributes& b) {
    switch (key) {
        case AttributeKey::Font:
            return a.font == b.font;
        case AttributeKey::ForegroundColor:
            return a.foregroundColor == b.foregroundColor;
        case AttributeKey::ParagraphStyle:
            return a.paragraphStyle == b.paragraphStyle;
        case AttributeKey::Link:
            return a.link == b.link;
        case AttributeKey::RunDelegate:
            return a.runDelegate == b.runDelegate;
        case AttributeKey::VerticalGlyphForm:
            return a.verticalGlyphForm == b.verticalGlyphForm;
    }
    return true;
}

void clearValue(AttributeKey key, TextAttributes& a) {
    switch (key) {
        case AttributeKey::Font:
            a.font.reset();
            break;
        case AttributeKey::ForegroundColor:
            a.foregroundColor.reset();
            break;
        case AttributeKey::ParagraphStyle:
            a.paragraphStyle.reset();
            break;
        case AttributeKey::Link:
            a.link.reset();
            break;
        case AttributeKey::RunDelegate:
            a.runDelegate.reset();
            break;
        case AttributeKey::VerticalGlyphForm:
            a.verticalGlyphForm.reset();
            break;
    }
}

}  // namespace

AttributedString::AttributedString(std::u16string text, const TextAttributes& attributes)
    : m_text(std::move(text)) {
    if (!m_text.empty()) m_runs.push_back({m_text.size(), attributes});
}

Range AttributedString::clip(Range range) const {
    uint64_t start = std::min<uint64_t>(range.location, m_text.size());
    uint64_t end = std::min<uint64_t>(std::max(range.location, range.max()), m_text.size());
    return {start, end - start};
}

TextAttributes AttributedString::attributesAtIndex(uint64_t index, Range* effectiveRange) const {
    uint64_t start = 0;
    for (const Run& run : m_runs) {
        if (index < start + run.length) {
            if (effectiveRange) *effectiveRange = {start, run.length};
            return run.attributes;
        }
        start += run.length;
    }
    if (effectiveRange) *effectiveRange = {m_text.size(), 0};
    return {};
}

void AttributedString::enumerateAttribute(
    AttributeKey key, Range range,
    const std::function<void(const TextAttributes&, Range, bool& stop)>& block) const {
    range = clip(range);
    uint64_t start = 0;
    size_t i = 0;
    while (i < m_runs.size() && start + m_runs[i].length <= range.location) {
        start += m_runs[i].length;
        ++i;
    }
    while (i < m_runs.size() && start < range.max()) {
        // Join the following runs that agree on this one attribute.
        size_t j = i;
        uint64_t end = start + m_runs[i].length;
        while (j + 1 < m_runs.size() && end < range.max() &&
               sameValue(key, m_runs[i].attributes, m_runs[j + 1].attributes)) {
            ++j;
            end += m_runs[j].length;
        }
        uint64_t from = std::max(start, range.location);
        uint64_t to = std::min(end, range.max());
        bool stop = false;
        block(m_runs[i].attributes, {from, to - from}, stop);
        if (stop) return;
        start = end;
        i = j + 1;
    }
}

AttributedString AttributedString::attributedSubstring(Range range) const {
    range = clip(range);
    AttributedString result;
    result.m_text = m_text.substr(range.location, range.length);
    uint64_t start = 0;
    for (const Run& run : m_runs) {
        uint64_t from = std::max(start, range.location);
        uint64_t to = std::min(start + run.length, range.max());
        if (from < to) result.m_runs.push_back({to - from, run.attributes});
        start += run.length;
    }
    return result;
}

size_t AttributedString::splitAt(uint64_t index) {
    uint64_t start = 0;
    for (size_t i = 0; i < m_runs.size(); ++i) {
        if (index == start) return i;
        if (index < start + m_runs[i].length) {
            Run tail{start + m_runs[i].length - index, m_runs[i].attributes};
            m_runs[i].length = index - start;
            m_runs.insert(m_runs.begin() + static_cast<ptrdiff_t>(i) + 1, tail);
            return i + 1;
        }
        start += m_runs[i].length;
    }
    return m_runs.size();
}

void AttributedString::coalesce() {
    std::vector<Run> joined;
    joined.reserve(m_runs.size());
    for (Run& run : m_runs) {
        if (run.length == 0) continue;
        if (!joined.empty() && joined.back().attributes == run.attributes) {
            joined.back().length += run.length;
        } else {
            joined.push_back(std::move(run));
        }
    }
    m_runs = std::move(joined);
}

template <typename Edit>
void AttributedString::editRuns(Range range, Edit edit) {
    range = clip(range);
    if (range.length == 0) return;
    size_t first = splitAt(range.location);
    size_t last = splitAt(range.max());
    for (size_t i = first; i < last; ++i) edit(m_runs[i].attributes);
    coalesce();
}

void AttributedString::addAttributes(const TextAttributes& attributes, Range range) {
    editRuns(range, [&](TextAttributes& a) { a.merge(attributes); });
}

void AttributedString::setAttributes(const TextAttributes& attributes, Range range) {
    editRuns(range, [&](TextAttributes& a) { a = attributes; });
}

void AttributedString::removeAttribute(AttributeKey key, Range range) {
    editRuns(range, [&](TextAttributes& a) { clearValue(key, a); });
}

void AttributedString::replaceCharacters(Range range, const AttributedString& replacement) {
    range = clip(range);
    size_t first = splitAt(range.location);
    size_t last = splitAt(range.max());
    m_runs.erase(m_runs.begin() + static_cast<ptrdiff_t>(first),
                 m_runs.begin() + static_cast<ptrdiff_t>(last));
    m_runs.insert(m_runs.begin() + static_cast<ptrdiff_t>(first), replacement.m_runs.begin(),
                  replacement.m_runs.end());
    m_text.replace(range.location, range.length, replacement.m_text);
    coalesce();
}

void AttributedString::replaceCharacters(Range range, const std::u16string& replacement) {
    range = clip(range);
    // The new characters take the attributes of the first replaced one, or of the one before.
    uint64_t source = range.length > 0 || range.location == 0 ? range.location : range.location - 1;
    replaceCharacters(range, AttributedString(replacement, attributesAtIndex(source)));
}

void AttributedString::insert(const AttributedString& text, uint64_t index) {
    replaceCharacters(Range{index, 0}, text);
}

void AttributedString::append(const AttributedString& text) {
    replaceCharacters(Range{m_text.size(), 0}, text);
}

}  // namespace platform
