#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "notes/UI/SourceTextView/SourceParser.h"
#include "notes/UI/SourceTextView/SourceUndoStack.h"
#include "platform/foundation/Range.h"
#include "platform/graphics/Color.h"

namespace zelvo {

// A colour over a range of the text (UTF-16 units).
struct SourceColorSpan {
    platform::Range range;
    platform::Color color;
    bool operator==(const SourceColorSpan&) const = default;
};

// The model behind the HTML source view, free of any display: the text as UTF-16 units, the
// selection, the colouring of every token, the error-line background, and the editing helpers
// (newline keeping indentation, shifting lines by a tab) with their undo. The view shows what the
// buffer says and hands the user's typing to it.
class SourceBuffer {
  public:
    SourceBuffer();

    const std::u16string& text() const { return m_text; }
    // setSource: replaces the text when it differs (and recolours); what could be undone goes.
    void setSource(const std::u16string& text);
    platform::Range selectedRange() const { return m_selection; }
    // Clamped to the text.
    void setSelectedRange(platform::Range range);

    // An edit by the user (typing, deleting, pasting): undoable, recolours.
    void replaceCharacters(platform::Range range, const std::u16string& replacement);
    // Return: a line feed, then the blanks and tabs that begin the line it ends (none at the very
    // start of the text); replaces the selection.
    void insertNewline();
    // The actions: shift the selected lines by one tab, undoable, the shifted text stays selected.
    void shiftLeft() { shiftLeftRange(m_selection); }
    void shiftRight() { shiftRightRange(m_selection); }
    SourceUndoStack& undoManager() { return m_undo; }

    // The shifts on a given range: apply, register for undo the text of the changed lines as they
    // were (with the range selected) when the text changed, select the result.
    void shiftLeftRange(platform::Range range);
    void shiftRightRange(platform::Range range);
    // The bare shifts: change the text and answer the new selection range.
    platform::Range shiftedLeft(platform::Range range);
    platform::Range shiftedRight(platform::Range range);

    int32_t language() const { return m_language; }
    void setLanguage(int32_t language);
    const std::optional<std::map<std::string, platform::Color>>& keywordColors() const {
        return m_keywordColors;
    }
    void setKeywordColors(std::optional<std::map<std::string, platform::Color>> colors);
    std::optional<platform::Color> stringColor() const { return m_stringColor; }
    std::optional<platform::Color> commentColor() const { return m_commentColor; }
    std::optional<platform::Color> preprocessorColor() const { return m_preprocessorColor; }
    std::optional<platform::Color> errorHighlightColor() const { return m_errorColor; }
    void setStringColor(std::optional<platform::Color> color);
    void setCommentColor(std::optional<platform::Color> color);
    void setPreprocessorColor(std::optional<platform::Color> color);
    void setErrorHighlightColor(std::optional<platform::Color> color);

    // The text colours of the last colouring, in text order; text outside them has the default.
    const std::vector<SourceColorSpan>& foregroundSpans() const { return m_foreground; }
    // Line backgrounds (the error line).
    const std::vector<SourceColorSpan>& backgroundSpans() const { return m_background; }
    // Line number from 1 gets the error background; 0 removes all backgrounds.
    void setErrorLine(unsigned line);
    // Lines are the stretches between line feeds; an index past the last line does nothing.
    void highlightLine(unsigned index, std::optional<platform::Color> color);
    void highlightAllLines(std::optional<platform::Color> color);

    // textDidChange: colours the whole text anew and removes the backgrounds.
    void recolor();

    // Told after every change of text, selection or colours, for the view to follow.
    void setChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

  private:
    static void colorizeCallback(const std::u16string& string, uint32_t kind, platform::Range range,
                                 void* userInfo);
    void colorKeywords(platform::Range range);
    void setColor(platform::Range range, const std::optional<platform::Color>& color);
    // Stores a different colour and recolours.
    void changeColor(std::optional<platform::Color>& slot, std::optional<platform::Color> color);
    void notify();
    // Registers for undo the return to `before` (only the stretch that differs is kept) with
    // `selection` selected; that undo registers the way back in its turn, for redo.
    void registerRestore(const std::u16string& before, platform::Range selection);
    // Applies an edit without registering it; answers the range the replacement now covers.
    platform::Range replace(platform::Range range, const std::u16string& replacement);

    std::u16string m_text;
    platform::Range m_selection;
    int32_t m_language = 0;
    std::optional<std::map<std::string, platform::Color>> m_keywordColors;
    std::map<std::u16string, platform::Color> m_keywords;  // the same, keyed by UTF-16 words
    std::optional<platform::Color> m_stringColor, m_commentColor, m_preprocessorColor, m_errorColor;
    std::vector<SourceColorSpan> m_foreground, m_background;
    SourceUndoStack m_undo;
    std::function<void()> m_changed;
};

}  // namespace zelvo
