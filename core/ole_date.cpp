#include "core/ole_date.h"

#include <chrono>
#include <cmath>

namespace talvessa {
namespace {

using std::chrono::days;
using std::chrono::sys_days;

constexpr sys_days kOleEpoch = sys_days{std::chrono::year{1899} / 12 / 30};
constexpr int kSecondsPerDay = 86400;

}  // namespace

std::optional<CalendarFields> calendarFieldsFromOleDate(double dateTime) {
    // Written so that NaN fails too: every comparison with it is false.
    if (!(dateTime > kFirstOleDay - 1.0 && dateTime < kLastOleDay + 1.0)) {
        return std::nullopt;
    }
    const double wholeDays = std::trunc(dateTime);
    // Exact in binary floating point: the whole part shares the value's exponent or a larger one.
    const double fraction = std::fabs(dateTime - wholeDays);
    // fraction < 1, so the product is below 86400.5 and the sum fits easily.
    auto secondOfDay = static_cast<long>(std::floor(fraction * kSecondsPerDay + 0.5));
    auto dayNumber = static_cast<long>(wholeDays);
    if (secondOfDay >= kSecondsPerDay) {
        // 23:59:59.5 and later round into the next calendar day, also for negative values.
        secondOfDay -= kSecondsPerDay;
        ++dayNumber;
    }

    const sys_days date = kOleEpoch + days{dayNumber};
    const std::chrono::year_month_day ymd{date};
    CalendarFields fields;
    fields.year = static_cast<std::uint16_t>(static_cast<int>(ymd.year()));
    fields.month = static_cast<std::uint16_t>(static_cast<unsigned>(ymd.month()));
    fields.day = static_cast<std::uint16_t>(static_cast<unsigned>(ymd.day()));
    fields.dayOfWeek = static_cast<std::uint16_t>(std::chrono::weekday{date}.c_encoding());
    fields.hour = static_cast<std::uint16_t>(secondOfDay / 3600);
    fields.minute = static_cast<std::uint16_t>(secondOfDay / 60 % 60);
    fields.second = static_cast<std::uint16_t>(secondOfDay % 60);
    return fields;
}

double oleDateFromCalendar(int year, int month, int day, int hour, int minute, int second) {
    const sys_days date{std::chrono::year{year} / std::chrono::month{static_cast<unsigned>(month)} /
                        std::chrono::day{static_cast<unsigned>(day)}};
    const auto dayNumber = static_cast<double>((date - kOleEpoch).count());
    const double timeOfDay = (hour * 3600.0 + minute * 60.0 + second) / kSecondsPerDay;
    // Before day 0 the fraction counts forward from the day's start all the same.
    return dayNumber < 0 ? dayNumber - timeOfDay : dayNumber + timeOfDay;
}

}  // namespace talvessa
