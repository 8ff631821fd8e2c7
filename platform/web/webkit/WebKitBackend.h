#pragma once

#include "platform/ui/Backends.h"

namespace platform::webkit {

// The one way a program shows web pages with WebKitGTK: fills the set so that WebView::create
// makes WebKit pages and windows on the GTK desktop (platform::gtk::install) show a
// WebContentView's page where the view is. Main thread.
void install(Backends& backends);

}  // namespace platform::webkit
