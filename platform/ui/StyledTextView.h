#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Range.h"
#include "platform/graphics/Color.h"
#include "platform/ui/Control.h"

namespace platform {

// A plain text area whose text shows colours over ranges (text colours and backgrounds), for
// source text. The program owns the text: it shows text, selection and colours with showText,
// and the widget hands every edit, selection change, scroll and editing command of the user back
// through the user… calls, which subclasses take to their model. Ranges are in UTF-16 units.
class StyledTextView : public Control {
  public:
    struct Span {
        Range range;
        Color color;
        bool operator==(const Span&) const = default;
    };

    explicit StyledTextView(const Rect& frame = Rect());
    // Lets the peer go first, while this is still a whole styled text view: the peer unhooks
    // itself from it as it goes.
    ~StyledTextView() override;

    const std::u16string& text() const { return m_text; }
    Range selectedRange() const { return m_selection; }
    const std::vector<Span>& foregroundSpans() const { return m_foreground; }
    const std::vector<Span>& backgroundSpans() const { return m_background; }
    // Replaces what the widget shows.
    void showText(std::u16string text, Range selection, std::vector<Span> foreground,
                  std::vector<Span> background);

    bool isEditable() const { return m_editable; }
    void setEditable(bool editable);
    // Lines wrap at the view's width, or run on and scroll sideways.
    bool wrapsLines() const { return m_wraps; }
    void setWrapsLines(bool wraps);
    // How far the text is scrolled down, in points from its top.
    double visibleTop() const { return m_visibleTop; }
    // How far one step of a scroll arrow, an arrow key's page scroll or a wheel line moves the
    // text (NSScrollView's line scroll); the toolkit's own step until set.
    std::optional<double> lineScroll() const { return m_lineScroll; }
    void setLineScroll(double points);

    // Where each of the text's lines ("\n" ends a line) stands, in points from the text's top,
    // as the widget lays it out; without a widget every line is `unplacedLineHeight` high.
    struct LineBox {
        double top = 0, height = 0;
        bool operator==(const LineBox&) const = default;
    };
    static constexpr double unplacedLineHeight = 13.0;
    std::vector<LineBox> lineBoxes() const;
    // For the widget: answers the line boxes as laid out; none to go back to the default.
    void setLineBoxSource(std::function<std::vector<LineBox>()> source) {
        m_lineBoxSource = std::move(source);
    }
    void setScrollHandler(std::function<void(double top)> handler) {
        m_scrolled = std::move(handler);
    }

    // From the widget. The defaults keep the view's own copy in step.
    virtual void userReplacedCharacters(Range range, const std::u16string& replacement);
    virtual void userSelected(Range range);
    // An editing command by its selector ("insertNewline:", "shiftLeft:", "shiftRight:",
    // "undo:", "redo:"); whether the view took it (else the widget does its own thing).
    virtual bool userCommand(const std::string& selector);
    void userScrolled(double top);

    std::string nativeKind() const override { return "styledText"; }

  private:
    std::u16string m_text;
    Range m_selection;
    std::vector<Span> m_foreground, m_background;
    bool m_editable = true;
    bool m_wraps = true;
    double m_visibleTop = 0;
    std::optional<double> m_lineScroll;
    std::function<std::vector<LineBox>()> m_lineBoxSource;
    std::function<void(double)> m_scrolled;
};

}  // namespace platform
