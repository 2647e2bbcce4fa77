#include "widget/window_alpha_win32.h"

namespace talvessa {

void applyWindowAlpha(HWND window, std::int32_t alpha, std::uint32_t colourKey) {
    // Replaces the extended style instead of adding to it. WS_EX_TOPMOST survives because the
    // platform changes it only through SetWindowPos, so the window keeps its band.
    SetWindowLongA(window, GWL_EXSTYLE, WS_EX_LAYERED);
    auto alphaByte = static_cast<BYTE>(alpha & 0xFF);
    DWORD flags = LWA_ALPHA;
    if (colourKey != 0) flags = alphaByte == 0 ? LWA_COLORKEY : LWA_COLORKEY | LWA_ALPHA;
    SetLayeredWindowAttributes(window, colourKey, alphaByte, flags);
}

}  // namespace talvessa
