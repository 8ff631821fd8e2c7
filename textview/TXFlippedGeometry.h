#pragma once

#include <vector>

#include "platform/graphics/Geometry.h"
#include "textview/TXLineLayout.h"

// The layout keeps its lines in coordinates whose lines run downward from the top of the bounds,
// but draws them with the context flipped about the bounds' height and the glyphs set upright
// again: a line with its baseline at y shows upright with its baseline at height − y, and the
// lines follow each other upward. What the view highlights and hit-tests must follow the same
// flip, or it would lie mirrored against the drawn glyphs. This maps between the layout's
// coordinates and the view's (its bounds coordinates), line by line.
class TXFlippedGeometry {
  public:
    TXFlippedGeometry(double boundsHeight, const std::vector<TXLineLayout>& lines);

    // A piece of a line (glyphs, an attachment's box, a bar under a link): it moves with the
    // line's baseline and stays upright, as the glyphs do.
    platform::Rect viewRectForLineRect(const platform::Rect& rect, const TXLineLayout& line) const;
    // A fill that spans a line's height and may reach toward its neighbour lines: the line's
    // height lands on the drawn line, what reaches toward the next line reaches toward it in the
    // view too.
    platform::Rect viewRectForBandRect(const platform::Rect& rect, const TXLineLayout& line) const;
    // A rectangle that belongs to no line in particular (the frame).
    platform::Rect viewRectForLayoutRect(const platform::Rect& rect) const;
    // The layout point for a point of the view: on a drawn line it lands on that line, elsewhere
    // it keeps its place towards the nearest line.
    platform::Point layoutPointForViewPoint(platform::Point point) const;

    // The line a link piece lies on, by its line number; null when there is none.
    const TXLineLayout* lineWithIndex(int64_t index) const;

  private:
    // Where the line's baseline is drawn: the layout draws it at its drawing rectangle's y plus
    // the descent.
    static double baseline(const TXLineLayout& line);
    // The mirror that maps the line's height onto its drawn height: y -> height + shift − y.
    static double mirrorShift(const TXLineLayout& line);
    double mirror(double y, const TXLineLayout* line) const;
    platform::Rect mirrored(const platform::Rect& rect, const TXLineLayout* line) const;

    double m_height;
    const std::vector<TXLineLayout>& m_lines;
};
