#pragma once

#include <optional>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/ui/View.h"

namespace zelvo {

// A plain view that fills what it redraws with its background colour, when it has one. The
// background image is kept for the interface files and not drawn.
class BackgroundView : public platform::View {
  public:
    using View::View;

    const std::optional<platform::Color>& backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(std::optional<platform::Color> color);
    const std::optional<std::string>& backgroundImage() const { return m_backgroundImage; }
    void setBackgroundImage(std::optional<std::string> imageName) {
        m_backgroundImage = std::move(imageName);
    }

    void drawRect(const platform::Rect& dirtyRect) override;

  private:
    std::optional<platform::Color> m_backgroundColor;
    std::optional<std::string> m_backgroundImage;
};

}  // namespace zelvo
