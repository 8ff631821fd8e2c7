#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "tests/support/ChildProcess.h"
#include "tests/support/Patience.h"

// A window manager on the test's own X server (openbox, as on a desktop without a compositor):
// windows get a frame with a border and a title bar, and the manager places and moves them as it
// reads their requests. Positions are then tested as users meet them; a bare X server puts every
// window exactly where it asks. Stopped by its own pid when the object goes.
class PrivateWindowManager {
  public:
    PrivateWindowManager() {
        m_process = std::make_unique<ChildProcess>(
            std::vector<std::string>{"openbox", "--sm-disable", "--replace"});
        // It manages windows once it has announced itself on the root window.
        m_ready = waitUntil([this] { return m_process->running() && announced(); }, kPatience);
    }

    bool ready() const { return m_ready; }

  private:
    static bool announced() {
        FILE* pipe = popen("xprop -root -notype _NET_SUPPORTING_WM_CHECK 2>/dev/null", "r");
        if (!pipe) return false;
        std::string answer;
        char buffer[256];
        while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) answer.append(buffer, n);
        pclose(pipe);
        return answer.find("window id") != std::string::npos;
    }

    std::unique_ptr<ChildProcess> m_process;
    bool m_ready = false;
};
