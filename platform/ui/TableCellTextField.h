#pragma once

#include <optional>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/graphics/Font.h"
#include "platform/ui/View.h"

namespace platform {

enum class BackgroundStyle : int;

// A one-line label inside a drawn cell (NSTextField as a table cell uses it): its string on one
// line, centred vertically, cut at the end when too wide. On an emphasized background it draws in
// white, as a selected row's text does.
class TableCellTextField : public View {
  public:
    explicit TableCellTextField(const Rect& frame = Rect());

    const std::string& stringValue() const { return m_stringValue; }
    void setStringValue(std::string value);
    Font font() const { return m_font; }
    void setFont(Font font) { m_font = std::move(font); }
    Color textColor() const { return m_textColor; }
    void setTextColor(Color color) { m_textColor = color; }
    // 0 left, 1 right, 2 centred.
    int alignment() const { return m_alignment; }
    void setAlignment(int alignment) { m_alignment = alignment; }

    BackgroundStyle backgroundStyle() const { return m_backgroundStyle; }
    void setBackgroundStyle(BackgroundStyle style);
    // The colour the text is drawn in for the current background style.
    Color drawnTextColor() const;

    void drawRect(const Rect& dirtyRect) override;

  private:
    std::string m_stringValue;
    Font m_font;
    Color m_textColor = Color::blackColor();
    int m_alignment = 0;
    BackgroundStyle m_backgroundStyle;
};

}  // namespace platform
