// WidgetWindow for real: how it is built and shown, its properties, its timer, its keys and the
// end of the program.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/widget/widget_harness_win32.h"

namespace talvessa::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kDesignWidth = 219;
constexpr int kDesignHeight = 83;

class WidgetWindowTest : public ::testing::Test {
protected:
    void TearDown() override { destroyWidgetWindow(); }

    void load() {
        ASSERT_TRUE(loadWidgetWindow(events_));
        pumpFor(50);
    }

    RecordedEvents events_;
};

TEST_F(WidgetWindowTest, CreatedEventRunsHiddenThenMovedAndResizedThenTheWindowShows) {
    load();
    ASSERT_GE(events_.log.size(), 3u);
    EXPECT_THAT(std::vector(events_.log.begin(), events_.log.begin() + 3),
                ElementsAre("created (hidden)", "moved", "resized"));
    EXPECT_TRUE(IsWindowVisible(widgetHandle()));
    EXPECT_TRUE(IsWindowVisible(labelHandle()));
}

TEST_F(WidgetWindowTest, FramelessTopmostAndOwnedByAHiddenToolWindow) {
    load();
    HWND window = widgetHandle();

    LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_EQ(style & (WS_POPUP | WS_CHILD | WS_SYSMENU | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_BORDER), 0);
    EXPECT_EQ(style & (WS_CLIPCHILDREN | WS_MINIMIZEBOX), WS_CLIPCHILDREN | WS_MINIMIZEBOX);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, WS_EX_TOPMOST);
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_EQ(GetWindowTextLengthA(window), 0);

    EXPECT_EQ(GetClassLongPtrA(window, GCL_STYLE), CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(window, GCLP_HCURSOR)),
              LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND)),
              GetStockObject(NULL_BRUSH));

    HWND owner = GetWindow(window, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_TRUE(GetWindowLongA(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

    RECT outer{};
    RECT client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    EXPECT_EQ(outer.right - outer.left, kDesignWidth);
    EXPECT_EQ(outer.bottom - outer.top, kDesignHeight);
    EXPECT_EQ(client.right, kDesignWidth);
    EXPECT_EQ(client.bottom, kDesignHeight);
    // Centred on the screen in use, by truncating division.
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - kDesignWidth) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - kDesignHeight) / 2);
}

TEST_F(WidgetWindowTest, LabelIsATransparentChildAtItsDesignPlace) {
    load();
    HWND label = labelHandle();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(GetParent(label), widgetHandle());
    EXPECT_EQ(GetWindowLongA(label, GWL_STYLE), WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE);
    EXPECT_EQ(GetWindowLongA(label, GWL_EXSTYLE), WS_EX_TRANSPARENT);
    EXPECT_EQ(GetClassLongPtrA(label, GCL_STYLE), CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(GetClassLongPtrA(label, GCLP_HBRBACKGROUND)),
              GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetClassLongPtrA(label, GCLP_HICON), 0);

    WidgetPort& port = widgetPort();
    EXPECT_EQ(port.getControlProperty(ControlObject::ClockLabel, ControlProperty::Left), 0);
    EXPECT_EQ(port.getControlProperty(ControlObject::ClockLabel, ControlProperty::Top), 0);
    EXPECT_EQ(port.getControlProperty(ControlObject::ClockLabel, ControlProperty::Width), 128);
    EXPECT_EQ(port.getControlProperty(ControlObject::ClockLabel, ControlProperty::Height), 40);
    EXPECT_EQ(port.getControlProperty(ControlObject::ClockLabel, ControlProperty::TextColour),
              65535);
    EXPECT_EQ(port.getControlProperty(ControlObject::TickTimer, ControlProperty::TimerPeriod), 0);
    EXPECT_EQ(port.getWindowHandle(ControlObject::TickTimer), nullptr);
}

struct PropertyRow {
    const char* name;
    ControlObject object;
    ControlProperty property;
    std::int32_t written;
    std::int32_t read;
};

constexpr ControlProperty kPlace[] = {ControlProperty::Left, ControlProperty::Top,
                                      ControlProperty::Width, ControlProperty::Height};

