#pragma once
// Our own INI profile reader and writer: the rules of the Windows profile functions
// (GetPrivateProfileStringA / WritePrivateProfileStringA) on 8-bit text, for platforms that do not
// have them. Built everywhere, so the Windows test program can hold it against the real functions.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace talvessa {

// The read buffer the clock passes to the profile functions; a value is cut to one byte less.
inline constexpr std::size_t kProfileBufferBytes = 10240;

// The value of `key` in the first section named `section` of the profile text `contents`.
// Names match without regard to ASCII letter case; leading bytes 1..32 of the looked-up names
// are skipped and trailing blanks dropped, and a name that is then empty gives the empty text.
// An absent section or key, or a key line without '=', gives `defaultValue` (null: the empty
// text) less its trailing spaces. The value loses the blanks around it and one pair of enclosing
// quotes, stops at a NUL byte and is cut to kProfileBufferBytes - 1 bytes.
std::string iniReadValue(std::string_view contents, std::string_view section, std::string_view key,
                         const char* defaultValue);

// `contents` with `key` set to `value` in the first section named `section`: an existing key
// line is rewritten after its name, a missing key is added after the section's last line, a
// missing section is added at the end. Every other byte stays as it was. The value is cut at the
// first line break or NUL byte (a value is one line) and loses its leading blanks. Nothing to
// write (a name empty after skipping leading bytes 1..32) gives nullopt.
std::optional<std::string> iniWriteValue(std::string_view contents, std::string_view section,
                                         std::string_view key, std::string_view value);

// The file-level reader: iniReadValue over the file `fileName` (leading bytes 1..32 skipped; an
// empty name gives the empty text). A missing or unreadable file reads as absent.
std::string iniProfileRead(const char* section, const char* key, const char* defaultValue,
                           const char* fileName);

// The file-level writer: never leaves a half-written file (the new text goes to a temporary file
// in the same folder, which is then renamed over the old one); creates a missing file but never a
// folder; leaves a file without its owner-write permission alone. Returns whether it wrote.
bool iniProfileWrite(const char* section, const char* key, const char* value, const char* fileName);

}  // namespace talvessa
