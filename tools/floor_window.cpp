// The floor for the footprint figures: one window and a 1 s timer, nothing else. Its face is
// painted by the platform with the class brush, in the colour given as the first argument
// (0x00BBGGRR, default green) so a probe from outside can tell when it is painted. The window has
// the clock's default size. Ends when its window is closed or the process is stopped.
#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const COLORREF colour =
        commandLine && *commandLine ? std::strtoul(commandLine, nullptr, 0) : RGB(0, 255, 0);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = CreateSolidBrush(colour);
    windowClass.lpszClassName = "TalvessaFloorWindow";
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, windowClass.lpszClassName, "",
                                  WS_POPUP | WS_VISIBLE, 100, 100, 80, 30, nullptr, nullptr,
                                  instance, nullptr);
    if (!window) return 1;
    SetTimer(window, 1, 1000, nullptr);  // WM_TIMER reaches DefWindowProcA, which ignores it
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
