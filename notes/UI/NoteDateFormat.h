#pragma once

#include <string>

#include "platform/foundation/Date.h"

namespace zelvo {

// A note's date as the note list shows it: "yyyy-MM-dd HH:mm" in the local time zone, with the
// zone's offset at that moment (summer time included).
std::string noteListDateString(const platform::Date& date);

}  // namespace zelvo
