#pragma once

namespace platform {

class TimerClock;

// The clock programs run on: each timer is a GLib timeout on the default main context, so it
// fires while the RunLoop runs or iterates.
TimerClock& glibTimerClock();

}  // namespace platform
