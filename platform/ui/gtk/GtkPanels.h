#pragma once

namespace platform::gtk {

// Installs the GTK dialogs behind Alert, SavePanel, ColorPanel and FontPanel; each runs modally
// (gtk_dialog_run, a nested main loop) over the key window.
void installPanels();

}  // namespace platform::gtk
