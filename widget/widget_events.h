#pragma once
// The events WidgetWindow raises, with their handlers. Every event runs on the user-interface
// thread from inside the message that caused it; the defaults do nothing.

#include "widget/settings_menu.h"

namespace talvessa {

// What the pointer did on the notification-area icon.
enum class TrayAction { LeftButtonReleased, LeftDoubleClick, RightButtonReleased };

class WidgetEvents {
public:
    virtual ~WidgetEvents() = default;

    // Raised once by loadWidgetWindow while the window is still hidden.
    virtual void onWidgetCreated() {}
    // The window's moved and resized events: raised once each right after onWidgetCreated returns,
    // then whenever the window moves or changes size. Never before onWidgetCreated.
    virtual void onWidgetMoved() {}
    virtual void onWidgetResized() {}
    // TickTimer's periodic event.
    virtual void onTick() {}
    // A menu entry was chosen; raised after its popup has closed, from the message loop.
    virtual void onMenuCommand(const MenuCommand& /*command*/) {}
    virtual void onTrayEvent(TrayAction /*action*/) {}
    virtual void onLabelLeftPress() {}
    virtual void onLabelRightRelease() {}
};

}  // namespace talvessa
