#include "platform/ui/ColorPanel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/ui/Backends.h"

namespace platform {

ColorPanel& ColorPanel::sharedColorPanel() {
    static ColorPanel panel;
    return panel;
}

std::optional<Color> ColorPanel::runModal() {
    const Presenter& presenter = Backends::current().colorPanels;
    if (!presenter) return std::nullopt;
    std::optional<Color> picked = presenter(*this);
    if (picked) m_color = *picked;
    return picked;
}

std::string hexString(const Color& color) {
    auto byte = [](double component) {
        return static_cast<int>(std::lround(std::clamp(component, 0.0, 1.0) * 255));
    };
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", byte(color.red), byte(color.green),
                  byte(color.blue));
    return text;
}

}  // namespace platform
