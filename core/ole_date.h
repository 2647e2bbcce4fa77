#pragma once
// OLE Automation dates (days since 30 December 1899, the time of day as the fraction) and the
// calendar fields they break down into.

#include <cstdint>
#include <optional>

namespace talvessa {

// The layout of the Windows SYSTEMTIME: eight 16-bit fields in this order.
struct CalendarFields {
    std::uint16_t year = 0;
    std::uint16_t month = 0;      // 1 to 12
    std::uint16_t dayOfWeek = 0;  // 0 is Sunday
    std::uint16_t day = 0;        // 1 to 31
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;

    friend bool operator==(const CalendarFields&, const CalendarFields&) = default;
};

// The earliest and the latest whole day accepted: 1 January 100 and 31 December 9999.
inline constexpr double kFirstOleDay = -657434.0;
inline constexpr double kLastOleDay = 2958465.0;

// Breaks `dateTime` down into calendar fields, the time of day rounded to the nearest second
// (halves up) with the carry into minute, hour, day, month and year; milliseconds are always 0.
// For a negative value the fraction without its sign is the time of day. Empty for NaN, the
// infinities and values outside the days 1 January 100 to 31 December 9999.
std::optional<CalendarFields> calendarFieldsFromOleDate(double dateTime);

// The OLE Automation date of a Gregorian date and time of day (no range check).
double oleDateFromCalendar(int year, int month, int day, int hour, int minute, int second);

}  // namespace talvessa
