#include "core/ini_profile.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace talvessa {

namespace {

// Blanks as the profile functions trim them around names and values: the C white space and
// Ctrl-Z (an old end-of-file mark).
bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a';
}

// Bytes 1..32, skipped at the start of the names a caller passes.
bool isLeadingControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 1 && byte <= 32;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Names and values end at a NUL byte, as the C strings of the profile functions do.
std::string_view untilNul(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

// A name as a caller passes it: leading bytes 1..32 skipped, trailing blanks dropped.
std::string_view lookupName(std::string_view name) {
    name = untilNul(name);
    while (!name.empty() && isLeadingControl(name.front())) name.remove_prefix(1);
    while (!name.empty() && isBlank(name.back())) name.remove_suffix(1);
    return name;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// The profile text as 8-bit bytes, one per code unit, and how to map positions back to the file:
// a UTF-8 byte order mark is skipped, a UTF-16 file (either byte order, with its mark) has one
// byte per 16-bit unit (units above 0xFF read as '?'), anything else is taken as it is.
struct DecodedText {
    std::string text;
    std::size_t markBytes = 0;
    std::size_t unitBytes = 1;
    bool bigEndian = false;
};

DecodedText decode(std::string_view raw) {
    DecodedText decoded;
    if (raw.substr(0, 3) == "\xEF\xBB\xBF") {
        decoded.markBytes = 3;
    } else if (raw.substr(0, 2) == "\xFF\xFE" || raw.substr(0, 2) == "\xFE\xFF") {
        decoded.markBytes = 2;
        decoded.unitBytes = 2;
        decoded.bigEndian = raw[0] == '\xFE';
    }
    if (decoded.unitBytes == 1) {
        decoded.text = raw.substr(decoded.markBytes);
        return decoded;
    }
    for (std::size_t i = decoded.markBytes; i + 1 < raw.size(); i += 2) {
        const auto first = static_cast<unsigned char>(raw[i]);
        const auto second = static_cast<unsigned char>(raw[i + 1]);
        const unsigned unit = decoded.bigEndian ? (first << 8 | second) : (second << 8 | first);
        decoded.text += unit <= 0xFF ? static_cast<char>(unit) : '?';
    }
    return decoded;
}

std::string encode(const DecodedText& decoded, std::string_view text) {
    if (decoded.unitBytes == 1) return std::string(text);
    std::string raw;
    for (char c : text) {
        if (decoded.bigEndian) raw += '\0';
        raw += c;
        if (!decoded.bigEndian) raw += '\0';
    }
    return raw;
}

enum class LineKind { Blank, Section, Key, BareKey };

// One line of the profile text; positions are offsets into the decoded text.
struct Line {
    LineKind kind = LineKind::Blank;
    std::size_t start = 0;       // first byte of the line
    std::size_t contentEnd = 0;  // before the line break
    std::size_t end = 0;         // after the line break
    std::string_view name;       // section name, or key name
    std::size_t nameEnd = 0;     // offset just after the key name
    std::string_view value;      // for Key lines
};

// Splits the text into lines (a line ends at CR LF, CR or LF) and classifies each the way the
// profile functions do: "[name]" (up to the last ']') opens a section, "name=value" is a key,
// a line with no '=' is a key without a value, and nothing is a comment.
std::vector<Line> parseLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        Line line;
        line.start = pos;
        std::size_t stop = text.find_first_of("\r\n", pos);
        if (stop == std::string_view::npos) stop = text.size();
        line.contentEnd = stop;
        line.end = stop;
        if (stop < text.size()) {
            line.end = stop + 1;
            if (text[stop] == '\r' && line.end < text.size() && text[line.end] == '\n') ++line.end;
        }
        pos = line.end;

        std::string_view content = text.substr(line.start, line.contentEnd - line.start);
        std::size_t lead = 0;
        while (lead < content.size() && isBlank(content[lead])) ++lead;
        while (!content.empty() && isBlank(content.back())) content.remove_suffix(1);
        if (lead >= content.size()) {
            lines.push_back(line);
            continue;
        }
        const std::string_view body = content.substr(lead);
        const std::size_t close = body.rfind(']');
        if (body.front() == '[' && close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = untilNul(trimBlanks(body.substr(1, close - 1)));
            lines.push_back(line);
            continue;
        }
        const std::size_t equals = body.find('=');
        const std::string_view rawName = trimBlanks(body.substr(0, equals));
        line.name = untilNul(rawName);
        line.nameEnd = line.start + lead + rawName.size();
        if (equals == std::string_view::npos) {
            line.kind = LineKind::BareKey;
        } else {
            line.kind = LineKind::Key;
            line.value = untilNul(trimBlanks(body.substr(equals + 1)));
        }
        lines.push_back(line);
    }
    return lines;
}

