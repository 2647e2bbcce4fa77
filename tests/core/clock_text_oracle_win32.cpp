// Our conversion and picture formatter against the Windows functions, which serve as the oracle:
// VariantTimeToSystemTime, GetDateFormatA and GetTimeFormatA.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock_text.h"
#include "core/date_picture.h"
#include "core/ole_date.h"

namespace talvessa {
namespace {

std::string localeText(LCTYPE type) {
    char buffer[128] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, static_cast<int>(sizeof buffer));
    return buffer;
}

// The user locale's names as the Windows functions see them.
LocaleNames windowsLocaleNames() {
    LocaleNames names;
    for (int i = 0; i < 7; ++i) {
        // LOCALE_SDAYNAME1 is Monday.
        const int windowsDay = (i + 6) % 7;
        names.dayNames[i] = localeText(LOCALE_SDAYNAME1 + windowsDay);
        names.abbreviatedDayNames[i] = localeText(LOCALE_SABBREVDAYNAME1 + windowsDay);
    }
    for (int i = 0; i < 12; ++i) {
        names.monthNames[i] = localeText(LOCALE_SMONTHNAME1 + i);
        names.abbreviatedMonthNames[i] = localeText(LOCALE_SABBREVMONTHNAME1 + i);
    }
    names.amDesignator = localeText(LOCALE_S1159);
    names.pmDesignator = localeText(LOCALE_S2359);
    char era[64] = {};
    GetCalendarInfoA(LOCALE_USER_DEFAULT, CAL_GREGORIAN, CAL_SERASTRING, era,
                     static_cast<int>(sizeof era), nullptr);
    names.era = era;
    for (unsigned b = 0; b < 256; ++b) {
        names.leadBytes[b] = IsDBCSLeadByte(static_cast<BYTE>(b)) != 0;
    }
    return names;
}

bool runsInChinese() {
    const char* locale = std::getenv("LC_ALL");
    return locale != nullptr && std::string_view{locale} == "zh_CN.UTF-8";
}

TEST(ClockTextOracle, LocaleIsTheOneAskedFor) {
    EXPECT_EQ(GetACP(), runsInChinese() ? 936U : 1252U);
}

// --- Conversion ------------------------------------------------------------------------------

// Times of day around the seconds where carries and rounding happen: each second exactly, a hair
// below and above it, and clearly either side of the half second.
std::vector<double> timesOfDay() {
    const int seconds[] = {0,     1,     2,     29,    30,    31,    59,    60,    61,    119,
                           3599,  3600,  3601,  7199,  43199, 43200, 43201, 46799, 46800, 82800,
                           86339, 86340, 86397, 86398, 86399};
    std::vector<double> times;
    for (int second : seconds) {
        const double exact = second / 86400.0;
        times.push_back(exact);
        times.push_back(exact + 1e-9);  // about 86 microseconds
        if (second > 0) {
            times.push_back(exact - 1e-9);
        }
        times.push_back((second + 0.49) / 86400.0);
        times.push_back((second + 0.51) / 86400.0);
    }
    for (int second = 0; second < 86400; second += 7919) {  // a spread over the whole day
        times.push_back((second + 0.25) / 86400.0);
    }
    return times;
}

// Wine's VariantTimeToSystemTime carries 30 November 23:59:59.5 and later into 1 January of the
// next year; ours gives 1 December.
bool isWinesNovemberCarry(const CalendarFields& ours, const SYSTEMTIME& windows) {
    return ours.month == 12 && ours.day == 1 && windows.wYear == ours.year + 1 &&
           windows.wMonth == 1 && windows.wDay == 1;
}

// One value through both; fields and failures must agree. VariantTimeToSystemTime leaves the day
// of the week of the unrounded day when the rounding carries into the next day, so the day of
// the week is checked against the day it gives for midnight of our date (a week earlier for
// 1 January 10000, which lies outside its range).
void expectSameConversion(double value) {
    SYSTEMTIME windows{};
    const bool windowsOk = VariantTimeToSystemTime(value, &windows) == 1;
    const auto ours = calendarFieldsFromOleDate(value);
    ASSERT_EQ(ours.has_value(), windowsOk) << std::hexfloat << value;
    if (!windowsOk) {
        return;
    }
    if (isWinesNovemberCarry(*ours, windows)) {
        windows.wYear = ours->year;
        windows.wMonth = 12;
    }
    const CalendarFields expected{windows.wYear,   windows.wMonth,  ours->dayOfWeek,
                                  windows.wDay,    windows.wHour,   windows.wMinute,
                                  windows.wSecond, windows.wMilliseconds};
    ASSERT_EQ(*ours, expected) << std::hexfloat << value;
    double midnight = oleDateFromCalendar(ours->year, ours->month, ours->day, 0, 0, 0);
    if (midnight > kLastOleDay) {
        midnight -= 7;
    }
    SYSTEMTIME midnightFields{};
    ASSERT_EQ(VariantTimeToSystemTime(midnight, &midnightFields), 1);
    ASSERT_EQ(ours->dayOfWeek, midnightFields.wDayOfWeek) << std::hexfloat << value;
}

// Every day from 1 January 100 to 31 December 9999, each with a few of the times in turn, and
// every time on the days at the edges.
TEST(ClockTextOracle, ConversionOverEveryDay) {
    const std::vector<double> times = timesOfDay();
    const auto sweepDay = [&](double day, std::size_t first, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const double time = times[(first + i) % times.size()];
            expectSameConversion(day < 0 ? day - time : day + time);
        }
    };
    std::size_t next = 0;
    for (double day = kFirstOleDay; day <= kLastOleDay; ++day) {
        sweepDay(day, next, 8);
        next += 8;
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
    }
    const double edgeDays[] = {kFirstOleDay,     kFirstOleDay + 1, kFirstOleDay + 365, -2, -1, 0,
                               1,                59,               60,                 61, 36585,
                               kLastOleDay - 1,  kLastOleDay};
    for (double day : edgeDays) {
        sweepDay(day, 0, times.size());
    }
}

