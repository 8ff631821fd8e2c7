#pragma once

// Internal to platform/graphics: one paragraph broken into lines and measured by Pango.

#include <pango/pango.h>

#include <memory>
#include <vector>

#include "platform/graphics/AttributedString.h"
#include "platform/graphics/TextIndexMap.h"
#include "platform/graphics/pango/PangoSupport.h"

namespace platform {

struct ParagraphLine {
    PangoLayoutLine* line = nullptr;  // owned by the layout
    // The characters the line draws, as units of the paragraph's own text.
    uint64_t localStart = 0;
    uint64_t localEnd = 0;
    // The line's range in the whole string (the paragraph separator included on the last line),
    // and how many units of it positions can fall on.
    uint64_t rangeStart = 0;
    uint64_t rangeLength = 0;
    uint64_t contentLength = 0;
    double ascent = 0;
    double descent = 0;
    double leading = 0;
    double width = 0;
    double trailingWhitespaceWidth = 0;
    // Units of the paragraph text a truncation shaped with the kept ones but does not draw.
    Range hidden;
};

class ParagraphLayout {
  public:
    // `content` is the paragraph without its separator; it starts at `globalStart` in the whole
    // string and is followed by `separatorLength` separator units. A width of 0 or less sets the
    // paragraph on one line per forced break. The attributes at the paragraph's start (those of
    // the separator when it is empty) give its style and the font of a line without glyphs.
    ParagraphLayout(AttributedString content, uint64_t globalStart, uint64_t separatorLength,
                    double width, const TextAttributes& atStart);
    // A line made of the kept start of another line followed by a token: the positions it
    // answers are those of the kept characters, from `rangeStart`.
    // `hidden` units between the kept characters and the token are shaped but take no room
    // and draw nothing.
    static std::shared_ptr<ParagraphLayout> truncated(AttributedString keptAndToken,
                                                      uint64_t rangeStart, uint64_t keptLength,
                                                      Range hidden = {});
    ~ParagraphLayout();
    ParagraphLayout(const ParagraphLayout&) = delete;
    ParagraphLayout& operator=(const ParagraphLayout&) = delete;

    const AttributedString& content() const { return m_content; }
    const ParagraphStyle& style() const { return m_style; }
    const std::vector<ParagraphLine>& lines() const { return m_lines; }

    // The caret offset of the index (in the whole string) from the start of the line.
    double offsetForIndex(const ParagraphLine& line, uint64_t index) const;
    // The caret position in the whole string nearest to the offset along the line.
    uint64_t indexForOffset(const ParagraphLine& line, double x) const;
    // Whether a caret may stand before the unit of the paragraph text.
    bool isCursorPosition(uint64_t localIndex) const;

    static Font defaultFont();

  private:
    ParagraphLayout(AttributedString content, double width, bool singleLine,
                    const ParagraphStyle& style);
    void hideGlyphs(Range units);
    void measureLines(uint64_t globalStart, uint64_t separatorLength, const Font& emptyLineFont);
    // The width the whitespace character would have if Pango had not zeroed it at a wrap.
    double finalSpaceWidth(uint64_t localIndex) const;

    AttributedString m_content;
    TextIndexMap m_map;
    ParagraphStyle m_style;
    pango_support::LayoutOwner m_layout;
    std::vector<ParagraphLine> m_lines;
};

}  // namespace platform