// Index range [first, last) of the lines of the first section named `section`; first is the
// header's index, or npos when there is no such section.
struct SectionSpan {
    std::size_t header = std::string_view::npos;
    std::size_t end = 0;
};

SectionSpan findSection(const std::vector<Line>& lines, std::string_view section) {
    SectionSpan span;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != LineKind::Section) continue;
        if (span.header != std::string_view::npos) {
            span.end = i;
            return span;
        }
        if (sameName(lines[i].name, section)) span.header = i;
    }
    span.end = lines.size();
    return span;
}

// The first key line named `key` in the span, or npos.
std::size_t findKey(const std::vector<Line>& lines, SectionSpan span, std::string_view key) {
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        if ((lines[i].kind == LineKind::Key || lines[i].kind == LineKind::BareKey) &&
            sameName(lines[i].name, key)) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::string cutToBuffer(std::string_view value) {
    return std::string(value.substr(0, kProfileBufferBytes - 1));
}

std::string defaultText(const char* defaultValue) {
    if (defaultValue == nullptr) return {};
    std::string_view text = defaultValue;
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return cutToBuffer(text);
}

// The line break the file already uses, for the lines we add; CR LF in a file without one.
std::string_view lineBreakOf(std::string_view text) {
    const std::size_t at = text.find_first_of("\r\n");
    if (at == std::string_view::npos) return "\r\n";
    if (text[at] == '\n') return "\n";
    return at + 1 < text.size() && text[at + 1] == '\n' ? "\r\n" : "\r";
}

// The file's bytes, or nullopt when it cannot be read (absent, a folder, no rights).
std::optional<std::string> readWholeFile(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return std::nullopt;
    std::string contents;
    char chunk[8192];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) contents.append(chunk, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return std::nullopt;
    return contents;
}

// Replaces the file's contents in one step: the text goes to a temporary file beside it, which is
// renamed over the old file only once it is completely written.
bool replaceWholeFile(const char* path, std::string_view contents) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path target(path);
    // A linked file is written where the link points (even where nothing is yet), and the link
    // stays a link.
    for (int hops = 0; hops < 16 && fs::is_symlink(fs::symlink_status(target, error)); ++hops) {
        const fs::path linked = fs::read_symlink(target, error);
        if (error) return false;
        target = (linked.is_absolute() ? linked : target.parent_path() / linked).lexically_normal();
    }
    const fs::file_status status = fs::status(target, error);
    const bool existed = fs::exists(status);
    if (existed) {
        // A read-only file stays as it is, even for a user whom the system would let replace it.
        if (!fs::is_regular_file(status)) return false;
        if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) return false;
    }
    const std::string temporary = target.string() + ".new~";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) return false;
    bool written = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (written && existed) {
        // The new file takes the old one's permissions, not the process's defaults.
        fs::permissions(temporary, status.permissions(), error);
    }
    if (written) {
        fs::rename(temporary, target, error);
        written = !error;
    }
    if (!written) fs::remove(temporary, error);
    return written;
}

std::string_view skipLeadingControls(const char* name) {
    std::string_view text = name != nullptr ? name : "";
    while (!text.empty() && isLeadingControl(text.front())) text.remove_prefix(1);
    return text;
}

}  // namespace

