#include "core/clock_text.h"

#include <cstring>

#include "core/date_picture.h"
#include "core/ole_date.h"

namespace talvessa {
namespace {

// Pictures of 0, 1 or 2 bytes give no part, whatever they hold.
constexpr std::size_t kMinPictureBytes = 3;

bool givesPart(const char* picture) {
    return picture != nullptr && std::strlen(picture) >= kMinPictureBytes;
}

}  // namespace

std::string formatClockTextWith(const LocaleNames& names, double dateTime, const char* datePicture,
                                const char* timePicture, std::int32_t force24Hour) {
    if (datePicture == nullptr && timePicture == nullptr) {
        return {};
    }
    // Converted once, so both parts describe the same second.
    const std::optional<CalendarFields> fields = calendarFieldsFromOleDate(dateTime);
    if (!fields) {
        return {};
    }
    std::string text;
    if (givesPart(datePicture)) {
        text = fillPartBuffer(formatDatePicture(*fields, datePicture, names), names.leadBytes);
    }
    if (givesPart(timePicture)) {
        text += fillPartBuffer(formatTimePicture(*fields, timePicture, names, force24Hour == 1),
                               names.leadBytes);
    }
    return text;
}

}  // namespace talvessa
