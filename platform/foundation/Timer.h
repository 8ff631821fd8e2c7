#pragma once

#include <functional>
#include <memory>

namespace platform {

class TimerClock;

// NSTimer, one-shot only: a block run once after an interval on the main run loop. The clock
// that schedules it owns it until it fires or is invalidated, so holders keep a weak_ptr.
class Timer : public std::enable_shared_from_this<Timer> {
  public:
    using Block = std::function<void(Timer&)>;

    // Schedules a timer on the current timer clock (the GLib main context, or the innermost live
    // ManualClock). An interval that is not positive becomes 0.1 ms, as NSTimer does.
    static std::shared_ptr<Timer> scheduledTimerWithTimeInterval(double seconds, Block block);

    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Runs the block now, unless the timer is no longer valid; a one-shot timer is invalid from
    // the moment it fires, so the block sees isValid() false.
    void fire();
    // Stops the timer from firing and releases its block; harmless when already invalid.
    void invalidate();
    bool isValid() const { return m_valid; }
    double timeInterval() const { return m_interval; }

  private:
    struct Token {};

  public:
    Timer(Token, double seconds, Block block);

  private:
    friend class TimerClock;

    double m_interval;
    Block m_block;
    bool m_valid = true;
    TimerClock* m_clock = nullptr;
};

// Where scheduled timers wait for their moment. Programs use the GLib main context; a test puts a
// ManualClock in front for as long as it lives.
class TimerClock {
  public:
    virtual ~TimerClock();
    // The clock new timers are scheduled on.
    static TimerClock& current();

  protected:
    TimerClock() = default;
    // Takes ownership of a timer that must fire after its interval, counted from now.
    virtual void schedule(std::shared_ptr<Timer> timer) = 0;
    // Drops a timer that fired or was invalidated; unknown timers are ignored.
    virtual void unschedule(Timer& timer) = 0;

    // Makes `clock` current until popClock is called with it (innermost first).
    static void pushClock(TimerClock* clock);
    static void popClock(TimerClock* clock);
    // Detaches a timer from this clock without firing it (used when a clock goes away).
    static void forget(Timer& timer);

  private:
    friend class Timer;
    void adopt(std::shared_ptr<Timer> timer);
};

}  // namespace platform
