// One tick in-process under Wine, with time compressed: the tick routine called in a loop, each
// call followed by the paint messages it leaves queued. Prints the process's CPU time and the wall
// time per tick, and the clock text alone through the Windows formatting functions.
//
//   tick_bench [TICKS]      (default 100000)

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/clock_text.h"
#include "core/settings.h"
#include "widget/clock_label_win32.h"
#include "widget/clock_routines.h"
#include "widget/widget_window_win32.h"

namespace {

using namespace talvessa;

// The program's own start-up; the timer's ticks do nothing here, the loop drives them.
struct BenchEvents : WidgetEvents {
    void onWidgetCreated() override { talvessa::onWidgetCreated(widgetPort()); }
};

void pumpPending() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

double processCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& time) {
        ULARGE_INTEGER value;
        value.LowPart = time.dwLowDateTime;
        value.HighPart = time.dwHighDateTime;
        return static_cast<double>(value.QuadPart) * 1e-7;  // 100 ns units
    };
    return seconds(kernel) + seconds(user);
}

double wallSeconds() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Figures {
    double cpuUs;
    double wallUs;
};

template <typename Step>
Figures perCall(long count, Step step) {
    const double cpu0 = processCpuSeconds();
    const double wall0 = wallSeconds();
    for (long i = 0; i < count; ++i) step();
    const double cpu = processCpuSeconds() - cpu0;
    const double wall = wallSeconds() - wall0;
    return {cpu * 1e6 / static_cast<double>(count), wall * 1e6 / static_cast<double>(count)};
}

}  // namespace

int main(int argc, char** argv) {
    const long ticks = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 100000;
    if (ticks <= 0) return 2;

    BenchEvents events;
    if (!loadWidgetWindow(events)) {
        std::fputs("tick_bench: the window could not be made\n", stderr);
        return 1;
    }
    WidgetPort& port = widgetPort();
    pumpPending();

    const ClockSettings& settings = clockSettings();
    auto tick = [&] {
        onTick(port);
        pumpPending();
    };
    // Every tick a new second, so every write changes the text as the running clock's does.
    double dateTime = currentLocalTime();
    auto compressedTick = [&] {
        dateTime += 1.0 / 86400;
        port.setControlProperty(ControlObject::ClockLabel, ControlProperty::Text,
                                formatClockText(dateTime, settings.datePicture.c_str(),
                                                settings.timePicture.c_str(), 1));
        pumpPending();
    };
    auto text = [&] {
        dateTime += 1.0 / 86400;
        std::string value = formatClockText(dateTime, settings.datePicture.c_str(),
                                            settings.timePicture.c_str(), 1);
        if (value.empty()) std::abort();
    };

    // Parts of a tick, to see where its time goes.
    HWND label = static_cast<HWND>(port.getWindowHandle(ControlObject::ClockLabel));
    auto windowText = [&] { SetWindowTextA(label, "2025/1/1\r\n00:00:00"); };
    auto refresh = [&] {
        refreshClockLabel(label);
        pumpPending();
    };
    auto font = [] {
        LOGFONTA description{};
        description.lfHeight = -12;
        description.lfQuality = PROOF_QUALITY;
        lstrcpynA(description.lfFaceName, "Verdana", LF_FACESIZE);
        DeleteObject(CreateFontIndirectA(&description));
    };

    perCall(ticks / 10 + 1, tick);  // warm-up: fonts, caches, the first paints
    const Figures onTickFigures = perCall(ticks, tick);
    const Figures compressedFigures = perCall(ticks, compressedTick);
    const Figures textFigures = perCall(ticks, text);
    const Figures windowTextFigures = perCall(ticks, windowText);
    const Figures refreshFigures = perCall(ticks, refresh);
    const Figures fontFigures = perCall(ticks, font);

    std::printf("tick (onTick, text write, refresh, paints)   %ld ticks  cpu %.2f us/tick  wall %.2f us/tick\n",
                ticks, onTickFigures.cpuUs, onTickFigures.wallUs);
    std::printf("tick, a new second each time                %ld ticks  cpu %.2f us/tick  wall %.2f us/tick\n",
                ticks, compressedFigures.cpuUs, compressedFigures.wallUs);
    std::printf("formatClockText (Windows functions)          %ld calls  cpu %.2f us/call  wall %.2f us/call\n",
                ticks, textFigures.cpuUs, textFigures.wallUs);
    std::printf("  part: SetWindowTextA                          cpu %.2f us  wall %.2f us\n",
                windowTextFigures.cpuUs, windowTextFigures.wallUs);
    std::printf("  part: refresh and paints (face, label twice)  cpu %.2f us  wall %.2f us\n",
                refreshFigures.cpuUs, refreshFigures.wallUs);
    std::printf("  part: the label's font made and deleted       cpu %.2f us  wall %.2f us\n",
                fontFigures.cpuUs, fontFigures.wallUs);
    destroyWidgetWindow();
    return 0;
}
