#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/graphics/Color.h"

namespace platform {

// NSColorPanel, run modally: the user picks a colour or closes the panel. The Backends in use
// give the presenter that shows the toolkit's colour chooser; without one (headless) no colour is
// picked.
class ColorPanel {
  public:
    static ColorPanel& sharedColorPanel();

    const std::string& title() const { return m_title; }
    void setTitle(std::string title) { m_title = std::move(title); }
    bool isContinuous() const { return m_continuous; }
    void setContinuous(bool flag) { m_continuous = flag; }
    Color color() const { return m_color; }
    void setColor(Color color) { m_color = color; }

    // Shows the panel until it closes; the colour picked, or absent when none was.
    std::optional<Color> runModal();

    using Presenter = std::function<std::optional<Color>(const ColorPanel&)>;

  private:
    ColorPanel() = default;
    std::string m_title;
    bool m_continuous = false;
    Color m_color = Color::blackColor();
};

// "#rrggbb" of a colour, its alpha left out.
std::string hexString(const Color& color);

}  // namespace platform
