#pragma once

#include <string>

namespace platform::libnotify {

// The one way a program sends its notices to the desktop's notification server: installs a
// DesktopNotifier under the application name as the process-wide notifier (Notifier::shared).
void install(const std::string& applicationName);

}  // namespace platform::libnotify
