#include "platform/foundation/RunLoop.h"

#include <glib.h>

#include <algorithm>
#include <cmath>

namespace platform {

RunLoop& RunLoop::mainRunLoop() {
    static RunLoop* loop = new RunLoop;
    return *loop;
}

// A turn of run() is a GLib main loop of its own on the default context, so that stop() ends the
// innermost run only.
struct RunLoop::Loop {
    GMainLoop* glib;  // owned: unreferenced when the run ends
};

void RunLoop::runLoop(Loop& loop) {
    m_loops.push_back(&loop);
    g_main_loop_run(loop.glib);
    m_loops.pop_back();
    g_main_loop_unref(loop.glib);
}

void RunLoop::run() {
    Loop loop{g_main_loop_new(nullptr, FALSE)};
    runLoop(loop);
}

void RunLoop::runUntilDate(Date limit) {
    double seconds = limit.timeIntervalSince1970() - Date::now().timeIntervalSince1970();
    if (!(seconds > 0)) return;
    Loop loop{g_main_loop_new(nullptr, FALSE)};
    auto milliseconds = static_cast<guint>(std::min(std::ceil(seconds * 1000.0), 4.0e9));
    GSource* deadline = g_timeout_source_new(milliseconds);
    g_source_set_callback(
        deadline,
        [](gpointer data) -> gboolean {
            g_main_loop_quit(static_cast<GMainLoop*>(data));
            return G_SOURCE_REMOVE;
        },
        g_main_loop_ref(loop.glib), reinterpret_cast<GDestroyNotify>(g_main_loop_unref));
    g_source_attach(deadline, nullptr);
    runLoop(loop);
    // Stopped early: the deadline must not end a later run.
    g_source_destroy(deadline);
    g_source_unref(deadline);
}

bool RunLoop::iterate(bool mayBlock) {
    return g_main_context_iteration(nullptr, mayBlock ? TRUE : FALSE);
}

void RunLoop::stop() {
    if (!m_loops.empty()) g_main_loop_quit(m_loops.back()->glib);
}

void RunLoop::performBlock(std::function<void()> block) {
    auto* held = new std::function<void()>(std::move(block));
    g_idle_add_full(
        G_PRIORITY_DEFAULT,
        [](gpointer data) -> gboolean {
            (*static_cast<std::function<void()>*>(data))();
            return G_SOURCE_REMOVE;
        },
        held, [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
}

}  // namespace platform
