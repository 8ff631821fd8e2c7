#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/foundation/Timer.h"

namespace platform {

// A timer clock for tests: while one is alive, new timers wait on it instead of the GLib main
// context, and they fire only when the test advances time, in the order they fall due. Clocks
// nest like LogCapture; destroying one invalidates the timers still waiting on it.
class ManualClock final : public TimerClock {
  public:
    ManualClock();
    ~ManualClock() override;
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    // Seconds since the clock was made.
    double now() const { return m_now; }
    // Moves time forward, firing every timer that falls due on the way at its own moment (so a
    // timer scheduled by a firing block fires too when its moment comes before the end).
    void advance(double seconds);
    // Timers scheduled and neither fired nor invalidated.
    std::size_t pendingTimerCount() const { return m_timers.size(); }

  protected:
    void schedule(std::shared_ptr<Timer> timer) override;
    void unschedule(Timer& timer) override;

  private:
    struct Entry {
        double due;
        std::uint64_t order;  // scheduling order breaks ties between equal moments
        std::shared_ptr<Timer> timer;
    };

    double m_now = 0;
    std::uint64_t m_nextOrder = 0;
    std::vector<Entry> m_timers;
};

}  // namespace platform
