#pragma once

#include <memory>
#include <vector>

#include "platform/foundation/Range.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/TextLine.h"

namespace platform {

class GraphicsContext;

// The lines of a text set into a rectangle, from its top edge down.
class TextFrame {
  public:
    TextFrame(Rect path, std::vector<std::shared_ptr<TextLine>> lines, std::vector<Point> origins);

    const std::vector<std::shared_ptr<TextLine>>& lines() const { return m_lines; }
    // The baseline origins of the lines in the range of line numbers (all when its length is 0),
    // relative to the rectangle's origin.
    std::vector<Point> lineOrigins(Range range = {}) const;
    const Rect& path() const { return m_path; }
    // The characters the frame holds.
    Range visibleStringRange() const;

    // Draws every line at its origin, with the context's text matrix.
    void draw(GraphicsContext& context) const;

  private:
    Rect m_path;
    std::vector<std::shared_ptr<TextLine>> m_lines;
    std::vector<Point> m_origins;
};

}  // namespace platform
