#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "notes/UI/SourceTextView/SourceBuffer.h"
#include "notes/UI/SourceTextView/SourceKeywords.h"
#include "notes/UI/SourceTextView/SourceParser.h"
#include "platform/ui/StyledTextView.h"

namespace zelvo {

class SourceRulerView;

// The source text view: shows a SourceBuffer (text, colours, selection) in a styled text area in
// the monospaced font, hands the user's typing, Return and the shift and undo commands to the
// buffer, and shows line numbers in a ruler beside it. Paste inserts plain text only: the area
// holds nothing else.
class SourceTextView : public platform::StyledTextView {
  public:
    static constexpr double sourceLineScroll = 13.0;

    explicit SourceTextView(const platform::Rect& frame = platform::Rect());

    SourceBuffer& buffer() { return m_buffer; }
    const SourceBuffer& buffer() const { return m_buffer; }

    std::string source() const;
    void setSource(const std::string& text);
    int32_t language() const { return m_buffer.language(); }
    void setLanguage(int32_t language) { m_buffer.setLanguage(language); }
    void setKeywordColors(std::optional<std::map<std::string, platform::Color>> colors) {
        m_buffer.setKeywordColors(std::move(colors));
    }
    void setErrorLine(unsigned line) { m_buffer.setErrorLine(line); }

    // The ruler that numbers the lines, placed by the window beside the view (not owned).
    void setRulerView(SourceRulerView* ruler);
    SourceRulerView* rulerView() const { return m_ruler; }
    bool showLineNumbers() const { return m_showLines; }
    // Shown: the ruler is visible and lines do not wrap; hidden: no ruler, lines wrap.
    void setShowLineNumbers(bool show);

    // The actions.
    void insertNewline() { m_buffer.insertNewline(); }
    void shiftLeft() { m_buffer.shiftLeft(); }
    void shiftRight() { m_buffer.shiftRight(); }

    // From the widget.
    void userReplacedCharacters(platform::Range range, const std::u16string& replacement) override;
    void userSelected(platform::Range range) override;
    bool userCommand(const std::string& selector) override;

    // The keyword list and the tokenizer, as the class offers them.
    static std::optional<std::map<std::string, platform::Color>>
    keywordColorsFromKeywordsPropertyList(const std::filesystem::path& path) {
        return zelvo::keywordColorsFromKeywordsPropertyList(path);
    }

  private:
    void bufferChanged();
    void applyShowLineNumbers();

    SourceBuffer m_buffer;
    SourceRulerView* m_ruler = nullptr;
    bool m_showLines = true;
    bool m_selecting = false;
};

}  // namespace zelvo
