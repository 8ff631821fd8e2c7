#pragma once

#include <string>
#include <vector>

#include "platform/notify/Notifier.h"
#include "platform/ui/gtk/GObjectRef.h"

typedef struct _NotifyNotification NotifyNotification;

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
    void removeAllDeliveredNotices() override;

  private:
    std::string m_applicationName;
    bool m_initialised = false;
    // What was shown, so that it can be taken back; released when taken back.
    std::vector<gtk::GObjectRef<NotifyNotification>> m_delivered;
};

}  // namespace platform
