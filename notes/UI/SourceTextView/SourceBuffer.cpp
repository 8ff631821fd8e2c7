#include "notes/UI/SourceTextView/SourceBuffer.h"

#include <algorithm>

#include "platform/foundation/UnicodeString.h"

namespace zelvo {

using platform::Color;
using platform::Range;

namespace {

bool isWordUnit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
           c == u'_' || c == u'#';
}

bool isIndentUnit(char16_t c) {
    return c == u' ' || c == u'\t';
}

// Where the line holding `location` starts: just after the last line feed before it, or 0.
uint64_t lineStartBefore(const std::u16string& text, uint64_t location) {
    if (location == 0) return 0;
    size_t found = text.rfind(u'\n', std::min<uint64_t>(location, text.size()) - 1);
    return found == std::u16string::npos ? 0 : found + 1;
}

// The next line feed in [from, end), or none.
std::optional<uint64_t> nextLineFeed(const std::u16string& text, uint64_t from, uint64_t end) {
    for (uint64_t i = from; i < end && i < text.size(); ++i) {
        if (text[i] == u'\n') return i;
    }
    return std::nullopt;
}

}  // namespace

SourceBuffer::SourceBuffer()
    : m_stringColor(Color::calibratedRGB(0.6, 0.3, 0.0)),
      m_commentColor(Color::calibratedRGB(1.0 / 3, 1.0 / 3, 1.0 / 3)),  // the system dark grey
      m_preprocessorColor(Color::blueColor()),
      m_errorColor(Color::calibratedRGB(1.0, 0.4, 0.5)) {}

void SourceBuffer::notify() {
    if (m_changed) m_changed();
}

void SourceBuffer::setSource(const std::u16string& text) {
    if (text == m_text) return;
    m_text = text;
    m_selection = Range{std::min<uint64_t>(m_selection.location, m_text.size()), 0};
    m_undo.removeAllActions();
    recolor();
}

void SourceBuffer::setSelectedRange(Range range) {
    uint64_t location = std::min<uint64_t>(range.location, m_text.size());
    m_selection = Range{location, std::min<uint64_t>(range.length, m_text.size() - location)};
    notify();
}

Range SourceBuffer::replace(Range range, const std::u16string& replacement) {
    uint64_t location = std::min<uint64_t>(range.location, m_text.size());
    uint64_t length = std::min<uint64_t>(range.length, m_text.size() - location);
    m_text.replace(location, length, replacement);
    return Range{location, replacement.size()};
}

void SourceBuffer::replaceCharacters(Range range, const std::u16string& replacement) {
    uint64_t location = std::min<uint64_t>(range.location, m_text.size());
    std::u16string old =
        m_text.substr(location, std::min<uint64_t>(range.length, m_text.size() - location));
    Range now = replace(range, replacement);
    // An edit that changes nothing (an empty paste over nothing) leaves no step to undo.
    if (old != replacement) m_undo.registerUndo([this, now, old] { replaceCharacters(now, old); });
    m_selection = Range{now.max(), 0};
    recolor();
}

void SourceBuffer::insertNewline() {
    uint64_t p = m_selection.location;
    std::u16string inserted = u"\n";
    if (p != 0) {
        uint64_t start = lineStartBefore(m_text, p);
        uint64_t end = start;
        while (end < p && end < m_text.size() && isIndentUnit(m_text[end])) ++end;
        inserted += m_text.substr(start, end - start);
    }
    replaceCharacters(m_selection, inserted);
}

Range SourceBuffer::shiftedRight(Range range) {
    int64_t location = static_cast<int64_t>(range.location) + 1;
    int64_t length = static_cast<int64_t>(range.length) - 1;
    uint64_t spanStart = lineStartBefore(m_text, range.location);
    uint64_t spanLength = range.length + (range.location - spanStart);
    for (uint64_t line = spanStart;;) {
        m_text.insert(m_text.begin() + static_cast<std::ptrdiff_t>(line), u'\t');
        ++length;
        ++spanLength;
        auto feed = nextLineFeed(m_text, line, spanStart + spanLength);
        if (!feed || *feed == spanStart + spanLength - 1) break;
        line = *feed + 1;
    }
    recolor();
    return Range{static_cast<uint64_t>(location),
                 static_cast<uint64_t>(std::max<int64_t>(0, length))};
}

Range SourceBuffer::shiftedLeft(Range range) {
    if (m_text.empty()) return range;
    Range result = range;
    uint64_t spanStart = lineStartBefore(m_text, range.location);
    uint64_t spanLength = range.length + (range.location - spanStart);
    bool startsWithTab = spanStart < m_text.size() && m_text[spanStart] == u'\t';
    if (startsWithTab && spanStart < range.location) {
        // The tab removed below sits before the selection: keep the same text selected.
        result.location -= 1;
        result.length += 1;
    } else if (!startsWithTab && spanLength == 0) {
        return range;
    }
    for (uint64_t line = spanStart;;) {
        if (line >= m_text.size()) break;  // a line start at the very end: nothing to remove
        if (m_text[line] == u'\t') {
            m_text.erase(line, 1);
            if (result.length > 0) --result.length;
            if (spanLength > 0) --spanLength;
        }
        auto feed = nextLineFeed(m_text, line, spanStart + spanLength);
        if (!feed || *feed == spanStart + spanLength - 1) break;
        line = *feed + 1;
    }
    recolor();
    return result;
}

