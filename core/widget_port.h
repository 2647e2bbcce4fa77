#pragma once
// The narrow interface through which the handlers and settings commands reach the window, its
// label, its timer and the notification-area icon. The Win32 implementation lives in widget/;
// tests use a recording fake.

#include <cstdint>
#include <span>
#include <string_view>

namespace talvessa {

enum class ControlObject { WidgetWindow, ClockLabel, TickTimer };

enum class ControlProperty { Left, Top, Width, Height, TimerPeriod, Text, TextColour };

// An opaque native window handle (an HWND on Windows).
using WindowHandle = void*;

class WidgetPort {
public:
    virtual ~WidgetPort() = default;

    // Integer properties: position, size, timer period and text colour.
    virtual void setControlProperty(ControlObject object, ControlProperty property,
                                    std::int32_t value) = 0;
    // Text properties: the label's text.
    virtual void setControlProperty(ControlObject object, ControlProperty property,
                                    std::string_view text) = 0;
    virtual std::int32_t getControlProperty(ControlObject object, ControlProperty property) = 0;
    virtual WindowHandle getWindowHandle(ControlObject object) = 0;

    // Makes the window layered with one constant alpha (only its low 8 bits count).
    virtual void applyWindowAlpha(WindowHandle window, std::int32_t alpha,
                                  std::uint32_t colourKey) = 0;

    // With image bytes (an ICO file), shows them as the window's notification-area icon with the
    // tooltip; with empty bytes and a null tooltip, removes the icon.
    virtual void setTrayIcon(std::span<const std::uint8_t> icoBytes, const char* tooltip) = 0;

    // Destroys the window, runs the registered shutdown routine and ends the process.
    [[noreturn]] virtual void endProgram(int exitCode) = 0;
};

}  // namespace talvessa
