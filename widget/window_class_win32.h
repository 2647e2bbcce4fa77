#pragma once
// The window class that the clock's window and its label share (Win32 only).

#include <windows.h>

namespace talvessa {

// Registers a class with double clicks, a full repaint on every resize, the arrow cursor and no
// background brush (the window paints its own face; the label draws only glyphs). True when the
// class exists afterwards.
inline bool registerClockWindowClass(HINSTANCE instance, const char* className, WNDPROC procedure) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszClassName = className;
    return RegisterClassExA(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace talvessa
