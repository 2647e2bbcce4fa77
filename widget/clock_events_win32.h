#pragma once
// The program's event bindings: the events of WidgetWindow, its label, its timer and its menu,
// bound to the clock's handlers (Win32 only).

#include "widget/widget_events.h"

namespace talvessa {

class ClockEvents : public WidgetEvents {
public:
    void onWidgetCreated() override;
    void onTick() override;
    void onMenuCommand(const MenuCommand& command) override;
    void onTrayEvent(TrayAction action) override;
    void onLabelLeftPress() override;
    void onLabelRightRelease() override;
};

// The program entry: makes the program's folder the current directory, registers onShutdown,
// loads the window and runs the message loop. Returns 0, or -1 when the window cannot be made.
int runClock();

}  // namespace talvessa
