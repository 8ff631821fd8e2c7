#include "platform/foundation/ManualClock.h"

#include <algorithm>

namespace platform {

namespace {
// Steps a test adds up (0.49 + 0.01) need not sum exactly to the interval it means (0.5).
constexpr double Tolerance = 1e-9;
}  // namespace

ManualClock::ManualClock() {
    pushClock(this);
}

ManualClock::~ManualClock() {
    popClock(this);
    for (Entry& entry : m_timers) forget(*entry.timer);
}

void ManualClock::schedule(std::shared_ptr<Timer> timer) {
    double due = m_now + timer->timeInterval();
    m_timers.push_back(Entry{due, m_nextOrder++, std::move(timer)});
}

void ManualClock::unschedule(Timer& timer) {
    std::erase_if(m_timers, [&](const Entry& entry) { return entry.timer.get() == &timer; });
}

void ManualClock::advance(double seconds) {
    double end = m_now + std::max(seconds, 0.0);
    for (;;) {
        auto next =
            std::min_element(m_timers.begin(), m_timers.end(), [](const Entry& a, const Entry& b) {
                return a.due < b.due || (a.due == b.due && a.order < b.order);
            });
        if (next == m_timers.end() || next->due > end + Tolerance) break;
        m_now = std::max(m_now, next->due);
        std::shared_ptr<Timer> timer = next->timer;
        timer->fire();  // unschedules itself before its block runs
    }
    m_now = std::max(m_now, end);
}

}  // namespace platform
