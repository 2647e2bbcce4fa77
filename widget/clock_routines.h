#pragma once
// The spine of the program: what runs when the window is created, at every tick of the timer,
// at the Exit command and when the program ends.

#include "core/widget_port.h"
#include "widget/settings_menu.h"

namespace talvessa {

// The text the label shows until the first tick, and the notification-area tooltip.
inline constexpr const char* kStartText = "Talvessa";

inline constexpr int kTickPeriodMs = 1000;

// Loads the settings and applies them to the still hidden window: position (only when both
// stored edges are above 0), colour, alpha, start text, sizes, the timer, the tray icon.
void onWidgetCreated(WidgetPort& widget);

// Renders the current local time with the two pictures and puts it into the label.
void onTick(WidgetPort& widget);

// Writes the window's left and top, removes the tray icon and ends the program with 0; the
// program ends inside, so nothing after it runs.
void onExitCommand(WidgetPort& widget);

// Runs what a chosen menu entry is bound to: a row of a preset table, or Exit.
void runMenuCommand(WidgetPort& widget, const MenuCommand& command);

// Releases the two pictures. Registered by the program entry; runs once at the end.
void onShutdown();

}  // namespace talvessa
