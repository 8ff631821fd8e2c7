#include "notes/UI/NoteDateFormat.h"

#include <time.h>

#include <cmath>

#include "platform/foundation/DateFormatter.h"

namespace zelvo {

std::string noteListDateString(const platform::Date& date) {
    platform::DateFormatter formatter("yyyy-MM-dd HH:mm");
    auto seconds = time_t(std::floor(date.timeIntervalSince1970()));
    struct tm local {};
    if (localtime_r(&seconds, &local)) formatter.setSecondsFromGMT(int(local.tm_gmtoff));
    return formatter.stringFromDate(date);
}

}  // namespace zelvo
