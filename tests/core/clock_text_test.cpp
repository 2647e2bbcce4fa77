#include "core/clock_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>
#include <string_view>

#include "core/date_picture.h"
#include "core/ole_date.h"

namespace talvessa {
namespace {

// Friday 5 March 2021.
double march5(int hour, int minute, int second) {
    return oleDateFromCalendar(2021, 3, 5, hour, minute, second);
}

const std::string k50Bytes(50, '-');

struct ClockTextRow {
    const char* name;
    double dateTime;
    const char* datePicture;
    const char* timePicture;
    std::int32_t force24Hour;
    std::string expected;
    bool usesNames;  // depends on the locale's words, checked with English names only
};

const ClockTextRow kRows[] = {
    {"00:00:05", march5(0, 0, 5), "", "hh:mm:ss", 1, "00:00:05", false},
    {"13:05:09 on the 24-hour clock", march5(13, 5, 9), "", "hh:mm:ss", 1, "13:05:09", false},
    {"13:05:09 with the switch off", march5(13, 5, 9), "", "hh:mm:ss", 0, "01:05:09", false},
    {"the switch is on only for 1", march5(13, 5, 9), "", "hh:mm:ss", 2, "01:05:09", false},
    {"the switch is off for -1", march5(13, 5, 9), "", "hh:mm:ss", -1, "01:05:09", false},
    {"an absent date picture", march5(13, 5, 9), nullptr, "hh:mm:ss", 1, "13:05:09", false},
    {"no leading zeros", march5(13, 5, 9), "yyyy/M/d\r\n", "hh:mm:ss", 1, "2021/3/5\r\n13:05:09",
     false},
    {"a 2-byte time picture gives no part", march5(13, 5, 9), "yyyy/M/d\r\n", "HH", 1,
     "2021/3/5\r\n", false},
    {"a 2-byte time picture and an empty date picture", march5(13, 5, 9), "", "HH", 1, "", false},
    {"a 1-byte date picture gives no part", march5(13, 5, 9), "d", "hh:mm:ss", 1, "13:05:09", false},
    {"a 3-byte picture gives a part", march5(13, 5, 9), "d/M", nullptr, 1, "5/3", false},
    {"a question mark in the time picture", march5(13, 5, 9), "", "hh?mm?ss", 1, "13?05?09", false},
    {"the date part's line break is the only separator", march5(23, 59, 59), "yyyy/M/d\r\n",
     "hh:mm:ss", 1, "2021/3/5\r\n23:59:59", false},
    {"a date picture ending in a line break without a time part", march5(8, 0, 0), "yyyy/M/d\r\n",
     nullptr, 1, "2021/3/5\r\n", false},
    {"both pictures absent", march5(13, 5, 9), nullptr, nullptr, 1, "", false},
    {"a value outside the calendar", 2958466.0, "yyyy/M/d\r\n", "hh:mm:ss", 1, "", false},
    {"not a number", std::numeric_limits<double>::quiet_NaN(), "yyyy/M/d\r\n", "hh:mm:ss", 1, "",
     false},
    {"an infinity", std::numeric_limits<double>::infinity(), "", "hh:mm:ss", 1, "", false},
    {"both parts describe the same rounded second", 44261.0 - 0.2 / 86400, "yyyy/M/d\r\n",
     "hh:mm:ss", 1, "2021/3/6\r\n00:00:00", false},
    {"a part longer than 49 bytes is cut to 49", march5(13, 5, 9), k50Bytes.c_str(), "hh:mm:ss", 1,
     k50Bytes.substr(0, 49) + "13:05:09", false},
    {"weekday and time", march5(13, 5, 9), "dddd\r\n", "hh:mm:ss", 1, "Friday\r\n13:05:09", true},
    {"the three-line format", march5(13, 5, 9), "yyyy/M/d\r\ndddd\r\n", "hh:mm:ss", 1,
     "2021/3/5\r\nFriday\r\n13:05:09", true},
};

TEST(ClockText, RowsWithEnglishNames) {
    for (const ClockTextRow& row : kRows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(formatClockTextWith(englishLocaleNames(), row.dateTime, row.datePicture,
                                      row.timePicture, row.force24Hour),
                  row.expected);
    }
}

// The clock's own routine: the Windows calls on Windows, the same rules with the user's locale
// elsewhere.
TEST(ClockText, RowsInTheUserLocale) {
    for (const ClockTextRow& row : kRows) {
        if (row.usesNames) {
            continue;
        }
        SCOPED_TRACE(row.name);
        EXPECT_EQ(formatClockText(row.dateTime, row.datePicture, row.timePicture, row.force24Hour),
                  row.expected);
    }
}

bool userLocaleIsChinese() {
    const char* locale = std::getenv("LC_ALL");
    return locale != nullptr && std::string_view{locale} == "zh_CN.UTF-8";
}

// Run with LC_ALL=zh_CN.UTF-8 (see tests/CMakeLists.txt): the weekday comes out as GBK bytes.
TEST(ChineseLocale, WeekdayInCodePage936) {
    if (!userLocaleIsChinese()) {
        GTEST_SKIP() << "needs LC_ALL=zh_CN.UTF-8";
    }
    EXPECT_EQ(formatClockText(march5(13, 5, 9), "yyyy/M/d\r\ndddd\r\n", "hh:mm:ss", 1),
              "2021/3/5\r\n\xD0\xC7\xC6\xDA\xCE\xE5\r\n13:05:09");  // 星期五
}

TEST(CurrentLocalTime, IsTheLocalSecondWithoutFraction) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::time_t before = std::time(nullptr);
        const double now = currentLocalTime();
        if (std::time(nullptr) != before) {
            continue;  // the second turned meanwhile
        }
        std::tm local{};
#ifdef _WIN32
        localtime_s(&local, &before);
#else
        localtime_r(&before, &local);
#endif
        const double expected = oleDateFromCalendar(local.tm_year + 1900, local.tm_mon + 1,
                                                    local.tm_mday, local.tm_hour, local.tm_min,
                                                    local.tm_sec);
        EXPECT_EQ(now, expected);
        const auto fields = calendarFieldsFromOleDate(now);
        ASSERT_TRUE(fields.has_value());
        EXPECT_EQ(fields->second, local.tm_sec);
        EXPECT_EQ(fields->day, local.tm_mday);
        return;
    }
    FAIL() << "the clock kept turning";
}

}  // namespace
}  // namespace talvessa
