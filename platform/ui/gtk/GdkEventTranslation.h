#pragma once

#include <gdk/gdk.h>

#include <cstdint>
#include <optional>

#include "platform/ui/Event.h"

namespace platform::gtk {

// GDK's modifier state as our modifier flags. Control stands for Command, as Ctrl does on a Linux
// desktop for the shortcuts that are Command's on the Mac (copy, select all); Alt is Option.
std::uint64_t modifierFlagsFromGdk(guint state);

// A key press or release as our key event: the characters it types (none for function and
// cursor keys) and the Mac virtual key code of the keys the views look at.
Event keyEventFromGdk(const GdkEventKey& key);

// A wheel step or a touchpad swipe as a scroll-wheel event at the location (window coordinates),
// in lines as GTK counts them (not precise deltas): a notch up is one line towards the top, and
// GDK's y, which grows downwards, is turned over. None for a stop of a touchpad swipe that moved
// nothing.
std::optional<Event> scrollEventFromGdk(const GdkEventScroll& scroll, Point location);

}  // namespace platform::gtk
