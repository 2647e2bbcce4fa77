#include "core/ole_date.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace talvessa {
namespace {

// `count` seconds as a fraction of a day.
constexpr double seconds(double count) {
    return count / 86400.0;
}

struct ConversionRow {
    const char* name;
    double value;
    CalendarFields expected;  // year, month, dayOfWeek, day, hour, minute, second
};

const ConversionRow kConversionRows[] = {
    {"day 0", 0.0, {1899, 12, 6, 30, 0, 0, 0}},
    {"noon", 0.5, {1899, 12, 6, 30, 12, 0, 0}},
    {"negative zero", -0.0, {1899, 12, 6, 30, 0, 0, 0}},
    {"negative fraction is the time of day", -0.5, {1899, 12, 6, 30, 12, 0, 0}},
    {"day -1 at 06:00", -1.25, {1899, 12, 5, 29, 6, 0, 0}},
    {"day -2", -2.0, {1899, 12, 4, 28, 0, 0, 0}},
    {"1900 is no leap year", 60.0, {1900, 2, 3, 28, 0, 0, 0}},
    {"day after 28 February 1900", 61.0, {1900, 3, 4, 1, 0, 0, 0}},
    {"29 February 2000", 36585.0, {2000, 2, 2, 29, 0, 0, 0}},
    {"5 March 2021 13:05:09", 44260.0 + seconds(13 * 3600 + 5 * 60 + 9),
     {2021, 3, 5, 5, 13, 5, 9}},
    {"first day", -657434.0, {100, 1, 5, 1, 0, 0, 0}},
    {"first day, last second", -657434.0 - seconds(86399), {100, 1, 5, 1, 23, 59, 59}},
    {"last day", 2958465.0, {9999, 12, 5, 31, 0, 0, 0}},
    {"last day, last second", 2958465.0 + seconds(86399), {9999, 12, 5, 31, 23, 59, 59}},
    {"half a second rounds up", seconds(0.5), {1899, 12, 6, 30, 0, 0, 1}},
    {"just under half a second rounds down", seconds(0.4999), {1899, 12, 6, 30, 0, 0, 0}},
    {"a hair below a second", seconds(1.0) - 1e-12, {1899, 12, 6, 30, 0, 0, 1}},
    {"a hair above a second", seconds(1.0) + 1e-12, {1899, 12, 6, 30, 0, 0, 1}},
    {"carry into the minute", seconds(59.6), {1899, 12, 6, 30, 0, 1, 0}},
    {"carry into the hour", seconds(3599.6), {1899, 12, 6, 30, 1, 0, 0}},
    {"carry into the next day", 0.99999999, {1899, 12, 0, 31, 0, 0, 0}},
    {"negative carry goes to the next day too", -0.9999999, {1899, 12, 0, 31, 0, 0, 0}},
    {"carry out of 30 November", 44530.0 + seconds(86399.6), {2021, 12, 3, 1, 0, 0, 0}},
    {"carry out of 28 February", 44255.0 + seconds(86399.6), {2021, 3, 1, 1, 0, 0, 0}},
    {"carry out of 31 December", 2.0 - seconds(0.2), {1900, 1, 1, 1, 0, 0, 0}},
    {"carry out of the first day", -657434.9999999, {100, 1, 6, 2, 0, 0, 0}},
    {"carry past the last day", 2958465.999995, {10000, 1, 6, 1, 0, 0, 0}},
};

TEST(OleDateConversion, Rows) {
    for (const ConversionRow& row : kConversionRows) {
        SCOPED_TRACE(row.name);
        const auto fields = calendarFieldsFromOleDate(row.value);
        ASSERT_TRUE(fields.has_value());
        EXPECT_EQ(*fields, row.expected);
    }
}

TEST(OleDateConversion, FailsOutsideTheCalendar) {
    const double rejected[] = {
        std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
        2958466.0,
        -657435.5,
        -657435.0,
        1e300,
        -1e300,
    };
    for (double value : rejected) {
        SCOPED_TRACE(value);
        EXPECT_FALSE(calendarFieldsFromOleDate(value).has_value());
    }
    // The edges that still count: the end of the last day and of the first.
    EXPECT_TRUE(calendarFieldsFromOleDate(std::nextafter(2958466.0, 0.0)).has_value());
    EXPECT_TRUE(calendarFieldsFromOleDate(std::nextafter(-657435.0, 0.0)).has_value());
}

// Every day of the range and back, with a time of day that walks through the seconds.
TEST(OleDateConversion, EveryDayRoundTrips) {
    for (std::int64_t dayNumber = -657434; dayNumber <= 2958465; ++dayNumber) {
        const auto day = calendarFieldsFromOleDate(static_cast<double>(dayNumber));
        ASSERT_TRUE(day.has_value()) << dayNumber;
        ASSERT_EQ(day->dayOfWeek, (dayNumber % 7 + 13) % 7) << dayNumber;  // day 0 is a Saturday
        const std::int64_t secondOfDay = (dayNumber + 657434) * 7919 % 86400;
        const int hour = static_cast<int>(secondOfDay / 3600);
        const int minute = static_cast<int>(secondOfDay / 60 % 60);
        const int second = static_cast<int>(secondOfDay % 60);
        const auto fields = calendarFieldsFromOleDate(
            oleDateFromCalendar(day->year, day->month, day->day, hour, minute, second));
        ASSERT_TRUE(fields.has_value()) << dayNumber;
        CalendarFields expected = *day;
        expected.hour = static_cast<std::uint16_t>(hour);
        expected.minute = static_cast<std::uint16_t>(minute);
        expected.second = static_cast<std::uint16_t>(second);
        ASSERT_EQ(*fields, expected) << dayNumber;
    }
}

}  // namespace
}  // namespace talvessa
