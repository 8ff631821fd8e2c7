#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Range.h"
#include "platform/graphics/AttributedString.h"
#include "platform/graphics/Geometry.h"

namespace platform {

class GraphicsContext;
class ParagraphLayout;
struct ParagraphLine;

enum class TruncationType { Start, End, Middle };

// One laid-out line of text. Positions along it are offsets from its origin on the baseline;
// indexes are those of the string the line came from.
class TextLine {
  public:
    // The whole string set as a single line.
    static std::shared_ptr<TextLine> create(const AttributedString& string);

    TextLine(std::shared_ptr<const ParagraphLayout> paragraph, size_t lineNumber);

    // The typographic width; the ascent, descent and leading of the tallest font on the line.
    double typographicBounds(double* ascent, double* descent, double* leading) const;
    double trailingWhitespaceWidth() const;
    // The characters of the line, its paragraph separator included on a paragraph's last line.
    Range stringRange() const;

    // The caret index nearest to the position's x offset; -1 when the line has none.
    int64_t stringIndexForPosition(Point position) const;
    // The caret offset for the index, clamped to the line.
    double offsetForStringIndex(int64_t index) const;

    // The line cut to the width, the token standing for what was cut off; the line itself when
    // it fits; nothing when the token alone is wider than the width. Only the end is cut.
    std::shared_ptr<TextLine> truncatedLine(double width, TruncationType type,
                                            const std::shared_ptr<TextLine>& token) const;

    // Draws the line with its origin at the context's text position.
    void draw(GraphicsContext& context) const;

    // The characters the line shows, a truncation token included.
    std::u16string drawnText() const;
    // The font's glyph ids the line draws, in visual order (what shaping chose for each letter).
    std::vector<uint32_t> glyphs() const;

  private:
    const ParagraphLine& info() const;

    std::shared_ptr<const ParagraphLayout> m_paragraph;
    size_t m_lineNumber;
};

}  // namespace platform
