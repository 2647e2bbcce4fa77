// parseSettingInteger on any bytes, held against a plain model of the rule (full-width forms,
// blanks, sign, digits modulo 2^32), and against forms that must read the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/settings.h"

namespace {

using talvessa::formatSettingInteger;
using talvessa::parseSettingInteger;

void require(bool condition) {
    if (!condition) std::abort();
}

// The rule written out once more, walking the bytes directly.
std::int32_t modelOf(std::string_view text) {
    enum class Stage { Blanks, Sign, Digits } stage = Stage::Blanks;
    bool negative = false;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            if (i + 1 == text.size()) break;
            const auto trail = static_cast<unsigned char>(text[++i]);
            if (c == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
                c = static_cast<unsigned char>(trail - 0x80);
            } else if (c == 0xA1 && trail == 0xA1) {
                c = ' ';
            } else if (c == 0xA1 && trail == 0xAB) {
                c = '~';
            } else if (c == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
                c = '*';
            } else {
                break;  // any other two-byte character ends the number
            }
        }
        const bool blank = c == ' ' || (c >= '\t' && c <= '\r');
        if (stage == Stage::Blanks && blank) continue;
        if (stage != Stage::Digits && (c == '+' || c == '-')) {
            if (stage == Stage::Sign) break;
            negative = c == '-';
            stage = Stage::Sign;
            continue;
        }
        if (c < '0' || c > '9') break;
        stage = Stage::Digits;
        value = (value * 10 + (c - '0')) & 0xFFFFFFFFu;
    }
    if (negative) value = (0x100000000u - value) & 0xFFFFFFFFu;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::int32_t value = parseSettingInteger(text);
    require(value == modelOf(text));
    // The number ends before anything appended; a full-width space in front is a blank, and a
    // full-width sign reads as the plain one.
    require(parseSettingInteger(text + "x") == value);
    require(parseSettingInteger("\xA1\xA1" + text) == value);
    require(parseSettingInteger("\xA3\xAD" + text) == parseSettingInteger("-" + text));
    // Written and read again, every value is itself.
    require(parseSettingInteger(formatSettingInteger(value)) == value);
    return 0;
}
