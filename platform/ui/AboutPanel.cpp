#include "platform/ui/AboutPanel.h"

namespace platform {
namespace {

AboutPanel::BackendFactory& backendFactory() {
    static AboutPanel::BackendFactory factory;
    return factory;
}

}  // namespace

void AboutPanel::setBackendFactory(BackendFactory factory) {
    backendFactory() = std::move(factory);
}

AboutPanel::AboutPanel(Contents contents) : m_contents(std::move(contents)) {
    if (backendFactory()) m_backend = backendFactory()();
}

AboutPanel::~AboutPanel() = default;

void AboutPanel::makeKeyAndOrderFront() {
    ++m_timesShown;
    if (m_backend) m_backend->show(m_contents);
}

}  // namespace platform
