#include "widget/clock_events_win32.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include "widget/clock_routines.h"
#include "widget/pointer_tray_win32.h"
#include "widget/widget_window_win32.h"

namespace talvessa {

namespace {

HWND widgetWindow() {
    return static_cast<HWND>(widgetPort().getWindowHandle(ControlObject::WidgetWindow));
}

// The settings file falls back to the root of the current drive when there is no documents
// folder: make that the drive that holds the program.
void enterProgramFolder() {
    std::string path(MAX_PATH, '\0');
    DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) return;
    path.resize(length);
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return;
    path.resize(slash + 1);
    SetCurrentDirectoryA(path.c_str());
}

}  // namespace

void ClockEvents::onWidgetCreated() {
    talvessa::onWidgetCreated(widgetPort());
}

void ClockEvents::onTick() {
    talvessa::onTick(widgetPort());
}

void ClockEvents::onMenuCommand(const MenuCommand& command) {
    runMenuCommand(widgetPort(), command);
}

void ClockEvents::onTrayEvent(TrayAction action) {
    if (action == TrayAction::RightButtonReleased) showTrayMenu(widgetWindow(), kSettingsMenuRoot);
}

void ClockEvents::onLabelLeftPress() {
    talvessa::onLabelLeftPress(widgetWindow());
}

void ClockEvents::onLabelRightRelease() {
    showPopupMenu(widgetWindow(), kSettingsMenuRoot);
}

int runClock() {
    enterProgramFolder();
    std::atexit(onShutdown);
    static ClockEvents events;
    if (!loadWidgetWindow(events)) return -1;
    runMessageLoop();
    return 0;
}

}  // namespace talvessa
