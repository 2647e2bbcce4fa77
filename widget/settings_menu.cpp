#include "widget/settings_menu.h"

#include <string_view>

namespace talvessa {
namespace {

constexpr std::span<const MenuEntry> kEntries{kSettingsMenu};

// A well-formed pre-order: one root at level 0, and no entry more than one level below the
// entry before it.
constexpr bool isPreOrderTree() {
    if (kEntries.front().level != 0) return false;
    for (std::size_t i = 1; i < kEntries.size(); ++i) {
        if (kEntries[i].level < 1 || kEntries[i].level > kEntries[i - 1].level + 1) return false;
    }
    return true;
}

// Containers run nothing; every leaf runs something (a leaf without a command would be a dead
// item in the popup).
constexpr bool commandsOnLeavesOnly() {
    for (std::size_t i = 0; i < kEntries.size(); ++i) {
        bool leaf = !menuHasChildren(kEntries, i);
        if (leaf != (kEntries[i].command.kind != MenuCommandKind::None)) return false;
    }
    return true;
}

// The rows of each preset table appear once each, counting up from 0 in menu order, so the popup
// lists every table in its own order.
constexpr bool rowsCountUpByKind() {
    int next[5] = {};
    for (const MenuEntry& entry : kEntries) {
        auto kind = static_cast<std::size_t>(entry.command.kind);
        if (entry.command.kind == MenuCommandKind::None) continue;
        if (entry.command.row != next[kind]++) return false;
    }
    return next[static_cast<std::size_t>(MenuCommandKind::Exit)] == 1;
}

// Only the root is hidden (so there is no menu bar); no entry is checked, disabled or a separator,
// and every caption has text.
constexpr bool plainEntries() {
    for (std::size_t i = 0; i < kEntries.size(); ++i) {
        const MenuEntry& entry = kEntries[i];
        if (entry.hidden != (i == kSettingsMenuRoot) || entry.checked || entry.disabled) return false;
        std::string_view caption = entry.captionUtf8;
        if (caption.empty() || caption == "-") return false;
    }
    return true;
}

static_assert(isPreOrderTree());
static_assert(commandsOnLeavesOnly());
static_assert(rowsCountUpByKind());
static_assert(plainEntries());
static_assert(menuSubtreeEnd(kEntries, kSettingsMenuRoot) == kEntries.size());

}  // namespace
}  // namespace talvessa
