#include "core/presets.h"

#include <string>

#include "core/settings.h"

namespace talvessa {

namespace {

// Each stored text is the plain decimal text of its number, fixed in the table rather than
// formatted at run time; checked here once at compile time.
constexpr bool isDecimalTextOf(std::string_view text, std::int64_t value) {
    std::int64_t parsed = 0;
    if (text.empty() || text.front() == '0') return text == "0" && value == 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        parsed = parsed * 10 + (c - '0');
    }
    return parsed == value;
}

constexpr bool storedTextsMatch() {
    for (const auto& theme : kColourThemes)
        if (!isDecimalTextOf(theme.storedText, theme.colour)) return false;
    for (const auto& preset : kFormatPresets)
        if (!isDecimalTextOf(preset.storedWidth, preset.width) ||
            !isDecimalTextOf(preset.storedHeight, preset.height))
            return false;
    for (const auto& level : kAlphaLevels)
        if (!isDecimalTextOf(level.storedText, level.alpha)) return false;
    return true;
}
static_assert(storedTextsMatch(), "every stored text is the decimal text of its number");

// The stored date text is the picture with "?" for each line break.
constexpr bool storedDatesMatch() {
    for (const auto& preset : kFormatPresets) {
        std::string_view picture = preset.datePicture;
        std::string_view stored = preset.storedDate;
        std::size_t i = 0;
        std::size_t j = 0;
        while (i < picture.size()) {
            if (picture.substr(i, 2) == "\r\n") {
                if (j >= stored.size() || stored[j] != '?') return false;
                i += 2;
            } else {
                if (j >= stored.size() || stored[j] != picture[i]) return false;
                ++i;
            }
            ++j;
        }
        if (j != stored.size()) return false;
    }
    return true;
}
static_assert(storedDatesMatch(), "every stored date text encodes its picture");

}  // namespace

void selectColourTheme(WidgetPort& widget, const ColourTheme& theme) {
    writeSetting("color", theme.storedText);
    widget.setControlProperty(ControlObject::ClockLabel, ControlProperty::TextColour,
                              static_cast<std::int32_t>(theme.colour));
}

void selectFormatPreset(WidgetPort& widget, const FormatPreset& preset) {
    widget.setControlProperty(ControlObject::ClockLabel, ControlProperty::Width, preset.width);
    widget.setControlProperty(ControlObject::ClockLabel, ControlProperty::Height, preset.height);
    widget.setControlProperty(ControlObject::WidgetWindow, ControlProperty::Width, preset.width);
    widget.setControlProperty(ControlObject::WidgetWindow, ControlProperty::Height, preset.height);

    ClockSettings& settings = clockSettings();
    settings.datePicture = std::string(preset.datePicture);
    settings.timePicture = std::string(preset.timePicture);

    writeSetting("date", preset.storedDate);
    writeSetting("time", preset.timePicture);
    writeSetting("width", preset.storedWidth);
    writeSetting("height", preset.storedHeight);
}

void selectAlphaLevel(WidgetPort& widget, const AlphaLevel& level) {
    WindowHandle window = widget.getWindowHandle(ControlObject::WidgetWindow);
    widget.applyWindowAlpha(window, level.alpha, 0);
    writeSetting("hyaline", level.storedText);
}

}  // namespace talvessa
