#pragma once
// SettingsMenu: the clock's menu tree as data, in stored order (pre-order: every entry is followed
// by its whole subtree). It is never a menu bar; popups are built from it on demand.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/presets.h"

namespace talvessa {

enum class MenuCommandKind : std::uint8_t { None, ColourTheme, FormatPreset, AlphaLevel, Exit };

// What selecting an entry runs: a row (0-based) of one of the preset tables, Exit, or nothing.
struct MenuCommand {
    MenuCommandKind kind = MenuCommandKind::None;
    int row = 0;

    friend constexpr bool operator==(const MenuCommand&, const MenuCommand&) = default;
};

struct MenuEntry {
    const char* captionUtf8;  // "-" makes a separator
    int level;                // 0 is the top
    bool hidden;
    bool checked;
    bool disabled;
    MenuCommand command;
};

namespace menu_detail {
constexpr MenuEntry submenu(const char* captionUtf8, int level, bool hidden = false) {
    return {captionUtf8, level, hidden, false, false, {}};
}
// A leaf that runs row `row` of a preset table, captioned as that row. The captions are string
// literals, so their data is zero-terminated.
constexpr MenuEntry item(const char* captionUtf8, MenuCommandKind kind, int row) {
    return {captionUtf8, 2, false, false, false, {kind, row}};
}
constexpr MenuEntry colourItem(int row) {
    return item(kColourThemes[static_cast<std::size_t>(row)].captionUtf8.data(),
                MenuCommandKind::ColourTheme, row);
}
constexpr MenuEntry formatItem(int row) {
    return item(kFormatPresets[static_cast<std::size_t>(row)].captionUtf8.data(),
                MenuCommandKind::FormatPreset, row);
}
constexpr MenuEntry alphaItem(int row) {
    return item(kAlphaLevels[static_cast<std::size_t>(row)].captionUtf8.data(),
                MenuCommandKind::AlphaLevel, row);
}
}  // namespace menu_detail

inline constexpr std::array<MenuEntry, 21> kSettingsMenu = [] {
    using namespace menu_detail;
    return std::array<MenuEntry, 21>{{
        submenu("设置", 0, true),
        submenu("主题", 1),
        colourItem(0), colourItem(1), colourItem(2), colourItem(3), colourItem(4), colourItem(5),
        colourItem(6),
        submenu("格式", 1),
        formatItem(0), formatItem(1), formatItem(2), formatItem(3),
        submenu("透明", 1),
        alphaItem(0), alphaItem(1), alphaItem(2), alphaItem(3), alphaItem(4),
        {"退出", 1, false, false, false, {MenuCommandKind::Exit, 0}},
    }};
}();

// The hidden root "设置" whose subtree is the popup of the clock face and of the tray icon.
inline constexpr std::size_t kSettingsMenuRoot = 0;

// True when the entry after `index` lies deeper, i.e. the entry holds a submenu.
constexpr bool menuHasChildren(std::span<const MenuEntry> entries, std::size_t index) {
    return index + 1 < entries.size() && entries[index + 1].level > entries[index].level;
}

// One past the last entry of the subtree of `index`.
constexpr std::size_t menuSubtreeEnd(std::span<const MenuEntry> entries, std::size_t index) {
    std::size_t end = index + 1;
    while (end < entries.size() && entries[end].level > entries[index].level) ++end;
    return end;
}

}  // namespace talvessa
