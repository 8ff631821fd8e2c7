#pragma once

#include <memory>
#include <vector>

#include "platform/foundation/Range.h"
#include "platform/graphics/AttributedString.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/TextFrame.h"

namespace platform {

class ParagraphLayout;

// Sets an attributed string into lines: each paragraph is broken and measured on its own, and
// the lines are stacked here, so a paragraph's fixed line height holds whatever fonts a line
// falls back to. A range of length 0 reaches to the end of the string.
class TextFramesetter {
  public:
    explicit TextFramesetter(AttributedString string);
    ~TextFramesetter();

    const AttributedString& attributedString() const { return m_string; }

    // The size the range needs when set at most `constraints.width` wide and stacked no higher
    // than `constraints.height`; `fitRange` receives the characters that fit.
    Size suggestFrameSize(Range range, Size constraints, Range* fitRange = nullptr);
    // The lines of the range that fit into the rectangle, from its top down.
    std::unique_ptr<TextFrame> createFrame(Range range, const Rect& path);

  private:
    struct Placed {
        std::shared_ptr<TextLine> line;
        double x = 0;         // from the left edge, by alignment
        double baseline = 0;  // from the top edge
        double bottom = 0;    // of the line's box, from the top edge
        double width = 0;     // without trailing whitespace
    };
    std::vector<Placed> stack(Range range, double width, double height);
    const std::vector<std::shared_ptr<ParagraphLayout>>& paragraphsFor(double width);

    AttributedString m_string;
    double m_layoutWidth = -1;
    std::vector<std::shared_ptr<ParagraphLayout>> m_paragraphs;
};

// The size of the string set without a width limit: its widest line and all its lines' height.
Size boundingSizeOfAttributedString(const AttributedString& string);

}  // namespace platform
