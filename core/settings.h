#pragma once
// The settings file: `Talvessa.ini` in the user's documents folder, section `conf`.

#include <cstdint>
#include <string>
#include <string_view>

namespace talvessa {

// The one process-wide record of loaded settings. Both pictures are empty and the integers 0
// until loadSettings fills it.
struct ClockSettings {
    std::string datePicture;  // line breaks already decoded
    std::string timePicture;
    std::int32_t alpha = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t left = 0;
    std::int32_t top = 0;
};

// The record every handler shares.
ClockSettings& clockSettings();

// The documents folder, ending in a backslash unless empty, followed by "\Talvessa.ini".
// Formed anew at every call; never fails.
std::string settingsFilePath();

// The value of `key` in section `conf`, or `defaultValue` (null: the empty text) when the file,
// the section or the key is absent.
std::string readSetting(std::string_view key, const char* defaultValue = nullptr);

// Sets `key` to `value` in section `conf`; failures are silent.
void writeSetting(std::string_view key, std::string_view value);

// Reads the eight keys in their fixed order into clockSettings() and returns the colour.
std::int32_t loadSettings();

// Decimal text to a 32-bit integer: full-width forms first, then blanks, sign and digits with
// 32-bit wrap-around; anything else reads as 0.
std::int32_t parseSettingInteger(std::string_view text);

// Plain decimal text: a minus sign for negatives, no plus, no leading zeros or blanks.
std::string formatSettingInteger(std::int32_t value);

// The stored `date` text with every "?" at a character boundary replaced by "\r\n".
std::string decodeDatePicture(std::string_view stored);

}  // namespace talvessa
