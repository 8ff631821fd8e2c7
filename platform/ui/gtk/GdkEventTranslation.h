#pragma once

#include <gdk/gdk.h>

#include <cstdint>

#include "platform/ui/Event.h"

namespace platform::gtk {

// GDK's modifier state as our modifier flags. Control stands for Command, as Ctrl does on a Linux
// desktop for the shortcuts that are Command's on the Mac (copy, select all); Alt is Option.
std::uint64_t modifierFlagsFromGdk(guint state);

// A key press or release as our key event: the characters it types (none for function and
// cursor keys) and the Mac virtual key code of the keys the views look at.
Event keyEventFromGdk(const GdkEventKey& key);

}  // namespace platform::gtk
