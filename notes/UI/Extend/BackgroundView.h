#pragma once

#include <optional>

#include "platform/graphics/Color.h"
#include "platform/ui/View.h"

namespace zelvo {

// A view that fills itself with one colour (none: transparent).
class BackgroundView : public platform::View {
  public:
    using View::View;

    const std::optional<platform::Color>& backgroundColor() const { return m_color; }
    void setBackgroundColor(std::optional<platform::Color> color);
    void drawRect(const platform::Rect& dirtyRect) override;

  private:
    std::optional<platform::Color> m_color;
};

}  // namespace zelvo
