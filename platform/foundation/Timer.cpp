#include "platform/foundation/Timer.h"

#include <algorithm>
#include <vector>

#include "platform/foundation/GLibTimerClock.h"

namespace platform {

namespace {

// The shortest interval NSTimer accepts; anything not positive (NaN included) is raised to it.
constexpr double MinimumInterval = 0.0001;

std::vector<TimerClock*>& clockStack() {
    static std::vector<TimerClock*> stack;
    return stack;
}

}  // namespace

Timer::Timer(Token, double seconds, Block block)
    : m_interval(seconds > MinimumInterval ? seconds : MinimumInterval),
      m_block(std::move(block)) {}

Timer::~Timer() = default;

std::shared_ptr<Timer> Timer::scheduledTimerWithTimeInterval(double seconds, Block block) {
    auto timer = std::make_shared<Timer>(Token{}, seconds, std::move(block));
    TimerClock::current().adopt(timer);
    return timer;
}

void Timer::fire() {
    if (!m_valid) return;
    // The clock's reference may be the last one; keep the timer alive through its own block.
    std::shared_ptr<Timer> self = shared_from_this();
    Block block = std::move(m_block);
    invalidate();
    if (block) block(*this);
}

void Timer::invalidate() {
    if (!m_valid) return;
    m_valid = false;
    m_block = nullptr;
    if (TimerClock* clock = m_clock) {
        m_clock = nullptr;
        clock->unschedule(*this);
    }
}

TimerClock::~TimerClock() = default;

TimerClock& TimerClock::current() {
    auto& stack = clockStack();
    if (!stack.empty()) return *stack.back();
    return glibTimerClock();
}

void TimerClock::adopt(std::shared_ptr<Timer> timer) {
    timer->m_clock = this;
    schedule(std::move(timer));
}

void TimerClock::pushClock(TimerClock* clock) {
    clockStack().push_back(clock);
}

void TimerClock::popClock(TimerClock* clock) {
    auto& stack = clockStack();
    auto it = std::find(stack.begin(), stack.end(), clock);
    if (it != stack.end()) stack.erase(it);
}

void TimerClock::forget(Timer& timer) {
    timer.m_clock = nullptr;
    timer.m_valid = false;
    timer.m_block = nullptr;
}

}  // namespace platform
