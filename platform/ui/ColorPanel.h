#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"

namespace platform {

// NSColorPanel as the programs use it: pick a colour in a modal chooser starting from the
// current one; the action runs with the new colour when the user took one.
class ColorPanel {
  public:
    static ColorPanel& sharedColorPanel();

    Color color() const { return m_color; }
    void setColor(const Color& color) { m_color = color; }
    void setAction(std::function<void(const Color&)> action) { m_action = std::move(action); }
    // Shows the chooser; whether a colour was taken.
    bool runModal();

    // What shows the chooser: the colour taken, or nothing when cancelled.
    using Runner = std::function<std::optional<Color>(const ColorPanel&)>;
    static Runner setRunner(Runner runner);

  private:
    Color m_color = Color::blackColor();
    std::function<void(const Color&)> m_action;
};

// NSFontPanel (with NSFontManager's selected font): pick a font family and size.
class FontPanel {
  public:
    static FontPanel& sharedFontPanel();

    const std::optional<Font>& selectedFont() const { return m_font; }
    void setSelectedFont(std::optional<Font> font) { m_font = std::move(font); }
    void setAction(std::function<void(const Font&)> action) { m_action = std::move(action); }
    bool runModal();

    using Runner = std::function<std::optional<Font>(const FontPanel&)>;
    static Runner setRunner(Runner runner);

  private:
    std::optional<Font> m_font;
    std::function<void(const Font&)> m_action;
};

}  // namespace platform
