#pragma once
// The three preset tables of the settings menu (colour themes, display formats, transparency
// levels) and the commands that apply a row to the widget and store it.

#include <array>
#include <cstdint>
#include <string_view>

#include "core/widget_port.h"

namespace talvessa {

struct ColourTheme {
    std::string_view captionUtf8;
    std::uint32_t colour;         // COLORREF, 0x00BBGGRR
    std::string_view storedText;  // the value written as `color`
};

struct FormatPreset {
    std::string_view captionUtf8;
    std::string_view datePicture;  // in memory, with real line breaks
    std::string_view storedDate;   // written as `date`: "?" for each line break
    std::string_view timePicture;  // in memory and written as `time`
    std::int32_t width;
    std::int32_t height;
    std::string_view storedWidth;
    std::string_view storedHeight;
};

struct AlphaLevel {
    std::string_view captionUtf8;
    std::int32_t alpha;
    std::string_view storedText;  // the value written as `hyaline`
};

inline constexpr std::array<ColourTheme, 7> kColourThemes{{
    {"搞黄色", 0x0000FFFF, "65535"},
    {"超骚粉", 0x00FFA8FF, "16754943"},
    {"少妇红", 0x00FF00FF, "16711935"},
    {"烈日红", 0x000000FF, "255"},
    {"少女橙", 0x000080FF, "33023"},
    {"天空蓝", 0x00FF8800, "16746496"},
    {"寂寞白", 0x00FFFFFF, "16777215"},
}};

inline constexpr std::array<FormatPreset, 4> kFormatPresets{{
    {"仅是时间", "", "", "hh:mm:ss", 62, 16, "62", "16"},
    {"年月时间", "yyyy/M/d\r\n", "yyyy/M/d?", "hh:mm:ss", 80, 30, "80", "30"},
    {"星期时间", "dddd\r\n", "dddd?", "hh:mm:ss", 64, 30, "64", "30"},
    {"全部时间", "yyyy/M/d\r\ndddd\r\n", "yyyy/M/d?dddd?", "hh:mm:ss", 80, 43, "80", "43"},
}};

inline constexpr std::array<AlphaLevel, 5> kAlphaLevels{{
    {"I", 75, "75"},
    {"II", 125, "125"},
    {"III", 165, "165"},
    {"IV", 205, "205"},
    {"V", 255, "255"},
}};

// Writes `color`, then sets the label's text colour.
void selectColourTheme(WidgetPort& widget, const ColourTheme& theme);

// Sizes the label and then the window, replaces both pictures of clockSettings(), then writes
// `date`, `time`, `width` and `height`. The new pictures show from the next tick.
void selectFormatPreset(WidgetPort& widget, const FormatPreset& preset);

// Applies the alpha to the window at once, then writes `hyaline`.
void selectAlphaLevel(WidgetPort& widget, const AlphaLevel& level);

}  // namespace talvessa