TEST_F(WidgetWindowTest, PropertiesAreClampedWrittenAndReadBackFromTheLiveWindow) {
    using enum ControlProperty;
    constexpr auto kWindow = ControlObject::WidgetWindow;
    constexpr auto kLabel = ControlObject::ClockLabel;
    constexpr auto kTimer = ControlObject::TickTimer;
    const PropertyRow rows[] = {
        {"window left", kWindow, Left, 7, 7},
        {"window left negative", kWindow, Left, -50, -50},
        {"window left at the low bound", kWindow, Left, -32627, -32627},
        {"window left below the bound", kWindow, Left, -32628, -32627},
        {"window left far below", kWindow, Left, INT32_MIN, -32627},
        {"window top above the bound", kWindow, Top, 32628, 32627},
        {"window top at the high bound", kWindow, Top, 32627, 32627},
        {"window width", kWindow, Width, 80, 80},
        {"window width above the bound", kWindow, Width, 40000, 32627},
        {"window width negative", kWindow, Width, -5, 0},
        {"window height zero", kWindow, Height, 0, 0},
        {"window height", kWindow, Height, 43, 43},
        {"label left", kLabel, Left, 10, 10},
        {"label top below the bound", kLabel, Top, -40000, -32627},
        {"label width above the bound", kLabel, Width, INT32_MAX, 32627},
        {"label height negative", kLabel, Height, -5, 0},
        {"label colour with a high byte", kLabel, TextColour, 0x01FF8800, 0x01FF8800},
        {"timer period", kTimer, TimerPeriod, 60000, 60000},
        {"timer period negative", kTimer, TimerPeriod, -1, 0},
    };
    load();
    WidgetPort& port = widgetPort();
    for (const PropertyRow& row : rows) {
        SCOPED_TRACE(row.name);
        std::int32_t before[4];
        for (int i = 0; i < 4; ++i) before[i] = port.getControlProperty(row.object, kPlace[i]);

        port.setControlProperty(row.object, row.property, row.written);

        EXPECT_EQ(port.getControlProperty(row.object, row.property), row.read);
        for (int i = 0; i < 4; ++i) {
            if (kPlace[i] != row.property) {
                EXPECT_EQ(port.getControlProperty(row.object, kPlace[i]), before[i])
                    << "the other coordinates and dimensions are kept";
            }
        }
    }
}

TEST_F(WidgetWindowTest, ReadsMeasureTheLiveWindow) {
    load();
    MoveWindow(widgetHandle(), 30, 40, 50, 60, TRUE);
    MoveWindow(labelHandle(), 1, 2, 3, 4, TRUE);
    WidgetPort& port = widgetPort();
    std::vector<std::int32_t> window;
    std::vector<std::int32_t> label;
    for (ControlProperty property : kPlace) {
        window.push_back(port.getControlProperty(ControlObject::WidgetWindow, property));
        label.push_back(port.getControlProperty(ControlObject::ClockLabel, property));
    }
    EXPECT_THAT(window, ElementsAre(30, 40, 50, 60));
    EXPECT_THAT(label, ElementsAre(1, 2, 3, 4));
}

// Timer expiries come as low-priority messages; allow for the scheduler of a shared machine.
constexpr ULONGLONG kTimerSlackMs = 150;

TEST_F(WidgetWindowTest, TimerFirstExpiresOnePeriodAfterItIsSet) {
    load();
    WidgetPort& port = widgetPort();
    ULONGLONG setAt = GetTickCount64();
    port.setControlProperty(ControlObject::TickTimer, ControlProperty::TimerPeriod, 300);
    ASSERT_TRUE(pumpUntil([&] { return events_.tickTimes.size() >= 2; }, 3000));
    EXPECT_GE(events_.tickTimes[0] - setAt + 16, 300u);
    EXPECT_LE(events_.tickTimes[0] - setAt, 300 + kTimerSlackMs);
    EXPECT_GE(events_.tickTimes[1] - events_.tickTimes[0] + 16, 300u);
}

TEST_F(WidgetWindowTest, WritingThePeriodInForceDoesNotRestartTheTimer) {
    load();
    WidgetPort& port = widgetPort();
    ULONGLONG setAt = GetTickCount64();
    port.setControlProperty(ControlObject::TickTimer, ControlProperty::TimerPeriod, 600);
    pumpFor(350);
    ASSERT_THAT(events_.tickTimes, IsEmpty());
    port.setControlProperty(ControlObject::TickTimer, ControlProperty::TimerPeriod, 600);
    ASSERT_TRUE(pumpUntil([&] { return !events_.tickTimes.empty(); }, 2000));
    // A restart would put the first expiry at about 950 ms.
    EXPECT_LE(events_.tickTimes[0] - setAt, 600 + kTimerSlackMs);
}

TEST_F(WidgetWindowTest, PeriodZeroOrNegativeStopsTheTimer) {
    for (std::int32_t stop : {0, -1}) {
        SCOPED_TRACE(stop);
        load();
        WidgetPort& port = widgetPort();
        port.setControlProperty(ControlObject::TickTimer, ControlProperty::TimerPeriod, 100);
        ASSERT_TRUE(pumpUntil([&] { return !events_.tickTimes.empty(); }, 2000));
        port.setControlProperty(ControlObject::TickTimer, ControlProperty::TimerPeriod, stop);
        std::size_t ticks = events_.tickTimes.size();
        pumpFor(400);
        EXPECT_EQ(events_.tickTimes.size(), ticks);
        EXPECT_EQ(port.getControlProperty(ControlObject::TickTimer, ControlProperty::TimerPeriod), 0);

        // And it starts again from a stop.
        port.setControlProperty(ControlObject::TickTimer, ControlProperty::TimerPeriod, 100);
        EXPECT_TRUE(pumpUntil([&] { return events_.tickTimes.size() > ticks; }, 2000));
        events_.tickTimes.clear();
    }
}

