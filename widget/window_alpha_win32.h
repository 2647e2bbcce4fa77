#pragma once
// The window's constant alpha (Win32 only).

#include <windows.h>

#include <cstdint>

namespace talvessa {

// Makes `window` a layered window with one constant alpha. Its extended style becomes exactly
// WS_EX_LAYERED; only the low 8 bits of `alpha` count (256 is 0, -1 is 255); a `colourKey` of 0
// means no colour key. Failures are silent.
void applyWindowAlpha(HWND window, std::int32_t alpha, std::uint32_t colourKey);

}  // namespace talvessa
