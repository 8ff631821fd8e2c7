#pragma once

#include <glib.h>

#include <chrono>

namespace platform::webkit {

// Runs the default main context until `done` answers true or the time-out passes; whether it
// ended by `done`. A wake-up source keeps the wait from blocking past the limit.
template <typename Done>
bool spinUntil(Done done, std::chrono::milliseconds timeout) {
    bool expired = false;
    guint wake = g_timeout_add(
        static_cast<guint>(timeout.count()),
        [](gpointer flag) -> gboolean {
            *static_cast<bool*>(flag) = true;
            return G_SOURCE_REMOVE;
        },
        &expired);
    while (!done() && !expired) g_main_context_iteration(nullptr, TRUE);
    if (!expired) g_source_remove(wake);
    return done();
}

}  // namespace platform::webkit
