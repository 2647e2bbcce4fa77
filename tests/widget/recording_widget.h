#pragma once
// A WidgetPort that records every call as one line of text, answers reads from the values last
// written, and lets a test look at the world (the settings file) at the moment of each call.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/widget_port.h"

namespace talvessa::testing {

inline const char* objectName(ControlObject object) {
    switch (object) {
        case ControlObject::WidgetWindow: return "window";
        case ControlObject::ClockLabel: return "label";
        case ControlObject::TickTimer: return "timer";
    }
    return "?";
}

inline const char* propertyName(ControlProperty property) {
    switch (property) {
        case ControlProperty::Left: return "left";
        case ControlProperty::Top: return "top";
        case ControlProperty::Width: return "width";
        case ControlProperty::Height: return "height";
        case ControlProperty::TimerPeriod: return "period";
        case ControlProperty::Text: return "text";
        case ControlProperty::TextColour: return "colour";
    }
    return "?";
}

// Thrown by endProgram, which must not return.
struct ProgramEnded {
    int exitCode;
};

class RecordingWidget : public WidgetPort {
public:
    std::vector<std::string> calls;
    // Runs after each call is recorded, with the call's line.
    std::function<void(const std::string&)> onCall;
    std::map<std::pair<ControlObject, ControlProperty>, std::int32_t> values;
    WindowHandle handle = reinterpret_cast<WindowHandle>(std::uintptr_t{0x4711});

    void setControlProperty(ControlObject object, ControlProperty property,
                            std::int32_t value) override {
        values[{object, property}] = value;
        record(std::string(objectName(object)) + "." + propertyName(property) + "=" +
               std::to_string(value));
    }
    void setControlProperty(ControlObject object, ControlProperty property,
                            std::string_view text) override {
        record(std::string(objectName(object)) + "." + propertyName(property) + "=\"" +
               std::string(text) + "\"");
    }
    std::int32_t getControlProperty(ControlObject object, ControlProperty property) override {
        record(std::string("read ") + objectName(object) + "." + propertyName(property));
        return values[{object, property}];
    }
    WindowHandle getWindowHandle(ControlObject object) override {
        record(std::string("handle ") + objectName(object));
        return handle;
    }
    void applyWindowAlpha(WindowHandle window, std::int32_t alpha,
                          std::uint32_t colourKey) override {
        record(std::string("alpha ") + (window == handle ? "window" : "other") + " " +
               std::to_string(alpha) + " key " + std::to_string(colourKey));
    }
    void setTrayIcon(std::span<const std::uint8_t> icoBytes, const char* tooltip) override {
        if (icoBytes.empty() && tooltip == nullptr)
            record("tray remove");
        else
            record("tray " + std::to_string(icoBytes.size()) + " bytes \"" +
                   (tooltip ? tooltip : "(null)") + "\"");
    }
    [[noreturn]] void endProgram(int exitCode) override {
        record("end " + std::to_string(exitCode));
        throw ProgramEnded{exitCode};
    }

private:
    void record(std::string line) {
        calls.push_back(line);
        if (onCall) onCall(line);
    }
};

}  // namespace talvessa::testing
