// Popups built from the menu tree, and menu commands routed back to their entries.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "tests/widget/widget_harness_win32.h"
#include "widget/settings_menu_win32.h"

namespace talvessa::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string toUtf8(const wchar_t* wide) {
    int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), length, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(length) - 1);
    return utf8;
}

// One line per item, indented by depth: the caption as the platform holds it, "#n" for the entry
// its command identifier leads back to, ">" for a submenu, "[checked]" and "[grayed]" flags, and
// "-" for a separator.
std::string dumpMenu(HMENU menu, std::size_t entryCount, int depth = 0) {
    std::string dump;
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        wchar_t caption[64] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = caption;
        item.cch = static_cast<UINT>(std::size(caption));
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item)) return dump + "?";
        dump += std::string(static_cast<std::size_t>(depth) * 2, ' ');
        if (item.fType & MFT_SEPARATOR) {
            dump += "-\n";  // the platform reports separators as grayed: no flags shown
            continue;
        }
        dump += toUtf8(caption);
        if (item.hSubMenu) {
            dump += " >";
        } else if (auto entry = menuEntryForCommandId(item.wID, entryCount)) {
            dump += " #" + std::to_string(*entry);
        } else {
            dump += " #?";
        }
        if (item.fState & MFS_CHECKED) dump += " [checked]";
        if (item.fState & MFS_GRAYED) dump += " [grayed]";
        dump += "\n";
        if (item.hSubMenu) dump += dumpMenu(item.hSubMenu, entryCount, depth + 1);
    }
    return dump;
}

TEST(SettingsMenu, PopupFromTheHiddenRootHoldsTheThreeSubmenusAndExit) {
    constexpr const char* kExpected =
        "主题 >\n"
        "  搞黄色 #2\n"
        "  超骚粉 #3\n"
        "  少妇红 #4\n"
        "  烈日红 #5\n"
        "  少女橙 #6\n"
        "  天空蓝 #7\n"
        "  寂寞白 #8\n"
        "格式 >\n"
        "  仅是时间 #10\n"
        "  年月时间 #11\n"
        "  星期时间 #12\n"
        "  全部时间 #13\n"
        "透明 >\n"
        "  I #15\n"
        "  II #16\n"
        "  III #17\n"
        "  IV #18\n"
        "  V #19\n"
        "退出 #20\n";
    // Built twice: every popup carries the same identifiers.
    for (int build = 0; build < 2; ++build) {
        SCOPED_TRACE(build);
        HMENU menu = buildMenu(kSettingsMenuRoot);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(dumpMenu(menu, kSettingsMenu.size()), kExpected);
        DestroyMenu(menu);
    }
}

// Every rule of the builder, on a tree that uses them all.
constexpr std::array<MenuEntry, 13> kRuleTree{{
    {"root", 0, true, false, false, {}},
    {"a", 1, false, false, false, {}},
    {"a1", 2, false, true, false, {MenuCommandKind::Exit, 0}},
    {"-", 2, false, false, false, {}},
    {"a2", 2, false, false, true, {MenuCommandKind::Exit, 0}},
    {"secret", 1, true, false, false, {}},
    {"s1", 2, false, false, false, {MenuCommandKind::Exit, 0}},
    {"s2", 2, false, false, false, {MenuCommandKind::Exit, 0}},
    {"b", 1, false, false, true, {}},
    {"b1", 2, false, false, false, {}},
    {"b1x", 3, false, false, false, {MenuCommandKind::Exit, 0}},
    {"hidden leaf", 2, true, false, false, {MenuCommandKind::Exit, 0}},
    {"c", 1, false, false, false, {MenuCommandKind::Exit, 0}},
}};

TEST(SettingsMenu, BuilderSkipsHiddenSubtreesAndKeepsSeparatorsAndFlags) {
    struct Row {
        std::size_t container;
        const char* expected;  // null: no menu
    } const rows[] = {
        {0,
         "a >\n"
         "  a1 #2 [checked]\n"
         "  -\n"
         "  a2 #4 [grayed]\n"
         "b > [grayed]\n"
         "  b1 >\n"
         "    b1x #10\n"
         "c #12\n"},
        {5, "s1 #6\ns2 #7\n"},  // a hidden container still serves as a popup's source
        {9, "b1x #10\n"},
        {2, nullptr},   // a leaf has no sub-entries
        {12, nullptr},  // the last entry
        {13, nullptr},  // beyond the table
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.container);
        HMENU menu = buildMenu(kRuleTree, row.container);
        if (!row.expected) {
            EXPECT_EQ(menu, nullptr);
            continue;
        }
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(dumpMenu(menu, kRuleTree.size()), row.expected);
        DestroyMenu(menu);
    }
}

class MenuRoutingTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(loadWidgetWindow(events_)); }
    void TearDown() override { destroyWidgetWindow(); }

    // Posts a menu command as a closing popup does, and lets the message loop deliver it.
    void choose(WPARAM wParam, LPARAM lParam = 0) {
        events_.commands.clear();
        PostMessageA(widgetHandle(), WM_COMMAND, wParam, lParam);
        pumpFor(20);
    }

    RecordedEvents events_;
};

TEST_F(MenuRoutingTest, EachEntryRunsExactlyItsOwnCommand) {
    for (std::size_t index = 0; index < kSettingsMenu.size(); ++index) {
        const MenuEntry& entry = kSettingsMenu[index];
        SCOPED_TRACE(entry.captionUtf8);
        choose(MAKEWPARAM(menuCommandId(index), 0));
        if (entry.command.kind == MenuCommandKind::None) {
            EXPECT_THAT(events_.commands, IsEmpty()) << "a submenu runs nothing";
        } else {
            EXPECT_THAT(events_.commands, ElementsAre(entry.command));
        }
    }
}

TEST_F(MenuRoutingTest, CommandsThatLeadToNoEntryRunNothing) {
    struct Row {
        const char* name;
        WPARAM wParam;
        LPARAM lParam;
    } const rows[] = {
        {"past the last entry", MAKEWPARAM(menuCommandId(kSettingsMenu.size()), 0), 0},
        {"below the first entry", MAKEWPARAM(menuCommandId(0) - 1, 0), 0},
        {"an accelerator", MAKEWPARAM(menuCommandId(20), 1), 0},
        {"a control notification", MAKEWPARAM(menuCommandId(20), BN_CLICKED),
         reinterpret_cast<LPARAM>(labelHandle())},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        choose(row.wParam, row.lParam);
        EXPECT_THAT(events_.commands, IsEmpty());
    }
}

}  // namespace
}  // namespace talvessa::testing
