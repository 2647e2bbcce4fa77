// Talvessa: a small desktop clock that stays on top.
#include <windows.h>

#include "widget/clock_events_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return talvessa::runClock();
}
