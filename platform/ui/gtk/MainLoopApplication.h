#pragma once

#include <string>

#include "platform/ui/Application.h"

namespace platform::gtk {

// The application as a plain main loop, for a process with no application object, menu bar or
// main window of its own (the input method): run() tells the delegate the launch finished and
// turns the GLib main loop, which GTK and IBus share, until terminate(); URLs open in the
// desktop's default handler.
class MainLoopApplication final : public ApplicationBackend {
  public:
    int run(int argc, char** argv) override;
    void terminate() override;
    void mainMenuChanged() override {}
    void menuBarVisibilityChanged() override {}
    bool openURL(const std::string& url) override;
};

}  // namespace platform::gtk
