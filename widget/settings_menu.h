#pragma once
// SettingsMenu: the clock's menu tree as data, in stored order (pre-order: every entry is followed
// by its whole subtree). It is never a menu bar; popups are built from it on demand.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

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
constexpr MenuEntry item(const char* captionUtf8, MenuCommandKind kind, int row) {
    return {captionUtf8, 2, false, false, false, {kind, row}};
}
}  // namespace menu_detail

inline constexpr std::array<MenuEntry, 21> kSettingsMenu = [] {
    using menu_detail::item;
    using menu_detail::submenu;
    using K = MenuCommandKind;
    return std::array<MenuEntry, 21>{{
        submenu("设置", 0, true),
        submenu("主题", 1),
        item("搞黄色", K::ColourTheme, 0),
        item("超骚粉", K::ColourTheme, 1),
        item("少妇红", K::ColourTheme, 2),
        item("烈日红", K::ColourTheme, 3),
        item("少女橙", K::ColourTheme, 4),
        item("天空蓝", K::ColourTheme, 5),
        item("寂寞白", K::ColourTheme, 6),
        submenu("格式", 1),
        item("仅是时间", K::FormatPreset, 0),
        item("年月时间", K::FormatPreset, 1),
        item("星期时间", K::FormatPreset, 2),
        item("全部时间", K::FormatPreset, 3),
        submenu("透明", 1),
        item("I", K::AlphaLevel, 0),
        item("II", K::AlphaLevel, 1),
        item("III", K::AlphaLevel, 2),
        item("IV", K::AlphaLevel, 3),
        item("V", K::AlphaLevel, 4),
        {"退出", 1, false, false, false, {K::Exit, 0}},
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
