#include "core/profile_layer.h"

#include <windows.h>

#include <vector>

#include "core/ini_profile.h"

namespace talvessa {

std::string readProfileString(const char* section, const char* key, const char* defaultValue,
                              const char* fileName) {
    // An empty default goes in as a null pointer, which the function reads as the empty text.
    if (defaultValue != nullptr && *defaultValue == '\0') defaultValue = nullptr;
    std::vector<char> buffer(kProfileBufferBytes, '\0');
    const DWORD copied = GetPrivateProfileStringA(section, key, defaultValue, buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), fileName);
    return std::string(buffer.data(), copied < buffer.size() ? copied : buffer.size() - 1);
}

void writeProfileString(const char* section, const char* key, const char* value,
                        const char* fileName) {
    WritePrivateProfileStringA(section, key, value, fileName);
}

}  // namespace talvessa
