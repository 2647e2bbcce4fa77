#include "core/clock_text.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <ctime>
#include <string_view>

#include "core/date_picture.h"
#include "core/ole_date.h"

namespace talvessa {
namespace {

// The Windows ANSI code page of a locale, by its language and territory; 1252 for the rest.
struct CodePageRule {
    std::string_view locale;  // a language, or a language and territory
    unsigned codePage;
};

constexpr CodePageRule kCodePageRules[] = {
    {"zh_TW", 950}, {"zh_HK", 950}, {"zh_MO", 950}, {"zh", 936},   {"ja", 932},   {"ko", 949},
    {"th", 874},    {"vi", 1258},   {"ru", 1251},   {"uk", 1251},  {"be", 1251},  {"bg", 1251},
    {"mk", 1251},   {"sr", 1251},   {"kk", 1251},   {"el", 1253},  {"tr", 1254},  {"az", 1254},
    {"he", 1255},   {"ar", 1256},   {"fa", 1256},   {"ur", 1256},  {"et", 1257},  {"lv", 1257},
    {"lt", 1257},   {"cs", 1250},   {"sk", 1250},   {"pl", 1250},  {"hu", 1250},  {"ro", 1250},
    {"hr", 1250},   {"sl", 1250},   {"sq", 1250},   {"bs", 1250},
};

unsigned codePageOfLocale(std::string_view name) {
    for (const CodePageRule& rule : kCodePageRules) {
        if (name.starts_with(rule.locale) &&
            (name.size() == rule.locale.size() ||
             std::string_view{"_.@"}.find(name[rule.locale.size()]) != std::string_view::npos)) {
            return rule.codePage;
        }
    }
    return 1252;
}

// The locale the C library takes for dates: the first of LC_ALL, LC_TIME and LANG that is set.
std::string_view userLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "C";
}

// Converts one name from the locale's own character set to the code page.
bool convertName(iconv_t converter, const char* source, std::string& target) {
    std::string_view input{source};
    target.assign(input.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* out = target.data();
    std::size_t outLeft = target.size();
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
        return false;
    }
    target.resize(target.size() - outLeft);
    return true;
}

// The user's day and month names and time markers from the C library, in the Windows code page
// of the user's locale; English when the locale is missing or a name does not convert.
LocaleNames loadUserLocaleNames() {
    const std::string_view localeName = userLocaleName();
    locale_t locale = newlocale(LC_CTYPE_MASK | LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) {
        return englishLocaleNames();
    }
    const unsigned codePage = codePageOfLocale(localeName);
    const std::string targetCharset = "CP" + std::to_string(codePage);
    iconv_t converter = iconv_open(targetCharset.c_str(), nl_langinfo_l(CODESET, locale));
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        freelocale(locale);
        return englishLocaleNames();
    }

    LocaleNames names;
    bool converted = true;
    const auto take = [&](nl_item item, std::string& target) {
        converted = converted && convertName(converter, nl_langinfo_l(item, locale), target);
    };
    for (int i = 0; i < 7; ++i) {
        take(DAY_1 + i, names.dayNames[i]);
        take(ABDAY_1 + i, names.abbreviatedDayNames[i]);
    }
    for (int i = 0; i < 12; ++i) {
        take(MON_1 + i, names.monthNames[i]);
        take(ABMON_1 + i, names.abbreviatedMonthNames[i]);
    }
    take(AM_STR, names.amDesignator);
    take(PM_STR, names.pmDesignator);
    iconv_close(converter);
    freelocale(locale);
    if (!converted) {
        return englishLocaleNames();
    }
    // The C library knows no name for the common era; only English gets one.
    const bool english = localeName == "C" || localeName == "POSIX" ||
                         localeName.starts_with("C.") || localeName.starts_with("en");
    names.era = english ? englishLocaleNames().era : std::string{};
    names.leadBytes = leadBytesOfCodePage(codePage);
    return names;
}

}  // namespace

std::string formatClockText(double dateTime, const char* datePicture, const char* timePicture,
                            std::int32_t force24Hour) {
    // The user's locale is read once: the process environment does not change.
    static const LocaleNames userNames = loadUserLocaleNames();
    return formatClockTextWith(userNames, dateTime, datePicture, timePicture, force24Hour);
}

double currentLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) {
        return 0.0;
    }
    return oleDateFromCalendar(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                               local.tm_min, local.tm_sec);
}

}  // namespace talvessa
