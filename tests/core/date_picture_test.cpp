#include "core/date_picture.h"

#include <gtest/gtest.h>

#include <string>

namespace talvessa {
namespace {

// Tuesday 5 March 2024, 13:05:09.
constexpr CalendarFields kTuesday{2024, 3, 2, 5, 13, 5, 9, 0};

CalendarFields at(std::uint16_t year, std::uint16_t hour) {
    CalendarFields fields = kTuesday;
    fields.year = year;
    fields.hour = hour;
    return fields;
}

// Day names and time markers of a double-byte (code page 936) locale, as GBK bytes.
LocaleNames chineseNames() {
    LocaleNames names = englishLocaleNames();
    names.dayNames[2] = "\xD0\xC7\xC6\xDA\xB6\xFE";  // 星期二
    names.amDesignator = "\xC9\xCF\xCE\xE7";        // 上午
    names.pmDesignator = "\xCF\xC2\xCE\xE7";        // 下午
    names.leadBytes = leadBytesOfCodePage(936);
    return names;
}

struct DateRow {
    const char* picture;
    CalendarFields fields;
    const char* expected;
};

TEST(DatePicture, ElementsQuotesAndPlainCharacters) {
    const DateRow rows[] = {
        {"d", kTuesday, "5"},
        {"dd", kTuesday, "05"},
        {"ddd", kTuesday, "Tue"},
        {"dddd", kTuesday, "Tuesday"},
        {"ddddd", kTuesday, "Tuesday"},
        {"M", kTuesday, "3"},
        {"MM", kTuesday, "03"},
        {"MMM", kTuesday, "Mar"},
        {"MMMM", kTuesday, "March"},
        {"MMMMM", kTuesday, "March"},
        {"y", at(2007, 0), "07"},
        {"yy", at(2007, 0), "07"},
        {"yyy", kTuesday, "2024"},
        {"yyyy", kTuesday, "2024"},
        {"yyyyy", kTuesday, "2024"},
        {"yyyy", at(105, 0), "0105"},
        {"yyyy", at(10000, 0), "10000"},
        {"g", kTuesday, "AD"},
        {"gg", kTuesday, "AD"},
        {"yyyy/M/d\r\n", kTuesday, "2024/3/5\r\n"},
        {"yyyy/M/d\r\ndddd\r\n", kTuesday, "2024/3/5\r\nTuesday\r\n"},
        {"'d' d", kTuesday, "d 5"},
        {"'it''s' d", kTuesday, "it's 5"},
        {"''", kTuesday, ""},
        {"'", kTuesday, ""},
        {"x'yy", kTuesday, "xyy"},
        {"hh:mm:ss tt D Y G", kTuesday, "hh:mm:ss tt D Y G"},
        {"?", kTuesday, "?"},
    };
    for (const DateRow& row : rows) {
        SCOPED_TRACE(row.picture);
        EXPECT_EQ(formatDatePicture(row.fields, row.picture, englishLocaleNames()), row.expected);
    }
}

TEST(DatePicture, TakesTheDayOfWeekFromTheDate) {
    CalendarFields wrongDay = kTuesday;
    wrongDay.dayOfWeek = 6;
    EXPECT_EQ(formatDatePicture(wrongDay, "dddd", englishLocaleNames()), "Tuesday");
}

TEST(DatePicture, RejectsFieldsThatAreNoDate) {
    const CalendarFields invalid[] = {
        {2024, 0, 0, 5, 0, 0, 0, 0},
        {2024, 13, 0, 5, 0, 0, 0, 0},
        {2023, 2, 0, 29, 0, 0, 0, 0},
        {2024, 4, 0, 31, 0, 0, 0, 0},
        {2024, 3, 0, 0, 0, 0, 0, 0},
        // Numbers whose low byte is a valid month or day, and a year past the calendar's.
        {2024, 259, 0, 5, 0, 0, 0, 0},
        {2024, 0x4803, 0, 5, 0, 0, 0, 0},
        {2024, 3, 0, 261, 0, 0, 0, 0},
        {65535, 3, 0, 5, 0, 0, 0, 0},
    };
    for (const CalendarFields& fields : invalid) {
        SCOPED_TRACE(std::to_string(fields.year) + "/" + std::to_string(fields.month) + "/" +
                     std::to_string(fields.day));
        EXPECT_FALSE(formatDatePicture(fields, "d/M/yyyy", englishLocaleNames()).has_value());
    }
}

struct TimeRow {
    const char* picture;
    std::uint16_t hour;
    bool force24Hour;
    const char* expected;
};

TEST(TimePicture, ElementsOnBothClocks) {
    const TimeRow rows[] = {
        {"hh:mm:ss", 13, true, "13:05:09"},
        {"hh:mm:ss", 13, false, "01:05:09"},
        {"hh:mm:ss", 0, true, "00:05:09"},
        {"hh:mm:ss", 0, false, "12:05:09"},
        {"hh:mm:ss", 12, false, "12:05:09"},
        {"h", 13, false, "1"},
        {"h", 13, true, "13"},
        {"hhh", 9, false, "09"},
        {"H", 9, false, "9"},
        {"HH", 9, true, "09"},
        {"HHH", 13, false, "13"},
        {"m s", 13, false, "5 9"},
        {"mmm sss", 13, false, "05 09"},
        {"t", 11, false, "A"},
        {"tt", 11, false, "AM"},
        {"ttt", 12, false, "PM"},
        {"HH tt", 13, true, "13 PM"},
        {"hh?mm?ss", 13, true, "13?05?09"},
        {"'h''m' h", 13, false, "h'm 1"},
        {"yyyy d M g dddd", 13, false, "yyyy d M g dddd"},
    };
    for (const TimeRow& row : rows) {
        SCOPED_TRACE(std::string(row.picture) + (row.force24Hour ? " 24h" : " 12h"));
        EXPECT_EQ(formatTimePicture(at(2024, row.hour), row.picture, englishLocaleNames(),
                                    row.force24Hour),
                  row.expected);
    }
}

TEST(TimePicture, RejectsFieldsThatAreNoTime) {
    CalendarFields fields = kTuesday;
    fields.hour = 24;
    EXPECT_FALSE(formatTimePicture(fields, "hh", englishLocaleNames(), true).has_value());
    fields = kTuesday;
    fields.milliseconds = 1000;
    EXPECT_FALSE(formatTimePicture(fields, "hh", englishLocaleNames(), true).has_value());
}

// In a double-byte code page the second byte of a character is never an element letter, and a
// first byte without a proper second byte becomes "?".
TEST(DatePicture, DoubleByteCharacters) {
    const LocaleNames names = chineseNames();
    const DateRow rows[] = {
        {"dddd", kTuesday, "\xD0\xC7\xC6\xDA\xB6\xFE"},
        {"yyyy\xC4\xEA" "M\xD4\xC2" "d\xC8\xD5", kTuesday, "2024\xC4\xEA" "3\xD4\xC2" "5\xC8\xD5"},
        {"\x81" "dy", kTuesday, "\x81" "d24"},
        {"\x81", kTuesday, "?"},
        {"\x81\x0A" "d", kTuesday, "?5"},
        {"\xC4'd'", kTuesday, "?5"},
        {"'abc\xC4", kTuesday, "abc?"},
        {"\x80y\xFF", kTuesday, "\x80" "24\xFF"},
    };
    for (const DateRow& row : rows) {
        SCOPED_TRACE(row.picture);
        EXPECT_EQ(formatDatePicture(row.fields, row.picture, names), row.expected);
    }
    EXPECT_EQ(formatTimePicture(at(2024, 9), "t|tt", names, false), "\xC9\xCF|\xC9\xCF\xCE\xE7");
    // The same bytes in a single-byte code page are characters of their own.
    EXPECT_EQ(formatDatePicture(kTuesday, "\x81" "dy", englishLocaleNames()), "\x81" "524");
}

struct PartRow {
    const char* name;
    std::optional<std::string> rendered;
    bool doubleByte;
    std::string expected;
};

TEST(PartBuffer, HoldsAtMost49Bytes) {
    const std::string gbkWord = "\xD0\xC7\xC6\xDA\xB6\xFE ";  // 7 bytes
    std::string sevenWords;
    for (int i = 0; i < 7; ++i) {
        sevenWords += gbkWord;
    }
    const PartRow rows[] = {
        {"49 bytes fit", std::string(49, 'x'), false, std::string(49, 'x')},
        {"50 bytes lose the last", std::string(50, 'x'), false, std::string(49, 'x')},
        {"a long text keeps its first 49 bytes", std::string(49, 'a') + "bcd", false,
         std::string(49, 'a')},
        {"a two-byte character across the end is left out", "xx" + sevenWords, true,
         ("xx" + sevenWords).substr(0, 48) + " "},
        {"whole two-byte characters up to the end stay", "x" + sevenWords + "y", true,
         ("x" + sevenWords).substr(0, 49)},
        {"the bytes of a single-byte code page are characters", "xx" + sevenWords, false,
         ("xx" + sevenWords).substr(0, 49)},
        {"a failed call leaves the blanks", std::nullopt, false, std::string(49, ' ')},
        {"the empty text", std::string(), false, std::string()},
    };
    for (const PartRow& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string part =
            fillPartBuffer(row.rendered, row.doubleByte ? leadBytesOfCodePage(936) : std::bitset<256>{});
        EXPECT_EQ(part, row.expected);
        EXPECT_LE(part.size(), kMaxPartBytes);
    }
}

}  // namespace
}  // namespace talvessa
