#include "widget/settings_menu_win32.h"

#include <string>

namespace talvessa {
namespace {

// Well above the identifiers the system gives its own commands, and below 0x8000 so that the
// identifier survives the 16-bit LOWORD of WM_COMMAND.
constexpr UINT kFirstMenuCommandId = 0x1000;

std::wstring toWide(const char* utf8) {
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return wide;
}

// Appends the children of `container` to `menu`, each child followed by its own subtree.
void appendChildren(HMENU menu, std::span<const MenuEntry> entries, std::size_t container) {
    std::size_t end = menuSubtreeEnd(entries, container);
    for (std::size_t child = container + 1; child < end; child = menuSubtreeEnd(entries, child)) {
        const MenuEntry& entry = entries[child];
        if (entry.hidden) continue;
        UINT grayed = entry.disabled ? MF_GRAYED : 0;
        std::wstring caption = toWide(entry.captionUtf8);
        if (menuHasChildren(entries, child)) {
            HMENU submenu = CreatePopupMenu();
            if (!submenu) continue;
            appendChildren(submenu, entries, child);
            if (!AppendMenuW(menu, MF_POPUP | MF_STRING | grayed, reinterpret_cast<UINT_PTR>(submenu),
                             caption.c_str())) {
                DestroyMenu(submenu);  // not attached, so nobody else would
            }
        } else if (caption == L"-") {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            UINT checked = entry.checked ? MF_CHECKED : 0;
            AppendMenuW(menu, MF_STRING | checked | grayed, menuCommandId(child), caption.c_str());
        }
    }
}

}  // namespace

UINT menuCommandId(std::size_t index) {
    return kFirstMenuCommandId + static_cast<UINT>(index);
}

std::optional<std::size_t> menuEntryForCommandId(UINT commandId, std::size_t entryCount) {
    if (commandId < kFirstMenuCommandId || commandId - kFirstMenuCommandId >= entryCount) {
        return std::nullopt;
    }
    return commandId - kFirstMenuCommandId;
}

HMENU buildMenu(std::span<const MenuEntry> entries, std::size_t container) {
    if (container >= entries.size() || !menuHasChildren(entries, container)) return nullptr;
    HMENU menu = CreatePopupMenu();
    if (menu) appendChildren(menu, entries, container);
    return menu;
}

HMENU buildMenu(std::size_t container) {
    return buildMenu(kSettingsMenu, container);
}

}  // namespace talvessa
