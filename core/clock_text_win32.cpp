#include "core/clock_text.h"

#include <windows.h>
#include <oleauto.h>

#include <array>
#include <cmath>
#include <cstring>
#include <ctime>

#include "core/date_picture.h"
#include "core/ole_date.h"

namespace talvessa {
namespace {

// The code page in which GetDateFormatA and GetTimeFormatA write for locale 0.
UINT userAnsiCodePage() {
    DWORD codePage = 0;
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<LPSTR>(&codePage), sizeof codePage / sizeof(CHAR)) == 0) {
        return CP_ACP;
    }
    return codePage;
}

// Runs one formatting call on a fresh buffer of 50 blanks given with the size 50 and returns the
// text up to the first zero byte. The call's result is not looked at.
template <typename FormatCall>
std::string formatPart(FormatCall&& call) {
    std::array<char, kPartBufferSize + 1> buffer;
    buffer.fill(' ');
    buffer.back() = '\0';
    call(buffer.data(), static_cast<int>(kPartBufferSize));
    // A result that does not fit fills all 50 bytes without a terminating zero; the part keeps
    // at most 49 of them and never ends in the first half of a two-byte character.
    buffer[kMaxPartBytes] = '\0';
    std::string part(buffer.data());
    if (part.size() == kMaxPartBytes) {
        const UINT codePage = userAnsiCodePage();
        for (std::size_t i = 0; i < part.size(); ++i) {
            if (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(part[i]))) {
                if (i + 1 == part.size()) {
                    part.back() = ' ';
                }
                ++i;
            }
        }
    }
    return part;
}

}  // namespace

std::string formatClockText(double dateTime, const char* datePicture, const char* timePicture,
                            std::int32_t force24Hour) {
    if (datePicture == nullptr && timePicture == nullptr) {
        return {};
    }
    // VariantTimeToSystemTime accepts NaN (as 30 December 1899); no date lies there.
    if (std::isnan(dateTime)) {
        return {};
    }
    SYSTEMTIME fields{};
    if (VariantTimeToSystemTime(dateTime, &fields) != 1) {
        return {};
    }
    std::string text;
    if (datePicture != nullptr && std::strlen(datePicture) >= 3) {
        text = formatPart([&](char* buffer, int size) {
            GetDateFormatA(0, 0, &fields, datePicture, buffer, size);
        });
    }
    if (timePicture != nullptr && std::strlen(timePicture) >= 3) {
        const DWORD flags = force24Hour == 1 ? TIME_FORCE24HOURFORMAT : 0;
        text += formatPart([&](char* buffer, int size) {
            GetTimeFormatA(0, flags, &fields, timePicture, buffer, size);
        });
    }
    return text;
}

double currentLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_s(&local, &now) != 0) {
        return 0.0;
    }
    return oleDateFromCalendar(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                               local.tm_min, local.tm_sec);
}

}  // namespace talvessa
