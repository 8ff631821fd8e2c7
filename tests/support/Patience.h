#pragma once

#include <chrono>

// How long a test waits for what another process does in its own time: a page to load, a page's
// script to answer, a daemon's signal to arrive. CI runs every case at once on a machine that
// other work loads too, so the wait is generous; one that ends on success costs nothing more.
inline constexpr std::chrono::seconds kPatience{30};
