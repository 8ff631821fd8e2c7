#pragma once

#include <string>

#include "platform/ui/Backends.h"

namespace platform::libnotify {

// The one way a program sends its notices to the desktop's notification server: puts a
// DesktopNotifier under the application name into the set as its notifier.
void install(Backends& backends, const std::string& applicationName);

}  // namespace platform::libnotify
