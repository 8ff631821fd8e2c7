#include "platform/notify/Notifier.h"

#include "platform/foundation/Log.h"

namespace platform {
namespace {

class LoggingNotifier final : public Notifier {
  public:
    bool notify(const Notice& notice) override {
        logfDebug("No notifier: notice \"%s\" not shown", notice.name.c_str());
        return false;
    }
};

std::unique_ptr<Notifier>& sharedSlot() {
    static std::unique_ptr<Notifier> slot = std::make_unique<LoggingNotifier>();
    return slot;
}

}  // namespace

Notifier& Notifier::shared() {
    return *sharedSlot();
}

void Notifier::setShared(std::unique_ptr<Notifier> notifier) {
    sharedSlot() = notifier ? std::move(notifier) : std::make_unique<LoggingNotifier>();
}

}  // namespace platform
