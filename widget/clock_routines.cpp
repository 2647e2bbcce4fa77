#include "widget/clock_routines.h"

#include <string>

#include "core/clock_text.h"
#include "core/presets.h"
#include "core/settings.h"
#include "resources/tray_icon_image.h"

namespace talvessa {

void onWidgetCreated(WidgetPort& widget) {
    const std::int32_t colour = loadSettings();
    const ClockSettings& settings = clockSettings();

    // A window left on a monitor left of or above the primary one is not restored.
    if (settings.left > 0 && settings.top > 0) {
        widget.setControlProperty(ControlObject::WidgetWindow, ControlProperty::Left, settings.left);
        widget.setControlProperty(ControlObject::WidgetWindow, ControlProperty::Top, settings.top);
    }
    widget.setControlProperty(ControlObject::ClockLabel, ControlProperty::TextColour, colour);
    widget.applyWindowAlpha(widget.getWindowHandle(ControlObject::WidgetWindow), settings.alpha, 0);
    widget.setControlProperty(ControlObject::ClockLabel, ControlProperty::Text, kStartText);
    widget.setControlProperty(ControlObject::ClockLabel, ControlProperty::Width, settings.width);
    widget.setControlProperty(ControlObject::ClockLabel, ControlProperty::Height, settings.height);
    widget.setControlProperty(ControlObject::WidgetWindow, ControlProperty::Width, settings.width);
    widget.setControlProperty(ControlObject::WidgetWindow, ControlProperty::Height,
                              settings.height);
    widget.setControlProperty(ControlObject::TickTimer, ControlProperty::TimerPeriod,
                              kTickPeriodMs);
    widget.setTrayIcon(trayIconImage(), kStartText);
}

void onTick(WidgetPort& widget) {
    const ClockSettings& settings = clockSettings();
    const std::string text = formatClockText(currentLocalTime(), settings.datePicture.c_str(),
                                             settings.timePicture.c_str(), 1);
    widget.setControlProperty(ControlObject::ClockLabel, ControlProperty::Text, text);
}

void onExitCommand(WidgetPort& widget) {
    const std::int32_t left =
        widget.getControlProperty(ControlObject::WidgetWindow, ControlProperty::Left);
    writeSetting("left", formatSettingInteger(left));
    const std::int32_t top =
        widget.getControlProperty(ControlObject::WidgetWindow, ControlProperty::Top);
    writeSetting("top", formatSettingInteger(top));
    widget.setTrayIcon({}, nullptr);
    widget.endProgram(0);
}

void runMenuCommand(WidgetPort& widget, const MenuCommand& command) {
    const auto row = static_cast<std::size_t>(command.row);
    switch (command.kind) {
        case MenuCommandKind::ColourTheme:
            if (row < kColourThemes.size()) selectColourTheme(widget, kColourThemes[row]);
            break;
        case MenuCommandKind::FormatPreset:
            if (row < kFormatPresets.size()) selectFormatPreset(widget, kFormatPresets[row]);
            break;
        case MenuCommandKind::AlphaLevel:
            if (row < kAlphaLevels.size()) selectAlphaLevel(widget, kAlphaLevels[row]);
            break;
        case MenuCommandKind::Exit:
            onExitCommand(widget);
            break;
        case MenuCommandKind::None:
            break;
    }
}

void onShutdown() {
    ClockSettings& settings = clockSettings();
    std::string().swap(settings.datePicture);
    std::string().swap(settings.timePicture);
}

}  // namespace talvessa
