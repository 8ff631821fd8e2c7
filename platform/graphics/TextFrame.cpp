#include "platform/graphics/TextFrame.h"

#include "platform/graphics/GraphicsContext.h"

namespace platform {

TextFrame::TextFrame(Rect path, std::vector<std::shared_ptr<TextLine>> lines,
                     std::vector<Point> origins)
    : m_path(path), m_lines(std::move(lines)), m_origins(std::move(origins)) {}

std::vector<Point> TextFrame::lineOrigins(Range range) const {
    if (range.length == 0)
        range = {range.location,
                 m_origins.size() - std::min<uint64_t>(range.location, m_origins.size())};
    std::vector<Point> result;
    for (uint64_t i = range.location; i < range.max() && i < m_origins.size(); ++i) {
        result.push_back(m_origins[i]);
    }
    return result;
}

Range TextFrame::visibleStringRange() const {
    if (m_lines.empty()) return {0, 0};
    uint64_t start = m_lines.front()->stringRange().location;
    return {start, m_lines.back()->stringRange().max() - start};
}

void TextFrame::draw(GraphicsContext& context) const {
    for (size_t i = 0; i < m_lines.size(); ++i) {
        context.setTextPosition(m_path.minX() + m_origins[i].x, m_path.minY() + m_origins[i].y);
        m_lines[i]->draw(context);
    }
}

}  // namespace platform
