#include <gtest/gtest.h>

#include <cmath>

#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/Value.h"
#include "sqdb/SQDatabase.h"
#include "tests/support/ScopedEnvironment.h"

using platform::Bytes;
using platform::Date;
using platform::DateFormatter;
using platform::Value;

TEST(FoundationValue, RemembersTheCTypeAndComparesNumbersByValue) {
    EXPECT_EQ(Value(true).type(), Value::Type::Bool);
    EXPECT_EQ(Value('c').type(), Value::Type::Char);
    EXPECT_EQ(Value(1u).type(), Value::Type::UnsignedInt);
    EXPECT_EQ(Value(1L).type(), Value::Type::Long);
    EXPECT_EQ(Value(1LL).type(), Value::Type::Long);
    EXPECT_EQ(Value(1ULL).type(), Value::Type::UnsignedLong);
    EXPECT_EQ(Value(static_cast<const char*>(nullptr)).type(), Value::Type::Null);
    EXPECT_EQ(Value(std::optional<int>()).type(), Value::Type::Null);
    EXPECT_EQ(Value(std::optional<int>(3)), Value(3));

    EXPECT_EQ(Value(1), Value(1.0));
    EXPECT_EQ(Value(true), Value(1LL));
    EXPECT_NE(Value(UINT64_MAX), Value(-1));
    EXPECT_NE(Value("1"), Value(1));
    EXPECT_NE(Value(), Value(0));
    EXPECT_EQ(Value(Bytes{1}), Value(Bytes{1}));

    EXPECT_EQ(Value("42abc").intValue(), 42);
    EXPECT_EQ(Value(UINT64_MAX).unsignedLongLongValue(), UINT64_MAX);
    EXPECT_EQ(Value(-1).unsignedLongLongValue(), UINT64_MAX);
    EXPECT_FALSE(Value(0.0).boolValue());
    EXPECT_TRUE(Value(0.5).boolValue());
}

// A real number or a date read as an integer is cut towards zero and stops at the ends of the
// range (a plain conversion out of range is undefined); unsigned, a negative one keeps its bits.
TEST(FoundationValue, RealsAndDatesReadAsIntegersStopAtTheEndsOfTheRange) {
    EXPECT_EQ(Value(-2.9).longLongValue(), -2);
    EXPECT_EQ(Value(1e300).longLongValue(), INT64_MAX);
    EXPECT_EQ(Value(-1e300).longLongValue(), INT64_MIN);
    EXPECT_EQ(Value(std::nan("")).longLongValue(), 0);
    EXPECT_EQ(Value(-1.5).unsignedLongLongValue(), UINT64_MAX);
    EXPECT_EQ(Value(1e30f).unsignedLongLongValue(), UINT64_MAX);
    EXPECT_EQ(Value(Date::dateWithTimeIntervalSince1970(-2147483648.0)).unsignedLongLongValue(),
              uint64_t(-2147483648LL));
}

TEST(FoundationValue, Descriptions) {
    EXPECT_EQ(Value().description(), "<null>");
    EXPECT_EQ(Value(false).description(), "0");
    EXPECT_EQ(Value(-12).description(), "-12");
    EXPECT_EQ(Value(UINT64_MAX).description(), "18446744073709551615");
    EXPECT_EQ(Value(0.1).description(), "0.1");
    EXPECT_EQ(Value(Bytes{1, 2, 3, 4, 255}).description(), "<01020304 ff>");
    EXPECT_EQ(Value(Date::dateWithTimeIntervalSince1970(-0.5)).description(),
              "1969-12-31 23:59:59 +0000");
}

TEST(FoundationDateFormatter, StoreableFormatIsUTCWhateverTheZone) {
    DateFormatter formatter = SQDatabase::storeableDateFormat("yyyy-MM-dd'T'HH:mm:ss.SSSZ");
    EXPECT_EQ(formatter.localeIdentifier(), "en_US");
    EXPECT_EQ(formatter.secondsFromGMT(), 0);
    Date moment = Date::dateWithTimeIntervalSince1970(951782400.25);  // 2000-02-29
    EXPECT_EQ(formatter.stringFromDate(moment), "2000-02-29T00:00:00.250+0000");
    EXPECT_EQ(formatter.dateFromString("2000-02-29T00:00:00.250+0000"), moment);
    // The text's own offset wins.
    EXPECT_EQ(formatter.dateFromString("2000-02-29T02:00:00.250+0200"), moment);

    EXPECT_FALSE(formatter.dateFromString("2001-02-29T00:00:00.000+0000"));
    EXPECT_FALSE(formatter.dateFromString("2000-02-29T00:00:00.250+0000 extra"));
    EXPECT_FALSE(formatter.dateFromString("2000-13-01T00:00:00.000+0000"));
    EXPECT_FALSE(formatter.dateFromString(""));
}

TEST(FoundationDateFormatter, NamesTwelveHourClockAndPackedDigits) {
    DateFormatter formatter("EEEE, d MMMM yyyy h:mm a");
    Date moment = Date::dateWithTimeIntervalSince1970(-86400 + 13 * 3600 + 5 * 60);
    EXPECT_EQ(formatter.stringFromDate(moment), "Wednesday, 31 December 1969 1:05 PM");
    EXPECT_EQ(formatter.dateFromString("Wednesday, 31 December 1969 1:05 PM"), moment);
    EXPECT_EQ(formatter.dateFromString("wed, 31 dec 1969 1:05 pm"), moment);
    formatter.setSecondsFromGMT(8 * 3600);
    EXPECT_EQ(formatter.stringFromDate(moment), "Wednesday, 31 December 1969 9:05 PM");

    DateFormatter packed("yyyyMMddHHmmss");
    EXPECT_EQ(packed.dateFromString("19700102030405"),
              Date::dateWithTimeIntervalSince1970(86400 + 3 * 3600 + 4 * 60 + 5));
    DateFormatter quoted("'at' HH 'o''clock'");
    EXPECT_EQ(quoted.stringFromDate(Date()), "at 00 o'clock");
    EXPECT_EQ(quoted.dateFromString("at 05 o'clock"),
              Date::dateWithTimeIntervalSince1970(5 * 3600));
}

// The caller's own zone and language reach neither way: the formatter names both.
TEST(FoundationDateFormatter, IgnoresTheProcessZoneAndLanguage) {
    ScopedEnvironment zone("TZ", "Asia/Kathmandu");
    ScopedEnvironment language("LC_ALL", "fr_FR.UTF-8");
    ScopedEnvironment lang("LANG", "fr_FR.UTF-8");
    DateFormatter formatter("EEE d MMM yyyy HH:mm ZZZZZ");
    Date moment = Date::dateWithTimeIntervalSince1970(951782400);
    EXPECT_EQ(formatter.stringFromDate(moment), "Tue 29 Feb 2000 00:00 Z");
    EXPECT_EQ(formatter.dateFromString("Tue 29 Feb 2000 00:00 Z"), moment);
    formatter.setSecondsFromGMT(-(3 * 3600 + 30 * 60));
    EXPECT_EQ(formatter.stringFromDate(moment), "Mon 28 Feb 2000 20:30 -03:30");
}