std::string iniReadValue(std::string_view contents, std::string_view section, std::string_view key,
                         const char* defaultValue) {
    section = lookupName(section);
    key = lookupName(key);
    if (section.empty() || key.empty()) return {};
    const DecodedText decoded = decode(contents);
    const std::vector<Line> lines = parseLines(decoded.text);
    const SectionSpan span = findSection(lines, section);
    if (span.header == std::string_view::npos) return defaultText(defaultValue);
    const std::size_t at = findKey(lines, span, key);
    if (at == std::string_view::npos || lines[at].kind == LineKind::BareKey) {
        return defaultText(defaultValue);
    }
    std::string_view value = lines[at].value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return cutToBuffer(value);
}

std::optional<std::string> iniWriteValue(std::string_view contents, std::string_view section,
                                         std::string_view key, std::string_view value) {
    section = lookupName(section);
    key = lookupName(key);
    if (section.empty() || key.empty()) return std::nullopt;
    // A line break in the value would end its line and start others: a value is one line.
    value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
    while (!value.empty() && isBlank(value.front())) value.remove_prefix(1);

    const DecodedText decoded = decode(contents);
    const std::string_view text = decoded.text;
    const std::vector<Line> lines = parseLines(text);
    const std::string_view lineBreak = lineBreakOf(text);
    const SectionSpan span = findSection(lines, section);

    // One edit: the decoded bytes [from, to) become `insert`.
    std::size_t from = text.size();
    std::size_t to = text.size();
    std::string insert;
    if (span.header == std::string_view::npos) {
        if (!text.empty() && text.back() != '\n' && text.back() != '\r') insert += lineBreak;
        insert.append("[").append(section).append("]").append(lineBreak);
        insert.append(key).append("=").append(value).append(lineBreak);
    } else if (const std::size_t at = findKey(lines, span, key); at != std::string_view::npos) {
        from = lines[at].nameEnd;
        to = lines[at].contentEnd;
        insert.append("=").append(value);
    } else {
        std::size_t last = span.header;
        for (std::size_t i = span.header + 1; i < span.end; ++i) {
            if (lines[i].kind != LineKind::Blank) last = i;
        }
        from = to = lines[last].end;
        if (lines[last].end == lines[last].contentEnd) insert += lineBreak;
        insert.append(key).append("=").append(value).append(lineBreak);
    }
    const std::size_t rawFrom = decoded.markBytes + from * decoded.unitBytes;
    const std::size_t rawTo = decoded.markBytes + to * decoded.unitBytes;
    std::string result(contents.substr(0, rawFrom));
    result += encode(decoded, insert);
    if (rawTo < contents.size()) result += contents.substr(rawTo);
    return result;
}

std::string iniProfileRead(const char* section, const char* key, const char* defaultValue,
                           const char* fileName) {
    const std::string_view path = skipLeadingControls(fileName);
    if (path.empty() || lookupName(section != nullptr ? section : "").empty() ||
        lookupName(key != nullptr ? key : "").empty()) {
        return {};
    }
    const std::optional<std::string> contents = readWholeFile(std::string(path).c_str());
    if (!contents) return defaultText(defaultValue);
    return iniReadValue(*contents, section, key, defaultValue);
}

bool iniProfileWrite(const char* section, const char* key, const char* value, const char* fileName) {
    const std::string path(skipLeadingControls(fileName));
    if (path.empty() || section == nullptr || key == nullptr || value == nullptr) return false;
    const std::optional<std::string> contents = readWholeFile(path.c_str());
    std::error_code error;
    // A file that is there but cannot be read is never replaced by one holding only this key.
    if (!contents && std::filesystem::exists(path, error)) return false;
    const std::optional<std::string> updated =
        iniWriteValue(contents.value_or(std::string()), section, key, value);
    if (!updated) return false;
    if (contents && *updated == *contents) return true;
    return replaceWholeFile(path.c_str(), *updated);
}

}  // namespace talvessa
