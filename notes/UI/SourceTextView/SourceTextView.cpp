#include "notes/UI/SourceTextView/SourceTextView.h"

#include "notes/UI/SourceTextView/SourceRulerView.h"
#include "platform/foundation/UnicodeString.h"
#include "platform/graphics/Font.h"

namespace zelvo {

namespace {

// Menlo where it is installed, else the desktop's monospaced face.
platform::Font sourceFont() {
    for (const char* name : {"Menlo Regular", "Menlo", "DejaVu Sans Mono", "Monospace"}) {
        if (auto font = platform::Font::fontWithName(name, 11)) return *font;
    }
    return platform::Font::systemFont(11);
}

}  // namespace

SourceTextView::SourceTextView(const platform::Rect& frame) : StyledTextView(frame) {
    setAutoresizingMask(0);
    setFont(sourceFont());
    setLineScroll(sourceLineScroll);
    m_buffer.setChangeHandler([this] { bufferChanged(); });
    applyShowLineNumbers();
    bufferChanged();
}

std::string SourceTextView::source() const {
    return platform::utf8FromUtf16(m_buffer.text());
}

void SourceTextView::setSource(const std::string& text) {
    m_buffer.setSource(platform::utf16FromUtf8(text));
}

void SourceTextView::bufferChanged() {
    if (m_selecting) return;
    std::vector<Span> foreground, background;
    for (const auto& span : m_buffer.foregroundSpans())
        foreground.push_back(Span{span.range, span.color});
    for (const auto& span : m_buffer.backgroundSpans())
        background.push_back(Span{span.range, span.color});
    showText(m_buffer.text(), m_buffer.selectedRange(), std::move(foreground),
             std::move(background));
    if (m_ruler) m_ruler->setNeedsDisplay(true);
}

void SourceTextView::setRulerView(SourceRulerView* ruler) {
    m_ruler = ruler;
    if (m_ruler) m_ruler->setSourceView(this);
    applyShowLineNumbers();
}

void SourceTextView::setShowLineNumbers(bool show) {
    if (show == m_showLines) return;
    m_showLines = show;
    applyShowLineNumbers();
}

void SourceTextView::applyShowLineNumbers() {
    setWrapsLines(!m_showLines);
    if (!m_ruler) return;
    m_ruler->setHidden(!m_showLines);
    // The ruler takes its width from the text's side of the window.
    platform::Rect frame = this->frame();
    double ruler = m_ruler->requiredThickness();
    double left = m_ruler->frame().minX();
    double right = frame.maxX();
    double textLeft = m_showLines ? left + ruler : left;
    setFrame(platform::Rect(textLeft, frame.minY(), right - textLeft, frame.height()));
}

void SourceTextView::userReplacedCharacters(platform::Range range,
                                            const std::u16string& replacement) {
    StyledTextView::userReplacedCharacters(range, replacement);
    m_buffer.replaceCharacters(range, replacement);
}

void SourceTextView::userSelected(platform::Range range) {
    StyledTextView::userSelected(range);
    // The widget shows this selection already: the buffer follows without a new showing.
    m_selecting = true;
    m_buffer.setSelectedRange(range);
    m_selecting = false;
}

bool SourceTextView::userCommand(const std::string& selector) {
    if (selector == "insertNewline:") {
        insertNewline();
    } else if (selector == "shiftLeft:") {
        shiftLeft();
    } else if (selector == "shiftRight:") {
        shiftRight();
    } else if (selector == "undo:") {
        m_buffer.undoManager().undo();
    } else if (selector == "redo:") {
        m_buffer.undoManager().redo();
    } else {
        return false;
    }
    return true;
}

}  // namespace zelvo
