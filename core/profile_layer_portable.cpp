#include "core/profile_layer.h"

#include <string_view>

#include "core/ini_profile.h"

namespace talvessa {

namespace {

// The settings path is a Windows path text: backslashes separate folders, and a doubled one
// counts once. A path that starts with a backslash names the root of the current drive on
// Windows; there are no drives here, so it names the current directory instead (start-up makes
// that the program's own folder), never the file-system root.
std::string nativePath(std::string_view windowsPath) {
    std::size_t start = 0;
    while (start < windowsPath.size() && static_cast<unsigned char>(windowsPath[start]) >= 1 &&
           static_cast<unsigned char>(windowsPath[start]) <= 32) {
        ++start;
    }
    windowsPath.remove_prefix(start);
    const bool driveRoot = !windowsPath.empty() && windowsPath.front() == '\\';
    std::string path;
    for (char c : windowsPath) {
        if (c == '\\') c = '/';
        if (c == '/' && !path.empty() && path.back() == '/') continue;
        if (c == '/' && path.empty() && driveRoot) continue;
        path += c;
    }
    return path;
}

}  // namespace

std::string readProfileString(const char* section, const char* key, const char* defaultValue,
                              const char* fileName) {
    return iniProfileRead(section, key, defaultValue, nativePath(fileName).c_str());
}

void writeProfileString(const char* section, const char* key, const char* value,
                        const char* fileName) {
    iniProfileWrite(section, key, value, nativePath(fileName).c_str());
}

}  // namespace talvessa
