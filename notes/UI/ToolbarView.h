#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/View.h"

namespace zelvo {

// The editor's toolbar strip: holds the buttons of the last build and paints the dark background
// behind them. The buttons stand in one row of 30-point squares from 10 points in; when the strip
// is too narrow for that they wrap into as few rows as needed, shared out evenly, and the strip
// grows downwards (its top edge stays) so that every button stays reachable.
class ToolbarView : public platform::View {
  public:
    explicit ToolbarView(const platform::Rect& frame = platform::Rect());

    const std::vector<std::shared_ptr<platform::View>>& items() const { return m_items; }
    void setItems(std::vector<std::shared_ptr<platform::View>> items) {
        m_items = std::move(items);
    }

    static constexpr double itemSize = 30, leadingInset = 10;

    // Places the items in rows for the current width and sets the strip's height to the rows';
    // the height handler runs when that height changed.
    void layoutItems();
    void setHeightChangedHandler(std::function<void()> handler) {
        m_heightChanged = std::move(handler);
    }
    void resizeWithOldSuperviewSize(platform::Size oldSize) override;

    void drawRect(const platform::Rect& dirtyRect) override;
    // An orange frame inside the rectangle, drawn only when the rectangle is at least as tall as
    // the view.
    void drawBorder(const platform::Rect& rect);

  private:
    std::vector<std::shared_ptr<platform::View>> m_items;
    std::function<void()> m_heightChanged;
};

}  // namespace zelvo
