#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/foundation/Range.h"
#include "platform/graphics/AttributedString.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/TextFrame.h"
#include "platform/graphics/TextFramesetter.h"
#include "textview/TXLineLayout.h"
#include "textview/TXLinkText.h"
#include "textview/TXTextSelection.h"

namespace platform {
class GraphicsContext;
}

// Lays out one attributed string inside a rectangle, keeps a record per line, finds the links
// and where they lie, cuts the text at the bottom with "…" in tail truncation, draws, and answers
// hit tests. Coordinates have their origin at the bottom left and y growing upward; drawing
// flips the context itself.
class TXTextLayout {
  public:
    TXTextLayout();
    explicit TXTextLayout(const platform::AttributedString& attributedString);

    void createFramesetter();
    void createFrame();
    void detectLinks();
    void calculateLines();
    // All four above, in order: the layout then describes the current string and settings.
    void update();

    void drawFrameInContext(platform::GraphicsContext& context);
    void drawInContext(platform::GraphicsContext& context) { drawFrameInContext(context); }

    // The index under the point; -1 when no line holds it.
    int64_t stringIndexForPosition(platform::Point point) const;
    // The nearest index, also for points beside, above or below the lines; -1 between lines.
    int64_t stringIndexForClosestPosition(platform::Point point) const;

    void setSelectionStartWithPoint(platform::Point point);
    void setSelectionEndWithClosestPoint(platform::Point point);
    // Selects the word under the point.
    void setSelectionWithPoint(platform::Point point);
    void selectAll();
    void clearSelection();

    bool isEditing() const { return m_editing; }
    void setEditing(bool editing) { m_editing = editing; }
    uint8_t textAlignment() const { return m_textAlignment; }
    void setTextAlignment(uint8_t alignment) { m_textAlignment = alignment; }
    uint8_t lineBreakMode() const { return m_lineBreakMode; }
    void setLineBreakMode(uint8_t mode) { m_lineBreakMode = mode; }
    const std::optional<platform::AttributedString>& attributedString() const {
        return m_attributedString;
    }
    void setAttributedString(std::optional<platform::AttributedString> string) {
        m_attributedString = std::move(string);
    }
    const std::vector<TXLineLayout>& lineLayouts() const { return m_lineLayouts; }
    const std::shared_ptr<TXTextSelection>& textSelection() const { return m_textSelection; }
    void setTextSelection(std::shared_ptr<TXTextSelection> selection) {
        m_textSelection = std::move(selection);
    }
    const std::vector<std::shared_ptr<TXLinkText>>& links() const { return m_links; }
    platform::Range markedTextRange() const { return m_markedTextRange; }
    void setMarkedTextRange(platform::Range range) { m_markedTextRange = range; }
    const platform::Rect& bounds() const { return m_bounds; }
    void setBounds(const platform::Rect& bounds) { m_bounds = bounds; }
    const platform::Rect& frameRect() const { return m_frameRect; }

    // The frame rectangle the string takes in a rectangle of the size at the origin.
    static platform::Rect frameRectWithAttributtedString(
        const std::optional<platform::AttributedString>& attributedString,
        platform::Size constraintSize);

    // The index a hit test reports for a caret found on the second half of a surrogate pair: the
    // one after the pair, and after the following regional indicator when the pair is one; never
    // past the end of the text.
    static int64_t indexAfterSurrogateHalf(const std::u16string& text, int64_t index);

  private:
    static constexpr uint8_t TruncateTail = 4;

    void truncateLastLine(std::vector<TXLineLayout>& lines) const;

    std::unique_ptr<platform::TextFramesetter> m_framesetter;
    std::unique_ptr<platform::TextFrame> m_frame;
    bool m_editing = false;
    uint8_t m_textAlignment = 0;
    uint8_t m_lineBreakMode = 0;
    std::optional<platform::AttributedString> m_attributedString;
    std::vector<TXLineLayout> m_lineLayouts;
    std::shared_ptr<TXTextSelection> m_textSelection;
    std::vector<std::shared_ptr<TXLinkText>> m_links;
    platform::Range m_markedTextRange{platform::NotFound, 0};
    platform::Rect m_bounds;
    platform::Rect m_frameRect;
};
