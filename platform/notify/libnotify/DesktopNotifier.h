#pragma once

#include <string>

#include "platform/notify/Notifier.h"

namespace platform {

// Notices through the desktop's notification server (libnotify over the session bus).
class DesktopNotifier final : public Notifier {
  public:
    // The application name the server shows and groups notices under.
    explicit DesktopNotifier(std::string applicationName);
    ~DesktopNotifier() override;
    DesktopNotifier(const DesktopNotifier&) = delete;
    DesktopNotifier& operator=(const DesktopNotifier&) = delete;

    bool notify(const Notice& notice) override;

  private:
    std::string m_applicationName;
    bool m_initialised = false;
};

}  // namespace platform