TEST(ClockTextOracle, ConversionFailures) {
    const double values[] = {HUGE_VAL,
                             -HUGE_VAL,
                             1e300,
                             -1e300,
                             kLastOleDay + 1,
                             std::nextafter(kLastOleDay + 1, 0.0),
                             kLastOleDay + 0.999995,
                             kFirstOleDay - 1,
                             std::nextafter(kFirstOleDay - 1, 0.0),
                             kFirstOleDay - 0.999995,
                             kFirstOleDay - 1.5};
    for (double value : values) {
        SCOPED_TRACE(value);
        expectSameConversion(value);
    }
}

// --- Pictures --------------------------------------------------------------------------------

SYSTEMTIME systemTime(const CalendarFields& fields) {
    return SYSTEMTIME{fields.year, fields.month, fields.dayOfWeek, fields.day,
                      fields.hour, fields.minute, fields.second,    fields.milliseconds};
}

// The part buffer as the clock's own routine uses it; empty when the call failed.
std::optional<std::string> windowsDate(const CalendarFields& fields, const char* picture) {
    const SYSTEMTIME time = systemTime(fields);
    char buffer[kPartBufferSize + 1];
    std::memset(buffer, ' ', kPartBufferSize);
    buffer[kPartBufferSize] = '\0';
    if (GetDateFormatA(0, 0, &time, picture, buffer, static_cast<int>(kPartBufferSize)) == 0) {
        return std::nullopt;
    }
    return std::string(buffer);
}

std::optional<std::string> windowsTime(const CalendarFields& fields, const char* picture,
                                       bool force24Hour) {
    const SYSTEMTIME time = systemTime(fields);
    char buffer[kPartBufferSize + 1];
    std::memset(buffer, ' ', kPartBufferSize);
    buffer[kPartBufferSize] = '\0';
    if (GetTimeFormatA(0, force24Hour ? TIME_FORCE24HOURFORMAT : 0, &time, picture, buffer,
                       static_cast<int>(kPartBufferSize)) == 0) {
        return std::nullopt;
    }
    return std::string(buffer);
}

// Dates from 1601 on: GetDateFormatA refuses earlier years (ours renders them).
std::vector<CalendarFields> sampleDates() {
    const double days[] = {
        oleDateFromCalendar(1601, 1, 1, 0, 0, 0),   oleDateFromCalendar(1899, 12, 30, 0, 0, 0),
        oleDateFromCalendar(1900, 2, 28, 0, 0, 0),  oleDateFromCalendar(2000, 2, 29, 0, 0, 0),
        oleDateFromCalendar(2007, 7, 7, 0, 0, 0),   oleDateFromCalendar(2020, 10, 26, 0, 0, 0),
        oleDateFromCalendar(9999, 12, 31, 0, 0, 0), kLastOleDay + 0.999995,  // 1 January 10000
    };
    std::vector<CalendarFields> dates;
    for (double day : days) {
        dates.push_back(*calendarFieldsFromOleDate(day));
    }
    // Every month, and every day of the week twice over.
    for (int month = 1; month <= 12; ++month) {
        dates.push_back(*calendarFieldsFromOleDate(oleDateFromCalendar(2021, month, month + 1, 0, 0, 0)));
    }
    return dates;
}

