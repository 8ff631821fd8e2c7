#pragma once

#include <gtk/gtk.h>

#include "platform/web/WebView.h"

namespace platform {

// The GTK widget that shows a web view, taken out of the off-screen window that hosts it until a
// window wants it, so a GTK container can pack it. The WebView keeps its own reference: it must
// outlive the container's use of the widget. Null for a web view of another backend.
GtkWidget* embeddableWidget(WebView& view);

}  // namespace platform
