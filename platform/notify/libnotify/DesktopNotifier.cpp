#include "platform/notify/libnotify/DesktopNotifier.h"

#include <libnotify/notify.h>

#include <memory>

#include "platform/foundation/Log.h"
#include "platform/foundation/Owned.h"
#include "platform/notify/libnotify/LibnotifyBackend.h"
#include "platform/ui/gtk/GObjectRef.h"

namespace platform {

DesktopNotifier::DesktopNotifier(std::string applicationName)
    : m_applicationName(std::move(applicationName)) {}

DesktopNotifier::~DesktopNotifier() {
    if (m_initialised) notify_uninit();
}

bool DesktopNotifier::notify(const Notice& notice) {
    // Initialised on first use: start-up does not wait for the session bus.
    if (!m_initialised) m_initialised = notify_init(m_applicationName.c_str());
    if (!m_initialised) {
        logfDebug("Notice \"%s\" not shown: no notification service", notice.name.c_str());
        return false;
    }
    const char* icon = notice.iconPath ? notice.iconPath->c_str() : nullptr;
    auto& notification = m_delivered[notice.name];
    if (notification) {
        // The server puts the new text in place of the old notice, under the id it gave it.
        notify_notification_update(notification.get(), notice.title.c_str(),
                                   notice.description.c_str(), icon);
    } else {
        notification = gtk::GObjectRef<NotifyNotification>::adopt(
            notify_notification_new(notice.title.c_str(), notice.description.c_str(), icon));
        notify_notification_set_app_name(notification.get(), m_applicationName.c_str());
        notify_notification_set_category(notification.get(), "im");
        // Some desktops never show a notice of low urgency.
        notify_notification_set_urgency(notification.get(), NOTIFY_URGENCY_NORMAL);
        // Kept out of the desktop's message list once it has been seen.
        notify_notification_set_hint(notification.get(), "transient", g_variant_new_boolean(TRUE));
    }
    GError* raw = nullptr;
    const bool shown = notify_notification_show(notification.get(), &raw);
    Owned<GError, g_error_free> error(raw);
    if (!shown) {
        logfDebug("Notice \"%s\" not shown: %s", notice.name.c_str(),
                  error ? error->message : "unknown error");
    }
    return shown;
}

void DesktopNotifier::removeAllDeliveredNotices() {
    for (auto& [name, notification] : m_delivered) {
        // A notice the user already closed answers with an error, which changes nothing.
        notify_notification_close(notification.get(), nullptr);
    }
    m_delivered.clear();
}

void DesktopNotifier::removeDeliveredNotice(const std::string& name) {
    auto found = m_delivered.find(name);
    if (found == m_delivered.end()) return;
    // As above, a notice already gone answers with an error that changes nothing. The next
    // notice of the name is a new one: the server has forgotten this one's id.
    notify_notification_close(found->second.get(), nullptr);
    m_delivered.erase(found);
}

}  // namespace platform

namespace platform::libnotify {

void install(Backends& backends, const std::string& applicationName) {
    backends.notifier = std::make_shared<DesktopNotifier>(applicationName);
}

}  // namespace platform::libnotify
