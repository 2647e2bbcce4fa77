// The clock text on any date-time value and any pictures of up to 64 bytes: the OLE date
// conversion gives valid fields within half a second of the value, and no part is longer than
// 49 bytes, in single- and double-byte code pages.
//
// Input: 8 bytes of a double (little-endian); one byte of switches (bits 0-1 the code page, bit 2
// the 24-hour switch, bit 3 an absent date picture); 16 bytes of calendar fields (eight 16-bit
// numbers, little-endian) given to the picture formatter directly; then the date picture, a NUL
// byte and the time picture (no NUL: no time picture). Missing bytes read as zero.

#include <bit>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "core/clock_text.h"
#include "core/date_picture.h"
#include "core/ole_date.h"

namespace {

using namespace talvessa;

constexpr std::size_t kHeaderBytes = 8 + 1 + 16;
constexpr std::size_t kMaxPictureBytes = 64;

void require(bool condition) {
    if (!condition) std::abort();
}

// English names, or day names and time markers as GBK bytes (星期日..星期六, 上午, 下午) under the
// lead bytes of a double-byte code page.
LocaleNames namesFor(unsigned choice) {
    LocaleNames names = englishLocaleNames();
    if (choice == 1 || choice == 2) {
        const char* const days[] = {"\xC8\xD5", "\xD2\xBB", "\xB6\xFE", "\xC8\xFD",
                                    "\xCB\xC4", "\xCE\xE5", "\xC1\xF9"};
        for (int i = 0; i < 7; ++i) {
            names.dayNames[i] = std::string("\xD0\xC7\xC6\xDA") + days[i];
            names.abbreviatedDayNames[i] = days[i];
        }
        names.amDesignator = "\xC9\xCF\xCE\xE7";
        names.pmDesignator = "\xCF\xC2\xCE\xE7";
        names.era = "\xB9\xAB\xD4\xAA";  // 公元
        names.leadBytes = leadBytesOfCodePage(choice == 1 ? 936 : 932);
    }
    return names;
}

std::uint16_t read16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

// The conversion's fields are a valid date and time, within half a second of the value (whose
// fraction, taken without its sign, is the time of day).
void checkConversion(double dateTime, const std::optional<CalendarFields>& fields) {
    const bool inRange = dateTime > kFirstOleDay - 1.0 && dateTime < kLastOleDay + 1.0;
    require(fields.has_value() == inRange);
    if (!fields) return;
    const std::chrono::year_month_day date{std::chrono::year{fields->year},
                                           std::chrono::month{fields->month},
                                           std::chrono::day{fields->day}};
    require(date.ok() && fields->year >= 100 && fields->year <= 10000);
    require(fields->dayOfWeek == std::chrono::weekday{std::chrono::sys_days{date}}.c_encoding());
    require(fields->hour < 24 && fields->minute < 60 && fields->second < 60 &&
            fields->milliseconds == 0);
    const double wholeDays = std::trunc(dateTime);
    const double wanted = wholeDays * 86400.0 + std::fabs(dateTime - wholeDays) * 86400.0;
    const double dayNumber = oleDateFromCalendar(fields->year, fields->month, fields->day, 0, 0, 0);
    const double got =
        dayNumber * 86400.0 + fields->hour * 3600.0 + fields->minute * 60.0 + fields->second;
    require(std::fabs(got - wanted) <= 0.5 + 1e-3);
}

// Year, month and day name a day of the Gregorian calendar, counted in plain integers.
bool isCalendarDate(const CalendarFields& fields) {
    if (fields.year == 0 || fields.month < 1 || fields.month > 12 || fields.day < 1) return false;
    const bool leap = fields.year % 4 == 0 && (fields.year % 100 != 0 || fields.year % 400 == 0);
    const int lengths[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return fields.day <= lengths[fields.month - 1];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint8_t header[kHeaderBytes] = {};
    std::memcpy(header, data, size < kHeaderBytes ? size : kHeaderBytes);
    const std::string_view rest = size > kHeaderBytes
        ? std::string_view(reinterpret_cast<const char*>(data) + kHeaderBytes, size - kHeaderBytes)
        : std::string_view();

    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | header[i];
    const double dateTime = std::bit_cast<double>(bits);
    const std::uint8_t switches = header[8];
    const LocaleNames names = namesFor(switches & 3U);
    const std::int32_t force24Hour = (switches & 4U) != 0 ? 1 : 0;
    CalendarFields anyFields;
    std::uint16_t* const slots[] = {&anyFields.year,   &anyFields.month,  &anyFields.dayOfWeek,
                                    &anyFields.day,    &anyFields.hour,   &anyFields.minute,
                                    &anyFields.second, &anyFields.milliseconds};
    for (int i = 0; i < 8; ++i) *slots[i] = read16(header + 9 + 2 * i);

    const std::size_t nul = rest.find('\0');
    const std::string datePicture(rest.substr(0, std::min(nul, kMaxPictureBytes)));
    const std::optional<std::string> timePicture =
        nul == std::string_view::npos
            ? std::nullopt
            : std::optional<std::string>(rest.substr(nul + 1, kMaxPictureBytes));
    const char* const date = (switches & 8U) != 0 ? nullptr : datePicture.c_str();
    const char* const time = timePicture ? timePicture->c_str() : nullptr;

    const std::optional<CalendarFields> fields = calendarFieldsFromOleDate(dateTime);
    checkConversion(dateTime, fields);

    const std::string datePart = formatClockTextWith(names, dateTime, date, nullptr, force24Hour);
    const std::string timePart = formatClockTextWith(names, dateTime, nullptr, time, force24Hour);
    require(datePart.size() <= kMaxPartBytes && timePart.size() <= kMaxPartBytes);
    require(formatClockTextWith(names, dateTime, date, time, force24Hour) == datePart + timePart);
    if (!fields) require(datePart.empty() && timePart.empty());

    // The formatter itself on fields that no conversion gives.
    const std::optional<std::string> dateText = formatDatePicture(anyFields, datePicture, names);
    if (dateText) require(isCalendarDate(anyFields));
    require(fillPartBuffer(dateText, names.leadBytes).size() <= kMaxPartBytes);
    const std::optional<std::string> timeText =
        formatTimePicture(anyFields, timePicture.value_or(""), names, force24Hour == 1);
    require(fillPartBuffer(timeText, names.leadBytes).size() <= kMaxPartBytes);
    return 0;
}
