#pragma once
// Pointer and notification-area interaction of WidgetWindow (Win32 only): the window move, the
// two popups of SettingsMenu and the notification-area icon.

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "widget/widget_events.h"

namespace talvessa {

// The private message the shell sends WidgetWindow for its notification-area icon, and the
// icon's identifier.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
inline constexpr UINT kTrayIconId = 1;

// What the shell's pointer notification (the callback's lParam) means, if anything.
std::optional<TrayAction> trayActionFor(LPARAM notification);

// Starts the platform's move of `window` as for a press on a caption; returns when the left
// button is released.
void onLabelLeftPress(HWND window);

// The popup of the entries below `entry` at the pointer + (3, 3); returns when it has closed.
void showPopupMenu(HWND window, std::size_t entry);

// The same for the notification-area icon: right edge at the pointer's x - 5, top at y - 5.
void showTrayMenu(HWND window, std::size_t entry);

// With the bytes of an ICO file, shows its first image as the window's notification-area icon
// with the tooltip (cut to 62 bytes); bytes that make no icon, or empty bytes, remove the icon.
// The window keeps the icon's handle and destroys it when the icon is removed or replaced.
void setTrayIcon(HWND window, std::span<const std::uint8_t> icoBytes, const char* tooltip);

// The first-version notification record for the window's icon: the layout that ends with the
// 64-byte tooltip, which holds the tooltip's first 62 bytes at most.
NOTIFYICONDATAA trayIconRecord(HWND window, HICON icon, const char* tooltip);

// Removes the window's icon, if it shows one (also called when the window is destroyed).
void removeTrayIcon(HWND window);

// The icon the window shows in the notification area, or null.
HICON trayIconHandle(HWND window);

}  // namespace talvessa
