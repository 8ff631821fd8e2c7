#pragma once

#include <gio/gio.h>

#include <string>

#include "platform/ui/gtk/GObjectRef.h"

namespace platform::gtk {

// Sets an environment variable for this program, unless the user has set it already. Such
// settings tune the libraries this process loads (drawing without OpenGL, say); the programs it
// launches get the environment without them.
void setOwnEnvironment(const char* name, const char* value);

// A launch context whose environment is this process's without the settings above.
GObjectRef<GAppLaunchContext> launchContext();

// Opens `url` in the desktop's default application for it; a failure is logged.
bool openWithDefaultApplication(const std::string& url);

// Opens the default display for GTK (once; later calls answer whether it is open), under the name
// of the main bundle (Bundle::setMain) once the program has given one. The programs
// draw with Cairo only, so GDK is told to leave OpenGL alone: otherwise it loads the GL driver
// (Mesa's, with LLVM: some 40 MB) only to rank the X visuals.
bool openDisplay();

}  // namespace platform::gtk
