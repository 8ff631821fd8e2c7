#include "platform/ui/Alert.h"

#include "platform/foundation/Log.h"
#include "platform/ui/Backends.h"

namespace platform {

namespace {

int responseFor(int index, size_t buttons) {
    if (index < 0 || index >= static_cast<int>(buttons)) index = 0;
    return Alert::FirstButtonReturn + index;
}

}  // namespace

int Alert::runModal() {
    if (m_buttons.empty()) m_buttons.push_back("OK");
    const Presenter& presenter = Backends::current().alerts;
    if (!presenter) {
        logf("Alert: %s %s", m_message.c_str(), m_informative.c_str());
        return FirstButtonReturn;
    }
    return responseFor(presenter(*this), m_buttons.size());
}

void Alert::beginSheetModal(std::function<void(int)> answered) {
    if (m_buttons.empty()) m_buttons.push_back("OK");
    const SheetPresenter& presenter = Backends::current().alertSheets;
    // Without a presenter of sheets, one that answers at once (a test's) or none (headless).
    if (!presenter) return answered(runModal());
    presenter(*this, [answered = std::move(answered), buttons = m_buttons.size()](int index) {
        answered(responseFor(index, buttons));
    });
}

}  // namespace platform
