#pragma once

#include <memory>
#include <vector>

#include "platform/ui/View.h"

namespace zelvo {

// The editor's toolbar strip: holds the buttons of the last build and paints the dark background
// behind them.
class ToolbarView : public platform::View {
  public:
    explicit ToolbarView(const platform::Rect& frame = platform::Rect());

    const std::vector<std::shared_ptr<platform::View>>& items() const { return m_items; }
    void setItems(std::vector<std::shared_ptr<platform::View>> items) {
        m_items = std::move(items);
    }

    void drawRect(const platform::Rect& dirtyRect) override;
    // An orange frame inside the rectangle, drawn only when the rectangle is at least as tall as
    // the view.
    void drawBorder(const platform::Rect& rect);

  private:
    std::vector<std::shared_ptr<platform::View>> m_items;
};

}  // namespace zelvo
