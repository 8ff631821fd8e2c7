#pragma once

#include <map>
#include <string>

#include "platform/notify/Notifier.h"
#include "platform/ui/gtk/GObjectRef.h"

typedef struct _NotifyNotification NotifyNotification;

namespace platform {

// Notices through the desktop's notification server (libnotify over the session bus). A notice
// replaces the one of the same name shown before, and is transient: the desktop shows it, then
// forgets it, so a program that posts the same notice again and again leaves no pile behind.
class DesktopNotifier final : public Notifier {
  public:
    // The application name the server shows and groups notices under.
    explicit DesktopNotifier(std::string applicationName);
    ~DesktopNotifier() override;
    DesktopNotifier(const DesktopNotifier&) = delete;
    DesktopNotifier& operator=(const DesktopNotifier&) = delete;

    bool notify(const Notice& notice) override;
    void removeAllDeliveredNotices() override;
    void removeDeliveredNotice(const std::string& name) override;

  private:
    std::string m_applicationName;
    bool m_initialised = false;
    // The latest notice of each name, shown again with the next one of that name and taken back
    // by removeDeliveredNotice or removeAllDeliveredNotices.
    std::map<std::string, gtk::GObjectRef<NotifyNotification>> m_delivered;
};

}  // namespace platform
