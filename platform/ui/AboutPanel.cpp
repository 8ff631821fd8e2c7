#include "platform/ui/AboutPanel.h"

#include "platform/ui/Backends.h"

namespace platform {
AboutPanel::AboutPanel(Contents contents) : m_contents(std::move(contents)) {
    if (const auto& make = Backends::current().aboutPanels) m_backend = make();
}

AboutPanel::~AboutPanel() = default;

void AboutPanel::makeKeyAndOrderFront() {
    ++m_timesShown;
    if (m_backend) m_backend->show(m_contents);
}

}  // namespace platform