TEST(ClockTextOracle, DatePictures) {
    const LocaleNames names = windowsLocaleNames();
    const char* pictures[] = {
        "d", "dd", "ddd", "dddd", "ddddd", "M", "MM", "MMM", "MMMM", "MMMMM", "y", "yy", "yyy",
        "yyyy", "yyyyy", "g", "yyyy/M/d\r\n", "dddd\r\n", "yyyy/M/d\r\ndddd\r\n", "dd.MM.yy",
        "d MMMM yyyy", "MMMM d, yyyy", "dMMMMyyyy", "ddd, dd MMM", "'d' d", "'it''s' d", "''",
        "'", "x'yy", "'abc", "hh:mm:ss tt H D Y G", "?", "a?b\r\n",
        "yyyy\xC4\xEA" "M\xD4\xC2" "d\xC8\xD5",  // 年 月 日
        "\x81" "dy", "\x80y\xFF", "\x81", "a\x81", "\x81\x0A" "d", "\xC4'd'", "'abc\xC4",
        "\xA3\x64", "\x81\x64\x81\x79",
    };
    for (const CalendarFields& date : sampleDates()) {
        for (const char* picture : pictures) {
            SCOPED_TRACE(std::to_string(date.year) + "-" + std::to_string(date.month) + "-" +
                         std::to_string(date.day) + " [" + picture + "]");
            EXPECT_EQ(formatDatePicture(date, picture, names), windowsDate(date, picture));
        }
    }
}

TEST(ClockTextOracle, TimePictures) {
    const LocaleNames names = windowsLocaleNames();
    const char* pictures[] = {
        "h", "hh", "hhh", "H", "HH", "HHH", "m", "mm", "mmm", "s", "ss", "sss", "t", "tt",
        "ttt", "hh:mm:ss", "HH:mm:ss", "h:m:s", "hh:mm:ss tt", "tt h", "h t x", "hh?mm?ss",
        "'h''m' h", "'", "yyyy d M g dddd", "hh'\xCA\xB1'mm", "\x81" "h", "\xC4'h'",
    };
    const std::uint16_t hours[] = {0, 1, 9, 11, 12, 13, 21, 23};
    CalendarFields fields = *calendarFieldsFromOleDate(oleDateFromCalendar(2024, 3, 5, 0, 7, 3));
    for (std::uint16_t hour : hours) {
        fields.hour = hour;
        for (bool force24Hour : {false, true}) {
            for (const char* picture : pictures) {
                SCOPED_TRACE(std::to_string(hour) + (force24Hour ? "h 24h [" : "h 12h [") + picture +
                             "]");
                EXPECT_EQ(formatTimePicture(fields, picture, names, force24Hour),
                          windowsTime(fields, picture, force24Hour));
            }
        }
    }
}

// Results that do not fit the part buffer: the Windows routine and ours leave the same part.
TEST(ClockTextOracle, LongResults) {
    const LocaleNames names = windowsLocaleNames();
    const std::string fortyNine(49, '-');
    const std::string fifty(50, '-');
    const std::string pictures[] = {
        fortyNine,
        fifty,
        "dddd dddd dddd dddd dddd dddd dddd dddd",
        "xdddd dddd dddd dddd dddd dddd dddd dddd",
        "xxdddd dddd dddd dddd dddd dddd dddd dddd",
        "xxxdddd dddd dddd dddd dddd dddd dddd dddd",
        "xx" + std::string(46, '0') + "\xC4\xEA",
        "xxx" + std::string(46, '0') + "\xC4\xEA",
        "MMMM MMMM MMMM MMMM MMMM MMMM MMMM MMMM MMMM MMMM",
    };
    const double value = oleDateFromCalendar(2024, 9, 24, 13, 5, 9);  // a Tuesday in September
    for (const std::string& picture : pictures) {
        SCOPED_TRACE(picture);
        const std::string windows = formatClockText(value, picture.c_str(), picture.c_str(), 1);
        EXPECT_EQ(formatClockTextWith(names, value, picture.c_str(), picture.c_str(), 1), windows);
        EXPECT_LE(windows.size(), 2 * kMaxPartBytes);
    }
}

// The routine itself over the three display formats, a spread of dates and both clocks.
TEST(ClockTextOracle, ClockTextOverTheYears) {
    const LocaleNames names = windowsLocaleNames();
    const char* datePictures[] = {"yyyy/M/d\r\n", "dddd\r\n", "yyyy/M/d\r\ndddd\r\n", "", nullptr};
    for (int year = 1601; year <= 9999; year += 37) {
        const double value = oleDateFromCalendar(year, year % 12 + 1, year % 28 + 1, year % 24,
                                                 year % 60, (year * 7) % 60) +
                             0.4 / 86400;
        for (const char* datePicture : datePictures) {
            for (std::int32_t force24Hour : {0, 1}) {
                SCOPED_TRACE(std::to_string(year) + " " + (datePicture ? datePicture : "(null)"));
                EXPECT_EQ(formatClockTextWith(names, value, datePicture, "hh:mm:ss", force24Hour),
                          formatClockText(value, datePicture, "hh:mm:ss", force24Hour));
            }
        }
    }
}

}  // namespace
}  // namespace talvessa
