#include "notes/store/WordCounter.h"

#include <utility>

namespace {

constexpr char16_t kLineFeed = u'\n';

// Unicode category Zs. U+180E left it in Unicode 6.3 and now joins the letters around it.
bool isSpaceSeparator(char16_t c) {
    return c == 0x0020 || c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
           c == 0x202F || c == 0x205F || c == 0x3000;
}

// Skipped before each line: blanks, but never a line feed.
bool isBlank(char16_t c) {
    return c == 0x0009 || isSpaceSeparator(c);
}

// What ends a word. The tab belongs here as much as among the blanks: "a\tb" is two words.
bool isWhitespaceOrNewline(char16_t c) {
    return isBlank(c) || (c >= 0x000A && c <= 0x000D) || c == 0x0085 || c == 0x2028 || c == 0x2029;
}

}  // namespace

WordCounter::WordCounter(std::u16string content) : m_content(std::move(content)) {}

WordCounter& WordCounter::count() {
    const std::u16string& text = m_content;
    const size_t end = text.size();
    m_nChars = static_cast<int32_t>(end);

    size_t pos = 0;
    for (;;) {
        while (pos < end && isBlank(text[pos])) ++pos;
        if (pos == end) return *this;

        const size_t lineStart = pos;
        while (pos < end && text[pos] != kLineFeed) ++pos;
        const size_t lineEnd = pos;
        ++m_nLines;

        size_t i = lineStart;
        for (;;) {
            while (i < lineEnd && isWhitespaceOrNewline(text[i])) ++i;
            if (i == lineEnd) break;
            ++m_nWords;
            while (i < lineEnd && !isWhitespaceOrNewline(text[i])) ++i;
        }

        if (pos < end) ++pos;  // the line feed that ended the line
    }
}
