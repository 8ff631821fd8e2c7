#pragma once

#include <optional>

#include "platform/graphics/AttributedString.h"
#include "platform/graphics/Color.h"
#include "platform/ui/View.h"

namespace quillora {

// The rounded background the candidate window keeps for its colour and corner radius. The window
// never puts it on screen, so it draws nothing: it holds what the preferences give it.
class CandidateView : public platform::View {
  public:
    explicit CandidateView(const platform::Rect& frame = platform::Rect());

    // Stores the string and marks the view for redisplay.
    void setAttributedString(platform::AttributedString string);
    const std::optional<platform::AttributedString>& attributedString() const { return m_string; }

    platform::Color bgColor() const { return m_bgColor; }
    void setBgColor(const platform::Color& color);
    float radius() const { return m_radius; }
    void setRadius(float radius);

  private:
    std::optional<platform::AttributedString> m_string;
    platform::Color m_bgColor = platform::Color::clearColor();
    float m_radius = 0;
};

}  // namespace quillora
