#include "platform/ui/ColorPanel.h"

#include "platform/ui/PanelRunner.h"

namespace platform {

ColorPanel& ColorPanel::sharedColorPanel() {
    static ColorPanel panel;
    return panel;
}

bool ColorPanel::runModal() {
    std::optional<Color> chosen = runPanel<ColorPanel>(*this, std::optional<Color>());
    if (!chosen) return false;
    m_color = *chosen;
    if (auto action = m_action) action(m_color);
    return true;
}

ColorPanel::Runner ColorPanel::setRunner(Runner runner) {
    return installPanelRunner<ColorPanel>(std::move(runner));
}

FontPanel& FontPanel::sharedFontPanel() {
    static FontPanel panel;
    return panel;
}

bool FontPanel::runModal() {
    std::optional<Font> chosen = runPanel<FontPanel>(*this, std::optional<Font>());
    if (!chosen) return false;
    m_font = chosen;
    if (auto action = m_action) action(*chosen);
    return true;
}

FontPanel::Runner FontPanel::setRunner(Runner runner) {
    return installPanelRunner<FontPanel>(std::move(runner));
}

}  // namespace platform
