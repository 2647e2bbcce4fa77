#pragma once
// The profile layer under readSetting and writeSetting. On Windows the profile functions
// themselves; elsewhere our own INI reader and writer (ini_profile.h) over the same path text.

#include <string>

namespace talvessa {

// GetPrivateProfileStringA with a kProfileBufferBytes buffer. `defaultValue` null or empty is
// passed as no default.
std::string readProfileString(const char* section, const char* key, const char* defaultValue,
                              const char* fileName);

// WritePrivateProfileStringA; failures are silent.
void writeProfileString(const char* section, const char* key, const char* value,
                        const char* fileName);

}  // namespace talvessa
