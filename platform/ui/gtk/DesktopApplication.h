#pragma once

#include <memory>
#include <string>

#include "platform/ui/Application.h"

namespace platform::gtk {

// The application backend of a desktop program (a GtkApplication under the identifier; see
// GtkApplicationBackend), for program entries that keep GTK's headers out.
std::unique_ptr<ApplicationBackend> makeDesktopApplication(const std::string& applicationId);

}  // namespace platform::gtk
