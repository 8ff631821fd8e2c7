#include "platform/foundation/DateFormatter.h"

#include <unicode/ucal.h>
#include <unicode/udat.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/foundation/Log.h"
#include "platform/foundation/UnicodeString.h"

namespace platform {
namespace {

// ICU names a fixed offset by a custom zone ID: "GMT", "GMT+08:00", "GMT-03:30:15".
std::string zoneID(int secondsFromGMT) {
    if (secondsFromGMT == 0) return "GMT";
    int magnitude = std::abs(secondsFromGMT);
    std::string id = stringWithFormat("GMT%c%02d:%02d", secondsFromGMT < 0 ? '-' : '+',
                                      magnitude / 3600, magnitude / 60 % 60);
    if (magnitude % 60 != 0) id += stringWithFormat(":%02d", magnitude % 60);
    return id;
}

// A formatter for the pattern, locale and zone, or null (logged) when ICU refuses them. Its
// calendar is proleptic Gregorian (no Julian dates before 1582) and strict: a parsed text that
// names no real moment (February 30th, hour 25) fails instead of rolling over. Parsing stays
// lenient otherwise: names in any case and in short or full form, as the pattern's letters allow.
icu::LocalUDateFormatPointer openFormat(const std::string& pattern, const std::string& locale,
                                        int secondsFromGMT) {
    std::u16string zone = utf16FromUtf8(zoneID(secondsFromGMT));
    std::u16string pattern16 = utf16FromUtf8(pattern);
    UErrorCode status = U_ZERO_ERROR;
    icu::LocalUDateFormatPointer format(udat_open(
        UDAT_PATTERN, UDAT_PATTERN, locale.c_str(), zone.data(), static_cast<int32_t>(zone.size()),
        pattern16.data(), static_cast<int32_t>(pattern16.size()), &status));
    if (U_SUCCESS(status)) {
        icu::LocalUCalendarPointer calendar(
            ucal_clone(udat_getCalendar(format.getAlias()), &status));
        if (U_SUCCESS(status)) {
            constexpr UDate kLongBeforeAnyDate = -8.64e15;  // some 270,000 years back
            ucal_setGregorianChange(calendar.getAlias(), kLongBeforeAnyDate, &status);
            ucal_setAttribute(calendar.getAlias(), UCAL_LENIENT, 0);
            udat_setCalendar(format.getAlias(), calendar.getAlias());
        }
    }
    if (U_FAILURE(status)) {
        logf("DateFormatter: ICU refuses the pattern \"%s\" (%s)", pattern.c_str(),
             u_errorName(status));
        return icu::LocalUDateFormatPointer(nullptr);
    }
    return format;
}

// Opening an ICU formatter costs some hundred times what formatting one date with it does, and
// callers make a DateFormatter per date: each thread keeps the few formatters it used last (a
// formatter serves one thread at a time).
UDateFormat* sharedFormat(const std::string& pattern, const std::string& locale,
                          int secondsFromGMT) {
    struct Entry {
        std::string pattern;
        std::string locale;
        int secondsFromGMT;
        icu::LocalUDateFormatPointer format;
    };
    constexpr size_t kKept = 8;
    thread_local std::vector<Entry> kept;  // the most recently used first
    auto found = std::find_if(kept.begin(), kept.end(), [&](const Entry& entry) {
        return entry.secondsFromGMT == secondsFromGMT && entry.pattern == pattern &&
               entry.locale == locale;
    });
    if (found == kept.end()) {
        auto format = openFormat(pattern, locale, secondsFromGMT);
        if (!format.isValid()) return nullptr;
        if (kept.size() == kKept) kept.pop_back();
        kept.push_back({pattern, locale, secondsFromGMT, std::move(format)});
        found = kept.end() - 1;
    }
    std::rotate(kept.begin(), found, found + 1);
    return kept.front().format.getAlias();
}

}  // namespace

std::string DateFormatter::stringFromDate(const Date& date) const {
    UDateFormat* format = sharedFormat(m_dateFormat, m_localeIdentifier, m_secondsFromGMT);
    if (!format) return {};
    UDate moment = date.timeIntervalSince1970() * 1000.0;
    std::u16string text(64, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = udat_format(format, moment, text.data(), static_cast<int32_t>(text.size()),
                                 nullptr, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        text.resize(static_cast<size_t>(length));
        status = U_ZERO_ERROR;
        udat_format(format, moment, text.data(), length, nullptr, &status);
    }
    if (U_FAILURE(status)) return {};
    text.resize(static_cast<size_t>(length));
    return utf8FromUtf16(text);
}

std::optional<Date> DateFormatter::dateFromString(const std::string& text) const {
    UDateFormat* format = sharedFormat(m_dateFormat, m_localeIdentifier, m_secondsFromGMT);
    if (!format) return std::nullopt;
    std::u16string text16 = utf16FromUtf8(text);
    UErrorCode status = U_ZERO_ERROR;
    int32_t position = 0;
    UDate moment =
        udat_parse(format, text16.data(), static_cast<int32_t>(text16.size()), &position, &status);
    // The whole text must follow the pattern, not only its beginning.
    if (U_FAILURE(status) || position != static_cast<int32_t>(text16.size())) return std::nullopt;
    return Date::dateWithTimeIntervalSince1970(moment / 1000.0);
}

}  // namespace platform
