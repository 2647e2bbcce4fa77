#pragma once
// What the in-process window tests share: an event recorder, a message pump with a deadline,
// pixel capture of a window and a count of the process's GDI objects.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "widget/widget_events.h"
#include "widget/widget_window_win32.h"

namespace talvessa::testing {

// Records the events in the order they arrive. `created` runs inside onWidgetCreated, while the
// window is still hidden.
struct RecordedEvents : WidgetEvents {
    std::vector<std::string> log;
    std::vector<MenuCommand> commands;
    std::vector<ULONGLONG> tickTimes;
    std::function<void(WidgetPort&)> created;

    void onWidgetCreated() override {
        HWND window = static_cast<HWND>(widgetPort().getWindowHandle(ControlObject::WidgetWindow));
        log.push_back(IsWindowVisible(window) ? "created (visible)" : "created (hidden)");
        if (created) created(widgetPort());
    }
    void onWidgetMoved() override { log.push_back("moved"); }
    void onWidgetResized() override { log.push_back("resized"); }
    void onTick() override {
        log.push_back("tick");
        tickTimes.push_back(GetTickCount64());
    }
    void onMenuCommand(const MenuCommand& command) override {
        log.push_back("command");
        commands.push_back(command);
    }
};

// Dispatches the thread's messages until `done` holds or `timeoutMs` has passed; true when done.
inline bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done()) return true;
        ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now),
                                  QS_ALLINPUT);
    }
}

inline void pumpFor(DWORD ms) {
    pumpUntil([] { return false; }, ms);
}

inline HWND widgetHandle() {
    return static_cast<HWND>(widgetPort().getWindowHandle(ControlObject::WidgetWindow));
}

inline HWND labelHandle() {
    return static_cast<HWND>(widgetPort().getWindowHandle(ControlObject::ClockLabel));
}

// A window's client area as COLORREF values (0x00BBGGRR), row by row from the top.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> values;

    COLORREF at(int x, int y) const { return values[static_cast<std::size_t>(y * width + x)]; }
    std::set<COLORREF> colours() const { return {values.begin(), values.end()}; }
    // Rows holding at least one pixel other than black.
    std::vector<bool> inkedRows() const {
        std::vector<bool> rows(static_cast<std::size_t>(height), false);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) rows[static_cast<std::size_t>(y)] = rows[static_cast<std::size_t>(y)] || at(x, y) != 0;
        }
        return rows;
    }
};

// Reads the pixels of `source` (a DC of `width` x `height`) through a 32-bit DIB section.
inline Pixels readPixels(HDC source, int width, int height) {
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && section) {
        HGDIOBJ previous = SelectObject(memory, section);
        BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* quads = static_cast<const std::uint32_t*>(bits);
        for (int i = 0; i < width * height; ++i) {
            std::uint32_t rgb = quads[i] & 0xFFFFFF;  // 0x00RRGGBB in a DIB
            pixels.values.push_back(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
        }
        SelectObject(memory, previous);
    }
    if (section) DeleteObject(section);
    if (memory) DeleteDC(memory);
    return pixels;
}

// The client area of `window` with its child windows, as on screen. The window must lie wholly
// on screen. (PrintWindow would leave the transparent label out.)
inline Pixels captureClient(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    Pixels pixels = readPixels(dc, client.right, client.bottom);
    ReleaseDC(window, dc);
    return pixels;
}

// The number of GDI objects the process holds. GetGuiResources answers 0 under Wine, so when it
// does, every index of the GDI handle table is probed with GetObjectType: a live object answers
// for its index whatever the handle's upper (reuse) bits.
inline int countGdiObjects() {
    if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) {
        return static_cast<int>(count);
    }
    int count = 0;
    for (std::uintptr_t index = 1; index <= 0xFFFF; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++count;
    }
    return count;
}

}  // namespace talvessa::testing
