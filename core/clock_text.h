#pragma once
// The clock text: one date-time value rendered by a date picture and a time picture.

#include <cstdint>
#include <string>

namespace talvessa {

struct LocaleNames;

// Renders `dateTime` (an OLE Automation date) as the date part followed directly by the time
// part. A null or shorter-than-3-byte picture gives no part; both null, or a value outside the
// calendar, give the empty text. `force24Hour` equal to 1 forces the 24-hour clock.
std::string formatClockText(double dateTime, const char* datePicture, const char* timePicture,
                            std::int32_t force24Hour = 0);

// formatClockText by our own conversion and picture formatter with the given locale names: the
// same rules wherever the Windows calls are not at hand.
std::string formatClockTextWith(const LocaleNames& names, double dateTime, const char* datePicture,
                                const char* timePicture, std::int32_t force24Hour);

// The current local wall-clock time as an OLE Automation date, to the whole second.
double currentLocalTime();

}  // namespace talvessa
