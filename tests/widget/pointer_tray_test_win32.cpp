// Pointer and notification-area interaction under Wine: the label's pointer events, the tray
// notifications, the two popups' places and the tray icon's life.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/tray_icon_image.h"
#include "tests/widget/widget_harness_win32.h"
#include "widget/pointer_tray_win32.h"
#include "widget/settings_menu.h"
#include "widget/widget_window_win32.h"

namespace talvessa {
namespace {

using testing::pumpFor;
using testing::widgetHandle;

struct PointerEvents : testing::RecordedEvents {
    void onTrayEvent(TrayAction action) override {
        log.push_back(action == TrayAction::RightButtonReleased ? "tray right"
                      : action == TrayAction::LeftDoubleClick   ? "tray double"
                                                                : "tray left");
    }
    void onLabelLeftPress() override { log.push_back("label left press"); }
    void onLabelRightRelease() override { log.push_back("label right release"); }
};

class PointerAndTray : public ::testing::Test {
protected:
    PointerEvents events;

    void SetUp() override {
        ASSERT_TRUE(loadWidgetWindow(events));
        events.log.clear();
    }
    void TearDown() override { destroyWidgetWindow(); }
};

bool iconIsAlive(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return false;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return true;
}

SIZE iconSize(HICON icon) {
    ICONINFO info{};
    SIZE size{};
    if (!GetIconInfo(icon, &info)) return size;
    BITMAP bitmap{};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    size = {bitmap.bmWidth, info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2};
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return size;
}

// Whether the shell holds an icon of the window: modifying an absent icon fails.
bool shellShowsIcon(HWND window) {
    NOTIFYICONDATAA record = trayIconRecord(window, nullptr, nullptr);
    record.uFlags = NIF_TIP;
    return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

TEST(TrayActions, ShellNotificationsMapToActions) {
    struct Row {
        UINT notification;
        const char* expected;
    };
    const Row rows[] = {
        {WM_LBUTTONUP, "left"},      {WM_LBUTTONDBLCLK, "double"}, {WM_RBUTTONUP, "right"},
        {WM_CONTEXTMENU, "right"},   {WM_MOUSEMOVE, "none"},       {WM_LBUTTONDOWN, "none"},
        {WM_RBUTTONDOWN, "none"},    {WM_MBUTTONUP, "none"},       {WM_RBUTTONDBLCLK, "none"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.notification);
        auto action = trayActionFor(static_cast<LPARAM>(row.notification));
        const char* name = !action                                          ? "none"
                           : *action == TrayAction::LeftButtonReleased      ? "left"
                           : *action == TrayAction::LeftDoubleClick         ? "double"
                                                                            : "right";
        EXPECT_STREQ(name, row.expected);
    }
}

TEST_F(PointerAndTray, TrayCallbackRaisesTheTrayEventOnlyForMappedNotifications) {
    for (UINT notification : {WM_MOUSEMOVE, WM_RBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP,
                              WM_LBUTTONDBLCLK, WM_CONTEXTMENU}) {
        PostMessageA(widgetHandle(), kTrayCallbackMessage, 77, notification);
    }
    pumpFor(100);
    EXPECT_EQ(events.log, (std::vector<std::string>{"tray right", "tray left", "tray double",
                                                    "tray right"}));
}

TEST_F(PointerAndTray, LabelPointerEventsRunBeforeDispatchInTheMessageLoop) {
    HWND label = testing::labelHandle();
    PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageA(label, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));  // a quick second press
    PostMessageA(label, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    PostMessageA(label, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageA(widgetHandle(), WM_CLOSE, 0, 0);  // ends the loop once the queue is through

    runMessageLoop();

    EXPECT_EQ(events.log, (std::vector<std::string>{"label left press", "label right release"}));
}

TEST(TrayRecord, HoldsTheFirstVersionLayoutAndCutsTheTooltip) {
    const std::string longTip(100, 'x');
    struct Row {
        const char* tooltip;
        std::string expected;
    };
    const Row rows[] = {{"Talvessa", "Talvessa"},
                        {longTip.c_str(), std::string(62, 'x')},
                        {nullptr, ""}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        HWND window = reinterpret_cast<HWND>(std::uintptr_t{0x1234});
        NOTIFYICONDATAA record = trayIconRecord(window, nullptr, row.tooltip);
        EXPECT_EQ(record.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
        EXPECT_EQ(record.hWnd, window);
        EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
        EXPECT_EQ(record.uCallbackMessage, kTrayCallbackMessage);
        EXPECT_EQ(std::string(record.szTip), row.expected);
    }
}

TEST_F(PointerAndTray, IconIsAddedReplacedAndRemovedWithItsHandle) {
    HWND window = widgetHandle();
    const auto image = trayIconImage();

    setTrayIcon(window, image, "Talvessa");
    HICON first = trayIconHandle(window);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(iconSize(first).cx, 32);
    EXPECT_EQ(iconSize(first).cy, 32);
    EXPECT_TRUE(shellShowsIcon(window));

    setTrayIcon(window, image, "Talvessa");
    HICON second = trayIconHandle(window);
    EXPECT_NE(second, nullptr);
    EXPECT_FALSE(iconIsAlive(first)) << "the replaced icon is destroyed";
    EXPECT_TRUE(shellShowsIcon(window));

    setTrayIcon(window, {}, nullptr);
    EXPECT_EQ(trayIconHandle(window), nullptr);
    EXPECT_FALSE(iconIsAlive(second));
    EXPECT_FALSE(shellShowsIcon(window));
}

TEST_F(PointerAndTray, BytesThatMakeNoIconAddNothingAndRemoveAShownIcon) {
    const auto good = trayIconImage();
    auto patched = [&](std::size_t offset, std::uint32_t value, std::size_t width) {
        std::vector<std::uint8_t> bytes(good.begin(), good.end());
        for (std::size_t i = 0; i < width; ++i)
            bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        return bytes;
    };
    struct Row {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    const Row rows[] = {
        {"five bytes", std::vector<std::uint8_t>(good.begin(), good.begin() + 5)},
        {"header only", std::vector<std::uint8_t>(good.begin(), good.begin() + 6)},
        {"reserved not 0", patched(0, 1, 2)},
        {"type 3", patched(2, 3, 2)},
        {"no images", patched(4, 0, 2)},
        {"image past the end", patched(6 + 12, 5000, 4)},
        {"image longer than the file", patched(6 + 8, 0xFFFFFFF0u, 4)},
        {"image cut short", std::vector<std::uint8_t>(good.begin(), good.begin() + 100)},
        {"not an image", patched(22, 0x12345678, 4)},
    };
    HWND window = widgetHandle();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        setTrayIcon(window, row.bytes, "Talvessa");
        EXPECT_EQ(trayIconHandle(window), nullptr);
        EXPECT_FALSE(shellShowsIcon(window));

        setTrayIcon(window, good, "Talvessa");
        HICON shown = trayIconHandle(window);
        setTrayIcon(window, row.bytes, "Talvessa");
        EXPECT_EQ(trayIconHandle(window), nullptr);
        EXPECT_FALSE(iconIsAlive(shown));
        EXPECT_FALSE(shellShowsIcon(window));
    }
}

TEST_F(PointerAndTray, DestroyingTheWindowRemovesItsIcon) {
    HWND window = widgetHandle();
    setTrayIcon(window, trayIconImage(), "Talvessa");
    HICON icon = trayIconHandle(window);

    destroyWidgetWindow();

    EXPECT_EQ(trayIconHandle(window), nullptr);
    EXPECT_FALSE(iconIsAlive(icon));
}

// Records the place of the popup the platform shows, then closes it, from a timer that runs
// inside the popup's modal loop.
RECT popupSeen;
bool popupOpen;
void CALLBACK closePopup(HWND, UINT, UINT_PTR timer, DWORD) {
    if (HWND popup = FindWindowA("#32768", nullptr); popup && IsWindowVisible(popup)) {
        GetWindowRect(popup, &popupSeen);
        popupOpen = true;
        EndMenu();
    }
    KillTimer(nullptr, timer);
}

RECT popupAt(POINT pointer, void (*show)(HWND, std::size_t), std::size_t entry) {
    popupSeen = {};
    popupOpen = false;
    SetCursorPos(pointer.x, pointer.y);
    testing::pumpFor(50);
    SetTimer(nullptr, 0, 200, closePopup);
    show(widgetHandle(), entry);
    testing::pumpFor(300);
    return popupSeen;
}

TEST_F(PointerAndTray, PopupsOpenBesideThePointer) {
    RECT clockPopup = popupAt({300, 300}, showPopupMenu, kSettingsMenuRoot);
    ASSERT_TRUE(popupOpen);
    EXPECT_EQ(clockPopup.left, 303);
    EXPECT_EQ(clockPopup.top, 303);

    RECT trayPopup = popupAt({300, 300}, showTrayMenu, kSettingsMenuRoot);
    ASSERT_TRUE(popupOpen);
    EXPECT_EQ(trayPopup.right, 295);
    EXPECT_EQ(trayPopup.top, 295);
    EXPECT_EQ(GetForegroundWindow(), widgetHandle());

    // Both popups hold the same four entries, so they are the same size.
    EXPECT_EQ(trayPopup.right - trayPopup.left, clockPopup.right - clockPopup.left);
    EXPECT_EQ(trayPopup.bottom - trayPopup.top, clockPopup.bottom - clockPopup.top);

    popupAt({300, 300}, showPopupMenu, 2);  // "搞黄色" has no entries below it
    EXPECT_FALSE(popupOpen);
    EXPECT_TRUE(events.log.empty()) << "closing without a choice runs nothing";
}

}  // namespace
}  // namespace talvessa
