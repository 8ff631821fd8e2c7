#pragma once

#include <webkit2/webkit2.h>

namespace platform::webkit {

// The one web context of the program, made on first use and kept for its life. Its pages are
// documents of the program's own, shown once and drawn in software.
WebKitWebContext* sharedWebContext();

}  // namespace platform::webkit
