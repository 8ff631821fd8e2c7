#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/foundation/Range.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/TextLine.h"
#include "textview/TXLinkText.h"

// A line's measures as the line setter reports them.
struct TXLineMetrics {
    double ascent = 0;
    double descent = 0;
    double width = 0;
    double leading = 0;
    double trailingWhitespaceWidth = 0;
};

// One laid-out line, placed in the layout's coordinates, with the links that show on it.
class TXLineLayout {
  public:
    TXLineLayout(std::shared_ptr<platform::TextLine> line, int64_t index, platform::Rect rect,
                 TXLineMetrics metrics);

    bool isTruncated() const { return m_truncated; }
    void setTruncated(bool truncated) { m_truncated = truncated; }
    const std::shared_ptr<platform::TextLine>& line() const { return m_line; }
    int64_t index() const { return m_index; }
    double truncationTokenWidth() const { return m_truncationTokenWidth; }
    void setTruncationTokenWidth(double width) { m_truncationTokenWidth = width; }
    const std::vector<std::shared_ptr<TXLinkText>>& links() const { return m_links; }
    const platform::Rect& rect() const { return m_rect; }
    const platform::Rect& drawingRect() const { return m_drawingRect; }
    void setDrawingRect(const platform::Rect& rect) { m_drawingRect = rect; }
    const TXLineMetrics& metrics() const { return m_metrics; }

    platform::Range stringRange() const { return m_line->stringRange(); }
    bool containsLink() const { return !m_links.empty(); }
    size_t numberOfLinks() const { return m_links.size(); }

    bool containsPoint(platform::Point point) const { return m_rect.contains(point); }
    // The caret index nearest to the point's x on this line; -1 when there is none.
    int64_t stringIndexForPosition(platform::Point point) const;
    // Where the characters of the range lie on this line; the zero rectangle when none do.
    platform::Rect rectOfStringWithRange(platform::Range range) const;

    void addLink(std::shared_ptr<TXLinkText> link);
    // The first of this line's links with a piece, on any line, under the point.
    std::shared_ptr<TXLinkText> linkAtPoint(platform::Point point) const;

  private:
    bool m_truncated = false;
    std::shared_ptr<platform::TextLine> m_line;
    int64_t m_index;
    double m_truncationTokenWidth = 0;
    std::vector<std::shared_ptr<TXLinkText>> m_links;
    platform::Rect m_rect;
    platform::Rect m_drawingRect;
    TXLineMetrics m_metrics;
};
