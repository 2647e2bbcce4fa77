#pragma once
// The notification-area icon, kept with the program as the bytes of an ICO file.

#include <cstdint>
#include <span>

namespace talvessa {

// A complete 4,286-byte ICO file with one 32 x 32 image at 32 bits per pixel (BGRA, rows bottom
// first, then a 1-bit mask), the image data at offset 22. Drawn by tools/icongen.
std::span<const std::uint8_t> trayIconImage();

}  // namespace talvessa