void SourceBuffer::shiftLeftRange(Range range) {
    const std::u16string before = m_text;
    Range shifted = shiftedLeft(range);
    if (m_text != before) registerRestore(before, range);
    if (shifted != range) setSelectedRange(shifted);
}

void SourceBuffer::shiftRightRange(Range range) {
    const std::u16string before = m_text;
    Range shifted = shiftedRight(range);
    if (m_text != before) registerRestore(before, range);
    if (shifted != range) setSelectedRange(shifted);
}

void SourceBuffer::registerRestore(const std::u16string& before, Range selection) {
    // Only the stretch between the common start and the common end changed.
    const size_t shorter = std::min(before.size(), m_text.size());
    size_t start = 0;
    while (start < shorter && before[start] == m_text[start]) ++start;
    size_t end = 0;
    while (end < shorter - start &&
           before[before.size() - 1 - end] == m_text[m_text.size() - 1 - end]) {
        ++end;
    }
    const Range changed{start, m_text.size() - start - end};
    std::u16string old = before.substr(start, before.size() - start - end);
    m_undo.registerUndo([this, changed, old = std::move(old), selection] {
        const std::u16string now = m_text;
        const Range nowSelected = m_selection;
        replace(changed, old);
        registerRestore(now, nowSelected);
        setSelectedRange(selection);
        recolor();
    });
}

void SourceBuffer::setLanguage(int32_t language) {
    m_language = language;
    recolor();
}

void SourceBuffer::setKeywordColors(std::optional<std::map<std::string, Color>> colors) {
    if (colors == m_keywordColors) return;
    m_keywordColors = std::move(colors);
    m_keywords.clear();
    if (m_keywordColors) {
        for (const auto& [word, color] : *m_keywordColors) {
            m_keywords[platform::utf16FromUtf8(word)] = color;
        }
    }
    recolor();
}

void SourceBuffer::setStringColor(std::optional<Color> color) {
    changeColor(m_stringColor, color);
}

void SourceBuffer::setCommentColor(std::optional<Color> color) {
    changeColor(m_commentColor, color);
}

void SourceBuffer::setPreprocessorColor(std::optional<Color> color) {
    changeColor(m_preprocessorColor, color);
}

void SourceBuffer::setErrorHighlightColor(std::optional<Color> color) {
    changeColor(m_errorColor, color);
}

void SourceBuffer::changeColor(std::optional<Color>& slot, std::optional<Color> color) {
    if (color == slot) return;
    slot = color;
    recolor();
}

void SourceBuffer::recolor() {
    m_foreground.clear();
    parseSource(m_text, Range{0, m_text.size()}, m_language, &SourceBuffer::colorizeCallback, this);
    m_background.clear();
    notify();
}

void SourceBuffer::colorizeCallback(const std::u16string&, uint32_t kind, Range range,
                                    void* userInfo) {
    auto* self = static_cast<SourceBuffer*>(userInfo);
    switch (kind) {
        case SourceTokenNormal:
            if (self->m_keywordColors) self->colorKeywords(range);
            break;
        case SourceTokenSingleQuoted:
        case SourceTokenDoubleQuoted:
            self->setColor(range, self->m_stringColor);
            break;
        case SourceTokenLineComment:
        case SourceTokenBlockComment:
            self->setColor(range, self->m_commentColor);
            break;
        case SourceTokenPreprocessor:
            self->setColor(range, self->m_preprocessorColor);
            break;
        default:
            break;
    }
}

void SourceBuffer::colorKeywords(Range range) {
    uint64_t position = range.location;
    const uint64_t end = range.max();
    while (position < end) {
        while (position < end && !isWordUnit(m_text[position])) ++position;
        if (position >= end) break;
        uint64_t wordEnd = position;
        while (wordEnd < end && isWordUnit(m_text[wordEnd])) ++wordEnd;
        auto found = m_keywords.find(m_text.substr(position, wordEnd - position));
        if (found != m_keywords.end()) {
            setColor(Range{position, wordEnd - position}, found->second);
        }
        position = wordEnd;
    }
}

void SourceBuffer::setColor(Range range, const std::optional<Color>& color) {
    if (color && range.length > 0) m_foreground.push_back(SourceColorSpan{range, *color});
}

void SourceBuffer::setErrorLine(unsigned line) {
    if (line == 0) {
        highlightAllLines(std::nullopt);
    } else {
        highlightLine(line - 1, m_errorColor);
    }
}

void SourceBuffer::highlightLine(unsigned index, std::optional<Color> color) {
    uint64_t start = 0;
    for (unsigned line = 0; line < index; ++line) {
        size_t feed = m_text.find(u'\n', start);
        if (feed == std::u16string::npos) return;
        start = feed + 1;
    }
    size_t feed = m_text.find(u'\n', start);
    Range range{start, (feed == std::u16string::npos ? m_text.size() : feed) - start};
    // A new background replaces what covered the line before.
    std::erase_if(m_background, [&](const SourceColorSpan& span) {
        return platform::intersectionRange(span.range, range).length > 0 || span.range == range;
    });
    if (color) m_background.push_back(SourceColorSpan{range, *color});
    notify();
}

void SourceBuffer::highlightAllLines(std::optional<Color> color) {
    m_background.clear();
    if (color) m_background.push_back(SourceColorSpan{Range{0, m_text.size()}, *color});
    notify();
}

}  // namespace zelvo
