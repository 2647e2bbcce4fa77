#pragma once
// Date and time pictures ("yyyy/M/d", "hh:mm:ss", ...) rendered by the Windows picture rules, with
// the locale's names passed in.

#include <array>
#include <bitset>
#include <optional>
#include <string>
#include <string_view>

#include "core/ole_date.h"

namespace talvessa {

// What a picture needs from a locale, every text in the locale's ANSI code page.
struct LocaleNames {
    std::array<std::string, 7> dayNames;  // Sunday first
    std::array<std::string, 7> abbreviatedDayNames;
    std::array<std::string, 12> monthNames;  // January first
    std::array<std::string, 12> abbreviatedMonthNames;
    std::string amDesignator;
    std::string pmDesignator;
    std::string era;  // the "g" element; empty drops it
    // First bytes of two-byte characters in the code page (none in single-byte code pages).
    std::bitset<256> leadBytes;
};

// English names in code page 1252.
const LocaleNames& englishLocaleNames();

// The lead bytes of a Windows ANSI code page: 932, 936, 949 and 950 are double-byte, every
// other code page single-byte.
std::bitset<256> leadBytesOfCodePage(unsigned codePage);

// Renders the day, month, year and era elements of `picture` (d, dd, ddd, dddd; M, MM, MMM,
// MMMM; y, yy, yyyy; g, gg); text in single quotes and every other character is copied. The
// day of the week is taken from the date itself. Empty when the fields are not a valid date.
std::optional<std::string> formatDatePicture(const CalendarFields& fields, std::string_view picture,
                                             const LocaleNames& names);

// Renders the hour, minute, second and time-marker elements of `picture` (h, hh, H, HH, m, mm,
// s, ss, t, tt); `force24Hour` makes h and hh count 0 to 23. Empty when the fields are not a
// valid time of day.
std::optional<std::string> formatTimePicture(const CalendarFields& fields, std::string_view picture,
                                             const LocaleNames& names, bool force24Hour);

// Size of the blank-filled buffer that receives a part, its terminating zero byte not counted.
inline constexpr std::size_t kPartBufferSize = 50;
// The longest part: the buffer keeps room for its terminating zero byte.
inline constexpr std::size_t kMaxPartBytes = kPartBufferSize - 1;

// What the part buffer holds after formatting `rendered` into it: the text when it fits;
// otherwise the whole characters that fit, the rest of the buffer left blank; no text at all
// (a failed call) leaves the buffer blank. Never longer than kMaxPartBytes.
std::string fillPartBuffer(const std::optional<std::string>& rendered,
                           const std::bitset<256>& leadBytes);

}  // namespace talvessa
