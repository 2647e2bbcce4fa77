#pragma once
// Popup menus built from the SettingsMenu tree (Win32 only).

#include <windows.h>

#include <cstddef>
#include <optional>
#include <span>

#include "widget/settings_menu.h"

namespace talvessa {

// The command identifier of entry `index`: the same in every popup for the whole run.
UINT menuCommandId(std::size_t index);
// The entry a command identifier leads back to, if any.
std::optional<std::size_t> menuEntryForCommandId(UINT commandId, std::size_t entryCount);

// A popup holding the subtree of `container` (the container itself, hidden or not, is not an
// item). Hidden entries are left out with their subtree. The caller destroys the menu. Null when
// the entry has no sub-entries or the menu cannot be made.
HMENU buildMenu(std::span<const MenuEntry> entries, std::size_t container);
// The same over kSettingsMenu.
HMENU buildMenu(std::size_t container);

}  // namespace talvessa
