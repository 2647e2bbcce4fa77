#include "core/settings.h"

#include <cstdint>
#include <string>

#include "core/documents_folder.h"
#include "core/profile_layer.h"

namespace talvessa {

namespace {

constexpr const char* kSection = "conf";
constexpr const char* kFileName = "\\Talvessa.ini";

// A byte of 0x80 or above starts a two-byte character of the ANSI code page.
bool isLeadByte(unsigned char byte) {
    return byte >= 0x80;
}

// The full-width forms that read like their plain characters, or 0 for any other pair.
char plainFormOf(unsigned char lead, unsigned char trail) {
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return static_cast<char>(trail - 0x80);
    if (lead == 0xA1) {
        switch (trail) {
            case 0xA1: return ' ';
            case 0xAB: return '~';
            case 0xEE:
            case 0xEF: return '*';
            default: break;
        }
    }
    return 0;
}

bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

ClockSettings& clockSettings() {
    static ClockSettings settings;
    return settings;
}

std::string settingsFilePath() {
    std::string path = documentsFolder();
    if (!path.empty() && path.back() != '\\') path += '\\';
    // The doubled backslash is intended: the platform takes the pair as one separator, and with no
    // folder the leading one names the root of the current drive.
    path += kFileName;
    return path;
}

std::string readSetting(std::string_view key, const char* defaultValue) {
    const std::string keyText(key);
    return readProfileString(kSection, keyText.c_str(), defaultValue, settingsFilePath().c_str());
}

void writeSetting(std::string_view key, std::string_view value) {
    const std::string keyText(key);
    const std::string valueText(value);
    writeProfileString(kSection, keyText.c_str(), valueText.c_str(), settingsFilePath().c_str());
}

std::int32_t loadSettings() {
    ClockSettings& settings = clockSettings();
    const std::int32_t colour = parseSettingInteger(readSetting("color", "16777215"));
    settings.datePicture = decodeDatePicture(readSetting("date", "yyyy/M/d\r\n"));
    settings.timePicture = readSetting("time", "hh:mm:ss");
    settings.alpha = parseSettingInteger(readSetting("hyaline", "165"));
    settings.width = parseSettingInteger(readSetting("width", "80"));
    settings.height = parseSettingInteger(readSetting("height", "30"));
    settings.left = parseSettingInteger(readSetting("left"));
    settings.top = parseSettingInteger(readSetting("top"));
    return colour;
}

std::int32_t parseSettingInteger(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!isLeadByte(byte)) {
            plain += text[i];
            continue;
        }
        if (i + 1 >= text.size()) break;  // a lead byte with nothing after it ends the text
        const auto trail = static_cast<unsigned char>(text[i + 1]);
        if (const char mapped = plainFormOf(byte, trail); mapped != 0) {
            plain += mapped;
        } else {
            plain.append(text.substr(i, 2));
        }
        ++i;
    }

    std::size_t at = 0;
    while (at < plain.size() && isSpace(plain[at])) ++at;
    bool negative = false;
    if (at < plain.size() && (plain[at] == '+' || plain[at] == '-')) {
        negative = plain[at] == '-';
        ++at;
    }
    // Unsigned arithmetic wraps modulo 2^32 by definition; the cast back is two's complement.
    std::uint32_t value = 0;
    for (; at < plain.size() && plain[at] >= '0' && plain[at] <= '9'; ++at) {
        value = value * 10U + static_cast<std::uint32_t>(plain[at] - '0');
    }
    if (negative) value = 0U - value;
    return static_cast<std::int32_t>(value);
}

std::string formatSettingInteger(std::int32_t value) {
    return std::to_string(value);
}

std::string decodeDatePicture(std::string_view stored) {
    std::string picture;
    picture.reserve(stored.size());
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(stored[i]))) {
            if (i + 1 >= stored.size()) break;  // a lone lead byte at the end is dropped
            picture.append(stored.substr(i, 2));
            ++i;
        } else if (stored[i] == '?') {
            picture += "\r\n";
        } else {
            picture += stored[i];
        }
    }
    return picture;
}

}  // namespace talvessa
