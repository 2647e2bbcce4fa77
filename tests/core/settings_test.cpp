#include "core/settings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "core/documents_folder.h"
#include "tests/core/temp_documents.h"

namespace talvessa {
namespace {

using namespace std::string_literals;
using testing::readFixture;
using testing::TempDocuments;

struct IntegerRow {
    std::string text;
    std::int32_t expected;
};

const IntegerRow kIntegerRows[] = {
    {"", 0},
    {" 42px", 42},
    {"-7", -7},
    {"+12", 12},
    {"abc", 0},
    {"0x50", 0},
    {"010", 10},
    {"\t\n\v\f\r 5", 5},
    {"- 5", 0},
    {"+-5", 0},
    {"--5", 0},
    {"12 34", 12},
    {"2147483647", 2147483647},
    {"2147483648", INT32_MIN},
    {"-2147483648", INT32_MIN},
    {"-2147483649", 2147483647},
    {"4294967295", -1},
    {"4294967296", 0},
    {"4294967376", 80},  // 2^32 + 80
    {std::string(200, '9'), -1},  // 10^200 - 1 is -1 modulo 2^32
    {"1" + std::string(40, '0'), 0},  // 10^40 is a multiple of 2^32
    // Full-width forms of GB2312: digits, signs, the space, and what passes through unchanged.
    {"\xA3\xB8\xA3\xB0", 80},
    {"\xA3\xAD\xA3\xB7", -7},
    {"\xA3\xAB\xA3\xB1\xA3\xB2", 12},
    {"\xA1\xA1\xA3\xB9", 9},
    {"\xA1\xA1 \xA3\xB3", 3},
    {"\xA3\xB1\xA3\xB2px", 12},
    {"1\xA3\xA0" "2", 1},        // 0xA3 0xA0 is outside the mapped range
    {"\xA3\xB1\xA3\xFF", 1},
    {"\xA2\xB1" "5", 0},         // another two-byte character, not a digit
    {"\xB0\x35" "6", 0},         // the trail byte is never read as the digit 5
    {"7\xB0", 7},                // a lone lead byte at the end
    {"\xA3", 0},
    {"\xA3\xB2\xA3", 2},
};

TEST(ParseSettingInteger, ReadsByTheOneParsingRule) {
    for (const IntegerRow& row : kIntegerRows) {
        SCOPED_TRACE(::testing::Message() << "[" << row.text << "]");
        EXPECT_EQ(parseSettingInteger(row.text), row.expected);
    }
}

TEST(ParseSettingInteger, MapsEveryFullWidthForm) {
    // 0xA3 0xA1..0xFE is the printable ASCII range 0x21..0x7E; then the four special pairs.
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
        const char plain = static_cast<char>(trail - 0x80);
        SCOPED_TRACE(::testing::Message() << "A3 " << std::hex << trail);
        const std::string fullWidth = "\xA3"s + static_cast<char>(trail);
        // Behind a sign and in front of a digit, each form acts exactly like its plain character.
        EXPECT_EQ(parseSettingInteger("-" + fullWidth + "5"), parseSettingInteger("-"s + plain + "5"));
        EXPECT_EQ(parseSettingInteger(fullWidth + "5"), parseSettingInteger(plain + "5"s));
    }
    EXPECT_EQ(parseSettingInteger("\xA1\xA1" "5"), 5);                       // space
    EXPECT_EQ(parseSettingInteger("\xA1\xAB" "5"), parseSettingInteger("~5")); // tilde
    EXPECT_EQ(parseSettingInteger("\xA1\xEE" "5"), parseSettingInteger("*5")); // stars
    EXPECT_EQ(parseSettingInteger("\xA1\xEF" "5"), parseSettingInteger("*5"));
    EXPECT_EQ(parseSettingInteger("\xA1\xAA" "5"), 0);                       // unmapped
}

TEST(FormatSettingInteger, WritesPlainDecimal) {
    const std::pair<std::int32_t, const char*> kRows[] = {
        {0, "0"}, {7, "7"}, {-7, "-7"}, {1920, "1920"}, {INT32_MAX, "2147483647"},
        {INT32_MIN, "-2147483648"}};
    for (const auto& [value, text] : kRows) {
        EXPECT_EQ(formatSettingInteger(value), text);
        EXPECT_EQ(parseSettingInteger(formatSettingInteger(value)), value);
    }
}

TEST(DecodeDatePicture, ReplacesQuestionMarksAtCharacterBoundaries) {
    const std::pair<std::string, std::string> kRows[] = {
        {"", ""},
        {"yyyy/M/d", "yyyy/M/d"},
        {"yyyy/M/d?", "yyyy/M/d\r\n"},
        {"yyyy/M/d?dddd?", "yyyy/M/d\r\ndddd\r\n"},
        {"??", "\r\n\r\n"},
        {"?", "\r\n"},
        {"\r\n", "\r\n"},
        {"\xB0?", "\xB0?"},              // '?' as a trail byte is part of its character
        {"\xB0?" "?", "\xB0?\r\n"},
        {"\xC4\xEA?", "\xC4\xEA\r\n"},  // 年 then a break
        {"d\xB0", "d"},                 // a lone lead byte at the end is dropped
        {"\xB0", ""},
        {"\x80\x80\x80", "\x80\x80"},
    };
    for (const auto& [stored, picture] : kRows) {
        SCOPED_TRACE(::testing::Message() << "[" << stored << "]");
        EXPECT_EQ(decodeDatePicture(stored), picture);
    }
}

class SettingsFile : public ::testing::Test {
protected:
    TempDocuments documents_;
};

TEST_F(SettingsFile, PathIsTheDocumentsFolderAndTheFixedName) {
    const std::string folder = documentsFolder();
    EXPECT_EQ(folder, documents_.folder());
    // The backslash ending the folder text and the one starting "\Talvessa.ini".
    EXPECT_EQ(settingsFilePath(), folder + "\\\\Talvessa.ini");
}

struct LoadRow {
    const char* fixture;  // under tests/data/settings/; null: no file
    std::int32_t colour;
    std::string datePicture;
    std::string timePicture;
    std::int32_t alpha, width, height, left, top;
};

const LoadRow kDefaults{nullptr, 16777215, "yyyy/M/d\r\n", "hh:mm:ss", 165, 80, 30, 0, 0};

const LoadRow kLoadRows[] = {
    kDefaults,
    {"empty.ini", 16777215, "yyyy/M/d\r\n", "hh:mm:ss", 165, 80, 30, 0, 0},
    {"only_color.ini", 255, "yyyy/M/d\r\n", "hh:mm:ss", 165, 80, 30, 0, 0},
    {"every_key.ini", 16746496, "yyyy/M/d\r\ndddd\r\n", "HH:mm", 255, 120, 58, 300, 200},
    // Other letter cases, an empty date, a '?' in time, blanks, full-width digits, wrap-around,
    // a negative position and a quoted number.
    {"odd_values.ini", 0, "", "hh?mm", 42, 80, 80, -1920, 12},
};

void expectLoaded(const LoadRow& row) {
    const std::int32_t colour = loadSettings();
    const ClockSettings& settings = clockSettings();
    EXPECT_EQ(colour, row.colour);
    EXPECT_EQ(settings.datePicture, row.datePicture);
    EXPECT_EQ(settings.timePicture, row.timePicture);
    EXPECT_EQ(settings.alpha, row.alpha);
    EXPECT_EQ(settings.width, row.width);
    EXPECT_EQ(settings.height, row.height);
    EXPECT_EQ(settings.left, row.left);
    EXPECT_EQ(settings.top, row.top);
}

TEST_F(SettingsFile, LoadsEveryKeyWithItsDefault) {
    for (const LoadRow& row : kLoadRows) {
        SCOPED_TRACE(row.fixture ? row.fixture : "no file");
        documents_.removeSettingsFile();
        if (row.fixture != nullptr) {
            documents_.writeSettingsFile(readFixture(std::string("settings/") + row.fixture));
        }
        expectLoaded(row);
    }
}

TEST_F(SettingsFile, WritesCreateTheFileAndReadBack) {
    writeSetting("color", "16746496");
    EXPECT_EQ(documents_.readSettingsFile(), "[conf]\r\ncolor=16746496\r\n");
    writeSetting("date", "");
    writeSetting("left", formatSettingInteger(-1920));
    writeSetting("color", "255");
    EXPECT_EQ(documents_.readSettingsFile(), "[conf]\r\ncolor=255\r\ndate=\r\nleft=-1920\r\n");
    EXPECT_EQ(readSetting("date", "yyyy/M/d\r\n"), "");  // present but empty: not the default
    EXPECT_EQ(readSetting("time", "hh:mm:ss"), "hh:mm:ss");
    EXPECT_EQ(readSetting("top"), "");
    EXPECT_EQ(loadSettings(), 255);
    EXPECT_EQ(clockSettings().left, -1920);
}

TEST_F(SettingsFile, WithoutADocumentsFolderTheFallbackFileIsUsed) {
    const std::filesystem::path fallback = documents_.hideDocumentsFolder();
    EXPECT_EQ(settingsFilePath(), "\\Talvessa.ini");
    expectLoaded(kDefaults);
    writeSetting("width", "120");
    EXPECT_EQ(testing::readFileBytes(fallback), "[conf]\r\nwidth=120\r\n");
    EXPECT_EQ(readSetting("width", "80"), "120");
    std::filesystem::remove(fallback);
}

TEST_F(SettingsFile, AFolderWhereTheFileShouldBeReadsDefaultsAndTakesNoWrites) {
    std::filesystem::create_directory(documents_.settingsFile());
    writeSetting("color", "255");
    expectLoaded(kDefaults);
    EXPECT_TRUE(std::filesystem::is_directory(documents_.settingsFile()));
    std::filesystem::remove(documents_.settingsFile());
}

TEST_F(SettingsFile, AReadOnlyFileKeepsItsValues) {
    const std::string before = readFixture("settings/every_key.ini");
    documents_.writeSettingsFile(before);
    std::filesystem::permissions(documents_.settingsFile(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
#ifdef _WIN32
    if (testing::fileSystemWritesReadOnlyFiles(documents_.settingsFile())) {
        GTEST_SKIP() << "Wine keeps the read-only attribute as missing Unix write bits, which "
                        "root ignores";
    }
#endif
    writeSetting("color", "255");
    writeSetting("newkey", "1");
    EXPECT_EQ(documents_.readSettingsFile(), before);
    expectLoaded(kLoadRows[3]);
}

}  // namespace
}  // namespace talvessa
