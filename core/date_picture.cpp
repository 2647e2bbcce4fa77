#include "core/date_picture.h"

#include <chrono>

namespace talvessa {
namespace {

// Walks `picture` once: text in single quotes is copied (two quotes inside stand for one), a
// two-byte character is copied whole and never read as an element, and each run of one element
// letter goes to `element(letter, runLength, out)`. Every other byte is copied.
template <typename Element>
std::string renderPicture(std::string_view picture, std::string_view elementLetters,
                          const std::bitset<256>& leadBytes, Element&& element) {
    std::string out;
    out.reserve(picture.size() + 16);
    bool quoted = false;
    std::size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (leadBytes[static_cast<unsigned char>(c)]) {
            // As the code page conversion does: a lead byte without a valid second byte (none at
            // all, or a control, digit or punctuation byte) becomes one "?", the pair consumed.
            if (i + 1 < picture.size() && static_cast<unsigned char>(picture[i + 1]) >= 0x40) {
                out.append(picture.substr(i, 2));
            } else {
                out += '?';
            }
            i += 2;
            continue;
        }
        if (c == '\'') {
            if (quoted && i + 1 < picture.size() && picture[i + 1] == '\'') {
                out += '\'';
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
            continue;
        }
        if (!quoted && elementLetters.find(c) != std::string_view::npos) {
            std::size_t run = 1;
            while (i + run < picture.size() && picture[i + run] == c) {
                ++run;
            }
            element(c, run, out);
            i += run;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

void appendNumber(std::string& out, unsigned value, std::size_t minDigits) {
    const std::string digits = std::to_string(value);
    if (digits.size() < minDigits) {
        out.append(minDigits - digits.size(), '0');
    }
    out += digits;
}

// The first character of `text`: one byte, or two when it starts with a lead byte.
std::string_view firstCharacter(std::string_view text, const std::bitset<256>& leadBytes) {
    if (text.empty()) {
        return text;
    }
    const bool doubleByte = leadBytes[static_cast<unsigned char>(text[0])] && text.size() >= 2;
    return text.substr(0, doubleByte ? 2 : 1);
}

}  // namespace

const LocaleNames& englishLocaleNames() {
    static const LocaleNames names{
        {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
        {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
        {"January", "February", "March", "April", "May", "June", "July", "August", "September",
         "October", "November", "December"},
        {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
        "AM",
        "PM",
        "AD",
        {},
    };
    return names;
}

std::bitset<256> leadBytesOfCodePage(unsigned codePage) {
    std::bitset<256> lead;
    const auto mark = [&lead](unsigned first, unsigned last) {
        for (unsigned b = first; b <= last; ++b) {
            lead.set(b);
        }
    };
    switch (codePage) {
        case 932:  // Shift JIS: the half-width katakana A1..DF stand alone
            mark(0x81, 0x9F);
            mark(0xE0, 0xFC);
            break;
        case 936:
        case 949:
        case 950:
            mark(0x81, 0xFE);
            break;
        default:
            break;
    }
    return lead;
}

std::optional<std::string> formatDatePicture(const CalendarFields& fields, std::string_view picture,
                                             const LocaleNames& names) {
    // The calendar types keep only the low bits of a larger number (month 259 would be March),
    // so the ranges are checked on the fields themselves first.
    if (fields.year == 0 || fields.year > static_cast<int>(std::chrono::year::max()) ||
        fields.month > 12 || fields.day > 31) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year{fields.year},
                                           std::chrono::month{fields.month},
                                           std::chrono::day{fields.day}};
    if (!date.ok()) {
        return std::nullopt;
    }
    // A wrong day of the week in the fields is ignored, as the Windows call does.
    const unsigned dayOfWeek = std::chrono::weekday{std::chrono::sys_days{date}}.c_encoding();
    return renderPicture(picture, "dMyg", names.leadBytes,
                         [&](char letter, std::size_t run, std::string& out) {
        switch (letter) {
            case 'd':
                if (run <= 2) {
                    appendNumber(out, fields.day, run);
                } else {
                    out += run == 3 ? names.abbreviatedDayNames[dayOfWeek] : names.dayNames[dayOfWeek];
                }
                break;
            case 'M':
                if (run <= 2) {
                    appendNumber(out, fields.month, run);
                } else {
                    const auto& list = run == 3 ? names.abbreviatedMonthNames : names.monthNames;
                    out += list[fields.month - 1U];
                }
                break;
            case 'y':
                // y and yy alike give two digits; three or more y give the full year.
                if (run <= 2) {
                    appendNumber(out, fields.year % 100U, 2);
                } else {
                    appendNumber(out, fields.year, 4);
                }
                break;
            default:  // 'g': one era per run, "g" and "gg" alike
                out += names.era;
                break;
        }
    });
}

std::optional<std::string> formatTimePicture(const CalendarFields& fields, std::string_view picture,
                                             const LocaleNames& names, bool force24Hour) {
    if (fields.hour > 23 || fields.minute > 59 || fields.second > 59 || fields.milliseconds > 999) {
        return std::nullopt;
    }
    const unsigned hour12 = fields.hour % 12U == 0 ? 12U : fields.hour % 12U;
    return renderPicture(picture, "hHmst", names.leadBytes,
                         [&](char letter, std::size_t run, std::string& out) {
        const std::size_t digits = run >= 2 ? 2 : 1;
        switch (letter) {
            case 'h':
                appendNumber(out, force24Hour ? fields.hour : hour12, digits);
                break;
            case 'H':
                appendNumber(out, fields.hour, digits);
                break;
            case 'm':
                appendNumber(out, fields.minute, digits);
                break;
            case 's':
                appendNumber(out, fields.second, digits);
                break;
            default: {  // 't': the marker stays even on the 24-hour clock
                const std::string& marker = fields.hour < 12 ? names.amDesignator : names.pmDesignator;
                out += run == 1 ? firstCharacter(marker, names.leadBytes) : std::string_view{marker};
                break;
            }
        }
    });
}

std::string fillPartBuffer(const std::optional<std::string>& rendered,
                           const std::bitset<256>& leadBytes) {
    if (!rendered) {
        return std::string(kMaxPartBytes, ' ');
    }
    if (rendered->size() <= kMaxPartBytes) {
        return *rendered;
    }
    // Too long: like the Windows call, keep the whole characters that fit and leave the rest of
    // the buffer as it was, blank.
    std::size_t end = 0;
    while (end < rendered->size()) {
        const bool doubleByte = leadBytes[static_cast<unsigned char>((*rendered)[end])];
        const std::size_t length = doubleByte && end + 1 < rendered->size() ? 2 : 1;
        if (end + length > kMaxPartBytes) {
            break;
        }
        end += length;
    }
    std::string part = rendered->substr(0, end);
    part.resize(kMaxPartBytes, ' ');
    return part;
}

}  // namespace talvessa
