#include "platform/richtext/RichTextBuilder.h"

#include <utility>

namespace platform {

namespace {

bool isCollapsibleSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

}  // namespace

void RichTextBuilder::beginBlock() {
    closeParagraph();
}

void RichTextBuilder::endBlock() {
    closeParagraph();
}

void RichTextBuilder::beginHeading(int level) {
    closeParagraph();
    m_headingLevel = level;
}

void RichTextBuilder::endHeading() {
    closeParagraph();
    m_headingLevel = 0;
}

void RichTextBuilder::beginQuote() {
    closeParagraph();
    ++m_quoteDepth;
}

void RichTextBuilder::endQuote() {
    closeParagraph();
    if (m_quoteDepth > 0) --m_quoteDepth;
}

void RichTextBuilder::beginList(bool ordered, int start) {
    closeParagraph();
    flushPendingMarker();
    m_lists.push_back({ordered, start});
}

void RichTextBuilder::endList() {
    closeParagraph();
    flushPendingMarker();
    if (!m_lists.empty()) m_lists.pop_back();
}

void RichTextBuilder::beginListItem() {
    closeParagraph();
    flushPendingMarker();
    m_pendingMarker = nextMarker();
}

void RichTextBuilder::endListItem() {
    closeParagraph();
    flushPendingMarker();
}

std::string RichTextBuilder::nextMarker() {
    if (m_lists.empty()) return "\u2022";
    ListState& list = m_lists.back();
    if (list.ordered) return std::to_string(list.next++) + ".";
    switch (m_lists.size()) {
        case 1:
            return "\u2022";  // disc
        case 2:
            return "\u25E6";  // circle
        default:
            return "\u25AA";  // square
    }
}

void RichTextBuilder::flushPendingMarker() {
    if (!m_pendingMarker) return;
    paragraph();
    m_openHasContent = true;
    closeParagraph();
}

RichParagraph& RichTextBuilder::paragraph() {
    if (!m_open) {
        m_open.emplace();
        m_open->headingLevel = m_headingLevel;
        m_open->listMarker = std::exchange(m_pendingMarker, std::nullopt);
        m_open->listDepth = static_cast<int>(m_lists.size());
        m_open->quoteDepth = m_quoteDepth;
        m_openHasContent = false;
    }
    return *m_open;
}

void RichTextBuilder::append(std::string_view text, const CharacterStyle& style) {
    RichParagraph& open = paragraph();
    if (!open.runs.empty() && !open.runs.back().image && open.runs.back().style == style) {
        open.runs.back().text += text;
    } else {
        open.runs.push_back(RichRun{std::string(text), style, std::nullopt});
    }
    m_openHasContent = true;
}

void RichTextBuilder::closeParagraph() {
    m_pendingSpace = false;
    if (!m_open) return;
    // The line a trailing <br> ends is ended by the block anyway.
    auto& runs = m_open->runs;
    if (!runs.empty() && !runs.back().image && !runs.back().text.empty() &&
        runs.back().text.back() == '\n') {
        runs.back().text.pop_back();
        if (runs.back().text.empty()) runs.pop_back();
    }
    if (m_openHasContent) m_text.paragraphs.push_back(std::move(*m_open));
    m_open.reset();
    m_openHasContent = false;
}

void RichTextBuilder::text(std::string_view text, const CharacterStyle& style, bool preformatted) {
    if (preformatted) {
        std::string kept;
        for (char c : text) {
            if (c != '\r') kept += c;
        }
        if (!kept.empty()) append(kept, style);
        return;
    }
    size_t i = 0;
    while (i < text.size()) {
        if (isCollapsibleSpace(text[i])) {
            // A blank counts only between two pieces of content on one line.
            if (m_open && m_openHasContent && !m_open->runs.empty()) {
                const RichRun& last = m_open->runs.back();
                if (last.image || (!last.text.empty() && last.text.back() != '\n')) {
                    m_pendingSpace = true;
                    m_pendingSpaceStyle = style;
                }
            }
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && !isCollapsibleSpace(text[end])) ++end;
        flushPendingSpace();
        append(text.substr(i, end - i), style);
        i = end;
    }
}

void RichTextBuilder::lineBreak(const CharacterStyle& style) {
    m_pendingSpace = false;
    append("\n", style);
}

void RichTextBuilder::cellSeparator(const CharacterStyle& style) {
    m_pendingSpace = false;
    if (m_open && m_openHasContent) append("\t", style);
}

void RichTextBuilder::flushPendingSpace() {
    if (!m_pendingSpace) return;
    m_pendingSpace = false;
    append(" ", m_pendingSpaceStyle);
}

void RichTextBuilder::image(RichImage image, const CharacterStyle& style) {
    flushPendingSpace();
    paragraph().runs.push_back(RichRun{"", style, std::move(image)});
    m_openHasContent = true;
}

RichText RichTextBuilder::finish() {
    closeParagraph();
    flushPendingMarker();
    m_lists.clear();
    m_headingLevel = 0;
    m_quoteDepth = 0;
    return std::exchange(m_text, RichText{});
}

}  // namespace platform
