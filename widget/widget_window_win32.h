#pragma once
// WidgetWindow: the clock's one visible window, with ClockLabel, TickTimer and SettingsMenu
// (Win32 only).

#include <windows.h>

#include "core/widget_port.h"
#include "widget/widget_events.h"

namespace talvessa {

// Builds the hidden owner window and WidgetWindow with its label and timer, raises
// `events.onWidgetCreated` while the window is hidden, then the moved and resized events, and
// shows the window. `events` must outlive the window. When a window cannot be created, destroys
// what it built and returns false. A window already loaded is destroyed first.
bool loadWidgetWindow(WidgetEvents& events);

// The port of the loaded window. Without a loaded window, writes do nothing and reads give 0.
WidgetPort& widgetPort();

// Destroys WidgetWindow and its hidden owner, if they exist, without ending a message loop.
void destroyWidgetWindow();

// Dispatches the thread's messages until WidgetWindow is gone, then destroys the hidden owner, so
// no window of the program is left. Returns the code of WM_QUIT.
int runMessageLoop();

}  // namespace talvessa
