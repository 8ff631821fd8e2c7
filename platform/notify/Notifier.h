#pragma once

#include <memory>
#include <optional>
#include <string>

namespace platform {

// A short desktop notice: the program's name as title and as the notice's name, a line of text,
// and the program's icon when it has one.
struct Notice {
    std::string title;
    std::string description;
    std::string name;
    std::optional<std::string> iconPath;
};

// Posts notices to the desktop. A notice that cannot be shown (no notification server, no session
// bus) is dropped with a debugging line: a missing notice is never worth stopping for, and
// a program's notices may follow the user's keys.
class Notifier {
  public:
    virtual ~Notifier() = default;
    // Whether the notice was handed to the desktop.
    virtual bool notify(const Notice& notice) = 0;
    // Takes back every notice this notifier showed that is still on the desktop.
    virtual void removeAllDeliveredNotices() {}
    // Takes back the notice of that name, when this notifier showed one that is still up.
    virtual void removeDeliveredNotice(const std::string& /*name*/) {}

    // The notifier of the Backends in use; without one, notices are only logged.
    static Notifier& shared();
};

}  // namespace platform
