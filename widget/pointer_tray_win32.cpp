#include "widget/pointer_tray_win32.h"

#include <cstring>

#include "widget/settings_menu.h"
#include "widget/settings_menu_win32.h"

namespace talvessa {

namespace {

// The one window with a notification-area icon, and the icon it shows.
struct TrayIconState {
    HWND window = nullptr;
    HICON icon = nullptr;
};
TrayIconState trayState;

constexpr std::size_t kIcoHeaderSize = 6;
constexpr std::size_t kIcoEntrySize = 16;
constexpr std::size_t kTooltipMaxBytes = 62;

std::uint16_t readU16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint32_t readU32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) |
           (static_cast<std::uint32_t>(bytes[3]) << 24);
}

// The icon made from the first image of an ICO file, or null. The directory entry's offset and
// size are checked against the bytes, so a damaged file never makes the platform read past them.
HICON iconFromIcoBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kIcoHeaderSize + kIcoEntrySize) return nullptr;
    const std::uint16_t reserved = readU16(bytes.data());
    const std::uint16_t type = readU16(bytes.data() + 2);
    const std::uint16_t count = readU16(bytes.data() + 4);
    if (reserved != 0 || (type != 1 && type != 2) || count == 0) return nullptr;
    const std::uint8_t* entry = bytes.data() + kIcoHeaderSize;
    const std::uint32_t imageSize = readU32(entry + 8);
    const std::uint32_t imageOffset = readU32(entry + 12);
    if (imageOffset > bytes.size() || imageSize == 0 || imageSize > bytes.size() - imageOffset)
        return nullptr;
    // Width and height 0: the size the image's own header gives.
    return CreateIconFromResourceEx(const_cast<PBYTE>(bytes.data() + imageOffset), imageSize, TRUE,
                                    0x00030000, 0, 0, LR_DEFAULTCOLOR);
}

HMENU popupFor(std::size_t entry) {
    if (!menuHasChildren(kSettingsMenu, entry)) return nullptr;
    return buildMenu(entry);
}

}  // namespace

NOTIFYICONDATAA trayIconRecord(HWND window, HICON icon, const char* tooltip) {
    NOTIFYICONDATAA record;
    std::memset(&record, 0, sizeof record);
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = window;
    record.uID = kTrayIconId;
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = kTrayCallbackMessage;
    record.hIcon = icon;
    if (tooltip) std::strncpy(record.szTip, tooltip, kTooltipMaxBytes);
    return record;
}

std::optional<TrayAction> trayActionFor(LPARAM notification) {
    switch (LOWORD(notification)) {
        case WM_LBUTTONUP: return TrayAction::LeftButtonReleased;
        case WM_LBUTTONDBLCLK: return TrayAction::LeftDoubleClick;
        case WM_RBUTTONUP:
        case WM_CONTEXTMENU: return TrayAction::RightButtonReleased;
        default: return std::nullopt;
    }
}

void onLabelLeftPress(HWND window) {
    SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void showPopupMenu(HWND window, std::size_t entry) {
    HMENU menu = popupFor(entry);
    if (!menu) return;
    POINT pointer{};
    GetCursorPos(&pointer);
    // TrackPopupMenu runs a nested message loop: ticks go on while the popup is open, and the
    // chosen command arrives as WM_COMMAND after it has closed.
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, pointer.x + 3, pointer.y + 3, 0, window, nullptr);
    DestroyMenu(menu);
}

void showTrayMenu(HWND window, std::size_t entry) {
    HMENU menu = popupFor(entry);
    if (!menu) return;
    POINT pointer{};
    GetCursorPos(&pointer);
    // The window must be in the foreground, or the popup does not close when the user clicks
    // elsewhere; the WM_NULL afterwards lets the next click on the icon open it again.
    SetForegroundWindow(window);
    TrackPopupMenu(menu, TPM_RIGHTALIGN, pointer.x - 5, pointer.y - 5, 0, window, nullptr);
    PostMessageA(window, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

void setTrayIcon(HWND window, std::span<const std::uint8_t> icoBytes, const char* tooltip) {
    HICON newIcon = icoBytes.empty() ? nullptr : iconFromIcoBytes(icoBytes);
    NOTIFYICONDATAA record = trayIconRecord(window, newIcon, tooltip);
    const bool shown = trayState.icon != nullptr && trayState.window == window;
    if (shown) {
        Shell_NotifyIconA(newIcon ? NIM_MODIFY : NIM_DELETE, &record);
        DestroyIcon(trayState.icon);
    } else if (newIcon) {
        Shell_NotifyIconA(NIM_ADD, &record);
    }
    trayState = newIcon ? TrayIconState{window, newIcon} : TrayIconState{};
}

void removeTrayIcon(HWND window) {
    if (trayState.icon && trayState.window == window) setTrayIcon(window, {}, nullptr);
}

HICON trayIconHandle(HWND window) {
    return trayState.window == window ? trayState.icon : nullptr;
}

}  // namespace talvessa
