#include "platform/foundation/GLibTimerClock.h"

#include <glib.h>

#include <cmath>
#include <map>
#include <memory>

#include "platform/foundation/Timer.h"

namespace platform {

namespace {

class GLibClock final : public TimerClock {
  protected:
    void schedule(std::shared_ptr<Timer> timer) override {
        auto milliseconds = static_cast<guint>(std::ceil(timer->timeInterval() * 1000.0));
        Timer* key = timer.get();
        auto* source = g_timeout_source_new(milliseconds);
        g_source_set_callback(source, &GLibClock::dispatch, new Pending{this, key},
                              &destroyPending);
        guint id = g_source_attach(source, nullptr);
        g_source_unref(source);
        m_timers[key] = Entry{std::move(timer), id};
    }

    void unschedule(Timer& timer) override {
        auto it = m_timers.find(&timer);
        if (it == m_timers.end()) return;
        guint id = it->second.source;
        // Erase first: destroying the source must not find the entry again.
        std::shared_ptr<Timer> keep = std::move(it->second.timer);
        m_timers.erase(it);
        if (GSource* source = g_main_context_find_source_by_id(nullptr, id))
            g_source_destroy(source);
    }

  private:
    struct Entry {
        std::shared_ptr<Timer> timer;
        guint source = 0;
    };
    struct Pending {
        GLibClock* clock;
        Timer* timer;
    };

    static gboolean dispatch(gpointer data) {
        auto* pending = static_cast<Pending*>(data);
        auto& timers = pending->clock->m_timers;
        auto it = timers.find(pending->timer);
        if (it != timers.end()) {
            std::shared_ptr<Timer> timer = std::move(it->second.timer);
            timers.erase(it);
            timer->fire();
        }
        return G_SOURCE_REMOVE;
    }
    static void destroyPending(gpointer data) { delete static_cast<Pending*>(data); }

    std::map<Timer*, Entry> m_timers;
};

}  // namespace

TimerClock& glibTimerClock() {
    // Never destroyed: timers may still be pending when static destructors run.
    static GLibClock* clock = new GLibClock;
    return *clock;
}

}  // namespace platform
