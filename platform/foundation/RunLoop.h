#pragma once

#include <functional>
#include <vector>

#include "platform/foundation/Date.h"

namespace platform {

// NSRunLoop of the main thread, over the GLib default main context: timers (Timer) and blocks
// queued with performBlock are dispatched while it runs. Runs nest, as modal loops do; stop()
// ends the innermost one. Main thread only.
class RunLoop {
  public:
    static RunLoop& mainRunLoop();
    static RunLoop& currentRunLoop() { return mainRunLoop(); }

    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

    // Runs until stop().
    void run();
    // Runs until the moment has passed or stop() is called; returns at once for a past moment.
    void runUntilDate(Date limit);
    // Dispatches what is due, waiting for something when `mayBlock`; whether anything ran.
    bool iterate(bool mayBlock);
    // Ends the innermost run; nothing happens when no run is going on.
    void stop();
    bool isRunning() const { return !m_loops.empty(); }

    // Queues a block for the next turn of the loop (main-queue delivery).
    void performBlock(std::function<void()> block);

  private:
    // One run in progress (defined where the loop's library is seen).
    struct Loop;

    RunLoop() = default;
    void runLoop(Loop& loop);

    std::vector<Loop*> m_loops;  // innermost last
};

}  // namespace platform
