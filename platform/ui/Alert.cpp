#include "platform/ui/Alert.h"

#include "platform/ui/PanelRunner.h"

namespace platform {

std::vector<std::string> Alert::buttonTitles() const {
    return m_buttons.empty() ? std::vector<std::string>{"OK"} : m_buttons;
}

int Alert::runModal() {
    int index = runPanel<Alert>(*this, 0);
    int count = int(buttonTitles().size());
    if (index < 0 || index >= count) index = 0;
    return AlertFirstButtonReturn + index;
}

Alert::Runner Alert::setRunner(Runner runner) {
    return installPanelRunner<Alert>(std::move(runner));
}

}  // namespace platform
