#include "platform/notify/Notifier.h"

#include "platform/foundation/Log.h"
#include "platform/ui/Backends.h"

namespace platform {
namespace {

class LoggingNotifier final : public Notifier {
  public:
    bool notify(const Notice& notice) override {
        logfDebug("No notifier: notice \"%s\" not shown", notice.name.c_str());
        return false;
    }
};

}  // namespace

Notifier& Notifier::shared() {
    static LoggingNotifier logging;
    Notifier* installed = Backends::current().notifier.get();
    return installed ? *installed : logging;
}

}  // namespace platform
