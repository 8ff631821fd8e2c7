#pragma once

namespace platform::gtk {

// Shows Alert and SavePanel as GTK dialogs from now on; each runs modally (gtk_dialog_run, a
// nested main loop) over the key window.
void installDialogs();

}  // namespace platform::gtk
