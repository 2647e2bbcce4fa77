#pragma once
// The clock text: one date-time value rendered by a date picture and a time picture.

#include <cstdint>
#include <string>

namespace talvessa {

// Renders `dateTime` (an OLE Automation date) as the date part followed directly by the time
// part. A null or shorter-than-3-byte picture gives no part; both null, or a value outside the
// calendar, give the empty text. `force24Hour` equal to 1 forces the 24-hour clock.
std::string formatClockText(double dateTime, const char* datePicture, const char* timePicture,
                            std::int32_t force24Hour = 0);

// The current local wall-clock time as an OLE Automation date, to the whole second.
double currentLocalTime();

}  // namespace talvessa
