#include "platform/ui/Alert.h"

#include "platform/foundation/Log.h"
#include "platform/ui/Backends.h"

namespace platform {

int Alert::runModal() {
    if (m_buttons.empty()) m_buttons.push_back("OK");
    const Presenter& presenter = Backends::current().alerts;
    if (!presenter) {
        logf("Alert: %s %s", m_message.c_str(), m_informative.c_str());
        return FirstButtonReturn;
    }
    int index = presenter(*this);
    if (index < 0 || index >= static_cast<int>(m_buttons.size())) index = 0;
    return FirstButtonReturn + index;
}

}  // namespace platform
