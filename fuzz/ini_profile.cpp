// The INI profile reader and writer on any bytes as the file. Every section and key name the
// file shows, and the clock's own eight keys, are read; then a value is written under each of
// them and must read back, with every other line of the file left as it was.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ini_profile.h"

namespace {

using talvessa::iniReadValue;
using talvessa::iniWriteValue;
using talvessa::kProfileBufferBytes;

constexpr std::size_t kMaxSections = 4;
constexpr std::size_t kMaxKeys = 14;

constexpr std::string_view kClockKeys[] = {"color", "date", "time", "hyaline",
                                           "width", "height", "left", "top"};

void require(bool condition) {
    if (!condition) std::abort();
}

bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

void addName(std::vector<std::string>& names, std::string_view name, std::size_t limit) {
    if (name.empty() || names.size() >= limit) return;
    for (const std::string& known : names) {
        if (known == name) return;
    }
    names.emplace_back(name);
}

// The section and key names the file's lines show, taken roughly: "[name]" lines and the text
// before '=' (or the whole line) of the others.
void collectNames(std::string_view file, std::vector<std::string>& sections,
                  std::vector<std::string>& keys) {
    std::size_t pos = 0;
    while (pos < file.size()) {
        std::size_t stop = file.find_first_of("\r\n", pos);
        if (stop == std::string_view::npos) stop = file.size();
        const std::string_view line = trim(file.substr(pos, stop - pos));
        pos = stop + 1;
        if (line.size() >= 2 && line.front() == '[' && line.find(']') != std::string_view::npos) {
            addName(sections, trim(line.substr(1, line.rfind(']') - 1)), kMaxSections);
        } else {
            addName(keys, trim(line.substr(0, line.find('='))), kMaxKeys);
        }
    }
}

// The value a reader gives back after writing `value`: one line, without the blanks around it
// and one pair of enclosing quotes, cut to the read buffer.
std::string readBackOf(std::string_view value) {
    value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
    value = trim(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, kProfileBufferBytes - 1));
}

// A name as the reader looks it up: up to a NUL byte, leading bytes 1..32 skipped, trailing
// blanks dropped.
std::string_view lookedUp(std::string_view name) {
    name = name.substr(0, name.find('\0'));
    while (!name.empty() && static_cast<unsigned char>(name.front()) >= 1 &&
           static_cast<unsigned char>(name.front()) <= 32) {
        name.remove_prefix(1);
    }
    while (!name.empty() && isBlank(name.back())) name.remove_suffix(1);
    return name;
}

// Names that a key=value line can carry: one line, no '=' in a key, no key that reads as a
// section header.
bool writable(std::string_view section, std::string_view key) {
    section = lookedUp(section);
    key = lookedUp(key);
    if (section.empty() || key.empty()) return false;
    if (section.find_first_of("\r\n") != std::string_view::npos) return false;
    return key.find_first_of("\r\n=") == std::string_view::npos && key.front() != '[';
}

// Every line of `before` but one is in `after` byte for byte: what the edit removed lies inside
// a single line. Text in UTF-16 (with its byte order mark) is compared by 16-bit units.
void requireOtherLinesKept(std::string_view before, std::string_view after) {
    std::size_t unit = 1;
    std::size_t mark = 0;
    bool bigEndian = false;
    if (before.substr(0, 2) == "\xFF\xFE" || before.substr(0, 2) == "\xFE\xFF") {
        unit = 2;
        mark = 2;
        bigEndian = before[0] == '\xFE';
    }
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    const std::size_t to = before.size() - suffix;
    if (prefix >= to) return;  // nothing removed: the edit only inserts
    require(prefix >= mark);
    // Whole units: the true edit is unit-aligned and contains [prefix, to), so it also contains
    // the unit that holds the byte at prefix.
    const std::size_t from = mark + (prefix - mark) / unit * unit;
    for (std::size_t i = from; i + unit <= before.size() && i < to; i += unit) {
        unsigned value = static_cast<unsigned char>(before[i]);
        if (unit == 2) {
            const unsigned next = static_cast<unsigned char>(before[i + 1]);
            value = bigEndian ? (value << 8 | next) : (next << 8 | value);
        }
        require(value != '\r' && value != '\n');
    }
}

const std::string kLongValue(kProfileBufferBytes + 40, 'v');

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);

    std::vector<std::string> sections{"conf"};
    std::vector<std::string> keys(std::begin(kClockKeys), std::end(kClockKeys));
    collectNames(file, sections, keys);

    for (const std::string& section : sections) {
        for (const std::string& key : keys) {
            const std::string value = iniReadValue(file, section, key, "default");
            require(value.size() < kProfileBufferBytes);
            require(value.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
        }
    }

    // The values a write may bring: plain, empty, blanks and quotes, a line break, too long, and
    // the first line of the file itself.
    const std::string_view values[] = {
        "9", "", "  'q z'  ", "a\r\n[evil]\r\nx=1", "\"", kLongValue,
        file.substr(0, file.find_first_of("\r\n")),
    };
    // Each key once, in the sections in turn.
    for (std::size_t turn = 0; turn < keys.size(); ++turn) {
        const std::string& section = sections[turn % sections.size()];
        const std::string& key = keys[turn];
        const std::string_view value = values[turn % std::size(values)];
        const std::optional<std::string> written = iniWriteValue(file, section, key, value);
        if (lookedUp(section).empty() || lookedUp(key).empty()) {
            require(!written.has_value());
            continue;
        }
        require(written.has_value());
        requireOtherLinesKept(file, *written);
        if (!writable(section, key)) continue;
        require(iniReadValue(*written, section, key, "default") == readBackOf(value));
        // Writing the same value again changes nothing.
        require(iniWriteValue(*written, section, key, value) == written);
    }
    return 0;
}