TEST_F(WidgetWindowTest, EnterEscAndF1MeanNothingToTheWindow) {
    load();
    HWND window = widgetHandle();
    SetForegroundWindow(window);
    SetFocus(window);
    events_.log.clear();
    for (WPARAM key : {VK_RETURN, VK_ESCAPE, VK_F1}) {
        SCOPED_TRACE(key);
        PostMessageA(window, WM_KEYDOWN, key, 1);
        PostMessageA(window, WM_KEYUP, key, 0xC0000001);
        pumpFor(50);
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_THAT(events_.log, IsEmpty());
    }
}

TEST_F(WidgetWindowTest, APressOnTheBareFaceStartsTheCaptionMove) {
    load();
    HWND window = widgetHandle();
    // With the label out of the way the press lands on the window itself.
    widgetPort().setControlProperty(ControlObject::ClockLabel, ControlProperty::Width, 0);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    MSG posted{};
    ASSERT_TRUE(PeekMessageA(&posted, window, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
    EXPECT_EQ(posted.wParam, static_cast<WPARAM>(HTCAPTION));
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    EXPECT_EQ(static_cast<short>(LOWORD(posted.lParam)), origin.x + 5);
    EXPECT_EQ(static_cast<short>(HIWORD(posted.lParam)), origin.y + 6);
}

// Refuses the creation of every window of one class, as a platform out of resources would.
class RefusedClass {
public:
    explicit RefusedClass(const char* className) {
        refused_ = className;
        hook_ = SetWindowsHookExA(WH_CBT, refuse, nullptr, GetCurrentThreadId());
    }
    ~RefusedClass() { UnhookWindowsHookEx(hook_); }
    RefusedClass(const RefusedClass&) = delete;
    RefusedClass& operator=(const RefusedClass&) = delete;
    bool active() const { return hook_ != nullptr; }

private:
    static LRESULT CALLBACK refuse(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            char name[64] = {};
            GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
            if (refused_ == name) return 1;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline std::string refused_;
    HHOOK hook_;
};

int countWindowsOfThisThread() {
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM counter) {
            char name[64] = {};
            GetClassNameA(window, name, sizeof name);
            if (std::string(name).starts_with("Talvessa")) ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST_F(WidgetWindowTest, AWindowThatCannotBeCreatedFailsTheLoadAndLeavesNothing) {
    for (const char* refused : {"TalvessaWidgetOwner", "TalvessaWidget", "TalvessaClockLabel"}) {
        SCOPED_TRACE(refused);
        RecordedEvents events;
        {
            RefusedClass refusal(refused);
            ASSERT_TRUE(refusal.active());
            EXPECT_FALSE(loadWidgetWindow(events));
        }
        EXPECT_THAT(events.log, IsEmpty());
        EXPECT_EQ(countWindowsOfThisThread(), 0);
        EXPECT_EQ(widgetHandle(), nullptr);
        EXPECT_EQ(labelHandle(), nullptr);
    }
    load();
    EXPECT_NE(widgetHandle(), nullptr);
}

TEST_F(WidgetWindowTest, MessageLoopEndsWhenTheSystemClosesTheWindow) {
    load();
    // Ends a loop that would otherwise wait forever, so a fault fails instead of hanging.
    UINT_PTR guard = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) {
        PostQuitMessage(99);
    });
    PostMessageA(widgetHandle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(runMessageLoop(), 0);
    KillTimer(nullptr, guard);
    EXPECT_EQ(widgetHandle(), nullptr);
    EXPECT_EQ(countWindowsOfThisThread(), 0) << "the hidden owner goes too";
}

HWND gEndedWindow = nullptr;

void reportShutdown() {
    std::fprintf(stderr, "shutdown ran, window %s\n", IsWindow(gEndedWindow) ? "alive" : "gone");
    std::fflush(stderr);
}

TEST_F(WidgetWindowTest, EndProgramDestroysTheWindowThenRunsTheShutdownRoutineAndExits) {
    EXPECT_EXIT(
        {
            RecordedEvents events;
            if (!loadWidgetWindow(events)) std::exit(100);
            gEndedWindow = widgetHandle();
            std::atexit(reportShutdown);
            widgetPort().endProgram(7);
        },
        ::testing::ExitedWithCode(7), "shutdown ran, window gone");
}

}  // namespace
}  // namespace talvessa::testing
