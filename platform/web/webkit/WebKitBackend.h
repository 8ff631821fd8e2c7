#pragma once

namespace platform::webkit {

// The one way a program shows web pages with WebKitGTK: WebView::create makes WebKit pages from
// now on, and windows on the GTK desktop (platform::gtk::install) show a WebContentView's page
// where the view is. Main thread; calling it again changes nothing.
void install();

}  // namespace platform::webkit
