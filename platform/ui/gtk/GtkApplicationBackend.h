#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>

#include "platform/ui/Application.h"
#include "platform/ui/gtk/GObjectRef.h"

namespace platform::gtk {

// The application on a GTK desktop: a GtkApplication under the program's identifier. The first
// start finishes launching; starting the program again (or activating it from the desktop)
// reaches the running one as a reopen, with that start's environment and working folder. What
// the delegate answers for it goes to that start's standard error, which then ends with status 1.
// The application holds itself, so closing the last window
// leaves it running unless the delegate says otherwise. Where no session bus lets the program
// claim its name, it runs on its own.
class GtkApplicationBackend : public ApplicationBackend {
  public:
    explicit GtkApplicationBackend(std::string applicationId);
    ~GtkApplicationBackend() override;

    int run(int argc, char** argv) override;
    void terminate() override;
    void mainMenuChanged() override;
    void menuBarVisibilityChanged() override;
    bool openURL(const std::string& url) override;

  private:
    static void onActivate(GApplication* app, GtkApplicationBackend* self);
    static int onCommandLine(GApplication* app, GApplicationCommandLine* commandLine,
                             GtkApplicationBackend* self);
    static void onWindowRemoved(GtkApplication* app, GtkWindow* window,
                                GtkApplicationBackend* self);
    GObjectRef<GtkApplication> makeApplication(GApplicationFlags flags);

    std::string m_applicationId;
    GObjectRef<GtkApplication> m_app;
    bool m_launched = false;
    bool m_held = false;
};

}  // namespace platform::gtk
